#pragma once

#include <stdexcept>
#include <string>

namespace correlatore {

// An error that ends the running event procedure and then the program. Nothing inside the
// procedures catches it; the window reports it to the user at the event boundary.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int code, const std::string& description)
        : std::runtime_error(description)
        , m_code(code) {}

    int code() const noexcept { return m_code; }

private:
    int m_code;
};

// The error codes that the procedures can raise.
namespace error_code {
inline constexpr int invalidProcedureCall = 5;
inline constexpr int overflow = 6;
inline constexpr int outOfMemory = 7;
inline constexpr int divisionByZero = 11;
inline constexpr int floatingPointInvalid = 12;
} // namespace error_code

} // namespace correlatore
