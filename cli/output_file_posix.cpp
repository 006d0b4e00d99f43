#include "output_target.h"
#include "signal_cleanup.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
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

OutputTarget openInPlace(const std::string& userPath, const std::string& finalPath) {
    const int descriptor = open(finalPath.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        throw cannotWrite(userPath, errno);
    OutputTarget target{userPath, fdopen(descriptor, "w"), {}, finalPath};
    if (!target.stream) {
        const int error = errno;
        close(descriptor);
        throw cannotWrite(userPath, error);
    }
    return target;
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
    const int descriptor = fcntl(standardDescriptor, F_DUPFD_CLOEXEC, 0);
    if (descriptor < 0)
        throw cannotWrite(userPath, errno);
    OutputTarget target{userPath, fdopen(descriptor, "w"), {}, userPath};
    if (!target.stream) {
        const int error = errno;
        close(descriptor);
        throw cannotWrite(userPath, error);
    }
    return target;
}

OutputTarget openReplacement(const std::string& userPath, const std::string& finalPath,
                             const struct stat* replaced) {
    OutputTarget target{userPath, nullptr, {}, finalPath};
    int descriptor = -1;
    int error = 0;
    target.temporaryPath = removeOnSignal([&] {
        std::string path = temporaryTemplate(finalPath);
        descriptor = mkostemp(path.data(), O_CLOEXEC);
        error = errno;
        return descriptor < 0 ? std::string() : path;
    });
    if (descriptor < 0)
        throw cannotWrite(userPath, error);
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
    // The data reaches the disk before the name does, so that a crash cannot leave an empty file
    // where the old one was.
    if (written && !target.temporaryPath.empty() && fsync(fileno(target.stream)) != 0) {
        written = false;
        error = errno;
    }
    const bool closed = std::fclose(target.stream) == 0;
    if (written && !closed)
        error = errno;
    target.stream = nullptr;
    if (!written || !closed)
        throw cannotWrite(target.path, error ? error : EIO);
    if (target.temporaryPath.empty())
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
