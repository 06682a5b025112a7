#include "platform/stop_signal.h"

#include <signal.h>

#include <atomic>
#include <csignal>

namespace tova {
namespace {

// Lock-free, so that the handler may touch it.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

std::atomic<bool> installed{false};

extern "C" void OnStopSignal(int signalNumber) {
    if (!stopRequested.exchange(true)) return;
    // The second signal: the default action (the process ends, killed by
    // the signal), with only async-signal-safe calls.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
    raise(signalNumber);
}

}  // namespace

void InstallStopSignals() {
    if (installed.exchange(true)) return;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on: the flag is read between frames.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopSignalReceived() {
    return stopRequested.load();
}

void ClearStopSignal() {
    stopRequested.store(false);
}

}  // namespace tova
