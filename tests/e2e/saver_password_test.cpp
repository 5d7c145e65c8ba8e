// vimra.scr /s on the Windows 95/98 family (Wine's per-program version
// setting on a copy named vimra98.scr) with the PASSWORD.CPL double beside it:
// who is asked, when, with which owner, and what the answers do.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kUsePassword = "ScreenSaveUsePassword";
constexpr DWORD kDebounceMs = 200;

class Win98Saver : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        ASSERT_TRUE(FileExists(PasswordCplPath())) << "PASSWORD.CPL double not found at '" << PasswordCplPath() << "'";
        ASSERT_TRUE(KillSaverStragglers());
        ASSERT_TRUE(PlaceCursor(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2));
    }

    // A test folder with a copy of the saver under exeName, and the double
    // beside it when withDouble; exeName gets the Windows 98 version setting
    // when win98.
    std::string Prepare(const std::string& folderName, const std::string& exeName, bool win98, bool withDouble)
    {
        folder = FreshFolder(folderName);
        std::string exe = JoinPath(folder, exeName);
        EXPECT_TRUE(CopyFileTo(SaverPath(), exe));
        if (withDouble) {
            EXPECT_TRUE(CopyFileTo(PasswordCplPath(), JoinPath(folder, "PASSWORD.CPL")));
        }
        if (win98) {
            std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
            version = std::make_unique<RegistryOverride>(
                RegistryOverride::String(key.c_str(), "Version", "win98"));
            EXPECT_TRUE(version->Ok());
        }
        return exe;
    }

    void SetUsePassword(DWORD value)
    {
        usePassword = std::make_unique<RegistryOverride>(RegistryOverride::Dword(kDesktopKey, kUsePassword, value));
        ASSERT_TRUE(usePassword->Ok());
    }

    std::vector<PasswordCall> Calls() const { return ReadPasswordCalls(folder); }

    bool WaitForCalls(size_t count, DWORD timeoutMs) const
    {
        return WaitUntil([&] { return Calls().size() >= count; }, timeoutMs);
    }

    void ExpectEndsWithZero(Process& saver, const char* what)
    {
        // Wine + Xvfb takes about two seconds to finish destroying the window.
        std::int32_t code = 1234;
        ASSERT_TRUE(saver.WaitExit(10000, &code)) << what << ": the saver did not end";
        EXPECT_EQ(code, 0) << what;
    }

    std::string folder;
    std::unique_ptr<RegistryOverride> version;
    std::unique_ptr<RegistryOverride> usePassword;
};

TEST_F(Win98Saver, RefusalKeepsItRunningQuickKeysDoNotAskAgainLaterKeysDoAndAcceptanceEndsIt)
{
    std::string exe = Prepare("password-refuse-then-accept", "vimra98.scr", true, true);
    SetUsePassword(1);
    ASSERT_TRUE(SetPasswordControl(folder, "answer=refuse hold=150"));

    Process saver;
    HWND window = StartFullScreenSaver(saver, exe);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PressKey('A'));
    ASSERT_TRUE(WaitForCalls(1, 10000)) << "a key did not ask PASSWORD.CPL";
    PasswordCall first = Calls()[0];
    EXPECT_EQ(first.owner, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)))
        << "the check is not owned by the saver window";
    EXPECT_EQ(first.ownerClass, kSaverClass);
    EXPECT_EQ(first.ownerTitle, kFullScreenTitle);
    EXPECT_EQ(first.answer, "0");

    // A key right after the refusal must not ask again. The key has to reach
    // the saver within 200 ms of the refusal's end; when this machine was too
    // slow for that (the call that follows starts 200 ms or more after it),
    // the round proves nothing and is repeated.
    size_t seen = 1;
    unsigned long refusedAt = first.end;
    bool debounceShown = false;
    for (int round = 0; round < 4 && !debounceShown; ++round) {
        ASSERT_TRUE(PressKey('B'));
        DWORD sentAt = GetTickCount();
        bool asked = WaitUntil([&] { return CountPasswordCallsBegun(folder) > static_cast<int>(seen); }, 700);
        if (!asked) {
            ASSERT_LT(sentAt - refusedAt, kDebounceMs)
                << "a key " << (sentAt - refusedAt) << " ms after a refusal did not ask again";
            std::printf("a key sent %lu ms after the refusal did not ask again (round %d)\n",
                        static_cast<unsigned long>(sentAt - refusedAt), round + 1);
            debounceShown = true;
            break;
        }
        ASSERT_TRUE(WaitForCalls(seen + 1, 10000));
        PasswordCall again = Calls()[seen];
        ASSERT_GE(again.start - refusedAt, kDebounceMs)
            << "asked again " << (again.start - refusedAt) << " ms after a refusal";
        ASSERT_EQ(again.answer, "0");
        ++seen;
        refusedAt = again.end;
    }
    EXPECT_TRUE(debounceShown) << "no key reached the saver within 200 ms of a refusal";
    // Once the 200 ms are over a key asks again; acceptance ends the saver.
    EXPECT_TRUE(StaysShown(window, 300)) << "a refusal ended the saver";
    ASSERT_EQ(Calls().size(), seen);
    ASSERT_TRUE(SetPasswordControl(folder, "answer=accept hold=150"));
    ASSERT_TRUE(PressKey('C'));
    ASSERT_TRUE(WaitForCalls(seen + 1, 10000)) << "a key after the 200 ms did not ask again";
    ExpectEndsWithZero(saver, "accepted password");

    std::vector<PasswordCall> calls = Calls();
    ASSERT_EQ(calls.size(), seen + 1);
    EXPECT_EQ(calls.back().answer, "1");
    EXPECT_EQ(calls.back().owner, first.owner);
    EXPECT_GE(calls.back().start - refusedAt, kDebounceMs);
    for (const auto& call : calls) EXPECT_EQ(call.depth, 1) << "the check was entered twice at once";
}

TEST_F(Win98Saver, ACloseArrivingDuringTheCheckIsRefusedWithoutASecondCheck)
{
    std::string exe = Prepare("password-close-during-check", "vimra98.scr", true, true);
    SetUsePassword(1);
    // The double posts WM_CLOSE to the saver while its dialog is open.
    ASSERT_TRUE(SetPasswordControl(folder, "answer=refuse hold=300 postclose=1"));

    Process saver;
    HWND window = StartFullScreenSaver(saver, exe);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PressKey('A'));
    ASSERT_TRUE(WaitForCalls(1, 10000));
    EXPECT_TRUE(StaysShown(window, 500)) << "the close posted during a refused check ended the saver";
    ASSERT_EQ(CountPasswordCallsBegun(folder), 1) << "the close posted during the check opened another check";
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].depth, 1);
    EXPECT_EQ(Calls()[0].answer, "0");

    ASSERT_TRUE(SetPasswordControl(folder, "answer=accept hold=300 postclose=1"));
    ASSERT_TRUE(PressKey('A'));
    ExpectEndsWithZero(saver, "accepted password");
    std::vector<PasswordCall> calls = Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(CountPasswordCallsBegun(folder), 2);
    EXPECT_EQ(calls[1].depth, 1);
    EXPECT_EQ(calls[1].answer, "1");
}

TEST_F(Win98Saver, WithoutAPasswordToCheckAKeyEndsItAtOnceAndNothingIsAsked)
{
    const struct {
        const char* name;
        const char* exeName;
        bool win98;
        bool withDouble;
        int usePassword;  // -1: value absent
    } cases[] = {
        {"95/98 family, ScreenSaveUsePassword 0", "vimra98.scr", true, true, 0},
        {"95/98 family, ScreenSaveUsePassword absent", "vimra98.scr", true, true, -1},
        {"95/98 family, no PASSWORD.CPL to load", "vimra98.scr", true, false, 1},
        {"other platform, ScreenSaveUsePassword 1", "vimra.scr", false, true, 1},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string exe = Prepare("password-not-asked-" + std::to_string(index++), c.exeName, c.win98, c.withDouble);
        usePassword.reset();
        if (c.usePassword >= 0) {
            SetUsePassword(static_cast<DWORD>(c.usePassword));
        } else {
            // Set and take away again, so the value is surely absent meanwhile.
            auto present = RegistryOverride::Dword(kDesktopKey, kUsePassword, 1);
            HKEY desktop;
            ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &desktop), ERROR_SUCCESS);
            RegDeleteValueA(desktop, kUsePassword);
            RegCloseKey(desktop);
            usePassword = std::make_unique<RegistryOverride>(std::move(present));
        }
        if (c.withDouble) {
            ASSERT_TRUE(SetPasswordControl(folder, "answer=refuse hold=100"));
        }

        Process saver;
        ASSERT_NE(StartFullScreenSaver(saver, exe), nullptr);
        ASSERT_TRUE(PressKey('A'));
        ExpectEndsWithZero(saver, c.name);
        EXPECT_EQ(CountPasswordCallsBegun(folder), 0) << "PASSWORD.CPL was asked";
        version.reset();
        usePassword.reset();
    }
}

}  // namespace
