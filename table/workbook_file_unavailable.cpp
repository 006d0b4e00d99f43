#include "workbook_file.h"

#include <stdexcept>

namespace correlatore {

bool canWriteWorkbooks() {
    return false;
}

void writeWorkbookFile(const std::string&, const std::string&, const std::string&, const Table&) {
    throw std::runtime_error("this build has no workbook writer (built without libxlsxwriter)");
}

} // namespace correlatore
