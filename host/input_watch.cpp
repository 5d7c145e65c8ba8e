// Input watch and the close decision. Re-entered from the password dialog's
// own message loop: `verifying` keeps input from posting more closes and
// refuses a nested WM_CLOSE without a second dialog.
#include "input_watch.h"

#include "host_state.h"
#include "password_verifier.h"
#include "saver_window.h"

std::int32_t verifying;
std::uint32_t lastVerifyTick = kNoVerifyYet;
DWORD(WINAPI* readTickCount)() = GetTickCount;

namespace {

constexpr WPARAM kPowerCriticalResume = 3;  // PWR_CRITICALRESUME

void Close(HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
}

std::uint32_t Distance(LONG a, LONG b)
{
    // Unsigned, so that no pair of coordinates can overflow.
    return a >= b ? static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)
                  : static_cast<std::uint32_t>(b) - static_cast<std::uint32_t>(a);
}

// Slow movement adds up: the reference stays until a move passes the threshold.
void WatchMouse(HWND window)
{
    POINT now;
    GetCursorPos(&now);
    const std::uint32_t moved =
        Distance(now.x, mouseReference.x) + Distance(now.y, mouseReference.y);
    if (moved > kMouseMoveThreshold) {
        Close(window);
        mouseReference = now;
    }
}

// Input, deactivation and power events while watching and not verifying.
// Returns true when the message is finished here (with *result).
bool WatchInput(HWND window, UINT message, WPARAM wParam, LRESULT* result)
{
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != 0) {
            HideCursor();
        }
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0) {
            Close(window);
        }
        break;
    case WM_SETCURSOR:
        HideCursor();
        *result = 1;
        return true;
    case WM_POWER:
        if (wParam == kPowerCriticalResume) {
            Close(window);
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_POWERBROADCAST:
        Close(window);
        break;
    case WM_MOUSEMOVE:
        WatchMouse(window);
        break;
    default:
        break;
    }
    return false;
}

}  // namespace

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool watching = !previewMode && !closeAllowed;
    if (watching) {
        if (message == WM_CLOSE) {
            if (win9xPlatform && !VerifyBeforeClose(window)) {
                // Measured from here on, so a mouse left where it rested does
                // not ask again at once.
                GetCursorPos(&mouseReference);
                return 0;
            }
        } else if (message == kVerifyPasswordMessage) {
            if (win9xPlatform) {
                return passwordVerifier == nullptr ? 1 : passwordVerifier(window);
            }
        } else if (!verifying) {
            LRESULT result;
            if (WatchInput(window, message, wParam, &result)) {
                return result;
            }
        }
    }

    if (autoPlayMessage != 0 && message == autoPlayMessage) {
        // A non-zero answer asks the shell to cancel AutoPlay.
        Close(window);
        return passwordVerifier != nullptr ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::int32_t VerifyBeforeClose(HWND window)
{
    if (verifying || closeAllowed) {
        return 0;
    }
    if (passwordVerifier == nullptr) {
        closeAllowed = 1;
        return 1;
    }
    // Unsigned difference: correct across the tick count's wrap to 0.
    const std::uint32_t now = readTickCount();
    if (lastVerifyTick != kNoVerifyYet && now - lastVerifyTick < kVerifyDebounceMs) {
        return closeAllowed;
    }

    verifying = 1;
    // Ticks already queued would only pile up behind the dialog.
    MSG scratch;
    PeekMessageA(&scratch, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&scratch, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    const LRESULT result = SendMessageA(window, kVerifyPasswordMessage, 0, 0);
    closeAllowed = result != 0 ? 1 : 0;
    verifying = 0;
    if (!closeAllowed) {
        HideCursor();
    }
    // The end of the verification, not its start, opens the 200 ms window.
    lastVerifyTick = readTickCount();
    return closeAllowed;
}
