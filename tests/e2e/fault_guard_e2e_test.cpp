// vimra.scr's fault guard: on the Windows 95/98 family with a saver password,
// a key makes the saver ask the PASSWORD.CPL double, which faults. The guard
// ends the saver with its exit code (-2) and switches the
// screen-saver-running state off.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

// The state as the system holds it: "1", "0", or empty when never set. Wine
// keeps a state set without SPIF_UPDATEINIFILE in this volatile key (this
// process's SystemParametersInfoA would answer from a copy read once).
std::string SaverRunningState()
{
    char value[8] = "";
    DWORD size = sizeof value - 1;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
                 "WINE_ScreenSaverRunning", RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

}  // namespace

TEST(FaultGuard, AFaultingPasswordCheckEndsTheSaverThroughTheGuard)
{
    ASSERT_TRUE(KillSaverStragglers());
    ASSERT_TRUE(PlaceCursor(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2));
    const std::string folder = FreshFolder("fault-guard");
    const std::string exe = JoinPath(folder, "vimra98.scr");
    ASSERT_TRUE(CopyFileTo(SaverPath(), exe));
    ASSERT_TRUE(CopyFileTo(PasswordCplPath(), JoinPath(folder, "PASSWORD.CPL")));
    ASSERT_TRUE(SetPasswordControl(folder, "answer=fault"));
    RegistryOverride version =
        RegistryOverride::String("Software\\Wine\\AppDefaults\\vimra98.scr", "Version", "win98");
    RegistryOverride usePassword = RegistryOverride::Dword("Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
    ASSERT_TRUE(version.Ok() && usePassword.Ok());

    Process saver;
    ASSERT_NE(StartFullScreenSaver(saver, exe), nullptr);
    ASSERT_TRUE(WaitUntil([] { return SaverRunningState() == "1"; }, 5000)) << "a loaded verifier sets it";
    ASSERT_TRUE(PressKey('A'));
    std::int32_t code = 1234;
    ASSERT_TRUE(saver.WaitExit(10000, &code)) << "the saver hangs after the fault";

    EXPECT_EQ(code, -2);
    const std::vector<PasswordCall> calls = ReadPasswordCalls(folder);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].answer, "fault");
    EXPECT_EQ(SaverRunningState(), "0");
}
