// Stand-in for PASSWORD.CPL: the export the host looks for, accepting the
// password whenever it is asked.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND)
{
    return TRUE;
}
