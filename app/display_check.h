#pragma once

#include <string>

namespace correlatore {

// Empty when the window can be shown; else one line that says why not and what to do.
std::string missingDisplayMessage();

} // namespace correlatore
