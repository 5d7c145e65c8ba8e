// The password module: loaded once before the saver window exists, released
// after the message loop, never reloaded between verifications.
#include "password_verifier.h"

#include "host_state.h"

HMODULE passwordModule;
VerifyScreenSavePwdProc passwordVerifier;

namespace {

// A present value that is not 0 asks for a password. Its type is not
// checked; a value shorter than four bytes fills the low bytes of a zeroed
// number, and a longer one makes the query fail, which means no password.
bool PasswordRequested(HKEY desktop)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG status = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(&value), &size);
    return status == ERROR_SUCCESS && value != 0;
}

}  // namespace

void LoadPasswordVerifier()
{
    if (!win9xPlatform) {
        return;
    }
    if (passwordModule != nullptr) {
        UnloadPasswordVerifier();
    }
    HKEY desktop;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) {
        return;
    }
    if (PasswordRequested(desktop)) {
        passwordModule = LoadLibraryA("PASSWORD.CPL");
        if (passwordModule != nullptr) {
            passwordVerifier = reinterpret_cast<VerifyScreenSavePwdProc>(
                reinterpret_cast<void*>(GetProcAddress(passwordModule, "VerifyScreenSavePwd")));
            if (passwordVerifier != nullptr) {
                SetScreenSaverRunning(1);
            } else {
                UnloadPasswordVerifier();
            }
        }
    }
    RegCloseKey(desktop);
}

void UnloadPasswordVerifier()
{
    if (!win9xPlatform || passwordModule == nullptr) {
        return;
    }
    FreeLibrary(passwordModule);
    passwordModule = nullptr;
    if (passwordVerifier != nullptr) {
        passwordVerifier = nullptr;
        SetScreenSaverRunning(0);
    }
}

void SetScreenSaverRunning(std::int32_t on)
{
    if (!win9xPlatform) {
        return;
    }
    UINT previous;  // receives the former state; not used
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, static_cast<UINT>(on), &previous, 0);
}
