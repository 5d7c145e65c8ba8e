// The saver window: the host's fixed handling of a few messages in front of
// the animation's SaverProc, and the loop that runs until the window is gone.
#include "saver_window.h"

#include "host_state.h"
#include "password_verifier.h"
#include "saver_proc.h"

HWND saverWindow;
std::int32_t previewMode;
std::int32_t closeAllowed;
UINT autoPlayMessage;
HMODULE immModule;
ImmAssociateContextProc immAssociateContext;
HIMC savedInputContext;
POINT mouseReference;

void HideCursor()
{
    SetCursor(nullptr);
}

namespace {

// Only an IMM32.DLL that is already in the process is used; loading it here
// would drag the input method into a process that never asked for it.
void DetachInputMethod(HWND window)
{
    immModule = GetModuleHandleA("IMM32.DLL");
    if (immModule == nullptr) {
        return;
    }
    immAssociateContext = reinterpret_cast<ImmAssociateContextProc>(
        reinterpret_cast<void*>(GetProcAddress(immModule, "ImmAssociateContext")));
    if (immAssociateContext != nullptr) {
        savedInputContext = immAssociateContext(window, nullptr);
    }
}

void RestoreInputMethod(HWND window)
{
    if (immModule != nullptr && immAssociateContext != nullptr && savedInputContext != nullptr) {
        immAssociateContext(window, savedInputContext);
    }
}

// Help requests in a preview belong to the settings dialog that owns the pane.
void PassHelpToParent(HWND window, UINT message, LPARAM lParam)
{
    HWND parent = GetParent(window);
    if (parent != nullptr && IsWindow(parent)) {
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    }
}

bool IsTaskSwitchCommand(WPARAM command)
{
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

// The whole desktop, every monitor's area: the screen's clip box.
RECT ReadDesktop()
{
    RECT desktop;
    HDC screen = GetDC(nullptr);
    GetClipBox(screen, &desktop);
    ReleaseDC(nullptr, screen);
    return desktop;
}

}  // namespace

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        // Before SaverProc: the animation starts with the input method
        // detached and the cursor already hidden.
        DetachInputMethod(window);
        GetCursorPos(&mouseReference);
        if (!previewMode) {
            HideCursor();
        }
        break;
    case WM_DESTROY:
        // The quit message is posted before the animation frees its surface.
        RestoreInputMethod(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (closeAllowed) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        if (!previewMode) {
            HideCursor();
        }
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (previewMode) {
            PassHelpToParent(window, message, lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (closeAllowed) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        break;
    case WM_SYSCOMMAND:
        if (!previewMode && IsTaskSwitchCommand(wParam)) {
            return 0;
        }
        break;
    case WM_DISPLAYCHANGE:
        // Monitors came, went or changed their size: the full-screen window
        // covers the new desktop before the animation reads its screens. The
        // system moves the pointer off a monitor that went to sleep: that is
        // no user's hand, so mouse movement is measured from where it is now.
        if (!previewMode) {
            const RECT desktop = ReadDesktop();
            SetWindowPos(window, nullptr, desktop.left, desktop.top, desktop.right - desktop.left,
                         desktop.bottom - desktop.top, SWP_NOZORDER | SWP_NOACTIVATE);
            GetCursorPos(&mouseReference);
        }
        break;
    case WM_TIMER:
        // Once closing is granted the picture freezes until the window goes.
        if (closeAllowed) {
            return 0;
        }
        Sleep(0);
        break;
    default:
        break;
    }
    return SaverProc(window, message, wParam, lParam);
}

std::int32_t RunSaver(HWND parent)
{
    WNDCLASSA windowClass = {};
    windowClass.style = kSaverClassStyle;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instanceHandle;
    windowClass.hIcon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(kClassIconId));
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kSaverClassName;

    DWORD exStyle;
    DWORD style;
    const char* title;
    RECT area;
    if (parent != nullptr) {
        GetClientRect(parent, &area);
        exStyle = 0;
        style = kPreviewStyle;
        title = kPreviewTitle;
        area.left = 0;
        area.top = 0;
        previewMode = 1;
    } else {
        area = ReadDesktop();
        exStyle = kFullScreenExStyle;
        style = kFullScreenStyle;
        title = kFullScreenTitle;

        HWND running = FindWindowA(kSaverClassName, kFullScreenTitle);
        if (running != nullptr && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        LoadPasswordVerifier();
    }

    autoPlayMessage = win9xPlatform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    if (RegisterClassA(&windowClass) != 0) {
        saverWindow = CreateWindowExA(exStyle, kSaverClassName, title, style, area.left, area.top,
                                      area.right - area.left, area.bottom - area.top, parent,
                                      nullptr, instanceHandle, nullptr);
    }

    std::int32_t exitCode = kNoWindowExitCode;
    if (saverWindow != nullptr) {
        if (!previewMode) {
            SetForegroundWindow(saverWindow);
        }
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) != 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        exitCode = static_cast<std::int32_t>(message.wParam);
    }

    UnloadPasswordVerifier();
    return exitCode;
}
