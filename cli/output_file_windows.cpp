// The Windows body of OutputFile: the same promise as on POSIX systems (the file appears under its
// name only when complete), made with a temporary file beside it and MoveFileEx. Files and
// standard output are binary, so that every system writes the same bytes ("\n", not "\r\n").

#include "output_file.h"

#define WIN32_LEAN_AND_MEAN
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <stdexcept>
#include <system_error>
#include <windows.h>

namespace correlatore {

namespace {

std::wstring widePath(const std::string& path) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                        length);
    return wide;
}

std::runtime_error cannotWrite(const std::string& path, DWORD error) {
    return std::runtime_error("cannot write " + path + ": " +
                              std::system_category().message(static_cast<int>(error)));
}

// A new file beside `path`, opened for writing; its name goes to `temporaryPath`.
HANDLE createTemporaryBeside(const std::string& path, std::string& temporaryPath) {
    DWORD error = ERROR_FILE_EXISTS;
    for (unsigned attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        temporaryPath = path + "." + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(attempt) + ".tmp";
        const HANDLE file = CreateFileW(widePath(temporaryPath).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            return file;
        error = GetLastError();
    }
    throw cannotWrite(path, error);
}

} // namespace

OutputFile::OutputFile(const std::string& path)
    : m_path(path) {
    if (path.empty()) {
        _setmode(_fileno(stdout), _O_BINARY);
        m_stream = stdout;
        return;
    }
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw std::runtime_error("cannot write " + path + ": Is a directory");
    const HANDLE file = createTemporaryBeside(path, m_temporaryPath);
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (descriptor >= 0)
        m_stream = _fdopen(descriptor, "wb");
    if (!m_stream) {
        if (descriptor >= 0)
            _close(descriptor);
        else
            CloseHandle(file);
        DeleteFileW(widePath(m_temporaryPath).c_str());
        throw cannotWrite(path, ERROR_OUTOFMEMORY);
    }
}

OutputFile::~OutputFile() {
    if (m_temporaryPath.empty())
        return;
    if (m_stream)
        std::fclose(m_stream);
    DeleteFileW(widePath(m_temporaryPath).c_str()); // nothing left when not committed
}

void OutputFile::commit() {
    if (m_temporaryPath.empty()) {
        if (std::fflush(m_stream) != 0 || std::ferror(m_stream))
            throw std::runtime_error("cannot write to standard output");
        return;
    }
    const bool written = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    const bool closed = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    if (!written || !closed)
        throw cannotWrite(m_path, ERROR_WRITE_FAULT);
    if (!MoveFileExW(widePath(m_temporaryPath).c_str(), widePath(m_path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw cannotWrite(m_path, GetLastError());
    m_temporaryPath.clear();
}

} // namespace correlatore
