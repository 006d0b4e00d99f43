#include "quoted_text.h"
#include "workbook.h"

#include <stdexcept>

namespace correlatore {

std::unique_ptr<TableOutput> openWorkbook(OutputFile&, const std::string& path, const std::string&,
                                          std::vector<std::string>) {
    throw std::runtime_error("cannot write " + quotedText(path) +
                             ": this build has no workbook writer (built without libxlsxwriter); "
                             "any other name gets CSV");
}

} // namespace correlatore
