#include "host_fixture.h"

#include "input_watch.h"
#include "password_verifier.h"
#include "recording_saver_proc.h"
#include "host_state.h"
#include "saver_window.h"

namespace {

constexpr const char* kPlainClassName = "HostTestPlainClass";

void RegisterTestClasses()
{
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSA saverClass = {};
    saverClass.style = kSaverClassStyle;
    saverClass.lpfnWndProc = SaverWindowProc;
    saverClass.hInstance = GetModuleHandleA(nullptr);
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = kTestSaverClassName;
    ASSERT_NE(RegisterClassA(&saverClass), 0);

    WNDCLASSA plainClass = {};
    plainClass.lpfnWndProc = DefWindowProcA;
    plainClass.hInstance = GetModuleHandleA(nullptr);
    plainClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    plainClass.lpszClassName = kPlainClassName;
    ASSERT_NE(RegisterClassA(&plainClass), 0);
    registered = true;
}

HKEY OpenDesktopKey()
{
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    return key;
}

}  // namespace

void ResetHostState()
{
    instanceHandle = GetModuleHandleA(nullptr);
    win9xPlatform = 0;
    saverWindow = nullptr;
    previewMode = 0;
    closeAllowed = 0;
    autoPlayMessage = 0;
    immModule = nullptr;
    immAssociateContext = nullptr;
    savedInputContext = nullptr;
    mouseReference = {0, 0};
    verifying = 0;
    lastVerifyTick = kNoVerifyYet;
    readTickCount = GetTickCount;
    if (passwordModule != nullptr) {
        FreeLibrary(passwordModule);
    }
    passwordModule = nullptr;
    passwordVerifier = nullptr;
    forwardedMessages.clear();
    saverProcProbe = nullptr;
    failWindowCreation = 0;
}

HWND CreateSaverTestWindow(HWND parent)
{
    RegisterTestClasses();
    const DWORD style = parent != nullptr ? WS_CHILD : WS_POPUP;
    return CreateWindowExA(0, kTestSaverClassName, "Saver Test", style, 0, 0, 64, 48, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND CreatePlainWindow(int width, int height, bool visible)
{
    RegisterTestClasses();
    const DWORD style = WS_POPUP | (visible ? WS_VISIBLE : 0);
    return CreateWindowExA(0, kPlainClassName, "Plain Test", style, 40, 40, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void DestroyQuietly(HWND window)
{
    if (window != nullptr && IsWindow(window)) {
        DestroyWindow(window);
    }
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
    if (now.x != x || now.y != y) {
        return ::testing::AssertionFailure()
               << "cursor at " << now.x << "," << now.y << " instead of " << x << "," << y;
    }
    return ::testing::AssertionSuccess();
}

void SetPasswordSetting(DWORD type, const void* data, DWORD size)
{
    HKEY key = OpenDesktopKey();
    EXPECT_EQ(RegSetValueExA(key, "ScreenSaveUsePassword", 0, type,
                             static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void RemovePasswordSetting()
{
    HKEY key = OpenDesktopKey();
    RegDeleteValueA(key, "ScreenSaveUsePassword");
    RegCloseKey(key);
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
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
    // Every state a test left behind goes, including the system's
    // screen-saver-running state and the password setting.
    win9xPlatform = 1;
    UnloadPasswordVerifier();
    SetScreenSaverRunning(0);
    ResetHostState();
    RemovePasswordSetting();
    SetDllDirectoryA(nullptr);
    DrainQueue();
}
