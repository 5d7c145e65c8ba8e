// The built vimra.scr end to end under Wine: run as a separate process, driven
// by real input through the system's input queue, its windows, the screen and
// its 32-bit exit codes watched from here. Every wait polls, with a bound, and
// the bounds are wide: Wine under qemu is slow. Runs in its build folder, which
// holds the copies of the saver, the double and the double's log.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);

// Polls cond, pumping this thread's messages, until it holds or ms pass.
bool WaitUntil(const std::function<bool()>& cond, DWORD ms)
{
    for (const DWORD begin = GetTickCount(); !cond(); MsgWaitForMultipleObjects(0, nullptr, 0, 10, QS_ALLINPUT)) {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
        if (GetTickCount() - begin >= ms) return false;
    }
    return true;
}

// One run of a program, ended by force should it outlive its test.
struct Program {
    explicit Program(std::string line)
    {
        STARTUPINFOA startup{sizeof startup};
        EXPECT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, 0, 0, nullptr, nullptr, &startup, &info));
    }
    ~Program() { TerminateProcess(info.hProcess, 1); }
    // The exit code once it ended within ms, else STILL_ACTIVE; meanwhile
    // notes whether its thread (the saver has one) had a top-level window.
    std::int32_t Exit(DWORD ms)
    {
        WaitUntil([this] {
            for (HWND window = GetTopWindow(nullptr); window && !hadWindow; window = GetWindow(window, GW_HWNDNEXT))
                hadWindow = GetWindowThreadProcessId(window, nullptr) == info.dwThreadId;
            return WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
        }, ms);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<std::int32_t>(code);
    }
    PROCESS_INFORMATION info{};
    bool hadWindow = false;
};

// Moves the cursor to (x, y) from the centre of the screen, as the mouse would.
bool Move(int x, int y)
{
    POINT at;
    SetCursorPos(width / 2 + x, height / 2 + y);
    return WaitUntil([&] { return GetCursorPos(&at) && at.x == width / 2 + x && at.y == height / 2 + y; }, 2000);
}

// The screen is copied into the pixels (0x00RRGGBB, rows from the top) of a
// bitmap selected into copyDc for the whole run, in place of its default one.
const BITMAPINFO kCopyInfo{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32}};
const HDC screen = GetDC(nullptr), copyDc = CreateCompatibleDC(screen);
DWORD* copy = nullptr;
const HGDIOBJ defaultBitmap =
    SelectObject(copyDc, CreateDIBSection(copyDc, &kCopyInfo, DIB_RGB_COLORS, reinterpret_cast<void**>(&copy), 0, 0));

// The screen's lit (not black) pixels, once copied.
long Shoot()
{
    BitBlt(copyDc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    return std::count_if(copy, copy + width * height, [](DWORD pixel) { return pixel != 0; });
}

// A lit pixel off the rainbow rim, that is, not fully saturated.
bool OffRim(DWORD pixel)
{
    const int r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
    return pixel != 0 && (std::max({r, g, b}) != 255 || std::min({r, g, b}) != 0);
}

// Discs on the screen (e2e.monitors checks them one by one), then every 5 s
// for VIMRA_SOAK_SECONDS (10 here, more from make soak) the picture moving
// and the saver's memory holding from the first interval on, once it has
// settled.
void ExpectPictureHolds(HANDLE saver)
{
    const char* soak = std::getenv("VIMRA_SOAK_SECONDS");
    std::vector<DWORD> previous;
    SIZE_T settledKb = 0;
    for (int at = 0; at <= (soak ? std::atoi(soak) : 10); at += 5, previous.assign(copy, copy + width * height)) {
        if (at > 0) Sleep(5000);  // pacing of the samples, not a wait for an event
        long lit = 0;
        EXPECT_TRUE(WaitUntil([&] { return (lit = Shoot()) > 2000; }, 10000)) << at << " s: " << lit << " lit pixels";
        PROCESS_MEMORY_COUNTERS memory{sizeof memory};
        K32GetProcessMemoryInfo(saver, &memory, sizeof memory);
        const SIZE_T kb = memory.WorkingSetSize / 1024;
        std::printf("%d s: memory %lu kB, %ld lit pixels\n", at, kb, lit);
        std::fflush(stdout);  // a line every 5 s shows the run is alive
        EXPECT_FALSE(at > 0 && std::equal(previous.begin(), previous.end(), copy)) << at << " s: the picture stood still";
        settledKb = at == 5 ? kb : settledKb;
        EXPECT_TRUE(at <= 5 || kb <= settledKb + 1024) << at << " s: the saver's memory grew";
    }
}

std::string Log()
{
    std::stringstream text;
    text << std::ifstream("double.log").rdbuf();
    return text.str();
}

size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// Each scenario: steps, in their order, and what the double logged. Steps:
//   <exe>_<args>  starts the saver with that command line, _ a space, PANE the
//            handle of a 152 x 112 pane, titled "Pane", of a window here;
//            vimra98.scr is a copy that Wine tells it runs on Windows 98
//   password A  ScreenSaveUsePassword 1 and the double's answers A, or 0 if off
//   front    the saver's full-screen window comes in front
//   about    the About box comes in front, without an owner, centred
//   preview  a window of the pane's size shows in the pane
//   picture  what ExpectPictureHolds checks
//   key, escape, enter, click, move X Y (from the centre): input
//   stays    the window stays shown for a second (a window being closed is
//            hidden at once, though Wine destroys it seconds later)
//   check    a password check begins; keys hammered while it runs; it ends
//   whole    soon the screen holds nothing but discs on black: none of the
//            check's box is left
//   running  Wine's screen-saver-running state reads what follows
//   close    the pane's window goes
//   exit     the saver last started ends with the exit code that follows
//   unseen   it never had a top-level window; the saver started before it
//            is the one watched again
const std::pair<const char*, const char*> kScenarios[] = {
    {"vimra.scr_/s front picture vimra.scr_/s exit 0 unseen front key exit 0", ""},
    {"vimra.scr_/s front click exit 0", ""},
    {"vimra.scr_/s front move 4 0 stays move 0 -4 stays move -2 2 stays move -4 0 stays move 3 2 exit 0", ""},
    {"vimra.scr_/x exit -1 unseen", ""},
    {"vimra.scr_/p_PANE preview move -400 -300 click key move -380 -290 stays close exit 0 "
     "vimra.scr_/p_PANE exit -1 unseen", ""},
    {"vimra.scr_/c about escape exit -1 vimra.scr_/c:PANE about enter exit -1", ""},
    {"vimra98.scr_/a_PANE exit 0 vimra.scr_/a_PANE exit -1", "SCRSAVE Pane 0 0\n"},
    {"password 01 vimra98.scr_/s front running 1 key check whole stays key check exit 0 running 0",
     "begin Screen Saver\nend 0\nbegin Screen Saver\nend 1\n"},
    {"password f vimra98.scr_/s front running 1 key exit -2 running 0", "begin Screen Saver\n"},
    {"password off vimra98.scr_/s front key exit 0", ""},
};

class EndToEnd : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(EndToEnd, Runs)
{
    for (const char* name : {"vimra.scr", "vimra98.scr", "PASSWORD.CPL", "MPR.DLL"})
        CopyFileA(std::strstr(name, ".scr") ? "..\\..\\vimra.scr" : "libe2e_double.dll", name, false);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "mpr", REG_SZ, "native,builtin", 15);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\vimra98.scr", "Version", REG_SZ, "win98", 6);
    HWND settings = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, 0, 0, 0, 0);
    HWND pane = CreateWindowA("STATIC", "Pane", WS_CHILD | WS_VISIBLE, 10, 10, 152, 112, settings, 0, 0, 0);
    const std::string paneHandle = std::to_string(reinterpret_cast<ULONG_PTR>(pane));
    std::deque<Program> savers;
    HWND window = nullptr;
    size_t lines = 0;
    // Waits for that top-level window to come in front.
    auto front = [&](const char* className, const char* title) {
        auto shown = [&] { return (window = FindWindowA(className, title)) && GetForegroundWindow() == window; };
        return WaitUntil(shown, 30000);
    };
    DeleteFileA("double.log");
    std::istringstream steps(GetParam().first);
    for (std::string step, value; steps >> step;) {
        SCOPED_TRACE(step);
        if (step.find(".scr") != std::string::npos) {
            std::replace(step.begin(), step.end(), '_', ' ');
            if (step.find("PANE") != std::string::npos) step.replace(step.find("PANE"), 4, paneHandle);
            ASSERT_TRUE(Move(0, 0));
            savers.emplace_back(step);
        } else if (step == "password" && steps >> value) {
            const DWORD on = value != "off";
            RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", REG_DWORD, &on, 4);
            SetEnvironmentVariableA("VIMRA_E2E_ANSWERS", value.c_str());
        } else if (step == "front") {
            ASSERT_TRUE(front("WindowsScreenSaverClass", "Screen Saver"));
        } else if (step == "about") {
            ASSERT_TRUE(front("#32770", "Vimra 1.0"));
            EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
            RECT box;
            GetWindowRect(window, &box);
            EXPECT_EQ(box.left, (width - (box.right - box.left)) / 2) << "centred";
            EXPECT_EQ(box.top, (height - (box.bottom - box.top)) / 2) << "centred";
        } else if (step == "preview") {
            ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window = GetWindow(pane, GW_CHILD)) != 0; }, 30000));
            RECT client;
            GetClientRect(window, &client);
            EXPECT_TRUE(client.right == 152 && client.bottom == 112) << client.right << " x " << client.bottom;
        } else if (step == "picture") {
            ExpectPictureHolds(savers.back().info.hProcess);
        } else if (step == "key" || step == "escape" || step == "enter") {
            const BYTE key = step == "key" ? 'A' : step == "escape" ? VK_ESCAPE : VK_RETURN;
            for (const DWORD flags : {0, KEYEVENTF_KEYUP}) keybd_event(key, 0, flags, 0);
        } else if (step == "click") {
            mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        } else if (int x, y; step == "move" && steps >> x >> y) {
            ASSERT_TRUE(Move(x, y));
        } else if (step == "stays") {
            EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(window); }, 1000));
        } else if (step == "check") {
            ASSERT_TRUE(WaitUntil([&] { return Lines(Log()) > lines; }, 15000)) << "no check began";
            // Keys pressed and released while the check runs, paced.
            for (DWORD start = GetTickCount(), n = 0; GetTickCount() - start < 1500; Sleep(10))
                keybd_event('B', 0, n++ % 2 * KEYEVENTF_KEYUP, 0);
            ASSERT_TRUE(WaitUntil([&] { return Lines(Log()) > lines + 1; }, 15000)) << "the check hangs";
            lines += 2;
        } else if (step == "whole") {
            EXPECT_TRUE(WaitUntil([] { return Shoot() > 2000 && std::none_of(copy, copy + width * height, OffRim); }, 5000));
        } else if (step == "running" && steps >> value) {
            char state[8] = "";
            DWORD size = sizeof state;
            RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
                         "WINE_ScreenSaverRunning", RRF_RT_REG_SZ, nullptr, state, &size);
            EXPECT_EQ(state, value);
        } else if (step == "close") {
            DestroyWindow(settings);
        } else if (step == "exit" && steps >> value) {
            EXPECT_EQ(savers.back().Exit(15000), std::stoi(value));
        } else {
            ASSERT_EQ(step, "unseen");
            EXPECT_FALSE(savers.back().hadWindow);
            savers.pop_back();
        }
    }
    EXPECT_EQ(Log(), GetParam().second);
    DestroyWindow(settings);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EndToEnd, testing::ValuesIn(kScenarios));
