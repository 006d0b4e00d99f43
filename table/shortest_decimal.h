#pragma once

#include <string>

namespace correlatore {

// The shortest text that reads back as the same value, doubles as doubles and floats as floats,
// exactly as std::to_chars writes it: the fewest significant digits, in fixed or scientific
// notation, whichever is shorter (fixed on a tie), "1e-05" and "1e+20" style.
std::string shortestDecimal(double value);
std::string shortestDecimal(float value);

// The same, found with printf and strtod alone: what a standard library without a floating-point
// std::to_chars (the web edition's) uses, and what the tests hold to std::to_chars.
std::string shortestDecimalByPrintf(double value);
std::string shortestDecimalByPrintf(float value);

} // namespace correlatore
