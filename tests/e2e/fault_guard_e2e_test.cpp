// vimra.scr's fault guard: on the Windows 95/98 family with a saver password,
// a key makes the saver ask the PASSWORD.CPL double, which faults. The fault
// must end the saver through its guard: promptly, with the guard's exit code,
// the screen-saver-running state switched off, and no crash dialog.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

// The exit code documented for a mode that the guard ended.
constexpr std::int32_t kGuardExitCode = -2;

// The screen-saver-running state as the system holds it: "1", "0", or empty
// when never set. Wine keeps a state set without SPIF_UPDATEINIFILE in this
// volatile key; SystemParametersInfoA would answer from this process's own
// copy, read once and never refreshed, so the key is read directly.
std::string SaverRunningState()
{
    char value[8] = "";
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
                     "WINE_ScreenSaverRunning", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return "";
    }
    return value;
}

struct VisibleWindows {
    DWORD exceptProcess;
    std::vector<std::string> found;
};

BOOL CALLBACK NoteVisible(HWND window, LPARAM data)
{
    VisibleWindows* windows = reinterpret_cast<VisibleWindows*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == windows->exceptProcess || !IsWindowVisible(window)) return TRUE;
    char windowClass[128] = "";
    char title[128] = "";
    GetClassNameA(window, windowClass, sizeof windowClass);
    GetWindowTextA(window, title, sizeof title);
    windows->found.push_back(std::string(windowClass) + " \"" + title + "\"");
    return TRUE;
}

// Visible top-level windows of every process but this one.
std::vector<std::string> OtherVisibleWindows()
{
    VisibleWindows windows{GetCurrentProcessId(), {}};
    EnumWindows(NoteVisible, reinterpret_cast<LPARAM>(&windows));
    return windows.found;
}

TEST(FaultGuard, AFaultingPasswordCheckEndsTheSaverThroughTheGuard)
{
    ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
    ASSERT_TRUE(FileExists(PasswordCplPath())) << "PASSWORD.CPL double not found at '" << PasswordCplPath() << "'";
    ASSERT_TRUE(KillSaverStragglers());
    ASSERT_TRUE(PlaceCursor(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2));
    const std::vector<std::string> before = OtherVisibleWindows();

    const std::string folder = FreshFolder("fault-guard");
    const std::string exe = JoinPath(folder, "vimra98.scr");
    ASSERT_TRUE(CopyFileTo(SaverPath(), exe));
    ASSERT_TRUE(CopyFileTo(PasswordCplPath(), JoinPath(folder, "PASSWORD.CPL")));
    ASSERT_TRUE(SetPasswordControl(folder, "answer=fault"));
    RegistryOverride version =
        RegistryOverride::String("Software\\Wine\\AppDefaults\\vimra98.scr", "Version", "win98");
    ASSERT_TRUE(version.Ok());
    RegistryOverride usePassword = RegistryOverride::Dword("Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
    ASSERT_TRUE(usePassword.Ok());

    Process saver;
    HWND window = StartFullScreenSaver(saver, exe);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([] { return SaverRunningState() == "1"; }, 5000))
        << "a loaded verifier switches the screen-saver-running state on";

    ASSERT_TRUE(PressKey('A'));
    const DWORD pressedAt = GetTickCount();
    std::int32_t code = 1234;
    ASSERT_TRUE(saver.WaitExit(10000, &code)) << "the saver hangs after the fault";
    const DWORD tookMs = GetTickCount() - pressedAt;

    EXPECT_EQ(code, kGuardExitCode);
    EXPECT_LT(tookMs, 5000u);
    const std::vector<PasswordCall> calls = ReadPasswordCalls(folder);
    ASSERT_EQ(calls.size(), 1u) << "the verifier was asked once";
    EXPECT_EQ(calls[0].answer, "fault");
    EXPECT_EQ(calls[0].owner, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    EXPECT_EQ(SaverRunningState(), "0") << "the guard switched the screen-saver-running state off";
    // No crash dialog or debugger window came up for the fault.
    Observe(500);
    EXPECT_EQ(OtherVisibleWindows(), before);
}

}  // namespace
