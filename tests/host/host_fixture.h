// Shared ground of the saver-window tests: a SaverProc that records what the
// host forwards, host state reset between cases, small windows run by
// SaverWindowProc, and probes of the queue, cursor and registry.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

struct ForwardedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
// What reached SaverProc since the last reset, in order.
extern std::vector<ForwardedMessage> forwardedMessages;
// Called for every forwarded message before DefaultSaverProc, if set.
extern void (*saverProcProbe)(HWND window, UINT message);
extern int failWindowCreation;  // 1: SaverProc answers WM_CREATE with -1
bool WasForwarded(UINT message);

// Every module-level variable of the host back to its start, win9xPlatform 0.
void ResetHostState();
// A hidden window whose procedure is SaverWindowProc; a child of `parent` if given.
HWND CreateSaverTestWindow(HWND parent = nullptr);
// A top-level popup with a white background and DefWindowProcA.
HWND CreatePlainWindow(int width, int height, bool visible);
// Destroys the window if it lives and drops the WM_QUIT its end posted.
void DestroyQuietly(HWND window);
void DrainQueue();
bool TakeClose(HWND window);  // removes a queued WM_CLOSE for the window
void ShowArrowCursor();
bool CursorHidden();
::testing::AssertionResult MoveCursorTo(int x, int y);
// HKCU "Control Panel\Desktop" ScreenSaveUsePassword; REG_NONE removes it.
void SetPasswordSetting(DWORD type, const void* data, DWORD size);
// Puts the PASSWORD.CPL stand-in in that folder beside the test program on
// the DLL search path ("" for the program's own folder, which has none).
void UsePasswordModule(const char* folder);
bool ScreenSaverRunningState();

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
