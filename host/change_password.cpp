// Password change through the multiple-provider router (MPR.DLL), which is
// loaded for this one request and released at once.
#include "configure.h"

namespace {

// DWORD PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD, DWORD)
typedef DWORD(WINAPI* PwdChangePasswordFunction)(LPCSTR, HWND, DWORD, DWORD);

} // namespace

void ChangePassword(HWND owner)
{
    HMODULE router = LoadLibraryA("MPR.DLL");
    if (router == nullptr) {
        return;
    }
    PwdChangePasswordFunction change = reinterpret_cast<PwdChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(router, "PwdChangePasswordA")));
    if (change != nullptr) {
        // The answer is not used: only the call's return matters.
        change("SCRSAVE", owner, 0, 0);
    }
    FreeLibrary(router);
}
