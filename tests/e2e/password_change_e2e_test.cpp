// vimra.scr /a: on the Windows 95/98 family (Wine's per-program version
// setting on a copy named vimra98.scr) it asks MPR.DLL (the double beside it)
// to change the saver password, with "SCRSAVE" and the owner, and ends with
// 0; elsewhere it ends with -1 and asks nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

std::string MprPath()
{
    return PathArgument("mpr");
}

std::vector<std::string> RouterCalls(const std::string& folder)
{
    std::vector<std::string> lines;
    std::istringstream text(ReadTextFile(JoinPath(folder, "mpr.log")));
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

std::string Decimal(HWND window)
{
    return std::to_string(reinterpret_cast<ULONG_PTR>(window));
}

std::string ExpectedCall(HWND owner, const std::string& ownerClass)
{
    return "call provider=\"SCRSAVE\" owner=" + Decimal(owner) + " reserved1=0 reserved2=0 owner_class=\"" +
           ownerClass + "\"";
}

constexpr const char* kOwnerClass = "VimraE2ePasswordOwner";

class PasswordChange : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(SaverPath())) << "vimra.scr not found at '" << SaverPath() << "'";
        ASSERT_TRUE(FileExists(MprPath())) << "MPR.DLL double not found at '" << MprPath() << "'";
        ASSERT_TRUE(KillSaverStragglers());
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kOwnerClass;
        RegisterClassA(&windowClass);
        owner = CreateWindowA(kOwnerClass, "Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 240, 160, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
        SetForegroundWindow(owner);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == owner; }, 5000));
    }
    void TearDown() override { DestroyWindow(owner); }

    // A folder with a copy of the saver under exeName, the MPR.DLL double
    // beside it when withRouter, and Wine told to load a native mpr for that
    // program (or none at all when there is no double).
    std::string Prepare(const std::string& folderName, const std::string& exeName, bool win98, bool withRouter)
    {
        folder = FreshFolder(folderName);
        const std::string exe = JoinPath(folder, exeName);
        EXPECT_TRUE(CopyFileTo(SaverPath(), exe));
        if (withRouter) {
            EXPECT_TRUE(CopyFileTo(MprPath(), JoinPath(folder, "MPR.DLL")));
        }
        const std::string appKey = "Software\\Wine\\AppDefaults\\" + exeName;
        overrides = std::make_unique<RegistryOverride>(RegistryOverride::String(
            (appKey + "\\DllOverrides").c_str(), "mpr", withRouter ? "native" : ""));
        EXPECT_TRUE(overrides->Ok());
        if (win98) {
            version = std::make_unique<RegistryOverride>(RegistryOverride::String(appKey.c_str(), "Version", "win98"));
            EXPECT_TRUE(version->Ok());
        }
        return exe;
    }

    HWND owner = nullptr;
    std::string folder;
    std::unique_ptr<RegistryOverride> overrides;
    std::unique_ptr<RegistryOverride> version;
};

TEST_F(PasswordChange, OnThe9xFamilyAsksTheRouterWithScrsaveAndTheOwnerAndEndsWithZero)
{
    const std::string exe = Prepare("password-change-9x", "vimra98.scr", true, true);
    struct Case {
        const char* what;
        std::string args;
        HWND expectedOwner;  // the foreground window stands in for a bad handle
    };
    const Case cases[] = {
        {"/a with the owner's handle", "/a " + Decimal(owner), owner},
        {"-A with the handle right after the letter", "-A" + Decimal(owner), owner},
        {"/a without a handle", "/a", owner},
        {"/a with a stale handle", "/a 4000000000", owner},
    };
    size_t calls = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(GetForegroundWindow(), owner);
        Process saver;
        ASSERT_TRUE(saver.Start(exe, c.args));
        std::int32_t code = 1234;
        ASSERT_TRUE(saver.WaitExit(15000, &code));
        EXPECT_EQ(code, 0);
        const std::vector<std::string> lines = RouterCalls(folder);
        ASSERT_EQ(lines.size(), ++calls) << "one request per run";
        EXPECT_EQ(lines.back(), ExpectedCall(c.expectedOwner, kOwnerClass));
    }
}

TEST_F(PasswordChange, OnThe9xFamilyWithoutARouterEndsWithZeroAndShowsNothing)
{
    const std::string exe = Prepare("password-change-9x-no-router", "vimra98.scr", true, false);
    Process saver;
    ASSERT_TRUE(saver.Start(exe, "/a " + Decimal(owner)));
    std::int32_t code = 1234;
    WindowSightings seen;
    ASSERT_TRUE(WatchUntilExit(saver, 15000, &code, &seen));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(seen.visible, 0) << seen.firstClass;
}

TEST_F(PasswordChange, OffThe9xFamilyEndsWithMinusOneAndAsksNothing)
{
    const std::string exe = Prepare("password-change-nt", "vimra.scr", false, true);
    const std::string args[] = {"/a " + Decimal(owner), "/a", "/A"};
    for (const std::string& arg : args) {
        SCOPED_TRACE(arg);
        Process saver;
        ASSERT_TRUE(saver.Start(exe, arg));
        std::int32_t code = 1234;
        WindowSightings seen;
        ASSERT_TRUE(WatchUntilExit(saver, 15000, &code, &seen));
        EXPECT_EQ(code, -1);
        EXPECT_EQ(seen.windows, 0) << seen.firstClass;
        EXPECT_TRUE(RouterCalls(folder).empty());
    }
}

}  // namespace
