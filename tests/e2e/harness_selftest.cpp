// The harness against a program whose answers are known (probe.exe), so a
// fault in the harness cannot pass for a fault, or a success, of the saver.
#include <gtest/gtest.h>

#include "harness/harness.h"

using namespace e2e;

namespace {

std::string Probe()
{
    return PathArgument("probe");
}

class HarnessSelfTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FileExists(Probe())) << "probe.exe not found at '" << Probe() << "'";
        ASSERT_TRUE(PlaceCursor(200, 200));
    }
};

// Starts the probe's window and waits until it is in front.
HWND StartProbeWindow(Process& probe)
{
    if (!probe.Start(Probe(), "window")) return nullptr;
    HWND window = WaitForTopLevel(probe.Id(), "VimraE2eProbe", "Probe", 10000);
    if (window) WaitUntil([window] { return GetForegroundWindow() == window; }, 5000);
    return window;
}

TEST_F(HarnessSelfTest, ReadsTheWholeThirtyTwoBitExitCode)
{
    const struct {
        const char* args;
        std::int32_t code;
    } cases[] = {
        {"exit 0", 0},
        {"exit -1", -1},
        {"exit 305419896", 0x12345678},
    };
    for (const auto& c : cases) {
        Process probe;
        ASSERT_TRUE(probe.Start(Probe(), c.args)) << c.args;
        std::int32_t code = 7;
        ASSERT_TRUE(probe.WaitExit(10000, &code)) << c.args;
        EXPECT_EQ(code, c.code) << c.args;
    }
}

TEST_F(HarnessSelfTest, WindowWatchSeesEvenAShortLivedWindowAndNoneWhereNoneIsMade)
{
    const struct {
        const char* args;
        int visible;
        std::int32_t code;
    } cases[] = {
        {"exit -1", 0, -1},
        {"flash", 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        Process probe;
        ASSERT_TRUE(probe.Start(Probe(), c.args));
        WindowSightings seen;
        std::int32_t code = 7;
        ASSERT_TRUE(WatchUntilExit(probe, 10000, &code, &seen));
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(seen.visible, c.visible);
        // Wine adds a hidden default IME window to a thread's first window.
        if (c.visible == 0) {
            EXPECT_EQ(seen.windows, 0) << "first class seen: " << seen.firstClass;
        } else {
            EXPECT_GE(seen.windows, c.visible);
        }
    }
}

TEST_F(HarnessSelfTest, InputReachesTheWindowInFront)
{
    const struct {
        const char* name;
        bool (*send)();
        std::int32_t code;
    } cases[] = {
        {"key A", [] { return PressKey('A'); }, 0x10000 | 'A'},
        {"left click", ClickLeft, 0x20001},
        {"right click", ClickRight, 0x20002},
        {"move 3 right 2 down", [] { return MoveCursorBy(3, 2); }, 0x30000 | (3 << 8) | 2},
        {"move 1 left 4 up", [] { return MoveCursorBy(-1, -4); }, 0x30000 | (0xFF << 8) | 0xFC},
        {"move 30 right 20 down", [] { return MoveCursorBy(30, 20); }, 0x30000 | (30 << 8) | 20},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(PlaceCursor(200, 200));
        Process probe;
        ASSERT_TRUE(StartProbeWindow(probe)) << c.name;
        POINT before = CursorPos();
        ASSERT_TRUE(c.send()) << c.name << " from " << before.x << "," << before.y << " to " << CursorPos().x << ","
                              << CursorPos().y;
        std::int32_t code = 0;
        ASSERT_TRUE(probe.WaitExit(5000, &code)) << c.name;
        EXPECT_EQ(code, c.code) << c.name;
    }
}

TEST_F(HarnessSelfTest, ScreenshotShowsWhatIsOnTheScreen)
{
    Process probe;
    ASSERT_TRUE(StartProbeWindow(probe));
    Screenshot shot;
    bool painted = WaitUntil([&] {
        shot = CaptureScreen();
        return shot.width > 0 && shot.At(shot.width / 4, shot.height / 2) == 0x00FF00 &&
               shot.At(3 * shot.width / 4, shot.height / 2) == 0x0000FF;
    }, 10000);
    ASSERT_TRUE(painted);
    EXPECT_EQ(shot.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(shot.At(0, 0), 0x00FF00u);
    EXPECT_EQ(shot.At(shot.width - 1, shot.height - 1), 0x0000FFu);
    EXPECT_EQ(shot.At(shot.width / 2 - 1, 0), 0x00FF00u);
    EXPECT_EQ(shot.At(shot.width / 2, 0), 0x0000FFu);
}

TEST_F(HarnessSelfTest, RegistryOverrideRestoresTheOldState)
{
    const char* key = "Software\\VimraE2eSelfTest";
    {
        auto first = RegistryOverride::Dword(key, "Value", 5);
        ASSERT_TRUE(first.Ok());
        {
            auto second = RegistryOverride::String(key, "Value", "text");
            ASSERT_TRUE(second.Ok());
        }
        DWORD value = 0, size = sizeof value, type = 0;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, key, "Value", RRF_RT_ANY, &type, &value, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(value, 5u);
    }
    DWORD size = 0;
    EXPECT_NE(RegGetValueA(HKEY_CURRENT_USER, key, "Value", RRF_RT_ANY, nullptr, nullptr, &size), ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

TEST_F(HarnessSelfTest, ReadsThePasswordDoubleLog)
{
    std::string folder = FreshFolder("selftest-log");
    ASSERT_TRUE(WriteTextFile(JoinPath(folder, "password_cpl.log"),
                              "begin owner=65586 start=100 depth=1\r\n"
                              "begin owner=7 start=400 depth=2\r\n"
                              "call owner=7 start=400 end=401 depth=2 answer=1 class=\"\" title=\"\"\r\n"
                              "call owner=65586 start=100 end=350 depth=1 answer=0 class=\"C\" title=\"Screen Saver\"\r\n"
                              "begin owner=8 start=500 depth=1\r\n"
                              "call owner=8 start=5"));
    EXPECT_EQ(CountPasswordCallsBegun(folder), 3);
    auto calls = ReadPasswordCalls(folder);
    ASSERT_EQ(calls.size(), 2u);  // the unfinished last line is not a call yet
    EXPECT_EQ(calls[1].owner, 65586ul);
    EXPECT_EQ(calls[1].start, 100ul);
    EXPECT_EQ(calls[1].end, 350ul);
    EXPECT_EQ(calls[1].answer, "0");
    EXPECT_EQ(calls[1].ownerClass, "C");
    EXPECT_EQ(calls[1].ownerTitle, "Screen Saver");
    EXPECT_EQ(calls[0].depth, 2);
    EXPECT_EQ(calls[0].answer, "1");
}

}  // namespace
