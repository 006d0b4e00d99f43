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
    // The new file's name until it replaces the target; empty when the target is written in
    // place, and while a new file has no name yet.
    std::string temporaryPath;
    std::string finalPath; // what the new file replaces: the path with links followed
    // Where a library that writes only to a named file writes this output.
    std::string writableName = {};
    bool unnamed = false; // a new file that gets a name only when finished
};

// Opens `path` for writing. A FIFO, a device or another file that is not a regular one is written
// in place, as a shell redirection does; so is the file that standard output or error goes to,
// through that stream's open file, so that `>>` and a brace group keep what else is there. A
// regular file, or a name not yet taken, gets a new file that will replace it whole: with the mode
// of the file it replaces, or for a new one the mode the umask allows. Where the system allows,
// the new file has no name until it is finished, so that nothing, not even a crash, can leave it
// behind; elsewhere it is a temporary file beside the target. A symbolic link is followed and
// stays. Throws std::runtime_error naming the path.
OutputTarget openOutputTarget(const std::string& path);

// Writes out what is buffered and puts the new file in place of the target in one step.
// Throws std::runtime_error naming the path; the target is then as it was.
void finishOutputTarget(OutputTarget& target);

// Closes a target never finished and removes its new file.
void abandonOutputTarget(OutputTarget& target) noexcept;

// "cannot write 'PATH': REASON", for an errno value.
std::runtime_error cannotWrite(const std::string& path, int error);

// "cannot write to standard output: REASON", the words a failed write to stdout has always had.
std::runtime_error cannotWriteStandardOutput(int error);

} // namespace correlatore
