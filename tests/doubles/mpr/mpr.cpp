// MPR.DLL test double. PwdChangePasswordA appends one line per call to
// mpr.log in the DLL's own folder: "<provider> <owner> <reserved1>
// <reserved2>\n", numbers in decimal. Built with MPR_WITHOUT_EXPORT, the DLL
// lacks that export.
#include <windows.h>

#include <cstdio>
#include <cstring>

#ifdef MPR_WITHOUT_EXPORT

extern "C" __declspec(dllexport) DWORD WINAPI WNetGetLastErrorA(DWORD*, LPSTR, DWORD, LPSTR, DWORD)
{
    return ERROR_NOT_SUPPORTED;
}

#else

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1,
                                                                DWORD reserved2)
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&PwdChangePasswordA), &self);
    char path[MAX_PATH + 8] = "";
    GetModuleFileNameA(self, path, MAX_PATH);
    char* name = std::strrchr(path, '\\');
    std::strcpy(name != nullptr ? name + 1 : path, "mpr.log");
    if (FILE* log = std::fopen(path, "ab")) {
        std::fprintf(log, "%s %lu %lu %lu\n", provider != nullptr ? provider : "(null)",
                     static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
                     static_cast<unsigned long>(reserved1), static_cast<unsigned long>(reserved2));
        std::fclose(log);
    }
    return ERROR_SUCCESS;
}

#endif
