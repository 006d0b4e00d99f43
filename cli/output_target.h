#pragma once

// How an output file reaches its name: the one part of OutputFile that differs between
// platforms. Each platform has its own body of these three functions (output_file_posix.cpp).

#include <cstdio>
#include <stdexcept>
#include <string>

namespace correlatore {

struct OutputTarget {
    std::string path; // as the user wrote it, for messages
    std::FILE* stream = nullptr;
    std::string temporaryPath; // empty when the target is written in place
    std::string finalPath;     // what the temporary file replaces: the path with links followed
};

// Opens `path` for writing. A FIFO, a device or another file that is not a regular one is written
// in place, as a shell redirection does. A regular file, or a name not yet taken, gets a new
// temporary file beside it that will replace it whole: with the mode of the file it replaces, or
// for a new one the mode the umask allows. A symbolic link is followed and stays. Throws
// std::runtime_error naming the path.
OutputTarget openOutputTarget(const std::string& path);

// Writes out what is buffered and puts the temporary file in place of the target in one step.
// Throws std::runtime_error naming the path; the target is then as it was.
void finishOutputTarget(OutputTarget& target);

// Closes a target never finished and removes its temporary file.
void abandonOutputTarget(OutputTarget& target) noexcept;

// "cannot write 'PATH': REASON", for an errno value.
std::runtime_error cannotWrite(const std::string& path, int error);

} // namespace correlatore
