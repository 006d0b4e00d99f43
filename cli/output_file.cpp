#include "output_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace correlatore {

namespace {

std::runtime_error cannotWrite(const std::string& path, int error) {
    return std::runtime_error("cannot write " + path + ": " + std::strerror(error));
}

} // namespace

OutputFile::OutputFile(const std::string& path)
    : m_path(path) {
    if (path.empty()) {
        m_stream = stdout;
        return;
    }
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw cannotWrite(path, EISDIR);
    m_temporaryPath = path + ".XXXXXX";
    const int descriptor = mkstemp(m_temporaryPath.data());
    if (descriptor < 0)
        throw cannotWrite(path, errno);
    fchmod(descriptor, 0644);
    m_stream = fdopen(descriptor, "w");
    if (!m_stream) {
        const int error = errno;
        close(descriptor);
        unlink(m_temporaryPath.c_str());
        throw cannotWrite(path, error);
    }
}

OutputFile::~OutputFile() {
    if (m_temporaryPath.empty())
        return;
    if (m_stream)
        std::fclose(m_stream);
    unlink(m_temporaryPath.c_str()); // nothing left when not committed
}

void OutputFile::commit() {
    if (m_temporaryPath.empty()) {
        if (std::fflush(m_stream) != 0 || std::ferror(m_stream))
            throw std::runtime_error(std::string("cannot write to standard output: ") +
                                     std::strerror(errno));
        return;
    }
    const bool written = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    const int writeError = errno;
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    if (!written || !closed)
        throw cannotWrite(m_path, writeError ? writeError : EIO);
    if (std::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0)
        throw cannotWrite(m_path, errno);
    m_temporaryPath.clear();
}

} // namespace correlatore
