#include "output_file.h"

#include "quoted_text.h"

#include <cerrno>
#include <cstring>

namespace correlatore {

std::runtime_error cannotWrite(const std::string& path, int error) {
    return std::runtime_error("cannot write " + quotedText(path) + ": " + std::strerror(error));
}

OutputFile::OutputFile(const std::string& path)
    : m_isStandardOutput(path.empty() || path == "-") {
    if (m_isStandardOutput)
        m_target.stream = stdout;
    else
        m_target = openOutputTarget(path);
}

const std::string& OutputFile::writableName() const {
    return m_target.temporaryPath.empty() ? m_target.finalPath : m_target.temporaryPath;
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
