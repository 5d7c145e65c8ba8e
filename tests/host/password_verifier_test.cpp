// Loading and releasing the password verifier, and the screen-saver-running
// state that follows it, against stand-in PASSWORD.CPL modules.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "host_fixture.h"
#include "host_state.h"
#include "password_verifier.h"

namespace {

enum class Setting { Absent, DwordZero, DwordOne, DwordSeven, OneByte, TwoBytesHighSet, EightBytes, String };
enum class Module { Verifying, Exportless, Missing };

void ApplySetting(Setting setting)
{
    RemovePasswordSetting();
    const DWORD zero = 0;
    const DWORD one = 1;
    const DWORD seven = 7;
    const BYTE oneByte[1] = {1};
    const BYTE twoBytes[2] = {0, 1};
    const BYTE eightBytes[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    switch (setting) {
    case Setting::Absent: break;
    case Setting::DwordZero: SetPasswordSetting(REG_DWORD, &zero, 4); break;
    case Setting::DwordOne: SetPasswordSetting(REG_DWORD, &one, 4); break;
    case Setting::DwordSeven: SetPasswordSetting(REG_DWORD, &seven, 4); break;
    case Setting::OneByte: SetPasswordSetting(REG_BINARY, oneByte, 1); break;
    case Setting::TwoBytesHighSet: SetPasswordSetting(REG_BINARY, twoBytes, 2); break;
    case Setting::EightBytes: SetPasswordSetting(REG_BINARY, eightBytes, 8); break;
    case Setting::String: SetPasswordSetting(REG_SZ, "1", 2); break;
    }
}

void UseModule(Module module)
{
    // The test program's own folder holds no PASSWORD.CPL, and Wine has
    // none, so the DLL folder decides which stand-in (if any) is found.
    const std::string folder = ProgramFolder();
    switch (module) {
    case Module::Verifying: SetDllDirectoryA((folder + "verifying-cpl").c_str()); break;
    case Module::Exportless: SetDllDirectoryA((folder + "no-export-cpl").c_str()); break;
    case Module::Missing: SetDllDirectoryA(folder.c_str()); break;
    }
}

struct LoadCase {
    const char* name;
    int win9x;
    Setting setting;
    Module module;
    bool loaded;
};

const LoadCase kLoadCases[] = {
    {"asked, found", 1, Setting::DwordOne, Module::Verifying, true},
    {"any non-zero value asks", 1, Setting::DwordSeven, Module::Verifying, true},
    {"type not checked", 1, Setting::String, Module::Verifying, true},
    {"one byte", 1, Setting::OneByte, Module::Verifying, true},
    {"two bytes, high one set", 1, Setting::TwoBytesHighSet, Module::Verifying, true},
    {"zero", 1, Setting::DwordZero, Module::Verifying, false},
    {"absent", 1, Setting::Absent, Module::Verifying, false},
    {"longer than four bytes", 1, Setting::EightBytes, Module::Verifying, false},
    {"module without the export", 1, Setting::DwordOne, Module::Exportless, false},
    {"module missing", 1, Setting::DwordOne, Module::Missing, false},
    {"not the 95/98 family", 0, Setting::DwordOne, Module::Verifying, false},
};

class PasswordVerifierTest : public HostTest {};

TEST_F(PasswordVerifierTest, LoadsOnlyWhenTheSettingAsksAndTheExportExists)
{
    for (const LoadCase& c : kLoadCases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        ApplySetting(c.setting);
        UseModule(c.module);
        win9xPlatform = c.win9x;

        LoadPasswordVerifier();

        EXPECT_EQ(passwordModule != nullptr, c.loaded);
        EXPECT_EQ(passwordVerifier != nullptr, c.loaded);
        // A module that lacks the export is freed again at once.
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL") != nullptr, c.loaded);
        EXPECT_EQ(ScreenSaverRunningState(), c.loaded);
        if (c.loaded) {
            HWND owner = CreatePlainWindow(10, 10, false);
            EXPECT_NE(passwordVerifier(owner), 0) << "the stand-in accepts a live owner";
            EXPECT_EQ(passwordVerifier(nullptr), 0);
            DestroyWindow(owner);
        }

        UnloadPasswordVerifier();

        EXPECT_EQ(passwordModule, nullptr);
        EXPECT_EQ(passwordVerifier, nullptr);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_FALSE(ScreenSaverRunningState());
    }
}

TEST_F(PasswordVerifierTest, LoadingAgainReleasesTheFirstModule)
{
    win9xPlatform = 1;
    ApplySetting(Setting::DwordOne);
    UseModule(Module::Verifying);
    LoadPasswordVerifier();
    LoadPasswordVerifier();
    ASSERT_NE(passwordModule, nullptr);
    UnloadPasswordVerifier();
    // One release undoes it all only if the second load released the first.
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_FALSE(ScreenSaverRunningState());
}

TEST_F(PasswordVerifierTest, RunningStateIsToldOnlyOnThe9xFamily)
{
    struct RunningCase {
        int win9x;
        std::int32_t on;
        bool expected;
    };
    // Starts off; only the 95/98 family changes it.
    for (RunningCase c : {RunningCase{0, 1, false}, RunningCase{1, 1, true},
                          RunningCase{0, 0, true}, RunningCase{1, 0, false}}) {
        SCOPED_TRACE(::testing::Message() << "win9x " << c.win9x << " on " << c.on);
        win9xPlatform = c.win9x;
        SetScreenSaverRunning(c.on);
        EXPECT_EQ(ScreenSaverRunningState(), c.expected);
    }
}

TEST_F(PasswordVerifierTest, ReleaseOffThe9xFamilyLeavesEverythingAlone)
{
    win9xPlatform = 1;
    ApplySetting(Setting::DwordOne);
    UseModule(Module::Verifying);
    LoadPasswordVerifier();
    ASSERT_NE(passwordModule, nullptr);
    win9xPlatform = 0;
    UnloadPasswordVerifier();
    EXPECT_NE(passwordModule, nullptr);
    EXPECT_NE(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    win9xPlatform = 1;
    UnloadPasswordVerifier();
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
}

}  // namespace
