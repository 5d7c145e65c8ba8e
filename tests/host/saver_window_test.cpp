// The saver window: the handling table of SaverWindowProc and the
// DefaultSaverProc behind it, in both shapes and every state; creation and
// destruction; RunSaver's class, window shapes, single-instance rule,
// failures, verifier lifetime and exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "host_fixture.h"
#include "host_state.h"
#include "input_watch.h"
#include "password_verifier.h"
#include "saver_window.h"

namespace {

enum class State { Watching, Verifying, Granted, Preview };
enum class Verifier { None, Accepts, Refuses };

// What a message does, besides its result.
enum : unsigned {
    kForwarded = 1,   // reaches SaverProc, first of all it handles, unchanged
    kHides = 2,       // the cursor is hidden
    kCloses = 4,      // a WM_CLOSE is posted
    kDestroyed = 8,   // the window is gone
    kToParent = 16,   // posted on to the preview's parent
    kGranted = 32,    // closeAllowed is 1 afterwards
    kAsks = 64,       // the verifier was called, once
};

constexpr LRESULT kAny = 0x7FFFBEEF;  // result not checked
constexpr UINT kAutoPlay = 0xFFFF;    // stands for the registered number
constexpr LPARAM kPoint = MAKELPARAM(3, 4);

struct Sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct HandlingCase {
    const char* name;
    State state;
    int win9x;
    Verifier verifier;
    std::vector<Sent> messages;  // each sent on its own, all with these outcomes
    LRESULT result;
    unsigned outcome;
};

int verifierCalls;

BOOL WINAPI AcceptingVerifier(HWND)
{
    ++verifierCalls;
    return TRUE;
}

BOOL WINAPI RefusingVerifier(HWND)
{
    ++verifierCalls;
    return FALSE;
}

// Key and button presses, and more.
std::vector<Sent> Input(std::vector<Sent> more = {})
{
    more.insert(more.begin(), {{WM_KEYDOWN, 'A', 0x001E0001}, {WM_SYSKEYDOWN, VK_SHIFT, 0x001E0001},
                               {WM_LBUTTONDOWN, MK_LBUTTON, kPoint}, {WM_RBUTTONDOWN, MK_RBUTTON, kPoint},
                               {WM_MBUTTONDOWN, MK_MBUTTON, kPoint}});
    return more;
}

using S = State;
using V = Verifier;
const HandlingCase kHandlingCases[] = {
    // Full screen, watching.
    {"settext refused", S::Watching, 0, V::None, {{WM_SETTEXT, 0, 0}}, 0, 0},
    {"paint", S::Watching, 0, V::None, {{WM_PAINT, 0, 0}}, kAny, kForwarded | kHides},
    {"setcursor", S::Watching, 0, V::None, {{WM_SETCURSOR, 0, HTCLIENT}}, 1, kForwarded | kHides},
    {"shown", S::Watching, 0, V::None, {{WM_SHOWWINDOW, 1, 0}}, 0, kForwarded | kHides},
    {"input, deactivation, power", S::Watching, 0, V::None,
     Input({{WM_POWERBROADCAST, 0, 0}, {WM_POWERBROADCAST, 7, 0}, {WM_ACTIVATEAPP, 0, 0}, {WM_POWER, 3, 0}}), kAny,
     kForwarded | kCloses},
    // The whole wParam is compared: a task switch with low bits set is
    // another command.
    {"passed on", S::Watching, 0, V::None,
     {{WM_ACTIVATEAPP, 1, 0}, {WM_POWER, 1, 0}, {WM_POWER, 2, 0}, {WM_MOUSEMOVE, 0, kPoint}, {WM_SHOWWINDOW, 0, 0},
      {WM_NULL, 5, 6}, {WM_HELP, 0, 0}, {WM_CONTEXTMENU, 0, kPoint}, {WM_TIMER, 154, 0},
      {WM_SYSCOMMAND, SC_SCREENSAVE + 2, 0}, {WM_SYSCOMMAND, SC_NEXTWINDOW + 1, 0}},
     kAny, kForwarded},
    {"task switches swallowed", S::Watching, 0, V::None,
     {{WM_SYSCOMMAND, SC_NEXTWINDOW, 0}, {WM_SYSCOMMAND, SC_PREVWINDOW, 0}, {WM_SYSCOMMAND, SC_SCREENSAVE, 0}}, 0, 0},
    {"sc_close, not 9x", S::Watching, 0, V::Refuses, {{WM_SYSCOMMAND, SC_CLOSE, 0}, {WM_CLOSE, 0, 0}}, kAny,
     kForwarded | kDestroyed},
    {"0x8000, not 9x", S::Watching, 0, V::Accepts, {{kVerifyPasswordMessage, 0, 0}}, 0, kForwarded},
    {"close, 9x, no verifier", S::Watching, 1, V::None, {{WM_CLOSE, 0, 0}}, 0, kForwarded | kDestroyed | kGranted},
    {"close, 9x, accepted", S::Watching, 1, V::Accepts, {{WM_CLOSE, 0, 0}}, 0,
     kForwarded | kDestroyed | kGranted | kAsks},
    {"close, 9x, refused", S::Watching, 1, V::Refuses, {{WM_CLOSE, 0, 0}}, 0, kForwarded | kHides | kAsks},
    {"0x8000, 9x, no verifier", S::Watching, 1, V::None, {{kVerifyPasswordMessage, 0, 0}}, 1, kForwarded},
    {"0x8000, 9x, accepted", S::Watching, 1, V::Accepts, {{kVerifyPasswordMessage, 0, 0}}, 1, kForwarded | kAsks},
    {"0x8000, 9x, refused", S::Watching, 1, V::Refuses, {{kVerifyPasswordMessage, 0, 0}}, 0, kForwarded | kAsks},
    // Verifying: input is ignored, the animation goes on; a close is refused
    // without a second ask.
    {"verifying input", S::Verifying, 1, V::Refuses,
     Input({{WM_ACTIVATEAPP, 0, 0}, {WM_POWERBROADCAST, 0, 0}, {WM_SHOWWINDOW, 1, 0}, {WM_TIMER, 154, 0}}), kAny,
     kForwarded},
    {"verifying close", S::Verifying, 1, V::Accepts, {{WM_CLOSE, 0, 0}}, 0, kForwarded},
    {"verifying 0x8000", S::Verifying, 1, V::Accepts, {{kVerifyPasswordMessage, 0, 0}}, 1, kForwarded | kAsks},
    // Closing granted: input and paint go to the default handling unseen,
    // the picture freezes; what is forwarded gets the default handling.
    {"granted", S::Granted, 1, V::None,
     Input({{WM_MOUSEMOVE, 0, kPoint}, {WM_PAINT, 0, 0}, {WM_TIMER, 154, 0}, {WM_SYSCOMMAND, SC_SCREENSAVE, 0},
            {WM_SETTEXT, 0, 0}}),
     kAny, kGranted},
    {"granted, forwarded", S::Granted, 1, V::None, {{WM_NULL, 0, 0}, {WM_SETCURSOR, 0, HTCLIENT}}, kAny,
     kForwarded | kGranted},
    {"granted 0x8000", S::Granted, 1, V::Accepts, {{kVerifyPasswordMessage, 0, 0}}, 0, kForwarded | kGranted},
    {"granted close", S::Granted, 1, V::Accepts, {{WM_CLOSE, 0, 0}}, 0, kForwarded | kDestroyed | kGranted},
    // Preview: input never closes, the cursor stays, help goes to the parent.
    {"preview", S::Preview, 1, V::None,
     Input({{WM_PAINT, 0, 0}, {WM_SYSCOMMAND, SC_NEXTWINDOW, 0}, {WM_SYSCOMMAND, SC_SCREENSAVE, 0},
            {WM_TIMER, 154, 0}, {WM_SETCURSOR, 0, HTNOWHERE}, {WM_ACTIVATEAPP, 0, 0}, {WM_POWERBROADCAST, 0, 0}}),
     kAny, kForwarded},
    // The system does not post WM_HELP (its lParam points to a HELPINFO), so
    // the request is dropped; 1 all the same.
    {"preview help", S::Preview, 1, V::None, {{WM_HELP, 0, 0x1234}}, 1, 0},
    {"preview contextmenu", S::Preview, 1, V::None, {{WM_CONTEXTMENU, 0, kPoint}}, 1, kToParent},
    {"preview settext", S::Preview, 1, V::None, {{WM_SETTEXT, 0, 0}}, 0, 0},
    {"preview 0x8000", S::Preview, 1, V::Accepts, {{kVerifyPasswordMessage, 0, 0}}, 0, kForwarded},
    {"preview close", S::Preview, 1, V::Accepts, {{WM_CLOSE, 0, 0}}, 0, kForwarded | kDestroyed},
    // The autoplay message closes in every state; 1 when a verifier is loaded.
    {"autoplay", S::Watching, 1, V::None, {{kAutoPlay, 0, 0}}, 0, kForwarded | kCloses},
    {"autoplay, verifier", S::Watching, 1, V::Refuses, {{kAutoPlay, 0, 0}}, 1, kForwarded | kCloses},
    {"autoplay, verifying", S::Verifying, 1, V::Refuses, {{kAutoPlay, 0, 0}}, 1, kForwarded | kCloses},
    {"autoplay, granted", S::Granted, 1, V::None, {{kAutoPlay, 0, 0}}, 0, kForwarded | kCloses | kGranted},
    {"autoplay, preview", S::Preview, 1, V::None, {{kAutoPlay, 0, 0}}, 0, kForwarded | kCloses},
    {"autoplay, preview, verifier", S::Preview, 1, V::Accepts, {{kAutoPlay, 0, 0}}, 1, kForwarded | kCloses},
    {"autoplay number, not 9x", S::Watching, 0, V::Accepts, {{kAutoPlay, 0, 0}}, 0, kForwarded},
};

class SaverWindowProcTest : public HostTest {};

TEST_F(SaverWindowProcTest, HandlesEachMessageAsTheShapeStateAndPlatformAsk)
{
    const UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    for (const HandlingCase& c : kHandlingCases) {
        for (const Sent& sent : c.messages) {
            const UINT message = sent.message == kAutoPlay ? autoPlay : sent.message;
            SCOPED_TRACE(::testing::Message() << c.name << ", message " << message << " " << sent.wParam);
            ResetHostState();
            win9xPlatform = c.win9x;
            previewMode = c.state == State::Preview;
            HWND parent = previewMode ? CreatePlainWindow(152, 112, false) : nullptr;
            HWND window = CreateSaverTestWindow(parent);
            ASSERT_NE(window, nullptr);
            autoPlayMessage = c.win9x ? autoPlay : 0;
            verifying = c.state == State::Verifying;
            closeAllowed = c.state == State::Granted;
            passwordVerifier = c.verifier == V::Accepts   ? AcceptingVerifier
                               : c.verifier == V::Refuses ? RefusingVerifier
                                                          : nullptr;
            verifierCalls = 0;
            mouseReference = {500, 400};  // where the cursor rests
            DrainQueue();
            forwardedMessages.clear();
            ShowArrowCursor();
            const LPARAM lParam = message == WM_SETTEXT ? reinterpret_cast<LPARAM>("Changed") : sent.lParam;

            const LRESULT result = SendMessageA(window, message, sent.wParam, lParam);

            if (c.result != kAny) {
                EXPECT_EQ(result, c.result);
            }
            const bool forwarded = (c.outcome & kForwarded) != 0;
            EXPECT_EQ(WasForwarded(message), forwarded);
            if (forwarded && !forwardedMessages.empty()) {
                EXPECT_EQ(forwardedMessages[0].message, message);
                EXPECT_EQ(forwardedMessages[0].wParam, sent.wParam);
                EXPECT_EQ(forwardedMessages[0].lParam, lParam);
            }
            EXPECT_EQ(CursorHidden(), (c.outcome & kHides) != 0);
            EXPECT_EQ(!IsWindow(window), (c.outcome & kDestroyed) != 0);
            if (IsWindow(window)) {
                EXPECT_EQ(TakeClose(window), (c.outcome & kCloses) != 0);
                char title[32] = {};
                GetWindowTextA(window, title, sizeof title);
                EXPECT_STREQ(title, "Saver Test");
            }
            if (parent != nullptr) {
                // (A window's end posts WM_QUIT, which every filter lets through.)
                MSG posted = {};
                const bool toParent =
                    PeekMessageA(&posted, parent, message, message, PM_REMOVE) != 0 && posted.message == message;
                EXPECT_EQ(toParent, (c.outcome & kToParent) != 0);
                if (toParent) {
                    EXPECT_EQ(posted.wParam, reinterpret_cast<WPARAM>(parent));
                    EXPECT_EQ(posted.lParam, sent.lParam);
                }
            }
            EXPECT_EQ(closeAllowed, (c.outcome & kGranted) != 0 ? 1 : 0);
            EXPECT_EQ(verifierCalls, (c.outcome & kAsks) != 0 ? 1 : 0);
            DestroyQuietly(window);
            DestroyQuietly(parent);
        }
    }
}

bool creatingPreview;
int restores;
HIMC restored;

// What SaverProc must find when WM_CREATE and WM_DESTROY reach it.
void ProbeCreation(HWND window, UINT message)
{
    if (message == WM_CREATE) {
        EXPECT_EQ(CursorHidden(), !creatingPreview);
        EXPECT_EQ(mouseReference.x, 321);
        EXPECT_EQ(mouseReference.y, 234);
        const HIMC context = ImmGetContext(window);
        EXPECT_EQ(context, nullptr) << "input method still attached";
        ImmReleaseContext(window, context);
    } else if (message == WM_DESTROY) {
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "no quit posted first";
    }
}

HIMC WINAPI RecordRestore(HWND, HIMC context)
{
    ++restores;
    restored = context;
    return nullptr;
}

TEST_F(SaverWindowProcTest, CreationDetachesTheInputMethodRecordsTheCursorAndHidesIt)
{
    // IMM32.DLL is loaded here by the test's own import; the host only looks
    // it up.
    for (bool preview : {false, true}) {
        SCOPED_TRACE(preview ? "preview" : "full screen");
        ResetHostState();
        previewMode = preview;
        creatingPreview = preview;
        restores = 0;
        saverProcProbe = ProbeCreation;
        HWND parent = preview ? CreatePlainWindow(152, 112, false) : nullptr;
        ASSERT_TRUE(MoveCursorTo(321, 234));
        ShowArrowCursor();
        HWND window = CreateSaverTestWindow(parent);
        ASSERT_TRUE(window != nullptr && WasForwarded(WM_CREATE));
        EXPECT_EQ(immModule, GetModuleHandleA("IMM32.DLL"));
        ASSERT_NE(savedInputContext, nullptr);

        // Destruction gives back exactly the context creation took away.
        const HIMC saved = savedInputContext;
        immAssociateContext = RecordRestore;
        DestroyWindow(window);
        EXPECT_TRUE(WasForwarded(WM_DESTROY));
        EXPECT_EQ(restores, 1);
        EXPECT_EQ(restored, saved);
        DestroyQuietly(parent);
    }
}

// Runs `inLoop` once from inside RunSaver's message loop; a watchdog destroys
// the saver window if the loop has not ended in time.
std::function<void()> loopAction;

void CALLBACK RunLoopAction(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    loopAction();
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    ADD_FAILURE() << "the saver loop did not end in time";
    if (saverWindow != nullptr) DestroyWindow(saverWindow);
}

std::int32_t RunSaverWith(HWND parent, std::function<void()> inLoop)
{
    loopAction = std::move(inLoop);
    SetTimer(nullptr, 0, 30, RunLoopAction);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, Watchdog);
    const std::int32_t exitCode = RunSaver(parent);
    KillTimer(nullptr, watchdog);
    return exitCode;
}

// With the password setting on and the accepting stand-in on the DLL path.
void OfferVerifier()
{
    const DWORD one = 1;
    SetPasswordSetting(REG_DWORD, &one, sizeof one);
    UsePasswordModule("verifying-cpl");
}

class RunSaverTest : public HostTest {
protected:
    void TearDown() override
    {
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
        HostTest::TearDown();
    }
};

bool verifierAtCreate;

void ProbeVerifierAtCreate(HWND, UINT message)
{
    if (message == WM_CREATE) verifierAtCreate = passwordVerifier != nullptr;
}

TEST_F(RunSaverTest, RunsItsWindowUntilItGoesAndEndsWithZero)
{
    // Off the 95/98 family nothing is verified; on it the stand-in, loaded
    // before a full-screen window and released after the loop, accepts the
    // click. A preview never loads it and ends with its parent.
    const struct {
        const char* name;
        int win9x;
        bool preview;
        DWORD style;
        DWORD exStyle;
        const char* title;
    } cases[] = {
        {"full screen", 0, false, 0x96000000u, WS_EX_TOPMOST, "Screen Saver"},
        {"full screen, 95/98 family", 1, false, 0x96000000u, WS_EX_TOPMOST, "Screen Saver"},
        {"preview, 95/98 family", 1, true, 0x52000000u, 0, "Preview"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        win9xPlatform = c.win9x;
        OfferVerifier();
        verifierAtCreate = false;
        saverProcProbe = ProbeVerifierAtCreate;
        HWND parent = c.preview ? CreatePlainWindow(152, 112, true) : nullptr;
        bool runningInLoop = false;
        const std::int32_t exitCode = RunSaverWith(parent, [&] {
            EXPECT_EQ(GetClassLongA(saverWindow, GCL_STYLE), 0x2B);
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_WNDPROC), reinterpret_cast<LONG_PTR>(SaverWindowProc));
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HMODULE), reinterpret_cast<LONG_PTR>(instanceHandle));
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HCURSOR), 0);
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HICON), 0) << "there is no icon 100";
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HBRBACKGROUND),
                      reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH)));
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saverWindow, GWL_STYLE)), c.style);
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saverWindow, GWL_EXSTYLE)), c.exStyle);
            EXPECT_EQ(GetParent(saverWindow), parent);
            runningInLoop = ScreenSaverRunningState();
            // A retitle is refused, so the single-instance key keeps working.
            SetWindowTextA(saverWindow, "Something Else");
            char title[32] = {};
            GetWindowTextA(saverWindow, title, sizeof title);
            EXPECT_STREQ(title, c.title);
            if (c.preview) {
                DestroyWindow(parent);
            } else {
                EXPECT_EQ(GetForegroundWindow(), saverWindow);
                PostMessageA(saverWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            }
        });

        EXPECT_EQ(exitCode, 0);
        EXPECT_FALSE(IsWindow(saverWindow));
        EXPECT_EQ(previewMode, c.preview);
        EXPECT_EQ(autoPlayMessage, c.win9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0u);
        EXPECT_EQ(verifierAtCreate, c.win9x && !c.preview);
        EXPECT_EQ(runningInLoop, c.win9x && !c.preview);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_FALSE(ScreenSaverRunningState());
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
    }
}

TEST_F(RunSaverTest, WithoutAWindowOfItsOwnNoLoopRunsAndNothingStaysLoaded)
{
    // Another saver's window, or the class taken without one.
    const struct {
        const char* name;
        bool otherSaver;
        bool classTaken;
        std::int32_t exitCode;
    } cases[] = {
        {"a full-screen saver runs already", true, true, 0},
        {"RegisterClassA fails", false, true, kNoWindowExitCode},
        {"CreateWindowExA fails", false, false, kNoWindowExitCode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
        WNDCLASSA taken = {};
        taken.lpfnWndProc = DefWindowProcA;
        taken.hInstance = GetModuleHandleA(nullptr);
        taken.lpszClassName = kSaverClassName;
        if (c.classTaken) {
            ASSERT_NE(RegisterClassA(&taken), 0);
        }
        HWND first = c.otherSaver ? CreateWindowExA(0, kSaverClassName, kFullScreenTitle, WS_POPUP | WS_VISIBLE, 0,
                                                    0, 50, 50, nullptr, nullptr, taken.hInstance, nullptr)
                                  : nullptr;
        HWND other = CreatePlainWindow(50, 50, true);
        SetForegroundWindow(other);
        failWindowCreation = !c.classTaken;
        win9xPlatform = 1;
        OfferVerifier();
        // Queued beforehand: a loop would fetch it and end with its code.
        PostQuitMessage(7);

        EXPECT_EQ(RunSaver(nullptr), c.exitCode);

        EXPECT_EQ(saverWindow, nullptr);
        EXPECT_EQ(WasForwarded(WM_CREATE), !c.classTaken);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_FALSE(ScreenSaverRunningState());
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a loop took the quit message";
        if (c.otherSaver) {
            EXPECT_EQ(GetForegroundWindow(), first) << "the running saver is not brought to the front";
            EXPECT_EQ(autoPlayMessage, 0u) << "nothing else runs";
        }
        DestroyQuietly(first);
        DestroyQuietly(other);
    }
}

}  // namespace
