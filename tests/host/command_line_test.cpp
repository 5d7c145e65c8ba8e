// The command-line scan, window-handle parsing, the program-name step and
// SaverMain, with recorders standing in for the launch modes.
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
    modeCall.mode = mode;
    modeCall.window = window;
    ++modeCall.calls;
    modeCall.instanceSeen = instanceHandle;
    modeCall.win9xSeen = win9xPlatform;
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
    return CreateWindowExA(0, "STATIC", "probe", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 20,
                           20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::string Decimal(std::uint64_t value)
{
    return std::to_string(value);
}

std::string Decimal(HWND window)
{
    return Decimal(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window)));
}

// Which window a mode must receive.
enum class Target { Null, Live, Foreground };

struct ScanCase {
    std::string tail;  // {live}, {stale}, {wrapped} stand for handles
    int win9x;
    Mode mode;
    Target target;
    std::int32_t exitCode;
};

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceHandle = GetModuleHandleA(nullptr);
        // The foreground window must exist and differ from every other
        // handle, or "owner = foreground" could not be told from null.
        foreground = CreateProbeWindow(true);
        SetForegroundWindow(foreground);
        ASSERT_EQ(GetForegroundWindow(), foreground);
        live = CreateProbeWindow(false);
        HWND gone = CreateProbeWindow(false);
        stale = Decimal(gone);
        DestroyWindow(gone);
        ASSERT_FALSE(IsWindow(gone));
    }
    void TearDown() override
    {
        DestroyWindow(live);
        DestroyWindow(foreground);
        win9xPlatform = 0;
    }
    std::string Expand(std::string text) const
    {
        const std::uint64_t liveValue = reinterpret_cast<std::uintptr_t>(live);
        const struct {
            const char* key;
            std::string value;
        } replacements[] = {
            {"{live}", Decimal(live)},
            {"{stale}", stale},
            // 11 digits: 3 * 2^32 more than the live handle.
            {"{wrapped}", Decimal(liveValue + 3 * (std::uint64_t{1} << 32))},
        };
        for (const auto& r : replacements) {
            for (std::size_t at = text.find(r.key); at != std::string::npos; at = text.find(r.key)) {
                text.replace(at, std::string(r.key).size(), r.value);
            }
        }
        return text;
    }
    HWND foreground = nullptr;
    HWND live = nullptr;
    std::string stale;
};

TEST_F(CommandLineTest, FirstSwitchChoosesTheModeAndItsWindow)
{
    const ScanCase cases[] = {
        // Full screen, however the switch is written.
        {"/s", 0, Mode::Saver, Target::Null, kSaverResult},
        {"/S", 0, Mode::Saver, Target::Null, kSaverResult},
        {"-s", 0, Mode::Saver, Target::Null, kSaverResult},
        {"s", 0, Mode::Saver, Target::Null, kSaverResult},
        {"//s", 0, Mode::Saver, Target::Null, kSaverResult},
        {"/ s", 0, Mode::Saver, Target::Null, kSaverResult},
        {" - / -S", 0, Mode::Saver, Target::Null, kSaverResult},
        {"/start", 0, Mode::Saver, Target::Null, kSaverResult},
        {"/s /c", 0, Mode::Saver, Target::Null, kSaverResult},
        // Refused: other letters, digits, punctuation, control bytes, high bytes.
        {"/x", 0, Mode::None, Target::Null, -1},
        {"/1", 0, Mode::None, Target::Null, -1},
        {"/?", 0, Mode::None, Target::Null, -1},
        {"/\ts", 0, Mode::None, Target::Null, -1},
        {"\ts", 0, Mode::None, Target::Null, -1},
        {"/\x01s", 0, Mode::None, Target::Null, -1},
        {"/\x80s", 0, Mode::None, Target::Null, -1},
        {"/\xE9", 0, Mode::None, Target::Null, -1},
        {"\xFF", 0, Mode::None, Target::Null, -1},
        {"/\xD3", 0, Mode::None, Target::Null, -1},  // 'S' + 0x80
        // Preview: the handle after the letter and its spaces.
        {"/p {live}", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/p{live}", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/p   {live}", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/P {live}", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/l {live}", 0, Mode::Saver, Target::Live, kSaverResult},
        {"-L{live}", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/p {live}junk /s", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/p {wrapped}", 0, Mode::Saver, Target::Live, kSaverResult},
        {"/p:{live}", 0, Mode::None, Target::Null, -1},
        {"/p\t{live}", 0, Mode::None, Target::Null, -1},
        {"/p -{live}", 0, Mode::None, Target::Null, -1},
        {"/p", 0, Mode::None, Target::Null, -1},
        {"/p 0", 0, Mode::None, Target::Null, -1},
        {"/p {stale}", 0, Mode::None, Target::Null, -1},
        {"/l {stale}", 0, Mode::None, Target::Null, -1},
        // Configure: no switch means no owner; /c means the foreground
        // window unless a live handle follows a colon.
        {"", 0, Mode::Configure, Target::Null, kConfigureResult},
        {"   ", 0, Mode::Configure, Target::Null, kConfigureResult},
        {"/", 0, Mode::Configure, Target::Null, kConfigureResult},
        {" -/- //", 0, Mode::Configure, Target::Null, kConfigureResult},
        {"/c", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/C", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"c", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c:{live}", 0, Mode::Configure, Target::Live, kConfigureResult},
        {"/C:{live}", 0, Mode::Configure, Target::Live, kConfigureResult},
        {"/c:{wrapped}", 0, Mode::Configure, Target::Live, kConfigureResult},
        {"/c:{stale}", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c:0", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c:", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c {live}", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c: {live}", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/c{live}", 0, Mode::Configure, Target::Foreground, kConfigureResult},
        // Password change: only on the 95/98 family, where it answers 0.
        {"/a {live}", 1, Mode::ChangePassword, Target::Live, 0},
        {"/A{live}", 1, Mode::ChangePassword, Target::Live, 0},
        {"/a   {wrapped}", 1, Mode::ChangePassword, Target::Live, 0},
        {"/a {stale}", 1, Mode::ChangePassword, Target::Foreground, 0},
        {"/a", 1, Mode::ChangePassword, Target::Foreground, 0},
        {"/a 0", 1, Mode::ChangePassword, Target::Foreground, 0},
        {"/a:{live}", 1, Mode::ChangePassword, Target::Foreground, 0},
        {"/a {live}", 0, Mode::None, Target::Null, -1},
        {"/a {stale}", 0, Mode::None, Target::Null, -1},
        {"/a", 0, Mode::None, Target::Null, -1},
        // The other modes do not depend on the platform.
        {"/s", 1, Mode::Saver, Target::Null, kSaverResult},
        {"/c", 1, Mode::Configure, Target::Foreground, kConfigureResult},
        {"/x", 1, Mode::None, Target::Null, -1},
    };
    for (const ScanCase& c : cases) {
        const std::string tail = Expand(c.tail);
        SCOPED_TRACE(::testing::Message() << "tail \"" << tail << "\", win9x " << c.win9x);
        modeCall = {};
        win9xPlatform = c.win9x;

        EXPECT_EQ(RunLaunchMode(tail.c_str()), c.exitCode);

        EXPECT_EQ(modeCall.mode, c.mode);
        EXPECT_EQ(modeCall.calls, c.mode == Mode::None ? 0 : 1);
        const HWND expected = c.target == Target::Live         ? live
                              : c.target == Target::Foreground ? foreground
                                                               : nullptr;
        EXPECT_EQ(modeCall.window, expected);
    }
}

TEST(ParseWindowHandleTest, ReadsLeadingDigitsModulo2To32)
{
    struct ParseCase {
        const char* text;
        std::uint32_t value;
    };
    const ParseCase cases[] = {
        {"1234", 1234},
        {"1234 5678", 1234},
        {"0012", 12},
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0},
        {"4294967297", 1},
        {"12884903122", 1234},  // 3 * 2^32 + 1234
        {"99999999999999999999", 1661992959u},  // 10^20 - 1 modulo 2^32
        {"", 0},
        {"x12", 0},
        {" 12", 0},
        {"-12", 0},
        {"+12", 0},
        {"0x1F", 0},
        {"12:34", 12},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ParseWindowHandle(c.text)), c.value);
    }
}

TEST(CommandLineTailTest, StepsOverTheProgramNameAndTheBlanksAfterIt)
{
    struct TailCase {
        const char* commandLine;
        const char* tail;
    };
    const TailCase cases[] = {
        {"vimra.scr /s", "/s"},
        {"C:\\Windows\\vimra.scr /p 1234", "/p 1234"},
        {"\"C:\\Program Files\\Vimra Saver\\vimra.scr\" /s", "/s"},
        {"\"C:\\Program Files\\vimra.scr\"/c:5", "/c:5"},
        {"\"C:\\Program Files\\vimra.scr\" \t \t/s", "/s"},
        {"vimra.scr\t\t /a 7", "/a 7"},
        {"vimra.scr \x01\x1F /s", "/s"},
        {"vimra.scr", ""},
        {"vimra.scr   ", ""},
        {"\"vimra.scr", ""},
        {"\"unclosed /s", ""},
        {"\"\" /s", "/s"},
        {"", ""},
        {"   /s", "/s"},
        {"vimr\xE9.scr /s", "/s"},  // a high byte belongs to the name
        {"vimra.scr /s  trailing", "/s  trailing"},
    };
    for (const TailCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        EXPECT_STREQ(CommandLineTail(c.commandLine), c.tail);
    }
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
