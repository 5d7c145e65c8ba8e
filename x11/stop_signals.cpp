#include "stop_signals.h"

volatile std::sig_atomic_t stopRequested;

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};
sigset_t waitingMask;

void OnStopSignal(int)
{
    stopRequested = 1;
}

}  // namespace

void CatchStopSignals()
{
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    for (int signal : kStopSignals) {
        sigaddset(&stopSignals, signal);
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitingMask);
    for (int signal : kStopSignals) {
        sigdelset(&waitingMask, signal);
    }
}

const sigset_t* WaitingSignalMask()
{
    return &waitingMask;
}
