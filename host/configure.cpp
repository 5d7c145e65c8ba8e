// Configure mode: the About box, then the configuration dialog, which the
// program does not have. The saver has no settings of its own.
#include "configure.h"

#include "host_state.h"

std::int32_t PreConfigureHook(HINSTANCE instance)
{
    // Never owned, even when configure mode was given an owner; its result
    // does not matter.
    DialogBoxParamA(instance, MAKEINTRESOURCEA(kAboutDialogId), nullptr, AboutDialogProc, 0);
    return 1;
}

INT_PTR CALLBACK ConfigureDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return 1;
}

std::int32_t RunConfigure(HWND owner)
{
    if (PreConfigureHook(instanceHandle) == 0) {
        return 0;
    }
    // Template 2003 is absent: the call fails at once, shows nothing and
    // answers -1, which becomes configure mode's exit code.
    return static_cast<std::int32_t>(DialogBoxParamA(
        instanceHandle, MAKEINTRESOURCEA(kConfigureDialogId), owner, ConfigureDialogProc, 0));
}
