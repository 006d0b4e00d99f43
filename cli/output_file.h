#pragma once

#include "output_target.h"

#include <cstdio>
#include <string>

namespace correlatore {

// Where a command's data goes: standard output ("" or "-"), or a file that shows the new data
// only when complete. A regular file is replaced whole at commit(); a failure, an interruption or
// an output never committed leaves it as it was and no temporary file behind. A FIFO, a device
// or the file standard output or error goes to is written in place.
class OutputFile {
public:
    // Throws std::runtime_error when the file cannot be made.
    explicit OutputFile(const std::string& path);
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* stream() const { return m_target.stream; }
    // Writes `size` bytes of data. A failure is told by commit(), with the reason the failing call
    // gave (a full disk, not a generic input/output error); what comes after it is not written.
    void write(const char* data, std::size_t size);
    // The name under which a library that writes only to a named file (the workbook's) can write
    // this output: the new file that commit() puts in place, or the file written in place. Empty
    // for standard output. On Windows the temporary file is not shared for writing.
    const std::string& writableName() const;
    // Throws std::runtime_error on a write error.
    void commit();

private:
    OutputTarget m_target;
    bool m_isStandardOutput = false;
    bool m_committed = false;
    int m_writeError = 0; // the errno of the first write that failed
};

} // namespace correlatore
