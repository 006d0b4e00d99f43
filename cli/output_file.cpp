#include "output_file.h"

#include <cerrno>
#include <cstring>

namespace correlatore {

std::runtime_error cannotWrite(const std::string& path, int error) {
    return std::runtime_error("cannot write " + path + ": " + std::strerror(error));
}

OutputFile::OutputFile(const std::string& path)
    : m_isStandardOutput(path.empty() || path == "-") {
    if (m_isStandardOutput)
        m_target.stream = stdout;
    else
        m_target = openOutputTarget(path);
}

OutputFile::~OutputFile() {
    if (!m_isStandardOutput && !m_committed)
        abandonOutputTarget(m_target);
}

void OutputFile::commit() {
    if (!m_isStandardOutput) {
        finishOutputTarget(m_target);
        m_committed = true;
        return;
    }
    m_committed = true;
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw std::runtime_error(std::string("cannot write to standard output: ") +
                                 std::strerror(errno ? errno : EIO));
}

} // namespace correlatore
