// The closing rules: DefaultSaverProc's table in every state, the mouse
// threshold, password verification with its debounce and re-entry, and the
// autoplay message.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "host_fixture.h"
#include "host_state.h"
#include "input_watch.h"
#include "password_verifier.h"
#include "recording_saver_proc.h"
#include "saver_window.h"

namespace {

enum class State { Watching, Verifying, Granted, Preview };
enum class Verifier { None, Accepts, Refuses };

constexpr LRESULT kAnyResult = 0x7FFFBEEF;

struct DefaultProcCase {
    const char* name;
    State state;
    int win9x;
    Verifier verifier;
    UINT message;  // 0xC000 and up: the autoplay message
    WPARAM wParam;
    LRESULT result;  // kAnyResult: not checked
    bool closePosted;
    bool cursorHidden;
    bool destroyed;
    int closeAllowedAfter;
    int verifierCalls;
};

constexpr UINT kAutoPlay = 0xFFFF;  // stands for the registered number

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

const DefaultProcCase kDefaultProcCases[] = {
    // Watching, full screen, any platform: the input table.
    {"showwindow shown", State::Watching, 0, Verifier::None, WM_SHOWWINDOW, 1, 0, false, true, false, 0, 0},
    {"showwindow hidden", State::Watching, 0, Verifier::None, WM_SHOWWINDOW, 0, 0, false, false, false, 0, 0},
    {"activateapp other app", State::Watching, 0, Verifier::None, WM_ACTIVATEAPP, 0, 0, true, false, false, 0, 0},
    {"activateapp this app", State::Watching, 0, Verifier::None, WM_ACTIVATEAPP, 1, 0, false, false, false, 0, 0},
    {"setcursor", State::Watching, 0, Verifier::None, WM_SETCURSOR, 0, 1, false, true, false, 0, 0},
    {"power 1", State::Watching, 0, Verifier::None, WM_POWER, 1, kAnyResult, false, false, false, 0, 0},
    {"power 2", State::Watching, 0, Verifier::None, WM_POWER, 2, kAnyResult, false, false, false, 0, 0},
    {"power critical resume", State::Watching, 0, Verifier::None, WM_POWER, 3, kAnyResult, true, false, false, 0, 0},
    {"keydown", State::Watching, 0, Verifier::None, WM_KEYDOWN, 'A', 0, true, false, false, 0, 0},
    {"syskeydown", State::Watching, 0, Verifier::None, WM_SYSKEYDOWN, VK_SHIFT, kAnyResult, true, false, false, 0, 0},
    {"lbuttondown", State::Watching, 0, Verifier::None, WM_LBUTTONDOWN, 0, 0, true, false, false, 0, 0},
    {"rbuttondown", State::Watching, 0, Verifier::None, WM_RBUTTONDOWN, 0, 0, true, false, false, 0, 0},
    {"mbuttondown", State::Watching, 0, Verifier::None, WM_MBUTTONDOWN, 0, 0, true, false, false, 0, 0},
    {"powerbroadcast 0", State::Watching, 0, Verifier::None, WM_POWERBROADCAST, 0, kAnyResult, true, false, false, 0, 0},
    {"powerbroadcast 7", State::Watching, 0, Verifier::None, WM_POWERBROADCAST, 7, kAnyResult, true, false, false, 0, 0},
    {"mousemove at rest", State::Watching, 0, Verifier::None, WM_MOUSEMOVE, 0, 0, false, false, false, 0, 0},
    {"unlisted message", State::Watching, 0, Verifier::None, WM_NULL, 0, 0, false, false, false, 0, 0},
    // WM_CLOSE and the verification message by platform.
    {"close, not 9x", State::Watching, 0, Verifier::Refuses, WM_CLOSE, 0, 0, false, false, true, 0, 0},
    {"0x8000, not 9x", State::Watching, 0, Verifier::Accepts, kVerifyPasswordMessage, 0, 0, false, false, false, 0, 0},
    {"close, 9x, no verifier", State::Watching, 1, Verifier::None, WM_CLOSE, 0, 0, false, false, true, 1, 0},
    {"close, 9x, accepted", State::Watching, 1, Verifier::Accepts, WM_CLOSE, 0, 0, false, false, true, 1, 1},
    {"close, 9x, refused", State::Watching, 1, Verifier::Refuses, WM_CLOSE, 0, 0, false, true, false, 0, 1},
    {"0x8000, 9x, no verifier", State::Watching, 1, Verifier::None, kVerifyPasswordMessage, 0, 1, false, false, false, 0, 0},
    {"0x8000, 9x, accepted", State::Watching, 1, Verifier::Accepts, kVerifyPasswordMessage, 0, 1, false, false, false, 0, 1},
    {"0x8000, 9x, refused", State::Watching, 1, Verifier::Refuses, kVerifyPasswordMessage, 0, 0, false, false, false, 0, 1},
    // Verifying: input is ignored; a close is refused without a second ask.
    {"verifying keydown", State::Verifying, 1, Verifier::Refuses, WM_KEYDOWN, 'A', 0, false, false, false, 0, 0},
    {"verifying lbuttondown", State::Verifying, 1, Verifier::Refuses, WM_LBUTTONDOWN, 0, 0, false, false, false, 0, 0},
    {"verifying activateapp", State::Verifying, 1, Verifier::Refuses, WM_ACTIVATEAPP, 0, 0, false, false, false, 0, 0},
    {"verifying powerbroadcast", State::Verifying, 1, Verifier::Refuses, WM_POWERBROADCAST, 0, kAnyResult, false, false, false, 0, 0},
    {"verifying showwindow", State::Verifying, 1, Verifier::Refuses, WM_SHOWWINDOW, 1, 0, false, false, false, 0, 0},
    {"verifying close", State::Verifying, 1, Verifier::Accepts, WM_CLOSE, 0, 0, false, false, false, 0, 0},
    {"verifying 0x8000", State::Verifying, 1, Verifier::Accepts, kVerifyPasswordMessage, 0, 1, false, false, false, 0, 1},
    // Closing granted: only the platform's default handling.
    {"granted keydown", State::Granted, 1, Verifier::None, WM_KEYDOWN, 'A', 0, false, false, false, 1, 0},
    {"granted setcursor", State::Granted, 1, Verifier::None, WM_SETCURSOR, 0, kAnyResult, false, false, false, 1, 0},
    {"granted 0x8000", State::Granted, 1, Verifier::Accepts, kVerifyPasswordMessage, 0, 0, false, false, false, 1, 0},
    {"granted close", State::Granted, 1, Verifier::Accepts, WM_CLOSE, 0, 0, false, false, true, 1, 0},
    // Preview: no input closes; WM_SETCURSOR goes to the default handling.
    {"preview keydown", State::Preview, 1, Verifier::None, WM_KEYDOWN, 'A', 0, false, false, false, 0, 0},
    {"preview lbuttondown", State::Preview, 1, Verifier::None, WM_LBUTTONDOWN, 0, 0, false, false, false, 0, 0},
    {"preview activateapp", State::Preview, 1, Verifier::None, WM_ACTIVATEAPP, 0, 0, false, false, false, 0, 0},
    {"preview powerbroadcast", State::Preview, 1, Verifier::None, WM_POWERBROADCAST, 0, kAnyResult, false, false, false, 0, 0},
    {"preview setcursor", State::Preview, 1, Verifier::None, WM_SETCURSOR, 0, 0, false, false, false, 0, 0},
    {"preview 0x8000", State::Preview, 1, Verifier::Accepts, kVerifyPasswordMessage, 0, 0, false, false, false, 0, 0},
    {"preview close", State::Preview, 1, Verifier::Accepts, WM_CLOSE, 0, 0, false, false, true, 0, 0},
    // The autoplay message: a close in every state, answered 1 with a verifier.
    {"autoplay, no verifier", State::Watching, 1, Verifier::None, kAutoPlay, 0, 0, true, false, false, 0, 0},
    {"autoplay, verifier", State::Watching, 1, Verifier::Refuses, kAutoPlay, 0, 1, true, false, false, 0, 0},
    {"autoplay while verifying", State::Verifying, 1, Verifier::Refuses, kAutoPlay, 0, 1, true, false, false, 0, 0},
    {"autoplay when granted", State::Granted, 1, Verifier::None, kAutoPlay, 0, 0, true, false, false, 1, 0},
    {"autoplay in preview, no verifier", State::Preview, 1, Verifier::None, kAutoPlay, 0, 0, true, false, false, 0, 0},
    {"autoplay in preview, verifier", State::Preview, 1, Verifier::Accepts, kAutoPlay, 0, 1, true, false, false, 0, 0},
    {"autoplay number, not 9x", State::Watching, 0, Verifier::Accepts, kAutoPlay, 0, 0, false, false, false, 0, 0},
};

class DefaultSaverProcTest : public HostTest {};

TEST_F(DefaultSaverProcTest, AnswersEachMessageAsTheStateAndPlatformAsk)
{
    for (const DefaultProcCase& c : kDefaultProcCases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        win9xPlatform = c.win9x;
        HWND parent = nullptr;
        if (c.state == State::Preview) {
            previewMode = 1;
            parent = CreatePlainWindow(152, 112, false);
        }
        HWND window = CreateSaverTestWindow(parent);
        ASSERT_NE(window, nullptr);
        autoPlayMessage = c.win9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;
        verifying = c.state == State::Verifying ? 1 : 0;
        closeAllowed = c.state == State::Granted ? 1 : 0;
        passwordVerifier = c.verifier == Verifier::Accepts   ? AcceptingVerifier
                           : c.verifier == Verifier::Refuses ? RefusingVerifier
                                                             : nullptr;
        verifierCalls = 0;
        ASSERT_TRUE(MoveCursorTo(500, 400));
        mouseReference = {500, 400};
        DrainQueue();
        ShowArrowCursor();
        const UINT message =
            c.message == kAutoPlay ? RegisterWindowMessageA("QueryCancelAutoPlay") : c.message;

        const LRESULT result = DefaultSaverProc(window, message, c.wParam, 0);

        if (c.result != kAnyResult) {
            EXPECT_EQ(result, c.result);
        }
        EXPECT_EQ(!IsWindow(window), c.destroyed);
        if (IsWindow(window)) {
            EXPECT_EQ(TakeClose(window), c.closePosted);
        }
        EXPECT_EQ(CursorHidden(), c.cursorHidden);
        EXPECT_EQ(closeAllowed, c.closeAllowedAfter);
        EXPECT_EQ(verifierCalls, c.verifierCalls);
        passwordVerifier = nullptr;
        DestroyQuietly(window);
        DestroyQuietly(parent);
    }
}

// One cursor position, given as an offset from where the test began, and
// what a WM_MOUSEMOVE there must do.
struct MouseStep {
    int dx;
    int dy;
    bool closes;
};

struct MouseCase {
    const char* name;
    std::vector<MouseStep> steps;
};

class MouseThresholdTest : public HostTest {};

TEST_F(MouseThresholdTest, SummedDistanceOfFiveFromTheReferenceCloses)
{
    const MouseCase cases[] = {
        {"4 right stays", {{4, 0, false}}},
        {"5 right closes", {{5, 0, true}}},
        {"5 up closes", {{0, -5, true}}},
        {"3 right 2 down closes", {{3, 2, true}}},
        {"2 left 2 up stays", {{-2, -2, false}}},
        {"3 left 2 up closes", {{-3, -2, true}}},
        {"slow moves add up", {{1, 0, false}, {2, 0, false}, {3, 0, false}, {4, 0, false}, {5, 0, true}}},
        {"wandering within 4 never closes",
         {{2, 2, false}, {-2, 2, false}, {-2, -2, false}, {0, 4, false}, {-4, 0, false}, {1, -3, false}}},
        // The reference moves to the closing position, so the next
        // measure starts there.
        {"reference follows a close", {{6, 0, true}, {9, 0, false}, {10, 0, false}, {11, 0, true}}},
        {"large jump", {{300, -200, true}}},
    };
    const int startX = 500;
    const int startY = 400;
    for (const MouseCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        HWND window = CreateSaverTestWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(MoveCursorTo(startX, startY));
        mouseReference = {startX, startY};
        POINT expectedReference = mouseReference;
        for (const MouseStep& step : c.steps) {
            SCOPED_TRACE(::testing::Message() << "step to " << step.dx << "," << step.dy);
            ASSERT_TRUE(MoveCursorTo(startX + step.dx, startY + step.dy));
            DrainQueue();
            // The message's own coordinates are not what is measured.
            SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
            EXPECT_EQ(TakeClose(window), step.closes);
            if (step.closes) {
                expectedReference = {startX + step.dx, startY + step.dy};
            }
            EXPECT_EQ(mouseReference.x, expectedReference.x);
            EXPECT_EQ(mouseReference.y, expectedReference.y);
        }
        DestroyQuietly(window);
    }
}

DWORD fakeTick;

DWORD WINAPI FakeTickCount()
{
    return fakeTick;
}

// A refusing verifier that lets time pass while its dialog is open.
DWORD tickWhenVerifierAnswers;

BOOL WINAPI SlowRefusingVerifier(HWND)
{
    ++verifierCalls;
    fakeTick = tickWhenVerifierAnswers;
    return FALSE;
}

class VerificationTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        win9xPlatform = 1;
        readTickCount = FakeTickCount;
        verifierCalls = 0;
        window = CreateSaverTestWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        DestroyQuietly(window);
        HostTest::TearDown();
    }
    HWND window = nullptr;
};

bool timerPendingInDialog;

// Looks at the queue the way the dialog would see it, shows the cursor as a
// dialog does, then refuses.
BOOL WINAPI InspectingRefusingVerifier(HWND owner)
{
    MSG pending;
    timerPendingInDialog = PeekMessageA(&pending, owner, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
    ShowArrowCursor();
    return SlowRefusingVerifier(owner);
}

TEST_F(VerificationTest, ARefusedCloseRestartsTheMouseReferenceAndHidesTheCursor)
{
    passwordVerifier = InspectingRefusingVerifier;
    fakeTick = 5000;
    tickWhenVerifierAnswers = 5750;
    mouseReference = {500, 400};
    ASSERT_TRUE(MoveCursorTo(530, 420));
    // Ticks queued before the dialog are dropped, so no frames pile up.
    PostMessageA(window, WM_TIMER, 154, 0);
    PostMessageA(window, WM_TIMER, 154, 0);
    timerPendingInDialog = true;
    ShowArrowCursor();

    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);

    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(verifierCalls, 1);
    EXPECT_FALSE(timerPendingInDialog);
    EXPECT_EQ(closeAllowed, 0);
    EXPECT_EQ(verifying, 0);
    EXPECT_TRUE(CursorHidden());
    // Measured from the end of the dialog, not its start.
    EXPECT_EQ(lastVerifyTick, 5750u);
    // Resting the mouse where it was left does not ask again.
    EXPECT_EQ(mouseReference.x, 530);
    EXPECT_EQ(mouseReference.y, 420);
    DrainQueue();
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(TakeClose(window));
}

TEST_F(VerificationTest, CloseRequestsWithin200msOfTheLastVerificationAreRefusedWithoutAsking)
{
    struct DebounceCase {
        const char* name;
        std::uint32_t lastTick;
        std::uint32_t now;
        bool asks;
    };
    const DebounceCase cases[] = {
        {"no verification yet", kNoVerifyYet, 10, true},
        {"no verification yet, tick near the top", kNoVerifyYet, 0xFFFFFFF0u, true},
        {"at once", 1000, 1000, false},
        {"199 ms", 1000, 1199, false},
        {"200 ms", 1000, 1200, true},
        {"an hour later", 1000, 1000 + 3600000, true},
        {"199 ms across the wrap", 0xFFFFFF9Cu, 99, false},
        {"200 ms across the wrap", 0xFFFFFF9Cu, 100, true},
        {"1 ms before the wrap", 0xFFFFFFFEu, 0xFFFFFFFFu, false},
        {"counted from 0", 0, 199, false},
    };
    passwordVerifier = SlowRefusingVerifier;
    for (const DebounceCase& c : cases) {
        SCOPED_TRACE(c.name);
        lastVerifyTick = c.lastTick;
        fakeTick = c.now;
        tickWhenVerifierAnswers = c.now + 40;
        verifierCalls = 0;
        ASSERT_TRUE(MoveCursorTo(510, 400));
        mouseReference = {0, 0};

        EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);

        EXPECT_EQ(verifierCalls, c.asks ? 1 : 0);
        EXPECT_EQ(lastVerifyTick, c.asks ? c.now + 40 : c.lastTick);
        EXPECT_EQ(mouseReference.x, 510);  // refused either way
        EXPECT_TRUE(IsWindow(window));
    }
}

TEST_F(VerificationTest, AKeyWithin200msAfterACancelledDialogDoesNotReopenIt)
{
    passwordVerifier = SlowRefusingVerifier;
    fakeTick = 70000;
    tickWhenVerifierAnswers = 70100;
    // A key closes, the close is verified and refused.
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    DispatchMessageA(&message);
    ASSERT_EQ(verifierCalls, 1);
    // 150 ms after the dialog ended: refused without asking.
    fakeTick = 70250;
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    ASSERT_TRUE(PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_EQ(verifierCalls, 1);
    // 200 ms after: asked again.
    fakeTick = 70300;
    tickWhenVerifierAnswers = 70500;
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    ASSERT_TRUE(PeekMessageA(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_EQ(verifierCalls, 2);
    EXPECT_TRUE(IsWindow(window));
}

// What the verifier's own dialog loop saw of the saver while it was open.
struct DialogView {
    int entries;
    LRESULT nestedSendResult;
    bool windowAliveAfterNestedClose;
    bool closePostedByMouse;
    bool timerForwarded;
    POINT referenceAfterNestedClose;
    int closeAllowedInDialog;
};
DialogView dialogView;

// Behaves as a password dialog's modal loop would: the saver's messages
// keep arriving, among them ticks and further close requests.
BOOL WINAPI ReenteringVerifier(HWND owner)
{
    ++dialogView.entries;
    DrainQueue();
    dialogView.nestedSendResult = SendMessageA(owner, WM_CLOSE, 0, 0);
    PostMessageA(owner, WM_CLOSE, 0, 0);
    PostMessageA(owner, WM_TIMER, 154, 0);
    forwardedMessages.clear();
    MSG message;
    while (PeekMessageA(&message, owner, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    dialogView.timerForwarded = WasForwarded(WM_TIMER);
    MoveCursorTo(600, 450);
    SendMessageA(owner, WM_MOUSEMOVE, 0, 0);
    dialogView.closePostedByMouse = TakeClose(owner);
    SendMessageA(owner, WM_CLOSE, 0, 0);
    dialogView.referenceAfterNestedClose = mouseReference;
    dialogView.windowAliveAfterNestedClose = IsWindow(owner) != 0;
    dialogView.closeAllowedInDialog = closeAllowed;
    return TRUE;
}

TEST_F(VerificationTest, ClosesDispatchedInsideTheDialogAreRefusedWithoutASecondDialog)
{
    dialogView = {};
    passwordVerifier = ReenteringVerifier;
    fakeTick = 1000;
    mouseReference = {500, 400};

    SendMessageA(window, WM_CLOSE, 0, 0);

    EXPECT_EQ(dialogView.entries, 1);
    EXPECT_EQ(dialogView.nestedSendResult, 0);
    EXPECT_TRUE(dialogView.windowAliveAfterNestedClose);
    EXPECT_FALSE(dialogView.closePostedByMouse) << "input is ignored while verifying";
    EXPECT_TRUE(dialogView.timerForwarded) << "the animation goes on behind the dialog";
    EXPECT_EQ(dialogView.referenceAfterNestedClose.x, 600);
    EXPECT_EQ(dialogView.referenceAfterNestedClose.y, 450);
    EXPECT_EQ(dialogView.closeAllowedInDialog, 0);
    // The accepted password closes the window after all.
    EXPECT_EQ(closeAllowed, 1);
    EXPECT_EQ(verifying, 0);
    EXPECT_FALSE(IsWindow(window));
}

// Sends every kind of input, deactivation and power event, and refuses the
// password if any of them posted a close.
BOOL WINAPI VerifierSendingInput(HWND owner)
{
    ++verifierCalls;
    DrainQueue();
    for (UINT input : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                       WM_POWERBROADCAST, WM_ACTIVATEAPP}) {
        SendMessageA(owner, input, 0, 0);
    }
    SendMessageA(owner, WM_POWER, 3, 0);
    return TakeClose(owner) ? FALSE : TRUE;
}

TEST_F(VerificationTest, InputInsideTheDialogPostsNoClose)
{
    passwordVerifier = VerifierSendingInput;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(verifierCalls, 1);
    EXPECT_FALSE(IsWindow(window)) << "a close was posted while verifying";
}

}  // namespace
