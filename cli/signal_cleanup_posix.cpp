#include "signal_cleanup.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace correlatore {

namespace {

constexpr int terminationSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// What the handler removes. It may run on any thread: one that takes a signal while the main
// thread is giving a file its name waits for the name, which comes within a system call.
enum FileState : int { noFile, fileBeingNamed, fileNamed };
std::atomic<int> fileState{noFile};
char fileToRemove[PATH_MAX]; // written only while fileState is fileBeingNamed

extern "C" void removeAndEnd(int signalNumber) {
    const int interruptedErrno = errno;
    int state = fileState.load();
    while (state == fileBeingNamed)
        state = fileState.load();
    if (state == fileNamed)
        unlink(fileToRemove);
    // Ended by the signal itself, with its default action: a shell sees 128 + its number, and one
    // running a loop of commands stops only when its child died by the interrupt (a child that
    // exits with 130 has handled it, and the loop goes on). The signal is blocked while this
    // runs, and arrives again as soon as it returns.
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(signalNumber, &defaultAction, nullptr);
    raise(signalNumber);
    errno = interruptedErrno;
}

// Holds the termination signals back on this thread for its life.
class HeldSignals {
public:
    HeldSignals() {
        sigset_t held;
        sigemptyset(&held);
        for (const int signalNumber : terminationSignals)
            sigaddset(&held, signalNumber);
        pthread_sigmask(SIG_BLOCK, &held, &m_previous);
    }
    ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t m_previous;
};

} // namespace

void installSignalCleanup() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (const int signalNumber : terminationSignals) {
        struct sigaction previous {};
        sigaction(signalNumber, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) // nohup, or a background job of a script
            continue;
        struct sigaction action {};
        action.sa_handler = removeAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int other : terminationSignals)
            sigaddset(&action.sa_mask, other);
        sigaction(signalNumber, &action, nullptr);
    }
}

std::string removeOnSignal(const std::function<std::string()>& make) {
    installSignalCleanup();
    // Held back on this thread, whose handler would wait for itself.
    const HeldSignals held;
    fileState = fileBeingNamed;
    struct NoNameOnFailure {
        ~NoNameOnFailure() {
            int naming = fileBeingNamed;
            fileState.compare_exchange_strong(naming, noFile);
        }
    } noNameOnFailure;
    std::string path = make();
    if (!path.empty() && path.size() < sizeof fileToRemove) {
        std::memcpy(fileToRemove, path.c_str(), path.size() + 1);
        fileState = fileNamed;
    }
    return path;
}

void keepOnSignal() noexcept {
    fileState = noFile;
}

} // namespace correlatore
