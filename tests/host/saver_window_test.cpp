// The saver window: SaverWindowProc's handling table in both shapes, its
// creation and destruction steps, and RunSaver's class, window shapes,
// single-instance rule, failures and exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "host_fixture.h"
#include "host_state.h"
#include "input_watch.h"
#include "password_verifier.h"
#include "recording_saver_proc.h"
#include "saver_window.h"

namespace {

enum class Shape { FullScreen, Preview };
enum class Expect { No, Yes };

constexpr LRESULT kAnyResult = 0x7FFFBEEF;

struct WindowProcCase {
    const char* name;
    Shape shape;
    int granted;  // closeAllowed
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;  // kAnyResult: not checked
    Expect forwarded;
    Expect cursorHidden;
    Expect closePosted;
    Expect postedToParent;
    Expect destroyed;
};

constexpr LPARAM kKeyLParam = 0x001E0001;  // scan code 0x1E, one repeat
constexpr LPARAM kPointLParam = MAKELPARAM(3, 4);
const Expect N = Expect::No;
const Expect Y = Expect::Yes;

const WindowProcCase kWindowProcCases[] = {
    // Full screen, watching.
    {"settext", Shape::FullScreen, 0, WM_SETTEXT, 0, 0, 0, N, N, N, N, N},
    {"paint", Shape::FullScreen, 0, WM_PAINT, 0, 0, kAnyResult, Y, Y, N, N, N},
    {"help", Shape::FullScreen, 0, WM_HELP, 0, 0, kAnyResult, Y, N, N, N, N},
    {"contextmenu", Shape::FullScreen, 0, WM_CONTEXTMENU, 0, kPointLParam, kAnyResult, Y, N, N, N, N},
    {"keydown", Shape::FullScreen, 0, WM_KEYDOWN, 'A', kKeyLParam, 0, Y, N, Y, N, N},
    {"syskeydown", Shape::FullScreen, 0, WM_SYSKEYDOWN, VK_SHIFT, kKeyLParam, kAnyResult, Y, N, Y, N, N},
    {"lbutton", Shape::FullScreen, 0, WM_LBUTTONDOWN, MK_LBUTTON, kPointLParam, 0, Y, N, Y, N, N},
    {"rbutton", Shape::FullScreen, 0, WM_RBUTTONDOWN, MK_RBUTTON, kPointLParam, 0, Y, N, Y, N, N},
    {"mbutton", Shape::FullScreen, 0, WM_MBUTTONDOWN, MK_MBUTTON, kPointLParam, 0, Y, N, Y, N, N},
    {"mousemove resting", Shape::FullScreen, 0, WM_MOUSEMOVE, 0, kPointLParam, 0, Y, N, N, N, N},
    {"sc_nextwindow", Shape::FullScreen, 0, WM_SYSCOMMAND, SC_NEXTWINDOW, 0, 0, N, N, N, N, N},
    {"sc_prevwindow", Shape::FullScreen, 0, WM_SYSCOMMAND, SC_PREVWINDOW, 0, 0, N, N, N, N, N},
    {"sc_screensave", Shape::FullScreen, 0, WM_SYSCOMMAND, SC_SCREENSAVE, 0, 0, N, N, N, N, N},
    {"sc_close reaches the close", Shape::FullScreen, 0, WM_SYSCOMMAND, SC_CLOSE, 0, kAnyResult, Y, N, N, N, Y},
    {"timer", Shape::FullScreen, 0, WM_TIMER, 154, 0, 0, Y, N, N, N, N},
    {"setcursor", Shape::FullScreen, 0, WM_SETCURSOR, 0, HTCLIENT, 1, Y, Y, N, N, N},
    {"other message", Shape::FullScreen, 0, WM_NULL, 5, 6, 0, Y, N, N, N, N},
    // Full screen, closing granted.
    {"granted keydown", Shape::FullScreen, 1, WM_KEYDOWN, 'A', kKeyLParam, 0, N, N, N, N, N},
    {"granted syskeydown", Shape::FullScreen, 1, WM_SYSKEYDOWN, VK_SHIFT, kKeyLParam, kAnyResult, N, N, N, N, N},
    {"granted mousemove", Shape::FullScreen, 1, WM_MOUSEMOVE, 0, kPointLParam, 0, N, N, N, N, N},
    {"granted lbutton", Shape::FullScreen, 1, WM_LBUTTONDOWN, MK_LBUTTON, kPointLParam, 0, N, N, N, N, N},
    {"granted rbutton", Shape::FullScreen, 1, WM_RBUTTONDOWN, MK_RBUTTON, kPointLParam, 0, N, N, N, N, N},
    {"granted mbutton", Shape::FullScreen, 1, WM_MBUTTONDOWN, MK_MBUTTON, kPointLParam, 0, N, N, N, N, N},
    {"granted paint", Shape::FullScreen, 1, WM_PAINT, 0, 0, 0, N, N, N, N, N},
    {"granted timer swallowed", Shape::FullScreen, 1, WM_TIMER, 154, 0, 0, N, N, N, N, N},
    {"granted sc_screensave", Shape::FullScreen, 1, WM_SYSCOMMAND, SC_SCREENSAVE, 0, 0, N, N, N, N, N},
    {"granted settext", Shape::FullScreen, 1, WM_SETTEXT, 0, 0, 0, N, N, N, N, N},
    {"granted other message", Shape::FullScreen, 1, WM_NULL, 0, 0, 0, Y, N, N, N, N},
    // Preview: input never closes, the cursor stays, help goes to the parent.
    {"preview paint", Shape::Preview, 0, WM_PAINT, 0, 0, kAnyResult, Y, N, N, N, N},
    // The system posts no WM_HELP (its lParam points to a HELPINFO:
    // ERROR_MESSAGE_SYNC_ONLY), so the request is dropped; 1 all the same.
    {"preview help", Shape::Preview, 0, WM_HELP, 0, 0x1234, 1, N, N, N, N, N},
    {"preview contextmenu", Shape::Preview, 0, WM_CONTEXTMENU, 0, kPointLParam, 1, N, N, N, Y, N},
    {"preview keydown", Shape::Preview, 0, WM_KEYDOWN, 'A', kKeyLParam, 0, Y, N, N, N, N},
    {"preview lbutton", Shape::Preview, 0, WM_LBUTTONDOWN, MK_LBUTTON, kPointLParam, 0, Y, N, N, N, N},
    {"preview sc_nextwindow", Shape::Preview, 0, WM_SYSCOMMAND, SC_NEXTWINDOW, 0, kAnyResult, Y, N, N, N, N},
    {"preview sc_screensave", Shape::Preview, 0, WM_SYSCOMMAND, SC_SCREENSAVE, 0, kAnyResult, Y, N, N, N, N},
    {"preview timer", Shape::Preview, 0, WM_TIMER, 154, 0, 0, Y, N, N, N, N},
    {"preview setcursor", Shape::Preview, 0, WM_SETCURSOR, 0, HTNOWHERE, kAnyResult, Y, N, N, N, N},
    {"preview settext", Shape::Preview, 0, WM_SETTEXT, 0, 0, 0, N, N, N, N, N},
};

class SaverWindowProcTest : public HostTest {};

TEST_F(SaverWindowProcTest, HandlesEachMessageAsItsShapeAndStateAsk)
{
    for (const WindowProcCase& c : kWindowProcCases) {
        SCOPED_TRACE(c.name);
        ResetHostState();
        HWND parent = nullptr;
        if (c.shape == Shape::Preview) {
            previewMode = 1;
            parent = CreatePlainWindow(152, 112, false);
            ASSERT_NE(parent, nullptr);
        }
        HWND window = CreateSaverTestWindow(parent);
        ASSERT_NE(window, nullptr);
        closeAllowed = c.granted;
        DrainQueue();
        forwardedMessages.clear();
        ShowArrowCursor();
        const char* newTitle = "Changed";
        const LPARAM lParam =
            c.message == WM_SETTEXT ? reinterpret_cast<LPARAM>(newTitle) : c.lParam;

        const LRESULT result = SendMessageA(window, c.message, c.wParam, lParam);

        if (c.result != kAnyResult) {
            EXPECT_EQ(result, c.result);
        }
        const bool forwarded = WasForwarded(c.message);
        EXPECT_EQ(forwarded, c.forwarded == Y);
        if (forwarded) {
            // Forwarded with the same arguments, first of all it handled.
            EXPECT_EQ(forwardedMessages[0].message, c.message);
            EXPECT_EQ(forwardedMessages[0].wParam, c.wParam);
            EXPECT_EQ(forwardedMessages[0].lParam, lParam);
        }
        EXPECT_EQ(CursorHidden(), c.cursorHidden == Y);
        EXPECT_EQ(!IsWindow(window), c.destroyed == Y);
        if (IsWindow(window)) {
            EXPECT_EQ(TakeClose(window), c.closePosted == Y);
        }
        if (parent != nullptr) {
            MSG posted;
            const bool gotHelp =
                PeekMessageA(&posted, parent, c.message, c.message, PM_REMOVE) != 0;
            EXPECT_EQ(gotHelp, c.postedToParent == Y);
            if (gotHelp) {
                EXPECT_EQ(posted.wParam, reinterpret_cast<WPARAM>(parent));
                EXPECT_EQ(posted.lParam, c.lParam);
            }
        }
        if (c.message == WM_SETTEXT) {
            char title[32] = {};
            GetWindowTextA(window, title, sizeof title);
            EXPECT_STREQ(title, "Saver Test");
        }
        DestroyQuietly(window);
        DestroyQuietly(parent);
    }
}

// Recorded by the probe while SaverProc sees WM_CREATE or WM_DESTROY.
struct CreationView {
    bool sawCreate;
    bool cursorHiddenAtCreate;
    POINT referenceAtCreate;
    HIMC contextAtCreate;
    bool sawDestroy;
    bool quitPostedAtDestroy;
};
CreationView creationView;

HIMC WindowInputContext(HWND window)
{
    typedef HIMC(WINAPI * ImmGetContextProc)(HWND);
    typedef BOOL(WINAPI * ImmReleaseContextProc)(HWND, HIMC);
    HMODULE imm = GetModuleHandleA("IMM32.DLL");
    auto getContext = reinterpret_cast<ImmGetContextProc>(
        reinterpret_cast<void*>(GetProcAddress(imm, "ImmGetContext")));
    auto releaseContext = reinterpret_cast<ImmReleaseContextProc>(
        reinterpret_cast<void*>(GetProcAddress(imm, "ImmReleaseContext")));
    HIMC context = getContext(window);
    if (context != nullptr) {
        releaseContext(window, context);
    }
    return context;
}

void ProbeCreation(HWND window, UINT message)
{
    if (message == WM_CREATE) {
        creationView.sawCreate = true;
        creationView.cursorHiddenAtCreate = CursorHidden();
        creationView.referenceAtCreate = mouseReference;
        creationView.contextAtCreate = WindowInputContext(window);
    } else if (message == WM_DESTROY) {
        creationView.sawDestroy = true;
        MSG quit;
        creationView.quitPostedAtDestroy =
            PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
    }
}

struct RestoreCall {
    int count;
    HWND window;
    HIMC context;
};
RestoreCall restoreCall;

HIMC WINAPI RecordRestore(HWND window, HIMC context)
{
    ++restoreCall.count;
    restoreCall.window = window;
    restoreCall.context = context;
    return nullptr;
}

TEST_F(SaverWindowProcTest, CreationDetachesInputMethodRecordsCursorAndHidesIt)
{
    // Wine loads IMM32.DLL into every process with windows, so the lookup
    // finds it without the host loading anything.
    ASSERT_NE(GetModuleHandleA("IMM32.DLL"), nullptr);
    for (Shape shape : {Shape::FullScreen, Shape::Preview}) {
        SCOPED_TRACE(shape == Shape::Preview ? "preview" : "full screen");
        ResetHostState();
        creationView = {};
        restoreCall = {};
        saverProcProbe = ProbeCreation;
        HWND parent = nullptr;
        if (shape == Shape::Preview) {
            previewMode = 1;
            parent = CreatePlainWindow(152, 112, false);
        }
        ASSERT_TRUE(MoveCursorTo(321, 234));
        ShowArrowCursor();
        HWND window = CreateSaverTestWindow(parent);
        ASSERT_NE(window, nullptr);

        ASSERT_TRUE(creationView.sawCreate);
        EXPECT_EQ(creationView.cursorHiddenAtCreate, shape == Shape::FullScreen);
        EXPECT_EQ(creationView.referenceAtCreate.x, 321);
        EXPECT_EQ(creationView.referenceAtCreate.y, 234);
        EXPECT_EQ(immModule, GetModuleHandleA("IMM32.DLL"));
        EXPECT_NE(immAssociateContext, nullptr);
        EXPECT_NE(savedInputContext, nullptr);
        EXPECT_EQ(creationView.contextAtCreate, nullptr) << "input method still attached";

        // Destruction gives back exactly the context creation took away, and
        // the quit message is posted before SaverProc sees WM_DESTROY.
        const HIMC saved = savedInputContext;
        immAssociateContext = RecordRestore;
        DestroyWindow(window);
        EXPECT_EQ(restoreCall.count, 1);
        EXPECT_EQ(restoreCall.window, window);
        EXPECT_EQ(restoreCall.context, saved);
        EXPECT_TRUE(creationView.sawDestroy);
        EXPECT_TRUE(creationView.quitPostedAtDestroy);
        DestroyQuietly(nullptr);
        DestroyQuietly(parent);
    }
}

TEST_F(SaverWindowProcTest, NothingIsRestoredWhenNoContextWasDetached)
{
    restoreCall = {};
    HWND window = CreateSaverTestWindow();
    ASSERT_NE(window, nullptr);
    immAssociateContext = RecordRestore;
    savedInputContext = nullptr;
    DestroyQuietly(window);
    EXPECT_EQ(restoreCall.count, 0);
}

// Runs `inLoop` once from inside RunSaver's message loop, then, if the saver
// window still exists after a bounded time, destroys it so the test ends.
std::function<void()> loopAction;
bool loopActionRan;

void CALLBACK RunLoopAction(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    loopActionRan = true;
    loopAction();
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    ADD_FAILURE() << "the saver loop did not end in time";
    if (saverWindow != nullptr) {
        DestroyWindow(saverWindow);
    }
}

std::int32_t RunSaverWith(HWND parent, std::function<void()> inLoop)
{
    loopAction = std::move(inLoop);
    loopActionRan = false;
    SetTimer(nullptr, 0, 30, RunLoopAction);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, Watchdog);
    const std::int32_t exitCode = RunSaver(parent);
    KillTimer(nullptr, watchdog);
    return exitCode;
}

class RunSaverTest : public HostTest {
protected:
    void TearDown() override
    {
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
        HostTest::TearDown();
    }
};

TEST_F(RunSaverTest, FullScreenRunsTopmostOverTheScreenUntilAKeyCloses)
{
    HDC screen = GetDC(nullptr);
    RECT clip;
    GetClipBox(screen, &clip);
    ReleaseDC(nullptr, screen);

    RECT windowRect = {};
    LONG style = 0;
    LONG exStyle = 0;
    char title[32] = {};
    HWND foreground = nullptr;
    HWND foundAfterRetitle = nullptr;
    const std::int32_t exitCode = RunSaverWith(nullptr, [&] {
        GetWindowRect(saverWindow, &windowRect);
        style = GetWindowLongA(saverWindow, GWL_STYLE);
        exStyle = GetWindowLongA(saverWindow, GWL_EXSTYLE);
        GetWindowTextA(saverWindow, title, sizeof title);
        foreground = GetForegroundWindow();
        EXPECT_EQ(GetClassLongA(saverWindow, GCL_STYLE), 0x2B);
        EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(SaverWindowProc));
        EXPECT_EQ(GetClassLongA(saverWindow, GCL_CBCLSEXTRA), 0);
        EXPECT_EQ(GetClassLongA(saverWindow, GCL_CBWNDEXTRA), 0);
        EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HMODULE),
                  reinterpret_cast<LONG_PTR>(instanceHandle));
        EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HCURSOR), 0);
        EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HICON), 0) << "there is no icon 100";
        EXPECT_EQ(GetClassLongPtrA(saverWindow, GCLP_HBRBACKGROUND),
                  reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH)));
        // A retitle is refused; the single-instance key keeps working.
        SetWindowTextA(saverWindow, "Something Else");
        foundAfterRetitle = FindWindowA(kSaverClassName, kFullScreenTitle);
        PostMessageA(saverWindow, WM_KEYDOWN, 'A', kKeyLParam);
    });

    EXPECT_TRUE(loopActionRan);
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(windowRect.left, clip.left);
    EXPECT_EQ(windowRect.top, clip.top);
    EXPECT_EQ(windowRect.right, clip.right);
    EXPECT_EQ(windowRect.bottom, clip.bottom);
    EXPECT_EQ(static_cast<DWORD>(style), 0x96000000u);
    EXPECT_EQ(exStyle & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_STREQ(title, "Screen Saver");
    EXPECT_EQ(foreground, saverWindow);
    EXPECT_EQ(foundAfterRetitle, saverWindow);
    EXPECT_EQ(previewMode, 0);
    EXPECT_FALSE(IsWindow(saverWindow));
    EXPECT_EQ(autoPlayMessage, 0u);
}

TEST_F(RunSaverTest, PreviewFillsTheParentsClientAreaAndEndsWithTheParent)
{
    struct PreviewCase {
        int width;
        int height;
    };
    // An empty client area still gets its (empty) child.
    for (PreviewCase c : {PreviewCase{152, 112}, PreviewCase{0, 0}}) {
        SCOPED_TRACE(c.width);
        ResetHostState();
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
        win9xPlatform = 1;
        HWND parent = CreatePlainWindow(c.width, c.height, true);
        ASSERT_NE(parent, nullptr);
        RECT client = {};
        RECT inParent = {};
        LONG style = 0;
        LONG exStyle = 0;
        char title[32] = {};
        HWND saverParent = nullptr;
        bool existed = false;
        const std::int32_t exitCode = RunSaverWith(parent, [&] {
            existed = IsWindow(saverWindow) != 0;
            GetClientRect(saverWindow, &client);
            GetWindowRect(saverWindow, &inParent);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inParent), 2);
            style = GetWindowLongA(saverWindow, GWL_STYLE);
            exStyle = GetWindowLongA(saverWindow, GWL_EXSTYLE);
            GetWindowTextA(saverWindow, title, sizeof title);
            saverParent = GetParent(saverWindow);
            DestroyWindow(parent);
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(existed);
        EXPECT_EQ(previewMode, 1);
        EXPECT_EQ(static_cast<DWORD>(style), 0x52000000u);
        EXPECT_EQ(exStyle, 0);
        EXPECT_STREQ(title, "Preview");
        EXPECT_EQ(saverParent, parent);
        EXPECT_EQ(inParent.left, 0);
        EXPECT_EQ(inParent.top, 0);
        EXPECT_EQ(client.right, c.width);
        EXPECT_EQ(client.bottom, c.height);
        // Registered in both shapes on the 95/98 family.
        EXPECT_EQ(autoPlayMessage, RegisterWindowMessageA("QueryCancelAutoPlay"));
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
    HWND first = CreateWindowExA(0, kSaverClassName, kFullScreenTitle, WS_POPUP | WS_VISIBLE, 0, 0,
                                 50, 50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(first, nullptr);
    HWND other = CreatePlainWindow(50, 50, true);
    SetForegroundWindow(other);

    win9xPlatform = 1;
    const DWORD one = 1;
    SetPasswordSetting(REG_DWORD, &one, sizeof one);
    SetDllDirectoryA((ProgramFolder() + "verifying-cpl").c_str());

    EXPECT_EQ(RunSaver(nullptr), 0);
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(saverWindow, nullptr);
    EXPECT_EQ(passwordModule, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_EQ(autoPlayMessage, 0u) << "nothing else runs";
    // The class is still the first saver's: RunSaver registered nothing.
    WNDCLASSA registered = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), kSaverClassName, &registered));
    EXPECT_EQ(registered.lpfnWndProc, DefWindowProcA);

    DestroyWindow(first);
    DestroyWindow(other);
}

TEST_F(RunSaverTest, NoWindowMeansNoLoopTheVerifierReleasedAndMinusOne)
{
    enum class Failure { ClassTaken, CreationRefused };
    for (Failure failure : {Failure::ClassTaken, Failure::CreationRefused}) {
        SCOPED_TRACE(failure == Failure::ClassTaken ? "RegisterClassA fails" : "CreateWindowExA fails");
        ResetHostState();
        UnregisterClassA(kSaverClassName, GetModuleHandleA(nullptr));
        if (failure == Failure::ClassTaken) {
            // Registered already (no window, so no running saver is found).
            WNDCLASSA taken = {};
            taken.lpfnWndProc = DefWindowProcA;
            taken.hInstance = GetModuleHandleA(nullptr);
            taken.lpszClassName = kSaverClassName;
            ASSERT_NE(RegisterClassA(&taken), 0);
        } else {
            failWindowCreation = 1;
        }
        win9xPlatform = 1;
        const DWORD one = 1;
        SetPasswordSetting(REG_DWORD, &one, sizeof one);
        SetDllDirectoryA((ProgramFolder() + "verifying-cpl").c_str());

        // Queued beforehand: a loop would fetch it and end with its code.
        PostQuitMessage(7);
        EXPECT_EQ(RunSaver(nullptr), kNoWindowExitCode);
        EXPECT_EQ(saverWindow, nullptr);
        EXPECT_EQ(passwordModule, nullptr);
        EXPECT_EQ(passwordVerifier, nullptr);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
        EXPECT_FALSE(ScreenSaverRunningState());
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "a loop ran and took the quit message";
        EXPECT_EQ(failure == Failure::CreationRefused, WasForwarded(WM_CREATE));
    }
}

bool verifierLoadedAtCreate;

void ProbeVerifierAtCreate(HWND, UINT message)
{
    if (message == WM_CREATE) {
        verifierLoadedAtCreate = passwordVerifier != nullptr;
    }
}

TEST_F(RunSaverTest, VerifierLivesFromBeforeTheWindowUntilAfterTheLoop)
{
    win9xPlatform = 1;
    const DWORD one = 1;
    SetPasswordSetting(REG_DWORD, &one, sizeof one);
    SetDllDirectoryA((ProgramFolder() + "verifying-cpl").c_str());
    verifierLoadedAtCreate = false;
    saverProcProbe = ProbeVerifierAtCreate;
    bool runningInLoop = false;
    UINT autoPlayInLoop = 0;
    const std::int32_t exitCode = RunSaverWith(nullptr, [&] {
        runningInLoop = ScreenSaverRunningState();
        autoPlayInLoop = autoPlayMessage;
        // The double accepts the password for a live window.
        PostMessageA(saverWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(verifierLoadedAtCreate);
    EXPECT_TRUE(runningInLoop);
    EXPECT_EQ(autoPlayInLoop, RegisterWindowMessageA("QueryCancelAutoPlay"));
    EXPECT_EQ(closeAllowed, 1);
    EXPECT_EQ(passwordModule, nullptr);
    EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr);
    EXPECT_FALSE(ScreenSaverRunningState());
}

}  // namespace
