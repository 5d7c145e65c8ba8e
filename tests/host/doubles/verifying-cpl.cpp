// Stand-in for PASSWORD.CPL: accepts the password when given a live owner
// window, refuses otherwise.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    return IsWindow(owner) ? TRUE : FALSE;
}
