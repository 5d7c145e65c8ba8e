// Thousands of random and hostile command lines through the entry's name
// stepping and the launch-mode scan, each checked against an independent model
// of the switch table, with the modes replaced by recorders. Every tail is
// placed so that its terminating zero is the last byte before an inaccessible
// page: a read past it faults and fails the run.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "configure.h"
#include "host_state.h"
#include "launch_modes.h"
#include "saver_window.h"

namespace {

enum class Mode { None, Saver, Configure, ChangePassword };

struct Outcome {
    Mode mode;
    HWND argument;
    std::int32_t exitCode;
};

Outcome recorded;

constexpr std::int32_t kSaverResult = 7;
constexpr std::int32_t kConfigureResult = 11;

}  // namespace

std::int32_t RunSaver(HWND parent)
{
    recorded = {Mode::Saver, parent, 0};
    return kSaverResult;
}

std::int32_t RunConfigure(HWND owner)
{
    recorded = {Mode::Configure, owner, 0};
    return kConfigureResult;
}

void ChangePassword(HWND owner)
{
    recorded = {Mode::ChangePassword, owner, 0};
}

namespace {

// The model: the switch table written out afresh from its description.
std::uint32_t ModelHandle(const std::string& text, std::size_t at)
{
    std::uint32_t value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        value = value * 10u + static_cast<std::uint32_t>(text[at] - '0');
        ++at;
    }
    return value;
}

HWND AsWindow(std::uint32_t value)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

bool Live(std::uint32_t value)
{
    return value != 0 && IsWindow(AsWindow(value));
}

std::size_t SkipSpaces(const std::string& text, std::size_t at)
{
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    return at;
}

Outcome Model(const std::string& tail, int win9x)
{
    std::size_t i = 0;
    while (i < tail.size() && (tail[i] == ' ' || tail[i] == '-' || tail[i] == '/')) {
        ++i;
    }
    if (i == tail.size()) {
        return {Mode::Configure, nullptr, kConfigureResult};
    }
    switch (tail[i]) {
    case 's':
    case 'S':
        return {Mode::Saver, nullptr, kSaverResult};
    case 'p':
    case 'P':
    case 'l':
    case 'L': {
        const std::uint32_t h = ModelHandle(tail, SkipSpaces(tail, i + 1));
        if (!Live(h)) {
            return {Mode::None, nullptr, -1};
        }
        return {Mode::Saver, AsWindow(h), kSaverResult};
    }
    case 'c':
    case 'C': {
        std::uint32_t h = 0;
        if (i + 1 < tail.size() && tail[i + 1] == ':') {
            h = ModelHandle(tail, i + 2);
        }
        return {Mode::Configure, Live(h) ? AsWindow(h) : GetForegroundWindow(), kConfigureResult};
    }
    case 'a':
    case 'A': {
        if (!win9x) {
            return {Mode::None, nullptr, -1};
        }
        const std::uint32_t h = ModelHandle(tail, SkipSpaces(tail, i + 1));
        return {Mode::ChangePassword, Live(h) ? AsWindow(h) : GetForegroundWindow(), 0};
    }
    default:
        return {Mode::None, nullptr, -1};
    }
}

// The program name's end, by the same rules, for whole command lines.
std::size_t ModelTailStart(const std::string& line)
{
    std::size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        i = 1;
        while (i < line.size() && line[i] != '"') {
            i += IsDBCSLeadByte(static_cast<BYTE>(line[i])) && i + 1 < line.size() ? 2 : 1;
        }
        if (i < line.size()) {
            ++i;
        }
    } else {
        while (i < line.size() && static_cast<unsigned char>(line[i]) > 0x20) {
            ++i;
        }
    }
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 0x20) {
        ++i;
    }
    return std::min(i, line.size());
}

// Two pages, the second inaccessible; strings are copied to end at the border.
class GuardedBuffer {
public:
    GuardedBuffer()
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        page = info.dwPageSize;
        pages = static_cast<char*>(VirtualAlloc(nullptr, 16 * page, MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(pages + 15 * page, page, PAGE_NOACCESS, &old);
    }
    ~GuardedBuffer() { VirtualFree(pages, 0, MEM_RELEASE); }

    const char* Place(const std::string& text)
    {
        char* start = pages + 15 * page - text.size() - 1;
        memcpy(start, text.c_str(), text.size() + 1);
        return start;
    }

    std::size_t Capacity() const { return 15 * page - 1; }

private:
    std::size_t page;
    char* pages;
};

class CommandLineProperty : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VimraScanProperty";
        RegisterClassA(&wc);
        for (HWND& w : live) {
            w = CreateWindowExA(0, "VimraScanProperty", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
            ASSERT_NE(w, nullptr);
        }
        HWND gone = CreateWindowExA(0, "VimraScanProperty", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
        stale = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(gone));
        DestroyWindow(gone);
    }

    void TearDown() override
    {
        for (HWND w : live) {
            DestroyWindow(w);
        }
        win9xPlatform = 0;
    }

    // A tail made of pieces a real or hostile command line is made of.
    std::string RandomTail(std::mt19937& random)
    {
        static const char* const kPieces[] = {
            "/", "-", " ", "  ", "//", "s", "S", "p", "P", "l", "L", "c", "C", "a", "A", ":", "\t", "\"",
            "0", "1234", "4294967295", "4294967296", "99999999999999999999", "x", "start", "/c:", "/p ",
        };
        std::string tail;
        const int pieces = static_cast<int>(random() % 8);
        for (int i = 0; i < pieces; ++i) {
            switch (random() % 6) {
            case 0:
                tail += static_cast<char>(1 + random() % 255);  // any byte but zero
                break;
            case 1:
                tail += std::to_string(reinterpret_cast<std::uintptr_t>(live[random() % 3]));
                break;
            case 2:
                tail += std::to_string(stale);
                break;
            case 3:
                // The live handle plus a multiple of 2^32: wraps to the window.
                tail += std::to_string(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(live[0])) +
                                       (1ull << 32) * (1 + random() % 5));
                break;
            default:
                tail += kPieces[random() % std::size(kPieces)];
                break;
            }
        }
        return tail;
    }

    void Check(const std::string& tail, int win9x)
    {
        win9xPlatform = win9x;
        const Outcome expected = Model(tail, win9x);
        recorded = {Mode::None, nullptr, 0};
        const std::int32_t code = RunLaunchMode(guard.Place(tail));
        ASSERT_EQ(code, expected.exitCode) << Printable(tail) << " win9x " << win9x;
        ASSERT_EQ(recorded.mode, expected.mode) << Printable(tail) << " win9x " << win9x;
        ASSERT_EQ(recorded.argument, expected.argument) << Printable(tail) << " win9x " << win9x;
    }

    static std::string Printable(const std::string& text)
    {
        std::string out = "tail [";
        for (unsigned char c : text.substr(0, 80)) {
            char hex[8];
            wsprintfA(hex, c >= 0x21 && c < 0x7F ? "%c" : "\\x%02X", c);
            out += hex;
        }
        return out + "]";
    }

    HWND live[3] = {};
    std::uint32_t stale = 0;
    GuardedBuffer guard;
};

TEST_F(CommandLineProperty, TheByteAfterAPlacedTailIsInaccessible)
{
    const char* placed = guard.Place("/s");
    EXPECT_FALSE(IsBadReadPtr(placed, 3));
    EXPECT_TRUE(IsBadReadPtr(placed + 3, 1));
}

TEST_F(CommandLineProperty, RandomTailsChooseTheModeTheTableGives)
{
    std::mt19937 random(20261206);
    for (int i = 0; i < 20000; ++i) {
        const std::string tail = RandomTail(random);
        Check(tail, static_cast<int>(i & 1));
        if (HasFatalFailure()) {
            return;
        }
    }
}

TEST_F(CommandLineProperty, EdgeTailsChooseTheModeTheTableGives)
{
    const std::string liveText = std::to_string(reinterpret_cast<std::uintptr_t>(live[1]));
    std::vector<std::string> tails = {
        "", " ", "-", "/", "--//  -", "/s", "/S", "-s", "s", "//s", "/start", "/ s", "/x", "/1", "/\ts",
        "\x80", "\xFF", "/\x80s", "/p", "/p ", "/p0", "/p:" + liveText, "/p " + liveText, "/p" + liveText,
        "/l " + liveText, "/P   " + liveText + "junk", "/p -" + liveText, "/c", "/C", "/c:" + liveText,
        "/c: " + liveText, "/c " + liveText, "/c:", "/c:0", "/c::" + liveText, "/a", "/a " + liveText,
        "/A" + liveText, "/a:" + liveText, "/p " + std::to_string(stale), "/c:" + std::to_string(stale),
        "/p " + std::to_string(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(live[1])) +
                               (1ull << 32) * 1000),
        std::string(5000, '/') + "s", std::string(5000, ' '), std::string(5000, '9'),
        "/p " + std::string(guard.Capacity() - 3, '7'),
    };
    for (const std::string& tail : tails) {
        for (int win9x : {0, 1}) {
            Check(tail, win9x);
        }
    }
}

TEST_F(CommandLineProperty, ProgramNameIsSteppedOverQuotedOrNot)
{
    std::mt19937 random(7);
    std::vector<std::string> lines = {
        "", "vimra.scr", "vimra.scr /s", "\"C:\\Program Files\\vimra.scr\" /p 123",
        "\"C:\\Program Files\\vimra.scr\"\t \t/s", "\"unterminated /s", "\"\"/s", "a\x01\x02/c",
        "vimra.scr\t\t", "\"x\"y /s",
    };
    for (int i = 0; i < 5000; ++i) {
        std::string line;
        const int length = static_cast<int>(random() % 40);
        for (int k = 0; k < length; ++k) {
            const int pick = static_cast<int>(random() % 4);
            line += pick == 0 ? '"' : pick == 1 ? ' ' : pick == 2 ? '\t' : static_cast<char>(1 + random() % 255);
        }
        lines.push_back(line);
    }
    for (const std::string& line : lines) {
        const char* placed = guard.Place(line);
        ASSERT_EQ(CommandLineTail(placed), placed + ModelTailStart(line)) << Printable(line);
    }
}

}  // namespace
