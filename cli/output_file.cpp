#include "output_file.h"

#include "quoted_text.h"

#include <cerrno>
#include <cstring>

namespace correlatore {

std::runtime_error cannotWrite(const std::string& path, int error) {
    return std::runtime_error("cannot write " + quotedText(path) + ": " + std::strerror(error));
}

std::runtime_error cannotWriteStandardOutput(int error) {
    return std::runtime_error(std::string("cannot write to standard output: ") +
                              std::strerror(error));
}

OutputFile::OutputFile(const std::string& path)
    : m_isStandardOutput(path.empty() || path == "-") {
    if (m_isStandardOutput)
        m_target.stream = stdout;
    else
        m_target = openOutputTarget(path);
}

const std::string& OutputFile::writableName() const {
    return m_target.writableName;
}

OutputFile::~OutputFile() {
    if (!m_isStandardOutput && !m_committed)
        abandonOutputTarget(m_target);
}

void OutputFile::write(const char* data, std::size_t size) {
    if (m_writeError)
        return;
    errno = 0;
    if (std::fwrite(data, 1, size, m_target.stream) != size)
        m_writeError = errno ? errno : EIO;
}

void OutputFile::commit() {
    // On a failure the target is left as it was when this is destroyed.
    if (m_writeError)
        throw m_isStandardOutput ? cannotWriteStandardOutput(m_writeError)
                                 : cannotWrite(m_target.path, m_writeError);
    if (!m_isStandardOutput) {
        finishOutputTarget(m_target);
        m_committed = true;
        return;
    }
    m_committed = true;
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw cannotWriteStandardOutput(errno ? errno : EIO);
}

} // namespace correlatore
