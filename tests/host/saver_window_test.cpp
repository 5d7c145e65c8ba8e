// The saver window: SaverWindowProc's handling table in both shapes, its
// creation and destruction steps, and RunSaver's class, window shapes,
// single-instance rule, failures, verifier lifetime and exit code.
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

constexpr LRESULT kAny = 0x7FFFBEEF;  // result not checked
constexpr LPARAM kPoint = MAKELPARAM(3, 4);

struct Sent {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct WindowProcCase {
    const char* name;
    bool preview;
    int granted;                 // closeAllowed
    std::vector<Sent> messages;  // each sent on its own, all with these outcomes
    LRESULT result;
    bool forwarded;
    bool hidesCursor;
    bool closes;
    bool postedToParent;
    bool destroyed;
};

const std::vector<Sent> kInput = {{WM_KEYDOWN, 'A', 0x001E0001}, {WM_SYSKEYDOWN, VK_SHIFT, 0x001E0001},
                                  {WM_LBUTTONDOWN, MK_LBUTTON, kPoint}, {WM_RBUTTONDOWN, MK_RBUTTON, kPoint},
                                  {WM_MBUTTONDOWN, MK_MBUTTON, kPoint}};

std::vector<Sent> Join(std::vector<Sent> a, const std::vector<Sent>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const WindowProcCase kWindowProcCases[] = {
    {"settext refused", false, 0, {{WM_SETTEXT, 0, 0}}, 0, false, false, false, false, false},
    {"paint", false, 0, {{WM_PAINT, 0, 0}}, kAny, true, true, false, false, false},
    {"setcursor", false, 0, {{WM_SETCURSOR, 0, HTCLIENT}}, 1, true, true, false, false, false},
    {"input closes", false, 0, kInput, kAny, true, false, true, false, false},
    // The whole wParam is compared: a task switch with low bits set is
    // another command.
    {"forwarded", false, 0,
     {{WM_HELP, 0, 0}, {WM_CONTEXTMENU, 0, kPoint}, {WM_MOUSEMOVE, 0, kPoint}, {WM_TIMER, 154, 0},
      {WM_NULL, 5, 6}, {WM_SYSCOMMAND, SC_SCREENSAVE + 2, 0}, {WM_SYSCOMMAND, SC_NEXTWINDOW + 1, 0}},
     0, true, false, false, false, false},
    {"task switches swallowed", false, 0,
     {{WM_SYSCOMMAND, SC_NEXTWINDOW, 0}, {WM_SYSCOMMAND, SC_PREVWINDOW, 0}, {WM_SYSCOMMAND, SC_SCREENSAVE, 0}},
     0, false, false, false, false, false},
    {"sc_close reaches the close", false, 0, {{WM_SYSCOMMAND, SC_CLOSE, 0}}, kAny, true, false, false, false, true},
    // Closing granted: input and paint go to the default handling, the
    // picture freezes.
    {"granted", false, 1,
     Join(kInput, {{WM_MOUSEMOVE, 0, kPoint}, {WM_PAINT, 0, 0}, {WM_TIMER, 154, 0},
                   {WM_SYSCOMMAND, SC_SCREENSAVE, 0}, {WM_SETTEXT, 0, 0}}),
     kAny, false, false, false, false, false},
    {"granted other message", false, 1, {{WM_NULL, 0, 0}}, 0, true, false, false, false, false},
    // Preview: input never closes, the cursor stays, help goes to the parent.
    {"preview forwarded", true, 0,
     Join(kInput, {{WM_PAINT, 0, 0}, {WM_SYSCOMMAND, SC_NEXTWINDOW, 0}, {WM_SYSCOMMAND, SC_SCREENSAVE, 0},
                   {WM_TIMER, 154, 0}, {WM_SETCURSOR, 0, HTNOWHERE}}),
     kAny, true, false, false, false, false},
    // The system does not post WM_HELP (its lParam points to a HELPINFO), so
    // the request is dropped; 1 all the same.
    {"preview help", true, 0, {{WM_HELP, 0, 0x1234}}, 1, false, false, false, false, false},
    {"preview contextmenu", true, 0, {{WM_CONTEXTMENU, 0, kPoint}}, 1, false, false, false, true, false},
    {"preview settext", true, 0, {{WM_SETTEXT, 0, 0}}, 0, false, false, false, false, false},
};

class SaverWindowProcTest : public HostTest {};

TEST_F(SaverWindowProcTest, HandlesEachMessageAsItsShapeAndStateAsk)
{
    for (const WindowProcCase& c : kWindowProcCases) {
        for (const Sent& sent : c.messages) {
            SCOPED_TRACE(::testing::Message() << c.name << ", message " << sent.message << " " << sent.wParam);
            ResetHostState();
            previewMode = c.preview;
            HWND parent = c.preview ? CreatePlainWindow(152, 112, false) : nullptr;
            HWND window = CreateSaverTestWindow(parent);
            ASSERT_NE(window, nullptr);
            closeAllowed = c.granted;
            DrainQueue();
            forwardedMessages.clear();
            ShowArrowCursor();
            const LPARAM lParam = sent.message == WM_SETTEXT ? reinterpret_cast<LPARAM>("Changed") : sent.lParam;

            const LRESULT result = SendMessageA(window, sent.message, sent.wParam, lParam);

            if (c.result != kAny) {

                EXPECT_EQ(result, c.result);

            }
            EXPECT_EQ(WasForwarded(sent.message), c.forwarded);
            if (c.forwarded) {
                // Forwarded first of all, with the same arguments.
                ASSERT_FALSE(forwardedMessages.empty());
                EXPECT_EQ(forwardedMessages[0].message, sent.message);
                EXPECT_EQ(forwardedMessages[0].wParam, sent.wParam);
                EXPECT_EQ(forwardedMessages[0].lParam, lParam);
            }
            EXPECT_EQ(CursorHidden(), c.hidesCursor);
            EXPECT_EQ(!IsWindow(window), c.destroyed);
            char title[32] = {};
            GetWindowTextA(window, title, sizeof title);
            if (IsWindow(window)) {
                EXPECT_EQ(TakeClose(window), c.closes);
                EXPECT_STREQ(title, "Saver Test");
            }
            if (parent != nullptr) {
                MSG posted = {};
                EXPECT_EQ(PeekMessageA(&posted, parent, sent.message, sent.message, PM_REMOVE) != 0, c.postedToParent);
                if (c.postedToParent) {
                    EXPECT_EQ(posted.wParam, reinterpret_cast<WPARAM>(parent));
                    EXPECT_EQ(posted.lParam, sent.lParam);
                }
            }
            DestroyQuietly(window);
            DestroyQuietly(parent);
        }
    }
}

// Seen by the probe while SaverProc handles WM_CREATE and WM_DESTROY.
struct CreationView {
    bool cursorHidden;
    POINT reference;
    HIMC context;
    bool quitPostedAtDestroy;
    int restores;
    HIMC restored;
};
CreationView creationView;

HIMC WindowInputContext(HWND window)
{
    typedef HIMC(WINAPI * GetContext)(HWND);
    typedef BOOL(WINAPI * ReleaseContext)(HWND, HIMC);
    HMODULE imm = GetModuleHandleA("IMM32.DLL");
    HIMC context = reinterpret_cast<GetContext>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetContext")))(window);
    if (context != nullptr) {
        reinterpret_cast<ReleaseContext>(reinterpret_cast<void*>(GetProcAddress(imm, "ImmReleaseContext")))(window,
                                                                                                        context);
    }
    return context;
}

void ProbeCreation(HWND window, UINT message)
{
    MSG quit;
    if (message == WM_CREATE) {
        creationView.cursorHidden = CursorHidden();
        creationView.reference = mouseReference;
        creationView.context = WindowInputContext(window);
    } else if (message == WM_DESTROY) {
        creationView.quitPostedAtDestroy = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    }
}

HIMC WINAPI RecordRestore(HWND, HIMC context)
{
    ++creationView.restores;
    creationView.restored = context;
    return nullptr;
}

TEST_F(SaverWindowProcTest, CreationDetachesTheInputMethodRecordsTheCursorAndHidesIt)
{
    // Wine loads IMM32.DLL into every process with windows, so the lookup
    // finds it without the host loading anything.
    ASSERT_NE(GetModuleHandleA("IMM32.DLL"), nullptr);
    for (bool preview : {false, true}) {
        SCOPED_TRACE(preview ? "preview" : "full screen");
        ResetHostState();
        creationView = {};
        saverProcProbe = ProbeCreation;
        previewMode = preview;
        HWND parent = preview ? CreatePlainWindow(152, 112, false) : nullptr;
        ASSERT_TRUE(MoveCursorTo(321, 234));
        ShowArrowCursor();
        HWND window = CreateSaverTestWindow(parent);
        ASSERT_NE(window, nullptr);

        EXPECT_EQ(creationView.cursorHidden, !preview);
        EXPECT_EQ(creationView.reference.x, 321);
        EXPECT_EQ(creationView.reference.y, 234);
        EXPECT_EQ(immModule, GetModuleHandleA("IMM32.DLL"));
        ASSERT_NE(savedInputContext, nullptr);
        EXPECT_EQ(creationView.context, nullptr) << "input method still attached";

        // Destruction gives back exactly the context creation took away, and
        // posts the quit message before SaverProc sees WM_DESTROY.
        const HIMC saved = savedInputContext;
        immAssociateContext = RecordRestore;
        DestroyWindow(window);
        EXPECT_EQ(creationView.restores, 1);
        EXPECT_EQ(creationView.restored, saved);
        EXPECT_TRUE(creationView.quitPostedAtDestroy);
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

TEST_F(RunSaverTest, FullScreenCoversTheScreenOnTopUntilInputClosesIt)
{
    HDC screen = GetDC(nullptr);
    RECT clip;
    GetClipBox(screen, &clip);
    ReleaseDC(nullptr, screen);
    // Off the 95/98 family nothing is verified; on it the stand-in, loaded
    // before the window and released after the loop, accepts the click.
    for (int win9x : {0, 1}) {
        SCOPED_TRACE(win9x ? "95/98 family" : "NT family");
        ResetHostState();
        win9xPlatform = win9x;
        OfferVerifier();
        verifierAtCreate = false;
        saverProcProbe = ProbeVerifierAtCreate;
        RECT rect = {};
        bool runningInLoop = false;
        HWND foundAfterRetitle = nullptr;
        char title[32] = {};
        const std::int32_t exitCode = RunSaverWith(nullptr, [&] {
            EXPECT_EQ(GetForegroundWindow(), saverWindow);
            EXPECT_EQ(GetClassLongA(saverWindow, GCL_STYLE), 0x2B);
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_WNDPROC), reinterpret_cast<LONG_PTR>(SaverWindowProc));
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HMODULE), reinterpret_cast<LONG_PTR>(instanceHandle));
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HCURSOR), 0);
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HICON), 0) << "there is no icon 100";
            EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HBRBACKGROUND),
                      reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH)));
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saverWindow, GWL_STYLE)), 0x96000000u);
            EXPECT_EQ(GetWindowLongA(saverWindow, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
            GetWindowRect(saverWindow, &rect);
            runningInLoop = ScreenSaverRunningState();
            // A retitle is refused; the single-instance key keeps working.
            SetWindowTextA(saverWindow, "Something Else");
            GetWindowTextA(saverWindow, title, sizeof title);
            foundAfterRetitle = FindWindowA(kSaverClassName, kFullScreenTitle);
            PostMessageA(saverWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        });

        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(rect.left, clip.left);
        EXPECT_EQ(rect.top, clip.top);
        EXPECT_EQ(rect.right, clip.right);
        EXPECT_EQ(rect.bottom, clip.bottom);
        EXPECT_STREQ(title, "Screen Saver");
        EXPECT_EQ(foundAfterRetitle, saverWindow);
        EXPECT_FALSE(IsWindow(saverWindow));
        EXPECT_EQ(previewMode, 0);
        EXPECT_EQ(autoPlayMessage, win9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0u);
        EXPECT_EQ(verifierAtCreate, win9x == 1);
        EXPECT_EQ(runningInLoop, win9x == 1);
        EXPECT_EQ(passwordModule, nullptr);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_FALSE(ScreenSaverRunningState());
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
    }
}

TEST_F(RunSaverTest, PreviewFillsTheParentsClientAreaAndEndsWithTheParent)
{
    // An empty client area still gets its (empty) child.
    for (SIZE size : {SIZE{152, 112}, SIZE{0, 0}}) {
        SCOPED_TRACE(size.cx);
        ResetHostState();
        win9xPlatform = 1;
        HWND parent = CreatePlainWindow(size.cx, size.cy, true);
        ASSERT_NE(parent, nullptr);
        RECT client = {};
        RECT inParent = {};
        const std::int32_t exitCode = RunSaverWith(parent, [&] {
            ASSERT_TRUE(IsWindow(saverWindow));
            GetClientRect(saverWindow, &client);
            GetWindowRect(saverWindow, &inParent);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(saverWindow, GWL_STYLE)), 0x52000000u);
            EXPECT_EQ(GetWindowLongA(saverWindow, GWL_EXSTYLE), 0);
            char title[32] = {};
            GetWindowTextA(saverWindow, title, sizeof title);
            EXPECT_STREQ(title, "Preview");
            EXPECT_EQ(GetParent(saverWindow), parent);
            DestroyWindow(parent);
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(previewMode, 1);
        EXPECT_EQ(inParent.left, 0);
        EXPECT_EQ(inParent.top, 0);
        EXPECT_EQ(client.right, size.cx);
        EXPECT_EQ(client.bottom, size.cy);
        EXPECT_EQ(autoPlayMessage, RegisterWindowMessageA("QueryCancelAutoPlay"));
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
    }
}

TEST_F(RunSaverTest, SecondFullScreenLaunchBringsTheFirstToTheFrontAndLoadsNothing)
{
    // The first saver: a window of the class with the full-screen title.
    WNDCLASSA firstClass = {};
    firstClass.lpfnWndProc = DefWindowProcA;
    firstClass.hInstance = GetModuleHandleA(nullptr);
    firstClass.lpszClassName = kSaverClassName;
    ASSERT_NE(RegisterClassA(&firstClass), 0);
    HWND first = CreateWindowExA(0, kSaverClassName, kFullScreenTitle, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(first, nullptr);
    HWND other = CreatePlainWindow(50, 50, true);
    SetForegroundWindow(other);
    win9xPlatform = 1;
    OfferVerifier();

    EXPECT_EQ(RunSaver(nullptr), 0);

    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(saverWindow, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(autoPlayMessage, 0u) << "nothing else runs";
    DestroyWindow(first);
    DestroyWindow(other);
}

TEST_F(RunSaverTest, NoWindowMeansNoLoopTheVerifierReleasedAndMinusOne)
{
    for (bool classTaken : {true, false}) {
        SCOPED_TRACE(classTaken ? "RegisterClassA fails" : "CreateWindowExA fails");
        ResetHostState();
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
        WNDCLASSA taken = {};
        taken.lpfnWndProc = DefWindowProcA;
        taken.hInstance = GetModuleHandleA(nullptr);
        taken.lpszClassName = kSaverClassName;
        // Registered already, with no window, so no running saver is found.
        if (classTaken) {
            ASSERT_NE(RegisterClassA(&taken), 0);
        }
        failWindowCreation = !classTaken;
        win9xPlatform = 1;
        OfferVerifier();
        // Queued beforehand: a loop would fetch it and end with its code.
        PostQuitMessage(7);

        EXPECT_EQ(RunSaver(nullptr), kNoWindowExitCode);

        EXPECT_EQ(saverWindow, nullptr);
        EXPECT_EQ(passwordVerifier, nullptr);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_FALSE(ScreenSaverRunningState());
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a loop took the quit message";
        EXPECT_EQ(WasForwarded(WM_CREATE), !classTaken);
    }
}

}  // namespace
