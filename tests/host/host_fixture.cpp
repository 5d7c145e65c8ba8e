#include "host_fixture.h"

#include <string>

#include "host_state.h"
#include "input_watch.h"
#include "password_verifier.h"
#include "saver_proc.h"
#include "saver_window.h"

std::vector<ForwardedMessage> forwardedMessages;
void (*saverProcProbe)(HWND window, UINT message);
int failWindowCreation;

bool WasForwarded(UINT message)
{
    for (const ForwardedMessage& m : forwardedMessages) {
        if (m.message == message) return true;
    }
    return false;
}

// In place of the animation's: records, then ends as it does.
LRESULT SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    forwardedMessages.push_back({message, wParam, lParam});
    if (saverProcProbe != nullptr) saverProcProbe(window, message);
    if (message == WM_CREATE && failWindowCreation) return -1;
    return DefaultSaverProc(window, message, wParam, lParam);
}

namespace {

// The real class name stays free for RunSaver.
HWND CreateOfClass(const char* name, WNDPROC procedure, DWORD style, HWND parent, int width, int height)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    return CreateWindowExA(0, name, "Saver Test", style, 0, 0, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

void ResetHostState()
{
    instanceHandle = GetModuleHandleA(nullptr);
    win9xPlatform = previewMode = closeAllowed = verifying = 0;
    saverWindow = nullptr;
    autoPlayMessage = 0;
    immModule = nullptr;
    immAssociateContext = nullptr;
    savedInputContext = nullptr;
    mouseReference = {0, 0};
    lastVerifyTick = kNoVerifyYet;
    readTickCount = GetTickCount;
    if (passwordModule != nullptr) FreeLibrary(passwordModule);
    passwordModule = nullptr;
    passwordVerifier = nullptr;
    forwardedMessages.clear();
    saverProcProbe = nullptr;
    failWindowCreation = 0;
}

HWND CreateSaverTestWindow(HWND parent)
{
    return CreateOfClass("HostTestSaverClass", SaverWindowProc, parent ? WS_CHILD : WS_POPUP, parent, 64, 48);
}

HWND CreatePlainWindow(int width, int height, bool visible)
{
    return CreateOfClass("HostTestPlainClass", DefWindowProcA, WS_POPUP | (visible ? WS_VISIBLE : 0), nullptr,
                         width, height);
}

void DestroyQuietly(HWND window)
{
    if (window != nullptr && IsWindow(window)) DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool TakeClose(HWND window)
{
    MSG message;
    return PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}

void ShowArrowCursor()
{
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}

bool CursorHidden()
{
    return GetCursor() == nullptr;
}

::testing::AssertionResult MoveCursorTo(int x, int y)
{
    SetCursorPos(x, y);
    POINT now;
    GetCursorPos(&now);
    if (now.x == x && now.y == y) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cursor at " << now.x << "," << now.y << ", not " << x << "," << y;
}

void SetPasswordSetting(DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "ScreenSaveUsePassword");
    if (type != REG_NONE) {
        EXPECT_EQ(RegSetValueExA(key, "ScreenSaveUsePassword", 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
    }
    RegCloseKey(key);
}

void UsePasswordModule(const char* folder)
{
    char path[MAX_PATH];
    std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    SetDllDirectoryA((program.substr(0, program.find_last_of("\\/") + 1) + folder).c_str());
}

bool ScreenSaverRunningState()
{
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running != FALSE;
}

void HostTest::SetUp()
{
    ResetHostState();
    DrainQueue();
    ASSERT_TRUE(MoveCursorTo(500, 400));
}

void HostTest::TearDown()
{
    // Nothing a test changed outlives it: the module, the system's
    // screen-saver-running state, the setting, the DLL folder.
    win9xPlatform = 1;
    UnloadPasswordVerifier();
    SetScreenSaverRunning(0);
    ResetHostState();
    SetPasswordSetting(REG_NONE, nullptr, 0);
    SetDllDirectoryA(nullptr);
    DrainQueue();
}
