#include "output_target.h"
#include "signal_cleanup.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace correlatore {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name a chain of symbolic links ends at, for a name that does not exist yet: a dangling link
// is written through, as a shell redirection does.
std::string followLinks(const std::string& userPath) {
    std::string path = userPath;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(PATH_MAX, '\0'); // st_size is 0 for the links in /proc
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size())
            throw cannotWrite(userPath, length < 0 ? errno : EIO);
        target.resize(static_cast<std::size_t>(length));
        if (!target.starts_with('/'))
            target.insert(0, folderOf(path) + '/');
        path = target;
    }
    throw cannotWrite(userPath, ELOOP);
}

// 0666 less the umask, the mode a shell redirection gives a new file. The umask can only be read
// by setting it; this runs before any thread starts.
mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A temporary name beside the target that stays a valid name however long the target's is:
// ".NAME.XXXXXX", with NAME cut short to fit the folder's limit.
std::string temporaryTemplate(const std::string& finalPath) {
    const std::string folder = folderOf(finalPath);
    const auto slash = finalPath.rfind('/');
    const std::string name = slash == std::string::npos ? finalPath : finalPath.substr(slash + 1);
    const long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t longest = limit > 16 ? static_cast<std::size_t>(limit) : NAME_MAX;
    constexpr std::string_view dotAndSuffix = "..XXXXXX";
    const std::string shortName = name.substr(0, longest - dotAndSuffix.size());
    return (slash == std::string::npos ? "" : folder + "/") + "." + shortName + ".XXXXXX";
}

// The replacement keeps the replaced file's owner (where allowed) and mode.
void takeOverAttributes(int descriptor, const struct stat* replaced) {
    if (!replaced) {
        fchmod(descriptor, newFileMode());
        return;
    }
    if (fchown(descriptor, replaced->st_uid, replaced->st_gid) != 0) {
        // Only root may give a file away; the file then becomes the runner's, as after `cp`.
    }
    fchmod(descriptor, replaced->st_mode & 07777);
}

// A target written in place through `descriptor`, which it takes over.
OutputTarget inPlaceThrough(int descriptor, const std::string& userPath,
                            const std::string& finalPath) {
    if (descriptor < 0)
        throw cannotWrite(userPath, errno);
    OutputTarget target{userPath, fdopen(descriptor, "w"), {}, finalPath, finalPath};
    if (!target.stream) {
        const int error = errno;
        close(descriptor);
        throw cannotWrite(userPath, error);
    }
    return target;
}

OutputTarget openInPlace(const std::string& userPath, const std::string& finalPath) {
    return inPlaceThrough(open(finalPath.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC), userPath,
                          finalPath);
}

// The file standard output or error already writes to, however the user named it (/dev/stdout,
// /proc/self/fd/1, its own name): written through that open file, at its offset and in its append
// mode, as `> FILE` or `>> FILE` writes it. Replacing it would drop what the shell and the commands
// before wrote there, and the commands after would write past its end. A descriptor of -1 when the
// target is neither.
int standardStreamWritingTo(const struct stat& target) {
    for (const int descriptor : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat stream {};
        if (fstat(descriptor, &stream) == 0 && stream.st_dev == target.st_dev &&
            stream.st_ino == target.st_ino)
            return descriptor;
    }
    return -1;
}

OutputTarget openThroughStandardStream(const std::string& userPath, int standardDescriptor) {
    // A stream of its own on a duplicate, so that its buffer and its closing are this output's
    // alone; the duplicate shares the offset and the append mode.
    return inPlaceThrough(fcntl(standardDescriptor, F_DUPFD_CLOEXEC, 0), userPath, userPath);
}

std::string procName(int descriptor) {
    return "/proc/self/fd/" + std::to_string(descriptor);
}

// A new file in `folder` without a name (Linux's O_TMPFILE), which nothing can leave behind: not a
// signal, not a crash in a library, not SIGKILL. It is named through /proc when finished. -1 where
// the system, the file system or /proc does not allow it.
int openUnnamedFile(const std::string& folder) {
#ifdef O_TMPFILE
    const int descriptor = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor >= 0 && access(procName(descriptor).c_str(), F_OK) != 0) {
        close(descriptor);
        return -1;
    }
    return descriptor;
#else
    (void)folder;
    return -1;
#endif
}

// Links the finished unnamed file at a free temporary name beside the target: linkat cannot
// replace a file, so rename puts it in place of the target afterwards. The name, or empty with
// errno set.
std::string linkUnderTemporaryName(int descriptor, const std::string& finalPath) {
    constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = temporaryTemplate(finalPath);
    const std::size_t suffix = name.size() - 6;
    std::uint64_t bits = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (getentropy(&bits, sizeof bits) != 0)
            bits ^= static_cast<std::uint64_t>(getpid()) << 32 ^ static_cast<unsigned>(attempt);
        for (std::size_t i = suffix; i < name.size(); ++i, bits /= sizeof letters - 1)
            name[i] = letters[bits % (sizeof letters - 1)];
        if (linkat(AT_FDCWD, procName(descriptor).c_str(), AT_FDCWD, name.c_str(),
                   AT_SYMLINK_FOLLOW) == 0)
            return name;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

OutputTarget openReplacement(const std::string& userPath, const std::string& finalPath,
                             const struct stat* replaced) {
    OutputTarget target{userPath, nullptr, {}, finalPath};
    int descriptor = openUnnamedFile(folderOf(finalPath));
    int error = 0;
    if (descriptor >= 0) {
        target.unnamed = true;
        target.writableName = procName(descriptor);
    } else {
        // A named temporary file, which a signal removes; a crash can leave it behind.
        target.temporaryPath = removeOnSignal([&] {
            std::string path = temporaryTemplate(finalPath);
            descriptor = mkostemp(path.data(), O_CLOEXEC);
            error = errno;
            return descriptor < 0 ? std::string() : path;
        });
        if (descriptor < 0)
            throw cannotWrite(userPath, error);
        target.writableName = target.temporaryPath;
    }
    takeOverAttributes(descriptor, replaced);
    target.stream = fdopen(descriptor, "w");
    if (!target.stream) {
        error = errno;
        close(descriptor);
        abandonOutputTarget(target);
        throw cannotWrite(userPath, error);
    }
    return target;
}

} // namespace

OutputTarget openOutputTarget(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT)
            throw cannotWrite(path, errno);
        if (path.ends_with('/'))
            throw cannotWrite(path, EISDIR);
        return openReplacement(path, followLinks(path), nullptr);
    }
    if (S_ISDIR(info.st_mode))
        throw cannotWrite(path, EISDIR);
    if (const int standardDescriptor = standardStreamWritingTo(info); standardDescriptor >= 0)
        return openThroughStandardStream(path, standardDescriptor);
    // Opened by the name given, so that the kernel follows its links, /dev/stdout's included.
    if (!S_ISREG(info.st_mode))
        return openInPlace(path, path);
    // Renaming over a file needs only the folder's permission; a file the user may not write
    // stays as it is all the same, as with a shell redirection.
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        throw cannotWrite(path, errno);
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        throw cannotWrite(path, errno);
    const std::string finalPath = resolved;
    std::free(resolved);
    return openReplacement(path, finalPath, &info);
}

void finishOutputTarget(OutputTarget& target) {
    errno = 0;
    bool written = std::fflush(target.stream) == 0 && !std::ferror(target.stream);
    int error = errno;
    const bool replaces = target.unnamed || !target.temporaryPath.empty();
    // The data reaches the disk before the name does, so that a crash cannot leave an empty file
    // where the old one was.
    if (written && replaces && fsync(fileno(target.stream)) != 0) {
        written = false;
        error = errno;
    }
    if (written && target.unnamed) {
        target.temporaryPath = removeOnSignal([&] {
            std::string name = linkUnderTemporaryName(fileno(target.stream), target.finalPath);
            error = errno;
            return name;
        });
        written = !target.temporaryPath.empty();
    }
    const bool closed = std::fclose(target.stream) == 0;
    if (written && !closed)
        error = errno;
    target.stream = nullptr;
    if (!written || !closed)
        throw cannotWrite(target.path, error ? error : EIO);
    if (!replaces)
        return;
    if (std::rename(target.temporaryPath.c_str(), target.finalPath.c_str()) != 0)
        throw cannotWrite(target.path, errno);
    keepOnSignal();
    target.temporaryPath.clear();
}

void abandonOutputTarget(OutputTarget& target) noexcept {
    if (target.stream)
        std::fclose(target.stream);
    target.stream = nullptr;
    if (target.temporaryPath.empty())
        return;
    unlink(target.temporaryPath.c_str());
    keepOnSignal();
    target.temporaryPath.clear();
}

} // namespace correlatore
