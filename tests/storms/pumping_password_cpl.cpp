// A PASSWORD.CPL whose check leaves the saver window in front: it shows a
// "Password" window that takes no activation, and runs its own message loop
// for the hold time, so that keys go to the saver and are dispatched to it
// while the check is still running. Answers and logs as the dialog double in
// tests/doubles/password_cpl does (password_cpl.ctl: answer=accept|refuse,
// hold=<ms>; password_cpl.log: a "begin ..." line at entry and a "call ..."
// line at the end of each call).
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HINSTANCE moduleInstance;
int callDepth;

// The file `name` beside this module.
void SiblingPath(const char* name, char* path)
{
    GetModuleFileNameA(moduleInstance, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    std::snprintf(slash ? slash + 1 : path, MAX_PATH - (slash ? slash + 1 - path : 0), "%s", name);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    const DWORD start = GetTickCount();
    const int depth = ++callDepth;
    char path[MAX_PATH];
    char control[256] = "";
    SiblingPath("password_cpl.ctl", path);
    if (FILE* file = std::fopen(path, "r")) {
        control[std::fread(control, 1, sizeof control - 1, file)] = '\0';
        std::fclose(file);
    }
    const BOOL accept = std::strstr(control, "answer=accept") != nullptr;
    unsigned hold = 100;
    if (const char* at = std::strstr(control, "hold=")) std::sscanf(at, "hold=%u", &hold);

    SiblingPath("password_cpl.log", path);
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "begin owner=%lu start=%lu depth=%d\n",
                     static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
                     static_cast<unsigned long>(start), depth);
        std::fclose(log);
    }

    HWND shown = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "STATIC", "Password",
                                 WS_POPUP | WS_BORDER, 10, 10, 120, 40, nullptr, nullptr, moduleInstance, nullptr);
    ShowWindow(shown, SW_SHOWNOACTIVATE);
    while (GetTickCount() - start < hold) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    DestroyWindow(shown);

    SiblingPath("password_cpl.log", path);
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "call owner=%lu start=%lu end=%lu depth=%d answer=%d\n",
                     static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
                     static_cast<unsigned long>(start), static_cast<unsigned long>(GetTickCount()), depth,
                     accept ? 1 : 0);
        std::fclose(log);
    }
    --callDepth;
    return accept;
}
