// The Windows body of the signal seam. Windows has no termination signals; Ctrl+C, Ctrl+Break and
// closing the console window reach the program as console control events, on a thread of their
// own. The handler removes the file, then ends the program as the system would have.

#include "signal_cleanup.h"
#include "wide_path_windows.h"

#include <mutex>
#include <windows.h>

namespace correlatore {

namespace {

std::mutex fileMutex;
std::wstring fileToRemove; // guarded by fileMutex

BOOL WINAPI removeOnControlEvent(DWORD) {
    // Held to the end, so that no new file is made after this one is removed.
    fileMutex.lock();
    if (!fileToRemove.empty())
        DeleteFileW(fileToRemove.c_str()); // the file is shared for deletion: gone when closed
    // With the status the system's own handler gives, which a batch file takes for Ctrl+C. Not
    // through that handler: it calls ExitProcess, whose clean-up waits for the locks the main
    // thread held when it was stopped (a blocked write to standard error holds the stream's) and
    // so may never end; and wine's ends with status 0, as if the run had succeeded.
    TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
    return TRUE;
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
