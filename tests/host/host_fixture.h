// Shared ground for the saver-window tests: host state reset between tests,
// small windows driven by SaverWindowProc, and the message queue, cursor and
// registry probes the tests read.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// Every module-level variable of the saver host back to its starting value,
// the forwarding log cleared, win9xPlatform 0.
void ResetHostState();

// A window of a test class whose procedure is SaverWindowProc, hidden, at the
// screen's top-left corner, away from the cursor. With `parent` it is a child.
HWND CreateSaverTestWindow(HWND parent = nullptr);
// A plain top-level popup (DefWindowProcA) of the given client size.
HWND CreatePlainWindow(int width, int height, bool visible);
// Destroys `window` if it still exists and removes the WM_QUIT its
// destruction posted, so later message loops are not ended by it.
void DestroyQuietly(HWND window);

// Removes every message queued for the thread.
void DrainQueue();
// Removes and reports a queued WM_CLOSE for `window`.
bool TakeClose(HWND window);

// The thread's cursor made visible (the arrow), so hiding it can be seen.
void ShowArrowCursor();
bool CursorHidden();
// Moves the real cursor and checks that it got there.
::testing::AssertionResult MoveCursorTo(int x, int y);

// The value the host reads, under HKCU "Control Panel\Desktop".
void SetPasswordSetting(DWORD type, const void* data, DWORD size);
void RemovePasswordSetting();

// The folder of the running test program, ending in a backslash.
std::string ProgramFolder();
// Whether the system says a screen saver is running.
bool ScreenSaverRunningState();

// The test class's name; the real class name stays free for RunSaver.
constexpr const char* kTestSaverClassName = "HostTestSaverClass";

class HostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
