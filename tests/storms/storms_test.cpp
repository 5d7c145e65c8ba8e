// Input storms against the built vimra.scr /s, through the system's input
// queue: a minute of mouse jitter that stays within the saver's threshold,
// and keys hammered at a running password check on the Windows 95/98 family.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "harness/harness.h"

using namespace e2e;

namespace {

// Summed |dx| + |dy|, in pixels from where the cursor was when the saver
// started, that must not end it.
constexpr int kStillRadius = 4;
constexpr DWORD kMouseStormMs = 60000;
// One move every 15 ms: about 4000 moves, each one seen by the saver rather
// than merged with the next in its queue.
constexpr DWORD kMovePeriodMs = 15;
// How long a close, once provoked, may take to show: the window gone.
constexpr DWORD kSettleMs = 750;

int Distance(POINT a, POINT b)
{
    return std::abs(a.x - b.x) + std::abs(a.y - b.y);
}

void ExpectEndsWithZero(Process& saver, const char* what)
{
    std::int32_t code = 1234;
    ASSERT_TRUE(saver.WaitExit(5000, &code)) << what << ": the saver did not end";
    EXPECT_EQ(code, 0) << what;
    EXPECT_EQ(FindTopLevel(0, kSaverClass, nullptr), nullptr) << what;
}

// A screen coordinate in SendInput's absolute units (0 to 65535 across the
// screen), rounded up so that the system's truncation lands on the pixel.
LONG Absolute(LONG pixel, int screenSize)
{
    return static_cast<LONG>((pixel * 65536LL + screenSize - 1) / screenSize);
}

// Moves the cursor to `to` by one of three system paths (0: SetCursorPos,
// 1: SendInput, 2: mouse_event) and waits until it is there. Absolute moves
// only: a stale cursor position, which the X server may still report just
// after the saver's window appeared, must not become the base of a move.
bool MoveCursorTo(POINT to, int path)
{
    const LONG x = Absolute(to.x, GetSystemMetrics(SM_CXSCREEN));
    const LONG y = Absolute(to.y, GetSystemMetrics(SM_CYSCREEN));
    if (path == 0) {
        SetCursorPos(to.x, to.y);
    } else if (path == 1) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = x;
        input.mi.dy = y;
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        if (SendInput(1, &input, sizeof input) != 1) return false;
    } else {
        mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, 0);
    }
    return WaitUntil([to] {
        POINT now = CursorPos();
        return now.x == to.x && now.y == to.y;
    }, 1000);
}

TEST(InputStorm, AMinuteOfMouseJitterWithinFourPixelsLeavesItRunningThenAKeyEndsItWithZero)
{
    ASSERT_TRUE(FileExists(SaverPath())) << SaverPath();
    ASSERT_TRUE(KillSaverStragglers());
    const POINT home = {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    ASSERT_TRUE(PlaceCursor(home.x, home.y));
    Process saver;
    HWND window = StartFullScreenSaver(saver, SaverPath());
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(WindowFromPoint(home), window) << "the moves would not reach the saver";

    // Three targets in four lie on the rim, exactly 4 from home, and most
    // moves cross to another part of it, up to 8 pixels from the last
    // position: a saver that closed at 4, or measured from the last position
    // rather than from home, would end.
    std::vector<POINT> rim, inside;
    for (int dx = -kStillRadius; dx <= kStillRadius; ++dx)
        for (int dy = -kStillRadius; dy <= kStillRadius; ++dy)
            if (std::abs(dx) + std::abs(dy) <= kStillRadius)
                (std::abs(dx) + std::abs(dy) == kStillRadius ? rim : inside).push_back({home.x + dx, home.y + dy});
    std::mt19937 random(20240611);

    int moves = 0;
    const DWORD begin = GetTickCount();
    while (GetTickCount() - begin < kMouseStormMs) {
        const std::vector<POINT>& pool = random() % 4 != 0 ? rim : inside;
        const POINT target = pool[random() % pool.size()];
        ASSERT_TRUE(MoveCursorTo(target, moves % 3)) << "move " << moves << " did not arrive";
        ASSERT_LE(Distance(CursorPos(), home), kStillRadius);
        ++moves;
        if (moves % 250 == 0) {
            ASSERT_TRUE(saver.Running() && IsWindow(window)) << "ended after " << moves << " moves";
        }
        // Pacing, not synchronisation: spreads the moves over the minute.
        WaitUntil([&] { return GetTickCount() - begin >= static_cast<DWORD>(moves) * kMovePeriodMs; },
                  2 * kMovePeriodMs);
    }
    std::printf("%d moves in %lu ms\n", moves, static_cast<unsigned long>(GetTickCount() - begin));
    EXPECT_GE(moves, 2000);

    Observe(kSettleMs);
    ASSERT_TRUE(saver.Running()) << "the jitter ended the saver";
    ASSERT_TRUE(IsWindow(window));
    ASSERT_TRUE(PressKey('K'));
    ExpectEndsWithZero(saver, "key after the mouse storm");
}

// --------------------------------------------------------------- key storm

constexpr const char* kNinetyEightName = "vimra98s.scr";
constexpr DWORD kCheckHoldMs = 2500;  // the verifier's window stays open this long
constexpr DWORD kKeyPeriodMs = 10;

// Keys pressed at a running check must not start another: keys that reach
// the check's own dialog, and keys that reach the saver window and are
// dispatched to it by the check's message loop.
TEST(InputStorm, KeysHammeredAtAPasswordCheckOpenNoSecondCheck)
{
    const struct {
        const char* name;
        const char* folder;
        std::string verifier;
    } verifiers[] = {
        {"dialog", "key-storm-dialog", PasswordCplPath()},
        {"loop leaving the saver in front", "key-storm-loop", PathArgument("pumping-password-cpl")},
    };
    const std::string appKey = std::string("Software\\Wine\\AppDefaults\\") + kNinetyEightName;
    RegistryOverride version = RegistryOverride::String(appKey.c_str(), "Version", "win98");
    RegistryOverride usePassword =
        RegistryOverride::Dword("Control Panel\\Desktop", "ScreenSaveUsePassword", 1);
    ASSERT_TRUE(version.Ok() && usePassword.Ok());

    for (const auto& verifier : verifiers) {
        SCOPED_TRACE(verifier.name);
        ASSERT_TRUE(FileExists(SaverPath())) << SaverPath();
        ASSERT_TRUE(FileExists(verifier.verifier)) << verifier.verifier;
        ASSERT_TRUE(KillSaverStragglers());
        const std::string folder = FreshFolder(verifier.folder);
        const std::string exe = JoinPath(folder, kNinetyEightName);
        ASSERT_TRUE(CopyFileTo(SaverPath(), exe));
        ASSERT_TRUE(CopyFileTo(verifier.verifier, JoinPath(folder, "PASSWORD.CPL")));
        ASSERT_TRUE(PlaceCursor(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2));
        Process saver;
        ASSERT_NE(StartFullScreenSaver(saver, exe), nullptr);

        // A refused check leaves the saver running, where a second check
        // would show; an accepted one must end it after that one check alone.
        const struct {
            const char* answer;
            const char* expected;
        } rounds[] = {{"refuse", "0"}, {"accept", "1"}};
        size_t done = 0;
        for (const auto& round : rounds) {
            SCOPED_TRACE(round.answer);
            ASSERT_TRUE(SetPasswordControl(folder, std::string("answer=") + round.answer +
                                                       " hold=" + std::to_string(kCheckHoldMs)));
            // Keys from before the check opens until it has answered: while
            // WM_CLOSE is on its way, while the verifier's window is up, and
            // after it went until the check returns. A call is logged when
            // it returns.
            int keys = 0, keysWhileOpen = 0;
            const DWORD begin = GetTickCount();
            while (ReadPasswordCalls(folder).size() == done) {
                ASSERT_LT(GetTickCount() - begin, kCheckHoldMs + 15000) << "the check never answered";
                const bool open = FindTopLevel(saver.Id(), nullptr, "Password") != nullptr;
                ASSERT_TRUE(PressKey(static_cast<WORD>('A' + keys % 26)));
                ++keys;
                keysWhileOpen += open ? 1 : 0;
                // Pacing, not synchronisation: a key every 10 ms.
                WaitUntil([&] { return GetTickCount() - begin >= static_cast<DWORD>(keys) * kKeyPeriodMs; },
                          2 * kKeyPeriodMs);
            }
            std::printf("%s, %s: %d keys, %d of them while its window was up\n", verifier.name, round.answer,
                        keys, keysWhileOpen);
            EXPECT_GE(keysWhileOpen, 50) << "the storm missed the check";
            ++done;
            if (round.expected[0] == '1') {
                ExpectEndsWithZero(saver, "accepted password");
            } else {
                // Keys that arrive within 200 ms of the refusal are refused
                // without a check; then a pause, so the next round's first
                // key asks anew.
                Observe(kSettleMs);
                ASSERT_TRUE(saver.Running()) << "a refused check ended the saver";
            }
            const std::vector<PasswordCall> calls = ReadPasswordCalls(folder);
            ASSERT_EQ(calls.size(), done) << "keys during a check opened another check";
            EXPECT_EQ(calls.back().depth, 1) << "the check was entered again while it ran";
            EXPECT_EQ(calls.back().answer, round.expected);
        }
    }
}

}  // namespace
