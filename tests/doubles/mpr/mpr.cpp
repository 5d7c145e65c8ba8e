// MPR.DLL test double: the password-change request of the Windows 95/98
// family, observed through a file in the DLL's own folder.
//
// mpr.log: one line appended per call, before the call returns:
//   call provider="<name>" owner=<hwnd> reserved1=<n> reserved2=<n> owner_class="<c>"
// owner, reserved1 and reserved2 in decimal; owner_class is the owner's window
// class name (empty when the owner is not a window). A provider pointer that
// is null is logged as provider=null.
//
// Built twice: as MPR.DLL exporting "PwdChangePasswordA", and (with
// MPR_WITHOUT_EXPORT) as an MPR.DLL that lacks it.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HINSTANCE moduleInstance;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
    return TRUE;
}

#ifdef MPR_WITHOUT_EXPORT

// Something else to export, so that the DLL has an export table at all.
extern "C" __declspec(dllexport) DWORD WINAPI WNetGetLastErrorA(DWORD*, LPSTR, DWORD, LPSTR, DWORD)
{
    return ERROR_NOT_SUPPORTED;
}

#else

namespace {

// Path of a file in this module's folder; false if it does not fit.
bool SiblingPath(const char* name, char* path, DWORD size)
{
    const DWORD length = GetModuleFileNameA(moduleInstance, path, size);
    if (length == 0 || length >= size) return false;
    char* slash = std::strrchr(path, '\\');
    char* slash2 = std::strrchr(path, '/');
    if (slash2 > slash) slash = slash2;
    char* folderEnd = slash ? slash + 1 : path;
    if (static_cast<size_t>(folderEnd - path) + std::strlen(name) + 1 > size) return false;
    std::strcpy(folderEnd, name);
    return true;
}

void AppendLine(const char* line, int length)
{
    char path[MAX_PATH];
    if (!SiblingPath("mpr.log", path, sizeof path)) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved1,
                                                                DWORD reserved2)
{
    char ownerClass[128] = "";
    if (IsWindow(owner)) GetClassNameA(owner, ownerClass, sizeof ownerClass);
    char line[512];
    int length;
    if (provider == nullptr) {
        length = std::snprintf(line, sizeof line, "call provider=null");
    } else {
        length = std::snprintf(line, sizeof line, "call provider=\"%.64s\"", provider);
    }
    if (length < 0) return ERROR_SUCCESS;
    const int rest = std::snprintf(line + length, sizeof line - length,
                                   " owner=%lu reserved1=%lu reserved2=%lu owner_class=\"%s\"\r\n",
                                   static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)),
                                   static_cast<unsigned long>(reserved1), static_cast<unsigned long>(reserved2),
                                   ownerClass);
    if (rest > 0) AppendLine(line, length + rest);
    return ERROR_SUCCESS;
}

#endif
