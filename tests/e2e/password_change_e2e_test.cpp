// vimra.scr /a: on the Windows 95/98 family (Wine's per-program version
// setting) it asks MPR.DLL (the double beside it, when there) to change the
// saver password with "SCRSAVE" and the owner, and ends with 0; elsewhere it
// ends with -1 and asks nothing. Never a window of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "harness/harness.h"

using namespace e2e;

TEST(PasswordChange, AsksTheRouterOnlyOnThe9xFamily)
{
    ASSERT_TRUE(KillSaverStragglers());
    HWND owner = CreateWindowA("STATIC", "Settings", WS_OVERLAPPEDWINDOW, 30, 30, 240, 160, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const std::string handle = std::to_string(reinterpret_cast<ULONG_PTR>(owner));
    const struct {
        const char* exeName;  // its own AppDefaults entry
        bool win98;
        bool withRouter;
        std::int32_t code;
        std::string log;  // mpr.log afterwards
    } cases[] = {
        {"vimra98.scr", true, true, 0, "SCRSAVE " + handle + " 0 0\n"},
        {"vimra98nompr.scr", true, false, 0, ""},
        {"vimrant.scr", false, true, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exeName);
        const std::string folder = FreshFolder(c.exeName);
        const std::string exe = JoinPath(folder, c.exeName);
        ASSERT_TRUE(CopyFileTo(SaverPath(), exe));
        ASSERT_TRUE(!c.withRouter || CopyFileTo(PathArgument("mpr"), JoinPath(folder, "MPR.DLL")));
        // Wine prefers its builtin mpr: load the double, or none at all.
        const std::string appKey = std::string("Software\\Wine\\AppDefaults\\") + c.exeName;
        RegistryOverride dll = RegistryOverride::String((appKey + "\\DllOverrides").c_str(), "mpr",
                                                        c.withRouter ? "native" : "");
        RegistryOverride version =
            RegistryOverride::String(appKey.c_str(), "Version", c.win98 ? "win98" : "win7");
        ASSERT_TRUE(dll.Ok() && version.Ok());

        Process saver;
        ASSERT_TRUE(saver.Start(exe, "/a " + handle));
        std::int32_t code = 1234;
        WindowSightings seen;
        ASSERT_TRUE(WatchUntilExit(saver, 15000, &code, &seen));
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(seen.windows, 0) << seen.firstClass;
        EXPECT_EQ(ReadTextFile(JoinPath(folder, "mpr.log")), c.log);
    }
    DestroyWindow(owner);
}
