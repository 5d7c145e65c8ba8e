// The command-line scan's chief cases and SaverMain, with recorders standing
// in for the launch modes. (tests/command_line checks the scan and the
// program-name step against a model over many thousands of lines.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "configure.h"
#include "host_state.h"
#include "launch_modes.h"
#include "saver_window.h"

namespace {

enum class Mode { None, Saver, Configure, ChangePassword };

struct ModeCall {
    Mode mode;
    HWND window;
    int calls;
    HINSTANCE instanceSeen;
    std::int32_t win9xSeen;
};
ModeCall modeCall;

// Results the recorders give, so that the scan is seen passing them on.
constexpr std::int32_t kSaverResult = 41;
constexpr std::int32_t kConfigureResult = 42;

void Record(Mode mode, HWND window)
{
    modeCall = {mode, window, modeCall.calls + 1, instanceHandle, win9xPlatform};
}

}  // namespace

std::int32_t RunSaver(HWND parent)
{
    Record(Mode::Saver, parent);
    return kSaverResult;
}

std::int32_t RunConfigure(HWND owner)
{
    Record(Mode::Configure, owner);
    return kConfigureResult;
}

void ChangePassword(HWND owner)
{
    Record(Mode::ChangePassword, owner);
}

namespace {

HWND CreateProbeWindow(bool visible)
{
    return CreateWindowExA(0, "STATIC", "probe", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 20, 20, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::string Decimal(HWND window, std::uint64_t plus = 0)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(window) + plus);
}

enum class Target { Null, Live, Foreground };

TEST(CommandLineTest, FirstSwitchChoosesTheModeAndItsWindow)
{
    // The foreground window must exist and differ from every other handle,
    // or "owner = foreground" could not be told from null.
    HWND foreground = CreateProbeWindow(true);
    SetForegroundWindow(foreground);
    ASSERT_EQ(GetForegroundWindow(), foreground);
    HWND live = CreateProbeWindow(false);
    HWND gone = CreateProbeWindow(false);
    DestroyWindow(gone);
    const std::string L = Decimal(live);
    const std::string stale = Decimal(gone);
    const std::string wrapped = Decimal(live, 3ull << 32);  // 11 digits, wraps to the live handle

    const struct {
        std::string tail;
        int win9x;
        Mode mode;
        Target target;
        std::int32_t exitCode;
    } cases[] = {
        {"/s", 0, Mode::Saver, Target::Null, kSaverResult},
        {" - / -S", 0, Mode::Saver, Target::Null, kSaverResult},
        {"/start", 0, Mode::Saver, Target::Null, kSaverResult},
        // A tab where a switch is expected, and bytes from 0x80 ('S' + 0x80).
        {"/\ts", 0, Mode::None, Target::Null, -1},
        {"/\xD3", 0, Mode::None, Target::Null, -1},
        {"/p " + L, 0, Mode::Saver, Target::Live, kSaverResult},
        {"-L" + L + "junk /s", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/p " + wrapped, 0, Mode::Saver, Target::Live, kSaverResult},
        {"/p:" + L, 0, Mode::None, Target::Null, -1},
        {"/p " + stale, 0, Mode::None, Target::Null, -1},
        // Configure: no switch means no owner; /c the foreground window
        // unless a live handle follows a colon at once.
        {"", 0, Mode::Configure, Target::Null, kConfigureResult},
        {"/C", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c:" + L, 0, Mode::Configure, Target::Live, kConfigureResult},
        {"/c:" + stale, 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c " + L, 0, Mode::Configure, Target::Foreground, kConfigureResult},
        // Password change: only on the 95/98 family, where it answers 0.
        {"/A" + L, 1, Mode::ChangePassword, Target::Live, 0},
        {"/a " + stale, 1, Mode::ChangePassword, Target::Foreground, 0},
        {"/a " + L, 0, Mode::None, Target::Null, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "tail \"" << c.tail << "\", win9x " << c.win9x);
        modeCall = {};
        win9xPlatform = c.win9x;

        EXPECT_EQ(RunLaunchMode(c.tail.c_str()), c.exitCode);

        EXPECT_EQ(modeCall.mode, c.mode);
        EXPECT_EQ(modeCall.calls, c.mode == Mode::None ? 0 : 1);
        EXPECT_EQ(modeCall.window, c.target == Target::Live         ? live
                                   : c.target == Target::Foreground ? foreground
                                                                    : nullptr);
    }
    DestroyWindow(live);
    DestroyWindow(foreground);
    win9xPlatform = 0;
}

TEST(SaverMainTest, RecordsInstanceAndPlatformBeforeTheModeRuns)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetModuleHandleA("KERNEL32.DLL"));
    instanceHandle = nullptr;
    win9xPlatform = 1;  // Wine reports the NT family by default
    modeCall = {};

    EXPECT_EQ(SaverMain(instance, "/s"), kSaverResult);

    EXPECT_EQ(instanceHandle, instance);
    EXPECT_EQ(win9xPlatform, 0);
    EXPECT_EQ(modeCall.calls, 1);
    EXPECT_EQ(modeCall.instanceSeen, instance);
    EXPECT_EQ(modeCall.win9xSeen, 0);
    // So the password change is refused here.
    modeCall = {};
    EXPECT_EQ(SaverMain(instance, "/a 1"), -1);
    EXPECT_EQ(modeCall.calls, 0);
    win9xPlatform = 0;
}

}  // namespace
