// The Windows body of the signal seam. Windows has no termination signals; Ctrl+C, Ctrl+Break and
// closing the console window reach the program as console control events, on a thread of their
// own. The handler removes the file, then lets the system end the program as it would have.

#include "signal_cleanup.h"

#define WIN32_LEAN_AND_MEAN
#include <mutex>
#include <windows.h>

namespace correlatore {

namespace {

std::mutex fileMutex;
std::wstring fileToRemove; // guarded by fileMutex

std::wstring widePath(const std::string& path) {
    const int size = static_cast<int>(path.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), size, wide.data(), length);
    return wide;
}

BOOL WINAPI removeOnControlEvent(DWORD) {
    const std::lock_guard lock(fileMutex);
    if (!fileToRemove.empty())
        DeleteFileW(fileToRemove.c_str()); // the file is shared for deletion: gone when closed
    return FALSE;                          // the next handler, the system's, ends the program
}

} // namespace

std::string removeOnSignal(const std::function<std::string()>& make) {
    static const bool installed = SetConsoleCtrlHandler(removeOnControlEvent, TRUE) != 0;
    (void)installed;
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
