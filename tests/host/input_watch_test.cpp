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
#include "saver_window.h"

namespace {

enum class State { Watching, Verifying, Granted, Preview };
enum class Verifier { None, Accepts, Refuses };

constexpr LRESULT kAny = 0x7FFFBEEF;  // result not checked
constexpr UINT kAutoPlay = 0xFFFF;    // stands for the registered number

struct Sent {
    UINT message;
    WPARAM wParam;
};

struct ProcCase {
    const char* name;
    State state;
    int win9x;
    Verifier verifier;
    std::vector<Sent> messages;  // each sent on its own, all with these outcomes
    LRESULT result;
    bool closes;
    bool hidesCursor;
    bool destroyed;
    int grantedAfter;
    int asks;  // verifier calls
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

const Sent kInput[] = {{WM_KEYDOWN, 'A'}, {WM_SYSKEYDOWN, VK_SHIFT}, {WM_LBUTTONDOWN, 0},
                       {WM_RBUTTONDOWN, 0}, {WM_MBUTTONDOWN, 0}};

std::vector<Sent> InputAnd(std::vector<Sent> more)
{
    more.insert(more.begin(), std::begin(kInput), std::end(kInput));
    return more;
}

using S = State;
using V = Verifier;
const ProcCase kProcCases[] = {
    {"input, deactivation, power close", S::Watching, 0, V::None,
     InputAnd({{WM_POWERBROADCAST, 0}, {WM_POWERBROADCAST, 7}, {WM_ACTIVATEAPP, 0}, {WM_POWER, 3}}),
     kAny, true, false, false, 0, 0},
    {"others pass", S::Watching, 0, V::None,
     {{WM_ACTIVATEAPP, 1}, {WM_POWER, 1}, {WM_POWER, 2}, {WM_MOUSEMOVE, 0}, {WM_SHOWWINDOW, 0}, {WM_NULL, 0}},
     0, false, false, false, 0, 0},
    {"shown", S::Watching, 0, V::None, {{WM_SHOWWINDOW, 1}}, 0, false, true, false, 0, 0},
    {"setcursor", S::Watching, 0, V::None, {{WM_SETCURSOR, 0}}, 1, false, true, false, 0, 0},
    {"close, not 9x", S::Watching, 0, V::Refuses, {{WM_CLOSE, 0}}, 0, false, false, true, 0, 0},
    {"0x8000, not 9x", S::Watching, 0, V::Accepts, {{kVerifyPasswordMessage, 0}}, 0, false, false, false, 0, 0},
    {"close, 9x, no verifier", S::Watching, 1, V::None, {{WM_CLOSE, 0}}, 0, false, false, true, 1, 0},
    {"close, 9x, accepted", S::Watching, 1, V::Accepts, {{WM_CLOSE, 0}}, 0, false, false, true, 1, 1},
    {"close, 9x, refused", S::Watching, 1, V::Refuses, {{WM_CLOSE, 0}}, 0, false, true, false, 0, 1},
    {"0x8000, 9x, no verifier", S::Watching, 1, V::None, {{kVerifyPasswordMessage, 0}}, 1, false, false, false, 0, 0},
    {"0x8000, 9x, accepted", S::Watching, 1, V::Accepts, {{kVerifyPasswordMessage, 0}}, 1, false, false, false, 0, 1},
    {"0x8000, 9x, refused", S::Watching, 1, V::Refuses, {{kVerifyPasswordMessage, 0}}, 0, false, false, false, 0, 1},
    // Verifying: input is ignored; a close is refused without a second ask.
    {"verifying input", S::Verifying, 1, V::Refuses,
     InputAnd({{WM_ACTIVATEAPP, 0}, {WM_POWERBROADCAST, 0}, {WM_SHOWWINDOW, 1}}), kAny, false, false, false, 0, 0},
    {"verifying close", S::Verifying, 1, V::Accepts, {{WM_CLOSE, 0}}, 0, false, false, false, 0, 0},
    {"verifying 0x8000", S::Verifying, 1, V::Accepts, {{kVerifyPasswordMessage, 0}}, 1, false, false, false, 0, 1},
    // Closing granted, and the preview: only the platform's default handling.
    {"granted input", S::Granted, 1, V::None, InputAnd({{WM_SETCURSOR, 0}}), kAny, false, false, false, 1, 0},
    {"granted 0x8000", S::Granted, 1, V::Accepts, {{kVerifyPasswordMessage, 0}}, 0, false, false, false, 1, 0},
    {"granted close", S::Granted, 1, V::Accepts, {{WM_CLOSE, 0}}, 0, false, false, true, 1, 0},
    {"preview input", S::Preview, 1, V::None,
     InputAnd({{WM_ACTIVATEAPP, 0}, {WM_POWERBROADCAST, 0}, {WM_SETCURSOR, 0}}), kAny, false, false, false, 0, 0},
    {"preview 0x8000", S::Preview, 1, V::Accepts, {{kVerifyPasswordMessage, 0}}, 0, false, false, false, 0, 0},
    {"preview close", S::Preview, 1, V::Accepts, {{WM_CLOSE, 0}}, 0, false, false, true, 0, 0},
    // The autoplay message closes in every state; 1 when a verifier is loaded.
    {"autoplay", S::Watching, 1, V::None, {{kAutoPlay, 0}}, 0, true, false, false, 0, 0},
    {"autoplay, verifier", S::Watching, 1, V::Refuses, {{kAutoPlay, 0}}, 1, true, false, false, 0, 0},
    {"autoplay, verifying", S::Verifying, 1, V::Refuses, {{kAutoPlay, 0}}, 1, true, false, false, 0, 0},
    {"autoplay, granted", S::Granted, 1, V::None, {{kAutoPlay, 0}}, 0, true, false, false, 1, 0},
    {"autoplay, preview", S::Preview, 1, V::None, {{kAutoPlay, 0}}, 0, true, false, false, 0, 0},
    {"autoplay, preview, verifier", S::Preview, 1, V::Accepts, {{kAutoPlay, 0}}, 1, true, false, false, 0, 0},
    {"autoplay number, not 9x", S::Watching, 0, V::Accepts, {{kAutoPlay, 0}}, 0, false, false, false, 0, 0},
};

class DefaultSaverProcTest : public HostTest {};

TEST_F(DefaultSaverProcTest, AnswersEachMessageAsTheStateAndPlatformAsk)
{
    const UINT autoPlay = RegisterWindowMessageA("QueryCancelAutoPlay");
    for (const ProcCase& c : kProcCases) {
        for (const Sent& sent : c.messages) {
            SCOPED_TRACE(::testing::Message() << c.name << ", message " << sent.message);
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
            ShowArrowCursor();

            const LRESULT result =
                DefaultSaverProc(window, sent.message == kAutoPlay ? autoPlay : sent.message, sent.wParam, 0);

            if (c.result != kAny) {

                EXPECT_EQ(result, c.result);

            }
            EXPECT_EQ(!IsWindow(window), c.destroyed);
            if (IsWindow(window)) {
                EXPECT_EQ(TakeClose(window), c.closes);
            }
            EXPECT_EQ(CursorHidden(), c.hidesCursor);
            EXPECT_EQ(closeAllowed, c.grantedAfter);
            EXPECT_EQ(verifierCalls, c.asks);
            DestroyQuietly(window);
            DestroyQuietly(parent);
        }
    }
}

class MouseThresholdTest : public HostTest {};

TEST_F(MouseThresholdTest, SummedDistanceOfFiveFromTheReferenceCloses)
{
    struct Step {
        int dx;  // from the start
        int dy;
        bool closes;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"4 stays, 5 closes", {{4, 0, false}, {0, -5, true}}},
        {"both axes add", {{-2, -2, false}, {3, 2, true}}},
        {"slow moves add up", {{1, 0, false}, {2, 0, false}, {3, 0, false}, {4, 0, false}, {5, 0, true}}},
        // Each step up to 8 from the last, never more than 4 from the start.
        {"wandering within 4", {{2, 2, false}, {-2, 2, false}, {-2, -2, false}, {0, 4, false}, {-4, 0, false}}},
        // The reference moves to where a close was posted, and only then.
        {"reference follows a close", {{6, 0, true}, {9, 0, false}, {10, 0, false}, {11, 0, true}}},
        {"large jump", {{300, -200, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        HWND window = CreateSaverTestWindow();
        ASSERT_NE(window, nullptr);
        mouseReference = {500, 400};
        for (const Step& step : c.steps) {
            SCOPED_TRACE(::testing::Message() << "step to " << step.dx << "," << step.dy);
            ASSERT_TRUE(MoveCursorTo(500 + step.dx, 400 + step.dy));
            DrainQueue();
            // The message's own coordinates are not what is measured.
            SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
            EXPECT_EQ(TakeClose(window), step.closes);
        }
        DestroyQuietly(window);
    }
}

DWORD fakeTick;
DWORD tickWhenVerifierAnswers;

DWORD WINAPI FakeTickCount()
{
    return fakeTick;
}

// A refusing verifier that lets time pass while its dialog is open.
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

// Looks at the queue as the dialog would, shows the cursor as a dialog does,
// then refuses.
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

    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);

    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(verifierCalls, 1);
    EXPECT_FALSE(timerPendingInDialog);
    EXPECT_EQ(closeAllowed, 0);
    EXPECT_EQ(verifying, 0);
    EXPECT_TRUE(CursorHidden());
    EXPECT_EQ(lastVerifyTick, 5750u) << "measured from the end of the dialog";
    // Resting the mouse where it was left does not ask again.
    DrainQueue();
    SendMessageA(window, WM_MOUSEMOVE, 0, 0);
    EXPECT_FALSE(TakeClose(window));
}

TEST_F(VerificationTest, CloseRequestsWithin200msOfTheLastVerificationAreRefusedWithoutAsking)
{
    const struct {
        const char* name;
        std::uint32_t lastTick;
        std::uint32_t now;
        bool asks;
    } cases[] = {
        {"no verification yet", kNoVerifyYet, 10, true},
        {"no verification yet, tick near the top", kNoVerifyYet, 0xFFFFFFF0u, true},
        {"at once", 1000, 1000, false},
        {"199 ms", 1000, 1199, false},
        {"200 ms", 1000, 1200, true},
        {"199 ms across the wrap", 0xFFFFFF9Cu, 99, false},
        {"200 ms across the wrap", 0xFFFFFF9Cu, 100, true},
        {"counted from 0", 0, 199, false},
    };
    passwordVerifier = SlowRefusingVerifier;
    for (const auto& c : cases) {
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

// What the verifier's own dialog loop saw of the saver while it was open.
struct DialogView {
    int entries;
    LRESULT nestedSendResult;
    bool aliveAfterNestedClose;
    bool closePostedByInput;
    bool timerForwarded;
    POINT referenceAfterNestedClose;
};
DialogView dialogView;

// Behaves as a password dialog's modal loop would: the saver's messages keep
// arriving, among them ticks, input and further close requests.
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
    SendMessageA(owner, WM_KEYDOWN, 'A', 0);
    dialogView.closePostedByInput = TakeClose(owner);
    SendMessageA(owner, WM_CLOSE, 0, 0);
    dialogView.referenceAfterNestedClose = mouseReference;
    dialogView.aliveAfterNestedClose = IsWindow(owner) != 0;
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
    EXPECT_TRUE(dialogView.aliveAfterNestedClose);
    EXPECT_FALSE(dialogView.closePostedByInput) << "input is ignored while verifying";
    EXPECT_TRUE(dialogView.timerForwarded) << "the animation goes on behind the dialog";
    EXPECT_EQ(dialogView.referenceAfterNestedClose.x, 600);
    EXPECT_EQ(dialogView.referenceAfterNestedClose.y, 450);
    // The accepted password closes the window after all.
    EXPECT_EQ(closeAllowed, 1);
    EXPECT_EQ(verifying, 0);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
