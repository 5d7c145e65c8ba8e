// The saver window and its closing rules in real Wine windows, with a
// recording SaverProc in place of the animation; the preview pane's picture;
// the About box's position and the password-change request.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "configure.h"
#include "host_state.h"
#include "input_watch.h"
#include "password_verifier.h"
#include "platform.h"
#include "saver_window.h"

static MSG first;                   // the first message that reached SaverProc
static bool verifierAtCreation;     // a verifier was loaded when WM_CREATE reached SaverProc

// In place of the animation's: records, then ends as the animation does.
LRESULT SaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (first.hwnd == nullptr) first = {window, message, wParam, lParam, 0, {}};
    if (message == WM_CREATE) verifierAtCreation = passwordVerifier != nullptr;
    return DefaultSaverProc(window, message, wParam, lParam);
}

namespace {

int verifierCalls;
BOOL verifierAnswer;
DWORD fakeTick;

DWORD WINAPI ReadFakeTick() { return fakeTick; }

// Stands in for PASSWORD.CPL's dialog, whose modal loop dispatches the
// saver's messages, more closes among them, while time passes. It refuses
// when not given the saver window as owner.
BOOL WINAPI RecordingVerifier(HWND owner)
{
    if (++verifierCalls == 1) {
        SendMessageA(owner, WM_CLOSE, 0, 0);
        PostMessageA(owner, WM_CLOSE, 0, 0);
        for (MSG message; PeekMessageA(&message, owner, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
    }
    fakeTick += 40;
    return owner == saverWindow && verifierAnswer;
}

// The host as at the start of a run, the cursor resting at (500, 400).
void ResetHost(int win9x)
{
    instanceHandle = GetModuleHandleA(nullptr);
    win9xPlatform = win9x;
    previewMode = closeAllowed = verifying = verifierCalls = verifierAtCreation = false;
    saverWindow = nullptr;
    passwordVerifier = nullptr;
    readTickCount = ReadFakeTick;
    SetCursorPos(500, 400);
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) continue;
}

// A saver window of the tests' own class (RunSaver's stays free), a child
// of `parent` if given, with the cursor shown so that hiding it can be seen.
HWND OpenSaverWindow(HWND parent, int win9x)
{
    const WNDCLASSA saverClass = {0, SaverWindowProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Saver"};
    RegisterClassA(&saverClass);  // fails harmlessly once registered
    ResetHost(win9x);
    previewMode = parent != nullptr;
    autoPlayMessage = win9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;
    saverWindow = CreateWindowExA(0, "Saver", "", parent ? WS_CHILD : WS_POPUP, 0, 0, 64, 48, parent, nullptr,
                                  nullptr, nullptr);
    first = {};
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return saverWindow;
}

enum State { kWatching, kVerifying, kGranted, kPreview };
enum Verifier { kNone, kAccepts, kRefuses };
// What a message does besides its result: reaches SaverProc first and
// unchanged; hides the cursor; posts WM_CLOSE; the window is gone; posted on
// to the preview's parent with the parent as wParam; closeAllowed is 1
// afterwards; the verifier is asked once.
constexpr unsigned kForwards = 1, kHides = 2, kCloses = 4, kDestroys = 8, kToParent = 16, kGrants = 32, kAsks = 64;
constexpr LRESULT kAny = 0x7EADBEEF;  // result not checked
constexpr UINT kAutoPlay = 0xFFFF;    // stands for the registered "QueryCancelAutoPlay"

struct Sent {
    UINT message;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The model of SaverWindowProc and DefaultSaverProc: each message of a row,
// sent on its own to a fresh window in that state, has the row's result and
// outcome. The cursor has moved by `cursor` from where the window was made;
// the last verification ended at tick `last`, it is `now`, and a
// verification takes 40 ms.
const struct {
    State state;
    int win9x;
    Verifier verifier;
    std::vector<Sent> messages;
    LRESULT result;
    unsigned outcome;
    POINT cursor = {0, 0};
    std::uint32_t last = kNoVerifyYet;
    std::uint32_t now = 0;
} kHandling[] = {
    {kWatching, 0, kNone, {{WM_SETTEXT}, {WM_SYSCOMMAND, SC_NEXTWINDOW}, {WM_SYSCOMMAND, SC_PREVWINDOW},
                           {WM_SYSCOMMAND, SC_SCREENSAVE}}, 0, 0},
    {kWatching, 0, kNone, {{WM_PAINT}, {WM_SHOWWINDOW, 1}}, 0, kForwards | kHides},
    {kWatching, 0, kNone, {{WM_SETCURSOR, 0, HTCLIENT}}, 1, kForwards | kHides},
    {kWatching, 0, kNone, {{WM_KEYDOWN}, {WM_SYSKEYDOWN}, {WM_LBUTTONDOWN}, {WM_RBUTTONDOWN}, {WM_MBUTTONDOWN},
                           {WM_POWERBROADCAST, 7}, {WM_ACTIVATEAPP, 0}, {WM_POWER, 3}}, kAny, kForwards | kCloses},
    // The whole wParam names a task switch. Cursor moves that sum to 5 pixels
    // or more close, 4 do not; the message's own position is not used.
    {kWatching, 0, kRefuses, {{WM_ACTIVATEAPP, 1}, {WM_POWER, 2}, {WM_SHOWWINDOW, 0}, {WM_TIMER, 154}, {WM_HELP},
                              {WM_CONTEXTMENU}, {WM_SYSCOMMAND, SC_NEXTWINDOW + 1}, {kVerifyPasswordMessage},
                              {kAutoPlay}, {WM_MOUSEMOVE, 0, MAKELPARAM(30, 30)}}, kAny, kForwards, {-4, 0}},
    {kWatching, 0, kNone, {{WM_MOUSEMOVE}}, 0, kForwards | kCloses, {-3, 2}},
    {kWatching, 0, kRefuses, {{WM_SYSCOMMAND, SC_CLOSE}, {WM_CLOSE}}, kAny, kForwards | kDestroys},
    {kWatching, 1, kNone, {{WM_CLOSE}}, 0, kForwards | kDestroys | kGrants},
    {kWatching, 1, kAccepts, {{WM_CLOSE}}, 0, kForwards | kDestroys | kGrants | kAsks},
    {kWatching, 1, kNone, {{kVerifyPasswordMessage}}, 1, kForwards},
    {kWatching, 1, kRefuses, {{kAutoPlay}}, 1, kForwards | kCloses},
    // A refusal; within 200 ms after the last verification ended, without asking.
    {kWatching, 1, kRefuses, {{WM_CLOSE}}, 0, kForwards, {0, 0}, 1000, 1199},
    {kWatching, 1, kRefuses, {{WM_CLOSE}}, 0, kForwards | kHides | kAsks, {0, 0}, 1000, 1200},
    {kWatching, 1, kRefuses, {{WM_CLOSE}}, 0, kForwards | kHides | kAsks, {0, 0}, 0xFFFFFF9C, 100},
    {kVerifying, 1, kAccepts, {{WM_KEYDOWN}, {WM_LBUTTONDOWN}, {WM_ACTIVATEAPP, 0}, {WM_POWERBROADCAST},
                               {WM_SHOWWINDOW, 1}, {WM_TIMER, 154}, {WM_CLOSE}}, kAny, kForwards},
    {kGranted, 1, kNone, {{WM_KEYDOWN}, {WM_MOUSEMOVE}, {WM_PAINT}, {WM_TIMER, 154}}, kAny, kGrants},
    {kPreview, 1, kAccepts, {{WM_KEYDOWN}, {WM_RBUTTONDOWN}, {WM_PAINT}, {WM_TIMER, 154}, {WM_ACTIVATEAPP, 0},
                             {WM_SYSCOMMAND, SC_NEXTWINDOW}, {WM_POWERBROADCAST}, {WM_SETCURSOR}, {WM_MOUSEMOVE},
                             {kVerifyPasswordMessage}}, kAny, kForwards, {9, 0}},
    {kPreview, 1, kNone, {{WM_CONTEXTMENU, 0, MAKELPARAM(3, 4)}}, 1, kToParent},
    {kPreview, 1, kNone, {{kAutoPlay}}, 0, kForwards | kCloses},
};

TEST(SaverWindowProcTest, HandlesEachMessageAsTheShapeStateAndPlatformAsk)
{
    for (const auto& c : kHandling) {
        for (auto [message, wParam, lParam] : c.messages) {
            if (message == kAutoPlay) message = RegisterWindowMessageA("QueryCancelAutoPlay");
            SCOPED_TRACE(::testing::Message() << "row " << &c - kHandling << ", message " << message << " " << wParam);
            HWND parent = c.state == kPreview ? CreateWindowA("STATIC", "", 0, 0, 0, 152, 112, 0, 0, 0, 0) : nullptr;
            HWND window = OpenSaverWindow(parent, c.win9x);
            verifying = c.state == kVerifying;
            closeAllowed = c.state == kGranted;
            passwordVerifier = c.verifier == kNone ? nullptr : RecordingVerifier;
            verifierAnswer = c.verifier == kAccepts;
            lastVerifyTick = c.last;
            fakeTick = c.now;
            SetCursorPos(500 + c.cursor.x, 400 + c.cursor.y);

            const LRESULT result = SendMessageA(window, message, wParam, lParam);

            EXPECT_TRUE(c.result == kAny || result == c.result) << result;
            const bool forwards = first.message == message && first.wParam == wParam && first.lParam == lParam;
            // (WM_QUIT passes every filter: a message taken must also be the one asked for.)
            MSG posted = {};
            const bool closes =
                PeekMessageA(&posted, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) && posted.message == WM_CLOSE;
            const bool asOwn = parent != nullptr && PeekMessageA(&posted, parent, message, message, PM_REMOVE) &&
                               posted.message == message && posted.wParam == WPARAM(parent);
            EXPECT_EQ((forwards ? kForwards : 0) | (GetCursor() == nullptr ? kHides : 0) | (closes ? kCloses : 0) |
                          (IsWindow(window) ? 0 : kDestroys) | (asOwn ? kToParent : 0) | (closeAllowed ? kGrants : 0) |
                          (verifierCalls == 1 ? kAsks : 0),
                      c.outcome);
            EXPECT_EQ(lastVerifyTick, verifierCalls ? c.now + 40 : c.last) << "not the end of the verification";
            DestroyWindow(parent != nullptr ? parent : window);
        }
    }
}

// A display change moves the pointer off a monitor that went, which is not
// the user's input; after it the movement is measured from where it is.
TEST(SaverWindowProcTest, MeasuresTheMouseFromWhereADisplayChangeLeftIt)
{
    HWND window = OpenSaverWindow(nullptr, 0);
    SetCursorPos(600, 400);
    SendMessageA(window, WM_DISPLAYCHANGE, 32, 0);
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    MSG posted;
    EXPECT_FALSE(PeekMessageA(&posted, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) && posted.message == WM_CLOSE);
    DestroyWindow(window);
}

// The preview pane shows the whole picture, scaled down to fit (never up)
// and centred between black bars.
void ExpectPicturesFitted(HWND pane)
{
    // The picture's size, and where it must land in the 152 x 112 pane.
    const std::tuple<SIZE, RECT> cases[] = {{{100, 50}, {26, 31, 126, 81}}, {{1024, 768}, {1, 0, 150, 112}}};
    for (const auto& [picture, fitted] : cases) {
        HDC dc = GetDC(pane);
        ScreenSize screens[kMaxScreens];
        EXPECT_EQ(ReadScreens(pane, screens), 1);
        CreateBackBuffer(pane, 0, picture.cx, picture.cy);
        // A disc around the whole picture whitens all of it.
        DrawDisc(0, 0xFFFFFF, -picture.cx, -picture.cy, 2 * picture.cx, 2 * picture.cy);
        CopyToWindow(pane, 0, picture.cx, picture.cy);
        int wrong = 0;  // pixels lit outside the fitted picture or dark inside it
        for (LONG i = 0; i < 152 * 112; ++i) {
            const POINT pixel = {i % 152, i / 152};
            wrong += ((GetPixel(dc, pixel.x, pixel.y) & 0xFFFFFF) != 0) != (PtInRect(&fitted, pixel) != 0);
        }
        EXPECT_EQ(wrong, 0) << picture.cx << " x " << picture.cy;
        FreeBackBuffer(0);
        ReleaseDC(pane, dc);
    }
}

TEST(RunSaverTest, RunsItsWindowWithThePasswordVerifierLoadedAroundTheLoop)
{
    enum Obstacle { kNothing, kSaverRunning, kClassTaken };
    // Platform, preview?, obstacle, exit code, the window's style (0: none
    // made), a verifier loaded before the window was made? The setting asks
    // for a password and PASSWORD.CPL is there to be found. A quit message
    // with code 7 is queued first: a loop that runs ends at once with it.
    const std::tuple<int, bool, Obstacle, std::int32_t, LONG, bool> cases[] = {
        {0, false, kNothing, 7, 0x96000000, false},     {1, false, kNothing, 7, 0x96000000, true},
        {1, true, kNothing, 7, 0x52000000, false},      {1, false, kSaverRunning, 0, 0, false},
        {1, false, kClassTaken, kNoWindowExitCode, 0, false},
    };
    RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", REG_DWORD, "\1\0\0\0", 4);
    SetDllDirectoryA(kTestModules);
    const WNDCLASSA taken = {0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr,
                             kSaverClassName};
    for (const auto& [win9x, preview, obstacle, exitCode, style, verifierFirst] : cases) {
        SCOPED_TRACE(::testing::Message() << "95/98 family " << win9x << ", preview " << preview << ", " << obstacle);
        ResetHost(win9x);
        if (obstacle != kNothing) RegisterClassA(&taken);
        HWND running = obstacle != kSaverRunning ? nullptr : CreateWindowExA(0, kSaverClassName, kFullScreenTitle,
                                                                           WS_POPUP, 0, 0, 9, 9, 0, 0, 0, 0);
        HWND parent =
            preview ? CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 152, 112, 0, 0, 0, 0) : nullptr;
        PostQuitMessage(7);

        EXPECT_EQ(RunSaver(parent), exitCode);

        EXPECT_EQ(GetWindowLongA(saverWindow, GWL_STYLE), style);
        EXPECT_EQ(verifierAtCreation, verifierFirst);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        if (preview) ExpectPicturesFitted(saverWindow);
        DestroyWindow(preview ? parent : saverWindow);
        DestroyWindow(running);
        UnregisterClassA(kSaverClassName, instanceHandle);
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword");
}

// Only on the 95/98 family, where a present, non-zero value of at most four
// bytes of any type asks for it, and only with its export, is the password
// module kept; the system is told that a saver runs exactly while it is.
TEST(PasswordVerifierTest, LoadsWhereTheSettingAsksAndKeepsOnlyAModuleWithTheExport)
{
    // Platform, the value's type (REG_NONE: no value) and bytes, the module's folder, kept?
    const std::tuple<int, DWORD, std::string, const char*, bool> cases[] = {
        {1, REG_DWORD, {"\1\0\0\0", 4}, kTestModules, true},     {1, REG_SZ, {"1", 2}, kTestModules, true},
        {1, REG_BINARY, {"\0\1", 2}, kTestModules, true},          {1, REG_DWORD, {"\0\0\0\0", 4}, kTestModules, false},
        {1, REG_NONE, {}, kTestModules, false},                      {1, REG_BINARY, {"\1\0\0\0\0", 5}, kTestModules, false},
        {1, REG_DWORD, {"\1\0\0\0", 4}, kNoExportModules, false}, {0, REG_DWORD, {"\1\0\0\0", 4}, kTestModules, false},
    };
    for (const auto& [win9x, type, value, folder, kept] : cases) {
        SCOPED_TRACE(::testing::Message() << "95/98 family " << win9x << ", type " << type << ", " << folder);
        ResetHost(win9x);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword");
        if (type != REG_NONE) {
            RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword", type,
                            value.data(), static_cast<DWORD>(value.size()));
        }
        SetDllDirectoryA(folder);
        BOOL running = FALSE;

        LoadPasswordVerifier();

        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        EXPECT_EQ(passwordVerifier != nullptr, kept);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL") != nullptr, kept) << "a module without the export stays";
        EXPECT_EQ(running != FALSE, kept);
        win9xPlatform = 1;
        UnloadPasswordVerifier();
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        EXPECT_FALSE(running) << "still running after the module went";
    }
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveUsePassword");
}

// Each dialog as it is created (its caption and owner), vetoed so that none stays open.
std::vector<std::pair<std::string, HWND>> dialogsCreated;

LRESULT CALLBACK VetoDialogs(int code, WPARAM window, LPARAM creation)
{
    char className[8] = "";
    if (code != HCBT_CREATEWND || !GetClassNameA(HWND(window), className, 8) || strcmp(className, "#32770")) return 0;
    const CREATESTRUCTA& dialog = *reinterpret_cast<CBT_CREATEWNDA*>(creation)->lpcs;
    dialogsCreated.emplace_back(dialog.lpszName, dialog.hwndParent);
    return 1;
}

TEST(ConfigureTest, AboutBoxUnownedThenTheConfigurationDialogOwnedByTheGivenWindow)
{
    ResetHost(0);  // the test program has both templates
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CBT, VetoDialogs, nullptr, GetCurrentThreadId());
    EXPECT_EQ(RunConfigure(owner), -1);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(dialogsCreated, (decltype(dialogsCreated){{"Vimra 1.0", nullptr}, {"Configure", owner}}));
    DestroyWindow(owner);
}

// Wine's own MPR.DLL answers a password-change request at once.
TEST(ConfigureTest, AboutBoxCentresOnTheDesktopsEdgesAndEveryPasswordChangeReleasesTheRouter)
{
    // Not the desktop's width and height (300, 160), nor a shift's -101, -2.
    const POINT corner = AboutBoxPosition({-200, -100, 100, 60}, 301, 63);
    EXPECT_TRUE(corner.x == -100 && corner.y == -1) << corner.x << ", " << corner.y;
    HMODULE router = LoadLibraryA("MPR.DLL");
    ASSERT_NE(router, nullptr);
    ChangePassword(nullptr);
    ChangePassword(nullptr);
    FreeLibrary(router);
    EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr) << "a request kept the router loaded";
}

}  // namespace
