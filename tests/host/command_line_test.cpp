// The program-name step and the switch scan, each compared with a model
// written from the rules of the command line, on twenty thousand random
// hostile lines and two chosen ones. Every line ends right before a page that
// cannot be read, so a scan that reads past the terminating zero faults.
// Recorders stand in for the modes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "configure.h"
#include "host_state.h"
#include "launch_modes.h"
#include "saver_window.h"

static HWND calledWith;  // the window the mode was given

// Each answers with a code of its own (the password change's is 0), so the
// exit code tells which mode ran.
static std::int32_t Record(HWND window, std::int32_t exitCode)
{
    calledWith = window;
    return exitCode;
}

std::int32_t RunSaver(HWND parent) { return Record(parent, 7); }
std::int32_t RunConfigure(HWND owner) { return Record(owner, 11); }
void ChangePassword(HWND owner) { Record(owner, 0); }

namespace {

// The window a mode was given, and the exit code.
using Call = std::pair<HWND, std::int32_t>;

// The decimal number at `at` (modulo 2^32) if it names a live window, else
// `otherwise`. A std::string gives its terminating zero at its size.
HWND LiveWindowAt(const std::string& text, std::size_t at, HWND otherwise)
{
    std::uint32_t value = 0;
    for (; text[at] >= '0' && text[at] <= '9'; ++at) value = value * 10 + (text[at] - '0');
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
    return window != nullptr && IsWindow(window) ? window : otherwise;
}

Call ModelScan(const std::string& tail, int win9x)
{
    const std::size_t at = tail.find_first_not_of(" -/");
    if (at == std::string::npos) return {nullptr, 11};
    const char letter = static_cast<char>(tolower(static_cast<unsigned char>(tail[at])));
    const std::size_t argument = std::min(tail.find_first_not_of(' ', at + 1), tail.size());
    HWND parent = LiveWindowAt(tail, argument, nullptr);
    if (letter == 's') return {nullptr, 7};
    if (letter == 'p' || letter == 'l') return parent != nullptr ? Call{parent, 7} : Call{nullptr, -1};
    HWND owner = LiveWindowAt(tail, tail[at + 1] == ':' ? at + 2 : tail.size(), GetForegroundWindow());
    if (letter == 'c') return {owner, 11};
    if (letter == 'a' && win9x) return {LiveWindowAt(tail, argument, GetForegroundWindow()), 0};
    return {nullptr, -1};
}

// After the program name, quoted or not, and the bytes up to 0x20 after it.
// (The code page here is single-byte: CharNextA steps one byte.)
std::size_t ModelTailStart(const std::string& line)
{
    const bool quoted = line[0] == '"';
    std::size_t at = quoted ? std::min(line.find('"', 1), line.size() - 1) + 1 : 0;
    while (!quoted && static_cast<unsigned char>(line[at]) > ' ') ++at;
    while (at < line.size() && static_cast<unsigned char>(line[at]) <= ' ') ++at;
    return at;
}

TEST(CommandLineTest, NameStepAndScanAgreeWithTheirModels)
{
    // A window in front, so that the foreground window is told apart from null.
    HWND front = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(front);
    ASSERT_EQ(GetForegroundWindow(), front);
    const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(front));
    // Past 32 bits the number wraps back onto the window: eleven digits.
    const std::string wrapped = std::to_string(reinterpret_cast<std::uintptr_t>(front) + (3ull << 32));

    char* guard = static_cast<char*>(VirtualAlloc(nullptr, 0x10000, MEM_COMMIT, PAGE_READWRITE)) + 0xF000;
    DWORD unused;
    ASSERT_TRUE(VirtualProtect(guard, 0x1000, PAGE_NOACCESS, &unused));

    // Read up to the last byte before the guard page; a quoted name with blanks.
    std::vector<std::string> lines = {"/p " + std::string(0xE000, '7'), "\"C:\\Program Files\\v.scr\"\t /p" + handle};
    const std::string pieces[] = {"/", "-", " ", "\t", "\"", ":", "s", "S", "p", "l", "L", "c", "C", "a", "A", "x",
                                  "0", "\x01", "\x1F", "\x80", "\xA0", "\xD3", "\xFF", "4294967296", handle, wrapped};
    std::mt19937 random(20261206);
    for (int i = 0; i < 20000; ++i) {
        std::string line;
        for (unsigned n = random() % 8; n > 0; --n) line += pieces[random() % std::size(pieces)];
        lines.push_back(line);
    }

    for (const std::string& line : lines) {
        const char* placed = strcpy(guard - line.size() - 1, line.c_str());
        ASSERT_EQ(static_cast<std::size_t>(CommandLineTail(placed) - placed), ModelTailStart(line))
            << ::testing::PrintToString(line);
        win9xPlatform = static_cast<int>(line.size() % 2);  // either platform, line by line
        calledWith = nullptr;
        const std::int32_t exitCode = RunLaunchMode(placed);
        ASSERT_EQ(Call(calledWith, exitCode), ModelScan(line, win9xPlatform))
            << ::testing::PrintToString(line) << ", 95/98 family " << win9xPlatform;
    }
    DestroyWindow(front);
}

}  // namespace
