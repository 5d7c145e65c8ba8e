// The operating system's password check before the saver may close (Windows
// 95/98 family only), and the screen-saver-running state that goes with it.
#pragma once

#include <windows.h>

#include <cstdint>

// PASSWORD.CPL's "VerifyScreenSavePwd": the owner window in, non-zero when
// the user proved the password.
typedef BOOL(WINAPI* VerifyScreenSavePwdProc)(HWND owner);

// PASSWORD.CPL while loaded, and its verifier; both null otherwise.
extern HMODULE passwordModule;
extern VerifyScreenSavePwdProc passwordVerifier;

// Loads the verifier when HKCU "Control Panel\Desktop" ScreenSaveUsePassword
// asks for one; the system is told a saver runs while one is loaded.
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
// Tells the system whether a saver runs (on: 1 or 0); 95/98 family only.
void SetScreenSaverRunning(std::int32_t on);
