#include "recording_saver_proc.h"

#include "saver_proc.h"

std::vector<ForwardedMessage> forwardedMessages;
void (*saverProcProbe)(HWND window, UINT message);
int failWindowCreation;

bool WasForwarded(UINT message)
{
    for (const ForwardedMessage& m : forwardedMessages) {
        if (m.message == message) {
            return true;
        }
    }
    return false;
}

LRESULT SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    forwardedMessages.push_back({message, wParam, lParam});
    if (saverProcProbe != nullptr) {
        saverProcProbe(window, message);
    }
    if (message == WM_CREATE && failWindowCreation) {
        return -1;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
