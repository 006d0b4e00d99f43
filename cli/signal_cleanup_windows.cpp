// The Windows body of the signal seam. Windows has no termination signals; Ctrl+C, Ctrl+Break and
// closing the console window reach the program as console control events, on a thread of their
// own. The handler removes the file, then lets the system end the program as it would have.

#include "signal_cleanup.h"
#include "wide_path_windows.h"

#include <mutex>
#include <windows.h>

namespace correlatore {

namespace {

std::mutex fileMutex;
std::wstring fileToRemove; // guarded by fileMutex

BOOL WINAPI removeOnControlEvent(DWORD) {
    const std::lock_guard lock(fileMutex);
    if (!fileToRemove.empty())
        DeleteFileW(fileToRemove.c_str()); // the file is shared for deletion: gone when closed
    return FALSE;                          // the next handler, the system's, ends the program
}

} // namespace

void installSignalCleanup() {
    static const bool installed = SetConsoleCtrlHandler(removeOnControlEvent, TRUE) != 0;
    (void)installed;
}

std::string removeOnSignal(const std::function<std::string()>& make) {
    installSignalCleanup();
    // Held while the file is made, so that an event in between waits and then finds its name.
    const std::lock_guard lock(fileMutex);
    std::string path = make();
    fileToRemove = widePath(path);
    return path;
}

void keepOnSignal() noexcept {
    const std::lock_guard lock(fileMutex);
    fileToRemove.clear();
}

} // namespace correlatore
