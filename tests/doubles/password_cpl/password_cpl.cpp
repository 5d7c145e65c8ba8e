// PASSWORD.CPL test double: the saver-password check of the Windows 95/98
// family, steered and observed through two files in the DLL's own folder.
//
// password_cpl.ctl (read at every call; absent means the defaults), tokens
// separated by blanks or line ends:
//   answer=accept|refuse|fault  what the call answers (default refuse); fault
//                               writes the log line, then writes through a
//                               null pointer (an access violation).
//   hold=<ms>                   how long the modal dialog stays open before it
//                               answers (default 100, at least 1).
//   postclose=1                 when the dialog opens, post WM_CLOSE to the
//                               owner: a close request that the dialog's own
//                               modal loop dispatches to the saver while the
//                               check is still running.
//
// password_cpl.log: two lines appended per call, one at its start:
//   begin owner=<hwnd> start=<tick> depth=<n>
// and one when it returns (or just before the fault):
//   call owner=<hwnd> start=<tick> end=<tick> depth=<n> answer=<a> class="<c>" title="<t>"
// owner is the window handle in decimal; start and end are GetTickCount values
// at entry and at the answer; depth is 1 for a call that no other call of this
// module encloses (a re-entered call logs 2, before its outer call's line);
// class and title are the owner's. answer is 1 (accepted), 0 (refused), fault,
// or nodialog when the dialog could not be shown (the call then refuses).
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HINSTANCE moduleInstance;
int callDepth;

enum Answer { kRefuse, kAccept, kFault };

struct Control {
    Answer answer;
    UINT holdMs;
    int postClose;
};

HWND dialogOwner;
Control control;

// Path of a file in this module's folder; false if it does not fit.
bool SiblingPath(const char* name, char* path, DWORD size)
{
    DWORD length = GetModuleFileNameA(moduleInstance, path, size);
    if (length == 0 || length >= size) return false;
    char* slash = std::strrchr(path, '\\');
    char* slash2 = std::strrchr(path, '/');
    if (slash2 > slash) slash = slash2;
    char* folderEnd = slash ? slash + 1 : path;
    if (static_cast<size_t>(folderEnd - path) + std::strlen(name) + 1 > size) return false;
    std::strcpy(folderEnd, name);
    return true;
}

Control ReadControl()
{
    Control result = {kRefuse, 100, 0};
    char path[MAX_PATH];
    if (!SiblingPath("password_cpl.ctl", path, sizeof path)) return result;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return result;
    char text[512];
    DWORD got = 0;
    if (!ReadFile(file, text, sizeof text - 1, &got, nullptr)) got = 0;
    CloseHandle(file);
    text[got] = '\0';

    for (char* token = std::strtok(text, " \t\r\n"); token; token = std::strtok(nullptr, " \t\r\n")) {
        unsigned value = 0;
        if (std::strcmp(token, "answer=accept") == 0) result.answer = kAccept;
        else if (std::strcmp(token, "answer=refuse") == 0) result.answer = kRefuse;
        else if (std::strcmp(token, "answer=fault") == 0) result.answer = kFault;
        else if (std::sscanf(token, "hold=%u", &value) == 1) result.holdMs = value ? value : 1;
        else if (std::sscanf(token, "postclose=%u", &value) == 1) result.postClose = value != 0;
    }
    return result;
}

unsigned long Decimal(HWND window)
{
    return static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window));
}

void AppendLine(const char* line, int length)
{
    if (length <= 0) return;
    char path[MAX_PATH];
    if (!SiblingPath("password_cpl.log", path, sizeof path)) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

void LogBegin(HWND owner, DWORD start, int depth)
{
    char line[128];
    int length = std::snprintf(line, sizeof line, "begin owner=%lu start=%lu depth=%d\r\n", Decimal(owner),
                               static_cast<unsigned long>(start), depth);
    AppendLine(line, length < static_cast<int>(sizeof line) ? length : static_cast<int>(sizeof line) - 1);
}

void LogCall(HWND owner, DWORD start, DWORD end, int depth, const char* answer)
{
    char ownerClass[128] = "";
    char ownerTitle[128] = "";
    GetClassNameA(owner, ownerClass, sizeof ownerClass);
    GetWindowTextA(owner, ownerTitle, sizeof ownerTitle);
    char line[512];
    int length = std::snprintf(line, sizeof line,
                               "call owner=%lu start=%lu end=%lu depth=%d answer=%s class=\"%s\" title=\"%s\"\r\n",
                               Decimal(owner), static_cast<unsigned long>(start), static_cast<unsigned long>(end),
                               depth, answer, ownerClass, ownerTitle);
    AppendLine(line, length < static_cast<int>(sizeof line) ? length : static_cast<int>(sizeof line) - 1);
}

const UINT_PTR kAnswerTimer = 1;

INT_PTR CALLBACK CheckDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetTimer(dialog, kAnswerTimer, control.holdMs, nullptr);
        if (control.postClose) PostMessageA(dialogOwner, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_TIMER:
        if (wParam == kAnswerTimer) {
            KillTimer(dialog, kAnswerTimer);
            EndDialog(dialog, control.answer == kAccept ? 1 : 0);
        }
        return TRUE;
    case WM_COMMAND:
        // Enter or Escape while the dialog has the focus: answer as told.
        EndDialog(dialog, control.answer == kAccept ? 1 : 0);
        return TRUE;
    default:
        return FALSE;
    }
}

// A small captioned modal dialog, no controls: DLGTEMPLATE, then empty menu
// and class, then the title in UTF-16. DWORDs are split into two WORDs.
// Under Wine + Xvfb, DialogBox returns about two seconds after EndDialog;
// the log's end tick is taken after it returns, so it marks the real end.
const DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE;
alignas(4) const WORD kDialogTemplate[] = {
    LOWORD(kDialogStyle), HIWORD(kDialogStyle),
    0, 0,                 // extended style
    0,                    // no controls
    0, 0, 120, 40,        // x, y, cx, cy in dialog units
    0,                    // no menu
    0,                    // predefined dialog class
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
    DWORD start = GetTickCount();
    int depth = ++callDepth;
    Control saved = control;
    HWND savedOwner = dialogOwner;
    control = ReadControl();
    dialogOwner = owner;
    LogBegin(owner, start, depth);

    if (control.answer == kFault) {
        LogCall(owner, start, GetTickCount(), depth, "fault");
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }

    INT_PTR result = DialogBoxIndirectParamA(moduleInstance, reinterpret_cast<LPCDLGTEMPLATEA>(kDialogTemplate),
                                             owner, CheckDialogProc, 0);
    BOOL accepted = result == 1;
    LogCall(owner, start, GetTickCount(), depth, result == -1 ? "nodialog" : accepted ? "1" : "0");

    control = saved;
    dialogOwner = savedOwner;
    --callDepth;
    return accepted;
}
