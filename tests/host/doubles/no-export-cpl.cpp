// Stand-in for a PASSWORD.CPL that lacks the VerifyScreenSavePwd export.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI SomethingElse(HWND)
{
    return TRUE;
}
