// The Windows body of the standard streams seam. Besides opening closed streams on NUL, it makes
// standard output binary, so that the data is the same bytes as on every other system ("\n", not
// "\r\n"), and lets the console understand the progress bar's escape sequences.

#include "standard_streams.h"

#define WIN32_LEAN_AND_MEAN
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace correlatore {

void openClosedStandardStreams() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (_get_osfhandle(descriptor) != -1)
            continue;
        const int opened = _open("NUL", descriptor == 0 ? _O_WRONLY : _O_RDONLY);
        if (opened == descriptor)
            continue;
        if (opened < 0 || _dup2(opened, descriptor) != 0)
            std::_Exit(1); // nothing safe to write to
        _close(opened);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(error, &mode))
        SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool progressFitsBeside(std::FILE* data) {
    // Standard output and error on a console are the same console.
    return _isatty(_fileno(stderr)) != 0 && _isatty(_fileno(data)) == 0;
}

} // namespace correlatore
