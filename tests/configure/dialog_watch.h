// Watches for a dialog of this thread while a modal loop runs (a thread
// timer dispatched by that loop), notes how it looked when it first showed,
// then acts on it once. A dialog that does not end within the bound is ended
// by force, so a test fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct DialogSighting {
    bool found = false;
    bool visible = false;
    bool focusOnOk = false;   // the focus was on the dialog's IDOK control
    bool forced = false;      // the watch had to end it (EndDialog 99)
    HWND owner = nullptr;
    RECT rect{};
};

constexpr INT_PTR kForcedDialogResult = 99;

class DialogWatch {
public:
    // action runs once, the first time a dialog with this title is seen.
    DialogWatch(const char* title, std::function<void(HWND)> action);
    // Two dialogs, each watched and acted on as above (one after the other
    // or both at once).
    DialogWatch(const char* title, std::function<void(HWND)> action, const char* secondTitle,
                std::function<void(HWND)> secondAction);
    ~DialogWatch();
    DialogWatch(const DialogWatch&) = delete;
    DialogWatch& operator=(const DialogWatch&) = delete;
    DialogSighting Sighting(int which = 0) const;
};
