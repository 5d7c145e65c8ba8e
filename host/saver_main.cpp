// The process entry: one launch mode per process, its result the exit code.
#include "fault_guard.h"
#include "host_state.h"
#include "launch_modes.h"

namespace {

std::int32_t IsWin9xFamily()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148
    static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA layout");
    if (!GetVersionExA(&version)) {
        return 0;
    }
    return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;
}

}  // namespace

std::int32_t SaverMain(HINSTANCE instance, const char* tail)
{
    instanceHandle = instance;
    win9xPlatform = IsWin9xFamily();
    return RunGuarded(RunLaunchMode, tail);
}

void SaverEntry()
{
    const char* tail = CommandLineTail(GetCommandLineA());
    ExitProcess(static_cast<UINT>(SaverMain(GetModuleHandleA(nullptr), tail)));
}
