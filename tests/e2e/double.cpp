// Stands in for PASSWORD.CPL and MPR.DLL beside a copy of the saver. Each call
// appends a line to double.log in the current folder, naming the owner window
// by its title. The n-th password check answers with the n-th character of
// VIMRA_E2E_ANSWERS: '1' accepts, 'f' faults, anything else, or none, refuses.
// A check shows a box over the saver and runs a message loop of its own that
// leaves the saver in front, so keys still reach the saver meanwhile, and
// hands the saver a close.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static size_t checks;

// Appends format, its %s the owner's title.
static void Log(const char* format, HWND owner)
{
    char title[64] = "";
    GetWindowTextA(owner, title, sizeof title);
    std::FILE* log = std::fopen("double.log", "ab");
    std::fprintf(log, format, title);
    std::fclose(log);
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    const char* answers = std::getenv("VIMRA_E2E_ANSWERS");
    const char answer = answers[checks] ? answers[checks++] : '0';
    Log("begin %s\n", owner);
    volatile int* volatile nowhere = nullptr;
    if (answer == 'f') *nowhere = 1;
    PostMessageA(owner, WM_CLOSE, 0, 0);
    // A grey box over the saver, as the real module's dialog, not taking the focus.
    HWND box = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Password", WS_POPUP | WS_BORDER, 20, 20, 400, 150, owner,
                               nullptr, nullptr, nullptr);
    ShowWindow(box, SW_SHOWNOACTIVATE);
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(10))
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
    DestroyWindow(box);
    Log(answer == '1' ? "end 1\n" : "end 0\n", owner);
    return answer == '1';
}

// Logs "SCRSAVE <owner> 0 0" when called with those arguments.
extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD one, DWORD two)
{
    Log(lstrcmpA(provider, "SCRSAVE") == 0 && one == 0 && two == 0 ? "SCRSAVE %s 0 0\n" : "other %s\n", owner);
    return 0;
}
