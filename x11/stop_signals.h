// SIGTERM (the daemon's way to end a hack), SIGINT and SIGHUP end the hack
// cleanly: they only set a flag, and they are held back except while the
// frame loop waits, so a frame is never cut short and a signal that comes
// just before the wait is not missed.
#pragma once

#include <csignal>

extern volatile std::sig_atomic_t stopRequested;

// Installs the handlers and holds the signals back. A lost X connection is
// left to the X error handling (SIGPIPE ignored), which ends with status 1.
void CatchStopSignals();

// The signal mask to wait with: the stop signals let through.
const sigset_t* WaitingSignalMask();
