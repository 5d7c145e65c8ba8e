#include "dialog_watch.h"

namespace {

constexpr UINT kTickMs = 10;
// How long a dialog may stay after it was first seen before it is ended by
// force.
constexpr DWORD kBoundMs = 3000;
constexpr int kWatched = 2;

struct Watched {
    std::string title;
    std::function<void(HWND)> action;
    DialogSighting sighting;
    DWORD seenAt = 0;
};

Watched watched[kWatched];
UINT_PTR timerId;
HHOOK messageHook;

struct Search {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM data)
{
    Search* search = reinterpret_cast<Search*>(data);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    // Read without asking the window: a dialog procedure that claims every
    // message also swallows WM_GETTEXT.
    WCHAR title[128] = L"";
    InternalGetWindowText(window, title, 128);
    const std::wstring wideTitle(search->title->begin(), search->title->end());
    if (std::string(className) == "#32770" && wideTitle == title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(const std::string& title)
{
    Search search{&title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Poll()
{
    for (Watched& w : watched) {
        if (w.title.empty()) continue;
        HWND dialog = FindDialog(w.title);
        if (dialog == nullptr) continue;
        DialogSighting& seen = w.sighting;
        if (!seen.found) {
            seen.found = true;
            seen.visible = IsWindowVisible(dialog) != 0;
            HWND ok = GetDlgItem(dialog, IDOK);
            seen.focusOnOk = ok != nullptr && GetFocus() == ok;
            seen.owner = GetWindow(dialog, GW_OWNER);
            GetWindowRect(dialog, &seen.rect);
            w.seenAt = GetTickCount();
            if (w.action) w.action(dialog);
            continue;
        }
        if (GetTickCount() - w.seenAt > kBoundMs && !seen.forced) {
            seen.forced = true;
            EndDialog(dialog, kForcedDialogResult);
        }
    }
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Poll();
}

// Also polled for every message the loop takes: a dialog whose procedure
// never validates its window keeps the loop busy with WM_PAINT, and timer
// messages then never come.
LRESULT CALLBACK MessageTaken(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) Poll();
    return CallNextHookEx(messageHook, code, wParam, lParam);
}

void Start()
{
    timerId = SetTimer(nullptr, 0, kTickMs, Tick);
    messageHook = SetWindowsHookExA(WH_GETMESSAGE, MessageTaken, nullptr, GetCurrentThreadId());
}

}  // namespace

DialogWatch::DialogWatch(const char* title, std::function<void(HWND)> action)
    : DialogWatch(title, std::move(action), "", nullptr)
{
}

DialogWatch::DialogWatch(const char* title, std::function<void(HWND)> action, const char* secondTitle,
                         std::function<void(HWND)> secondAction)
{
    watched[0] = Watched{title, std::move(action), DialogSighting(), 0};
    watched[1] = Watched{secondTitle, std::move(secondAction), DialogSighting(), 0};
    Start();
}

DialogWatch::~DialogWatch()
{
    if (timerId != 0) KillTimer(nullptr, timerId);
    timerId = 0;
    if (messageHook != nullptr) UnhookWindowsHookEx(messageHook);
    messageHook = nullptr;
    for (Watched& w : watched) w = Watched();
}

DialogSighting DialogWatch::Sighting(int which) const
{
    return watched[which].sighting;
}
