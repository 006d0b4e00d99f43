#pragma once

#include <cstdio>
#include <string>

namespace correlatore {

// Where a command's data goes: standard output, or a file that appears under its name only when
// complete. The data is written to a temporary file beside it and renamed at commit(); a failure,
// or an output never committed, leaves nothing under the name.
class OutputFile {
public:
    // An empty path means standard output. Throws std::runtime_error when the file cannot be made.
    explicit OutputFile(const std::string& path);
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::FILE* stream() const { return m_stream; }
    // Throws std::runtime_error on a write error.
    void commit();

private:
    std::string m_path;
    std::string m_temporaryPath;
    std::FILE* m_stream = nullptr;
};

} // namespace correlatore
