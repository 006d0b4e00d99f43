// The Windows body of the output seam: the same promise as on POSIX systems (a file shows the new
// data only when complete), made with a temporary file beside it and MoveFileEx. Paths are UTF-8
// and become wide for the system; devices such as NUL, and the file standard output or error goes
// to, are written in place.

#include "output_target.h"
#include "signal_cleanup.h"
#include "wide_path_windows.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <optional>
#include <windows.h>

namespace correlatore {

namespace {

// The errno value nearest a Windows error, for the message cannotWrite() words.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

// A C stream on a handle; the handle is closed when the stream cannot be made.
std::FILE* streamOf(HANDLE file) {
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(descriptor, "wb");
    if (!stream)
        _close(descriptor);
    return stream;
}

// A device (NUL, CON, a pipe) is written in place; null for a file on a disk or no file.
HANDLE openDevice(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    if (GetFileType(file) == FILE_TYPE_DISK) {
        CloseHandle(file);
        return nullptr;
    }
    return file;
}

// A temporary name beside the target that stays a valid name however long the target's is:
// "NAME.PID-N.tmp", with NAME cut short where the whole would pass the 255 characters a name may
// have. UTF-8 takes at least as many bytes as UTF-16 takes units, so counting bytes is enough.
std::string temporaryName(const std::string& path, unsigned attempt) {
    constexpr std::size_t longestName = 255;
    std::string suffix = ".";
    suffix.append(std::to_string(GetCurrentProcessId())).append("-");
    suffix.append(std::to_string(attempt)).append(".tmp");
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    std::size_t nameEnd = path.size();
    if (nameEnd - nameStart + suffix.size() > longestName) {
        nameEnd = nameStart + longestName - suffix.size();
        while (nameEnd > nameStart && (static_cast<unsigned char>(path[nameEnd]) & 0xC0) == 0x80)
            --nameEnd; // not inside a character
    }
    return path.substr(0, nameEnd) + suffix;
}

// What tells one file from another. Asked for by FileIdInfo, which needs no access right: the
// shell may have opened standard output for writing only.
std::optional<FILE_ID_INFO> identityOf(HANDLE file) {
    FILE_ID_INFO identity{};
    if (GetFileType(file) != FILE_TYPE_DISK ||
        !GetFileInformationByHandleEx(file, FileIdInfo, &identity, sizeof identity))
        return std::nullopt;
    return identity;
}

// Standard output or error, whichever goes to the file at `path`; null for neither. That file is
// open in the shell that started the program, which may yet write after it (`>>`, a group of
// commands): it is written in place, through the stream's own opening, as `> FILE` would be.
std::FILE* standardStreamWritingTo(const std::wstring& path) {
    const HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    const std::optional<FILE_ID_INFO> target = identityOf(file);
    CloseHandle(file);
    if (!target)
        return nullptr;
    for (std::FILE* stream : {stdout, stderr}) {
        const auto identity = identityOf(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
        if (identity && identity->VolumeSerialNumber == target->VolumeSerialNumber &&
            std::memcmp(&identity->FileId, &target->FileId, sizeof target->FileId) == 0)
            return stream;
    }
    return nullptr;
}

// A stream of its own on a copy of the standard stream's descriptor: it shares the position, and
// closing it leaves the standard stream open.
OutputTarget openThrough(const std::string& path, std::FILE* standard) {
    std::fflush(standard);
    const int descriptor = _dup(_fileno(standard));
    if (descriptor < 0)
        throw cannotWrite(path, errno);
    _setmode(descriptor, _O_BINARY);
    OutputTarget target{path, _fdopen(descriptor, "wb"), {}, path, path};
    if (!target.stream) {
        const int error = errno;
        _close(descriptor);
        throw cannotWrite(path, error);
    }
    return target;
}

OutputTarget openReplacement(const std::string& path) {
    OutputTarget target{path, nullptr, {}, path};
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_FILE_EXISTS;
    // Shared for deletion, so that an interrupted run can remove it while it is still open.
    target.temporaryPath = removeOnSignal([&] {
        for (unsigned attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
            const std::string name = temporaryName(path, attempt);
            file = CreateFileW(widePath(name).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                return name;
            error = GetLastError();
        }
        return std::string();
    });
    if (file == INVALID_HANDLE_VALUE)
        throw cannotWrite(path, errnoOf(error));
    target.writableName = target.temporaryPath;
    target.stream = streamOf(file);
    if (!target.stream) {
        abandonOutputTarget(target);
        throw cannotWrite(path, ENOMEM);
    }
    return target;
}

} // namespace

OutputTarget openOutputTarget(const std::string& path) {
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw cannotWrite(path, EISDIR);
        // A read-only file stays as it is, as a shell redirection leaves it.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            throw cannotWrite(path, EACCES);
    }
    if (std::FILE* standard = standardStreamWritingTo(wide))
        return openThrough(path, standard);
    if (const HANDLE device = openDevice(wide)) {
        OutputTarget target{path, streamOf(device), {}, path, path};
        if (!target.stream)
            throw cannotWrite(path, ENOMEM);
        return target;
    }
    if (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        throw cannotWrite(path, EISDIR);
    return openReplacement(path);
}

void finishOutputTarget(OutputTarget& target) {
    errno = 0;
    bool written = std::fflush(target.stream) == 0 && !std::ferror(target.stream);
    int error = written ? 0 : errno;
    // The data reaches the disk before the name does.
    if (written && !target.temporaryPath.empty() &&
        !FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(target.stream))))) {
        written = false;
        error = errnoOf(GetLastError());
    }
    const bool closed = std::fclose(target.stream) == 0;
    if (written && !closed)
        error = errno;
    target.stream = nullptr;
    if (!written || !closed) {
        abandonOutputTarget(target);
        throw cannotWrite(target.path, error ? error : EIO);
    }
    if (target.temporaryPath.empty())
        return;
    if (!MoveFileExW(widePath(target.temporaryPath).c_str(), widePath(target.finalPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = errnoOf(GetLastError());
        abandonOutputTarget(target);
        throw cannotWrite(target.path, error);
    }
    keepOnSignal();
    target.temporaryPath.clear();
}

void abandonOutputTarget(OutputTarget& target) noexcept {
    if (target.stream)
        std::fclose(target.stream);
    target.stream = nullptr;
    if (target.temporaryPath.empty())
        return;
    DeleteFileW(widePath(target.temporaryPath).c_str());
    keepOnSignal();
    target.temporaryPath.clear();
}

} // namespace correlatore
