// A SaverProc that records what the host forwards to it and then, as the
// animation's does, ends with DefaultSaverProc.
#pragma once

#include <windows.h>

#include <vector>

struct ForwardedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

extern std::vector<ForwardedMessage> forwardedMessages;
// Called for every forwarded message before DefaultSaverProc, if set.
extern void (*saverProcProbe)(HWND window, UINT message);
// When 1, WM_CREATE answers -1, so window creation fails.
extern int failWindowCreation;

// Whether `message` reached SaverProc since the log was last cleared.
bool WasForwarded(UINT message);
