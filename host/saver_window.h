// Saver mode: the saver window, its class, its window procedure and the
// thread's message loop, full screen or inside a preview parent.
#pragma once

#include <windows.h>
#include <imm.h>

#include <cstdint>

constexpr const char* kSaverClassName = "WindowsScreenSaverClass";
// Also the key by which a second full-screen launch finds the first.
constexpr const char* kFullScreenTitle = "Screen Saver";
constexpr const char* kPreviewTitle = "Preview";
constexpr UINT kSaverClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
constexpr DWORD kFullScreenExStyle = WS_EX_TOPMOST;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
// The class asks for this icon; the resources hold none, so the class has none.
constexpr WORD kClassIconId = 100;
// RunSaver's result when the class cannot be registered or the window cannot
// be created: no loop ran, so no WM_QUIT carries a code. -1 is what every
// other mode answers when it could not do its work.
constexpr std::int32_t kNoWindowExitCode = -1;

typedef HIMC(WINAPI* ImmAssociateContextProc)(HWND window, HIMC context);

extern HWND saverWindow;
extern std::int32_t previewMode;   // 1 once RunSaver was given a parent
extern std::int32_t closeAllowed;  // 1 once closing was granted; never cleared
// "QueryCancelAutoPlay" on the Windows 95/98 family, 0 elsewhere.
extern UINT autoPlayMessage;
// IMM32.DLL if it was already loaded at window creation; never freed here.
extern HMODULE immModule;
extern ImmAssociateContextProc immAssociateContext;
extern HIMC savedInputContext;
// Screen pixels; the position mouse movement is measured against.
extern POINT mouseReference;

// Full screen without a parent, preview inside `parent` otherwise. Returns the
// exit code of the loop's WM_QUIT (0), 0 at once when a full-screen saver
// already runs, kNoWindowExitCode when no window could be made.
std::int32_t RunSaver(HWND parent);
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The saver window never shows a cursor: neither the class nor this sets one.
void HideCursor();
