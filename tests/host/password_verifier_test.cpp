// Loading and releasing the password verifier, and the screen-saver-running
// state that follows it, against stand-in PASSWORD.CPL modules.
#include <windows.h>

#include <gtest/gtest.h>

#include "host_fixture.h"
#include "host_state.h"
#include "password_verifier.h"

namespace {

class PasswordVerifierTest : public HostTest {};

TEST_F(PasswordVerifierTest, LoadsOnlyWhenTheSettingAsksAndTheExportExists)
{
    const struct {
        const char* name;
        int win9x;
        DWORD type;  // REG_NONE: no value
        const char* data;
        DWORD size;
        const char* module;  // folder of the stand-in; "": none to find
        bool loaded;
    } cases[] = {
        {"asked, found", 1, REG_DWORD, "\1\0\0\0", 4, "verifying-cpl", true},
        {"any non-zero value asks", 1, REG_DWORD, "\7\0\0\0", 4, "verifying-cpl", true},
        {"type not checked", 1, REG_SZ, "1", 2, "verifying-cpl", true},
        {"one byte", 1, REG_BINARY, "\1", 1, "verifying-cpl", true},
        {"two bytes, high one set", 1, REG_BINARY, "\0\1", 2, "verifying-cpl", true},
        {"zero", 1, REG_DWORD, "\0\0\0\0", 4, "verifying-cpl", false},
        {"absent", 1, REG_NONE, "", 0, "verifying-cpl", false},
        {"longer than four bytes", 1, REG_BINARY, "\1\0\0\0\0\0\0\0", 8, "verifying-cpl", false},
        {"module without the export", 1, REG_DWORD, "\1\0\0\0", 4, "no-export-cpl", false},
        {"module missing", 1, REG_DWORD, "\1\0\0\0", 4, "", false},
        {"not the 95/98 family", 0, REG_DWORD, "\1\0\0\0", 4, "verifying-cpl", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        SetPasswordSetting(c.type, c.data, c.size);
        UsePasswordModule(c.module);
        win9xPlatform = c.win9x;

        LoadPasswordVerifier();

        EXPECT_EQ(passwordModule != nullptr, c.loaded);
        // A module that lacks the export is freed again at once.
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL") != nullptr, c.loaded);
        EXPECT_EQ(ScreenSaverRunningState(), c.loaded);
        ASSERT_EQ(passwordVerifier != nullptr, c.loaded);
        if (c.loaded) {
            HWND owner = CreatePlainWindow(10, 10, false);
            EXPECT_NE(passwordVerifier(owner), 0) << "the stand-in accepts a live owner";
            DestroyWindow(owner);
        }

        UnloadPasswordVerifier();

        EXPECT_EQ(passwordVerifier, nullptr);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_FALSE(ScreenSaverRunningState());
    }
}

TEST_F(PasswordVerifierTest, LoadingAgainReleasesTheFirstModule)
{
    win9xPlatform = 1;
    const DWORD one = 1;
    SetPasswordSetting(REG_DWORD, &one, sizeof one);
    UsePasswordModule("verifying-cpl");
    LoadPasswordVerifier();
    LoadPasswordVerifier();
    ASSERT_NE(passwordModule, nullptr);
    UnloadPasswordVerifier();
    // One release undoes it all only if the second load released the first.
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
}

}  // namespace
