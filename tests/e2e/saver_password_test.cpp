// vimra.scr /s on the Windows 95/98 family (Wine's per-program version
// setting on a copy named vimra98.scr) with the PASSWORD.CPL double beside it:
// who is asked, when, with which owner, and what the answers do.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kUsePassword = "ScreenSaveUsePassword";
constexpr unsigned long kDebounceMs = 200;

class Win98Saver : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        ASSERT_TRUE(FileExists(PasswordCplPath())) << "PASSWORD.CPL double not found at '" << PasswordCplPath() << "'";
        ASSERT_TRUE(KillSaverStragglers());
        ASSERT_TRUE(PlaceCursor(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2));
    }

    // A copy of the saver named exeName in a fresh folder, with the double
    // beside it when withDouble and Wine's Windows 98 setting when win98, and
    // ScreenSaveUsePassword set to usePassword.
    std::string Prepare(const std::string& folderName, const std::string& exeName, bool win98, bool withDouble,
                        DWORD usePassword)
    {
        folder = FreshFolder(folderName);
        const std::string exe = JoinPath(folder, exeName);
        EXPECT_TRUE(CopyFileTo(SaverPath(), exe));
        EXPECT_TRUE(!withDouble || CopyFileTo(PasswordCplPath(), JoinPath(folder, "PASSWORD.CPL")));
        const std::string appKey = "Software\\Wine\\AppDefaults\\" + exeName;
        version.reset();
        if (win98) {
            EXPECT_TRUE(version.emplace(appKey.c_str(), "Version", "win98").Ok());
        }
        EXPECT_TRUE(password.emplace(kDesktopKey, kUsePassword, usePassword).Ok());
        return exe;
    }

    std::vector<PasswordCall> Calls() const { return ReadPasswordCalls(folder); }
    bool WaitForCalls(size_t count) const
    {
        return WaitUntil([&] { return Calls().size() >= count; }, 10000);
    }

    std::string folder;
    std::optional<RegistryOverride> version, password;
};

TEST_F(Win98Saver, AKeyAsksOnceOwnedByTheSaverRefusalKeepsItQuickKeysDoNotAskAgainAcceptanceEndsIt)
{
    const std::string exe = Prepare("password-refuse-then-accept", "vimra98.scr", true, true, 1);
    // The double posts WM_CLOSE to the saver while its dialog is open.
    ASSERT_TRUE(SetPasswordControl(folder, "answer=refuse hold=300 postclose=1"));
    Process saver;
    HWND window = StartFullScreenSaver(saver, exe);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PressKey('A'));
    ASSERT_TRUE(WaitForCalls(1)) << "a key did not ask PASSWORD.CPL, or the check never returned";
    const PasswordCall first = Calls()[0];
    EXPECT_EQ(first.owner, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)))
        << "the check is not owned by the saver window";
    EXPECT_EQ(first.answer, "0");
    EXPECT_TRUE(StaysShown(window, 500)) << "a refused check ended the saver";
    ASSERT_EQ(CountPasswordCallsBegun(folder), 1) << "the close posted during the check opened another check";

    // A key within 200 ms of a refusal's end must not ask again. When this
    // machine was too slow to get one there in time (the call that follows
    // starts 200 ms or more after the refusal), the round proves nothing and
    // is repeated.
    ASSERT_TRUE(SetPasswordControl(folder, "answer=refuse hold=150"));
    size_t seen = 1;
    unsigned long refusedAt = first.end;
    bool debounceShown = false;
    for (int round = 0; round < 5 && !debounceShown; ++round) {
        ASSERT_TRUE(PressKey('B'));
        const DWORD sentAt = GetTickCount();
        if (!WaitUntil([&] { return CountPasswordCallsBegun(folder) > static_cast<int>(seen); }, 700)) {
            ASSERT_LT(sentAt - refusedAt, kDebounceMs)
                << "a key " << (sentAt - refusedAt) << " ms after a refusal did not ask again";
            std::printf("a key %lu ms after the refusal did not ask again\n", sentAt - refusedAt);
            debounceShown = true;
            break;
        }
        ASSERT_TRUE(WaitForCalls(seen + 1));
        const PasswordCall again = Calls()[seen++];
        ASSERT_GE(again.start - refusedAt, kDebounceMs) << "asked again " << (again.start - refusedAt) << " ms after";
        ASSERT_EQ(again.answer, "0");
        refusedAt = again.end;
    }
    EXPECT_TRUE(debounceShown) << "no key reached the saver within 200 ms of a refusal";

    // Later, a key asks again, and acceptance ends the saver.
    EXPECT_TRUE(StaysShown(window, 300)) << "a refusal ended the saver";
    ASSERT_TRUE(SetPasswordControl(folder, "answer=accept hold=150"));
    ASSERT_TRUE(PressKey('C'));
    ASSERT_TRUE(WaitForCalls(seen + 1)) << "a key after the 200 ms did not ask again";
    ExpectSaverEndsWithZero(saver, "accepted password");
    const std::vector<PasswordCall> calls = Calls();
    ASSERT_EQ(calls.size(), seen + 1);
    EXPECT_EQ(calls.back().answer, "1");
    EXPECT_EQ(calls.back().owner, first.owner);
    for (const auto& call : calls) EXPECT_EQ(call.depth, 1) << "the check was entered twice at once";
}

TEST_F(Win98Saver, WithoutAPasswordToCheckAKeyEndsItAtOnceAndNothingIsAsked)
{
    const struct {
        const char* name;
        const char* exeName;
        bool win98;
        bool withDouble;
        DWORD usePassword;
    } cases[] = {
        {"95/98 family, ScreenSaveUsePassword 0", "vimra98.scr", true, true, 0},
        {"95/98 family, no PASSWORD.CPL to load", "vimra98.scr", true, false, 1},
        {"other platform, ScreenSaveUsePassword 1", "vimra.scr", false, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string exe = Prepare("password-not-asked-" + std::to_string(&c - cases), c.exeName, c.win98,
                                        c.withDouble, c.usePassword);
        Process saver;
        ASSERT_NE(StartFullScreenSaver(saver, exe), nullptr);
        ASSERT_TRUE(PressKey('A'));
        ExpectSaverEndsWithZero(saver, c.name);
        EXPECT_EQ(CountPasswordCallsBegun(folder), 0) << "PASSWORD.CPL was asked";
    }
}

}  // namespace
