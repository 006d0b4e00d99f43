#pragma once

#include <string>

namespace correlatore {

// Empty when the window can be shown; else one line that says why not and what to do. The
// platform and the X display named on the command line (-platform, -display) come before those
// of the environment; empty when not named.
// One message for every way of having no display, with the reason in brackets.
std::string noDisplay(const std::string& reason);

std::string missingDisplayMessage(const std::string& platformArgument,
                                  const std::string& displayArgument);

} // namespace correlatore
