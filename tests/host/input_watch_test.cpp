// The closing rules beyond the handling table: the mouse threshold, and
// password verification with its debounce and re-entry.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "host_fixture.h"
#include "host_state.h"
#include "input_watch.h"
#include "password_verifier.h"
#include "saver_window.h"

namespace {

int verifierCalls;

class MouseThresholdTest : public HostTest {};

TEST_F(MouseThresholdTest, SummedDistanceOfFiveFromTheReferenceCloses)
{
    struct Step {
        int dx, dy;  // from the start
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
bool timerPendingInDialog;

DWORD WINAPI FakeTickCount()
{
    return fakeTick;
}

// A refusing verifier that looks at the queue as its dialog would, and lets
// time pass while the dialog is open.
BOOL WINAPI SlowRefusingVerifier(HWND owner)
{
    MSG pending;
    timerPendingInDialog = PeekMessageA(&pending, owner, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
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

TEST_F(VerificationTest, CloseRequestsWithin200msAfterTheLastVerificationEndedAreRefusedWithoutAsking)
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
        DrainQueue();
        // Ticks queued before the dialog are dropped, so no frames pile up.
        PostMessageA(window, WM_TIMER, 154, 0);
        PostMessageA(window, WM_TIMER, 154, 0);
        timerPendingInDialog = true;

        EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);

        EXPECT_EQ(verifierCalls, c.asks ? 1 : 0);
        EXPECT_EQ(timerPendingInDialog, !c.asks);
        // The window opens at the end of the dialog, not its start.
        EXPECT_EQ(lastVerifyTick, c.asks ? c.now + 40 : c.lastTick);
        EXPECT_EQ(closeAllowed, 0);
        EXPECT_EQ(verifying, 0);
        // Refused either way: measured from here on, so a mouse resting
        // where it was left does not ask again.
        EXPECT_EQ(mouseReference.x, 510);
        EXPECT_TRUE(IsWindow(window));
    }
}

int entries;

// Behaves as a password dialog's modal loop would: the saver's messages keep
// arriving, among them further close requests, sent and posted.
BOOL WINAPI ReenteringVerifier(HWND owner)
{
    ++entries;
    EXPECT_EQ(SendMessageA(owner, WM_CLOSE, 0, 0), 0);
    PostMessageA(owner, WM_CLOSE, 0, 0);
    MSG message;
    while (PeekMessageA(&message, owner, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    EXPECT_TRUE(IsWindow(owner));
    EXPECT_EQ(closeAllowed, 0);
    // A close refused this way restarts the mouse reference as any refusal.
    EXPECT_TRUE(MoveCursorTo(600, 450));
    SendMessageA(owner, WM_CLOSE, 0, 0);
    EXPECT_EQ(mouseReference.x, 600);
    return TRUE;
}

TEST_F(VerificationTest, ClosesDispatchedInsideTheDialogAreRefusedWithoutASecondDialog)
{
    entries = 0;
    passwordVerifier = ReenteringVerifier;
    fakeTick = 1000;

    SendMessageA(window, WM_CLOSE, 0, 0);

    EXPECT_EQ(entries, 1);
    // The accepted password closes the window after all.
    EXPECT_EQ(closeAllowed, 1);
    EXPECT_EQ(verifying, 0);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
