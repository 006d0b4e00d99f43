#include "signal_cleanup.h"

#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace correlatore {

namespace {

constexpr int terminationSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Read by the handler, so written only while the signals are held back.
char fileToRemove[PATH_MAX];
volatile std::sig_atomic_t haveFileToRemove = 0;

extern "C" void removeAndEnd(int signalNumber) {
    if (haveFileToRemove)
        unlink(fileToRemove);
    // An interruption exits with 128 + the signal's number, the status every caller reads alike,
    // from a shell or from waitpid. A reader gone from a pipe ends the program as it ends cat:
    // the signal is blocked while its handler runs, and arrives again with the default action as
    // soon as this returns.
    if (signalNumber != SIGPIPE)
        _exit(128 + signalNumber);
    std::signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void installHandlers() {
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

// Holds the termination signals back for its life.
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

std::string removeOnSignal(const std::function<std::string()>& make) {
    const HeldSignals held;
    installHandlers();
    haveFileToRemove = 0;
    std::string path = make();
    if (!path.empty() && path.size() < sizeof fileToRemove) {
        std::memcpy(fileToRemove, path.c_str(), path.size() + 1);
        haveFileToRemove = 1;
    }
    return path;
}

void keepOnSignal() noexcept {
    const HeldSignals held;
    haveFileToRemove = 0;
}

} // namespace correlatore
