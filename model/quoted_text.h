#pragma once

// Texts from outside the program (arguments, file names, the environment, a library's message)
// echoed on a terminal: shown so that it takes nothing in them for a line break or a command.

#include <string>
#include <string_view>

namespace correlatore {

// 'text', in single quotes. Where a byte would not print as itself (a C0 or C1 control, DEL, a
// byte that is not UTF-8) it is written as a C escape (\n, \e, \x9b), and then the backslash and
// the quote are escaped too, so that the text reads back unambiguously; printable text, a Windows
// path included, is shown as it is.
std::string quotedText(std::string_view text);

// The message with its control characters written as C escapes, so that it prints as one inert
// line whatever a library put in it. Printable text, backslashes included, is left as it is, so
// that what quotedText() made passes unchanged.
std::string inertLine(std::string_view message);

} // namespace correlatore
