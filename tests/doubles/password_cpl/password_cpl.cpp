// PASSWORD.CPL test double: the saver-password check of the Windows 95/98
// family, steered and observed through two files beside the DLL.
//
// password_cpl.ctl, read at every call: answer=accept|refuse|fault (default
// refuse; fault logs, then writes to address 0), hold=<ms> (how long its
// modal "Password" dialog stays open, default 100), postclose=1 (post
// WM_CLOSE to the owner once the dialog is open: a close the dialog's loop
// hands to the saver while the check runs).
//
// password_cpl.log, two lines per call, numbers in decimal:
//   begin owner=<hwnd> start=<tick> depth=<n>                      at entry
//   call owner=<hwnd> start=<tick> end=<tick> depth=<n> answer=<a> at the end
// depth 1 unless another call is running; answer 1 (accepted), 0 (refused),
// fault, or -1 (no dialog). A dialog under Wine + Xvfb returns two seconds
// after it was ended: the end tick is taken after that, at the real answer.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HINSTANCE moduleInstance;
int callDepth;

struct Control {
    int accept;
    UINT holdMs;
    int postClose;
    HWND owner;
};

std::FILE* OpenBeside(const char* name, const char* mode)
{
    char path[MAX_PATH + 20];  // room for the module's folder and a name of up to 19 characters
    const DWORD length = GetModuleFileNameA(moduleInstance, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    if (length == 0 || length >= MAX_PATH || !slash || std::strlen(name) >= 20) return nullptr;
    std::strcpy(slash + 1, name);
    return std::fopen(path, mode);
}

INT_PTR CALLBACK CheckDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto* control = reinterpret_cast<const Control*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetTimer(dialog, 1, control->holdMs, nullptr);
        if (control->postClose) PostMessageA(control->owner, WM_CLOSE, 0, 0);
        return TRUE;
    }
    if (message == WM_TIMER) {
        KillTimer(dialog, 1);
        EndDialog(dialog, reinterpret_cast<const Control*>(GetWindowLongPtrA(dialog, DWLP_USER))->accept);
        return TRUE;
    }
    return FALSE;
}

// A captioned modal dialog without controls: DLGTEMPLATE (DWORDs as two
// WORDs), no menu, the default class, the title in UTF-16.
const DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE;
alignas(4) const WORD kDialogTemplate[] = {
    LOWORD(kDialogStyle), HIWORD(kDialogStyle), 0, 0, 0, 0, 0, 120, 40, 0, 0,
    'P', 'a', 's', 's', 'w', 'o', 'r', 'd', 0,
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    const unsigned long start = GetTickCount();
    const unsigned long ownerNumber = static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner));
    const int depth = ++callDepth;
    char text[256] = "";
    if (std::FILE* file = OpenBeside("password_cpl.ctl", "r")) {
        text[std::fread(text, 1, sizeof text - 1, file)] = '\0';
        std::fclose(file);
    }
    Control control = {std::strstr(text, "answer=accept") != nullptr, 100,
                       std::strstr(text, "postclose=1") != nullptr, owner};
    if (const char* hold = std::strstr(text, "hold=")) std::sscanf(hold, "hold=%u", &control.holdMs);
    if (std::FILE* log = OpenBeside("password_cpl.log", "a")) {
        std::fprintf(log, "begin owner=%lu start=%lu depth=%d\n", ownerNumber, start, depth);
        std::fclose(log);
    }

    const bool fault = std::strstr(text, "answer=fault") != nullptr;
    const INT_PTR result = fault ? 0
                                 : DialogBoxIndirectParamA(moduleInstance,
                                                           reinterpret_cast<LPCDLGTEMPLATEA>(kDialogTemplate), owner,
                                                           CheckDialogProc, reinterpret_cast<LPARAM>(&control));
    if (std::FILE* log = OpenBeside("password_cpl.log", "a")) {
        std::fprintf(log, "call owner=%lu start=%lu end=%lu depth=%d answer=", ownerNumber, start,
                     static_cast<unsigned long>(GetTickCount()), depth);
        fault ? std::fputs("fault\n", log) : std::fprintf(log, "%d\n", static_cast<int>(result));
        std::fclose(log);
    }
    if (fault) {
        volatile int* volatile nowhere = nullptr;  // both volatile: a real store to address 0
        *nowhere = 1;
    }
    --callDepth;
    return result == 1;
}
