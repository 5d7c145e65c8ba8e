// The About box: its position arithmetic, its procedure's answers, and the
// ways a user closes it, on real dialogs made from the program's template.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>

#include "configure.h"
#include "dialog_watch.h"

namespace {

struct PositionCase {
    const char* what;
    RECT desktop;
    std::int32_t width;
    std::int32_t height;
    LONG x;
    LONG y;
};

TEST(AboutBoxPosition, CentresAgainstTheDesktopsRightAndBottomEdges)
{
    const PositionCase cases[] = {
        {"even differences", {0, 0, 1024, 768}, 300, 200, 362, 284},
        {"odd differences round toward zero", {0, 0, 1024, 768}, 301, 203, 361, 282},
        {"box as large as the desktop", {0, 0, 640, 480}, 640, 480, 0, 0},
        {"desktop not at 0,0 uses right and bottom, not width and height",
         {-200, -100, 1080, 700}, 280, 200, 400, 250},
        {"desktop starting right and below the origin", {100, 50, 1124, 818}, 300, 200, 412, 309},
        // Negative odd differences: truncation toward zero gives -100, not
        // the -101 that a shift or a floor would give.
        {"box wider and taller than the desktop's edges", {0, 0, 100, 60}, 301, 63, -100, -1},
        {"zero-sized box", {0, 0, 1023, 767}, 0, 0, 511, 383},
    };
    for (const PositionCase& c : cases) {
        const POINT corner = AboutBoxPosition(c.desktop, c.width, c.height);
        EXPECT_EQ(corner.x, c.x) << c.what;
        EXPECT_EQ(corner.y, c.y) << c.what;
    }
}

// A modeless copy of the About box, made from the program's own template
// with a procedure that does nothing, so each test can hand the real
// procedure one message at a time.
class AboutDialog : public testing::Test {
protected:
    void SetUp() override
    {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAboutDialogId), nullptr,
                                    InertProc, 0);
        ASSERT_NE(dialog, nullptr) << GetLastError();
    }
    void TearDown() override
    {
        if (dialog != nullptr) DestroyWindow(dialog);
    }
    static INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

    HWND dialog = nullptr;
};

TEST_F(AboutDialog, InitialisationCentresAndShowsTheBoxAndAsksForDefaultFocus)
{
    RECT before;
    ASSERT_TRUE(GetWindowRect(dialog, &before));
    ASSERT_FALSE(IsWindowVisible(dialog)) << "the template has no WS_VISIBLE";
    const LONG width = before.right - before.left;
    const LONG height = before.bottom - before.top;
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);

    EXPECT_EQ(AboutDialogProc(dialog, WM_INITDIALOG, 0, 0), 1);

    RECT desktop;
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
    RECT after;
    ASSERT_TRUE(GetWindowRect(dialog, &after));
    EXPECT_EQ(after.left, (desktop.right - width) / 2);
    EXPECT_EQ(after.top, (desktop.bottom - height) / 2);
    EXPECT_EQ(after.right - after.left, width) << "size kept";
    EXPECT_EQ(after.bottom - after.top, height) << "size kept";
    // Centred on the screen to within the half pixel lost by truncation.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((after.left + after.right) - screenWidth), 1);
    EXPECT_LE(std::abs((after.top + after.bottom) - screenHeight), 1);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(AboutDialog, AnswersEveryCommandWithOneAndEverythingElseWithZero)
{
    struct MessageCase {
        const char* what;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        INT_PTR answer;
    };
    HWND okButton = GetDlgItem(dialog, IDOK);
    ASSERT_NE(okButton, nullptr);
    const MessageCase cases[] = {
        {"OK clicked", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(okButton), 1},
        {"Escape (IDCANCEL)", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, 1},
        {"a static's notification", WM_COMMAND, MAKEWPARAM(0xFFFF, STN_CLICKED), 0, 1},
        {"a menu or accelerator command", WM_COMMAND, MAKEWPARAM(1234, 1), 0, 1},
        {"paint", WM_PAINT, 0, 0, 0},
        {"close (the dialog manager turns it into IDCANCEL)", WM_CLOSE, 0, 0, 0},
        {"timer", WM_TIMER, 1, 0, 0},
        {"key down", WM_KEYDOWN, VK_RETURN, 0, 0},
        {"system command", WM_SYSCOMMAND, SC_CLOSE, 0, 0},
        {"null message", WM_NULL, 0, 0, 0},
        {"an application message", WM_APP, 1, 2, 0},
    };
    for (const MessageCase& c : cases) {
        EXPECT_EQ(AboutDialogProc(dialog, c.message, c.wParam, c.lParam), c.answer) << c.what;
    }
}

// Runs the About box modally from the program's template, does `close` to it
// once it shows, and returns DialogBoxParamA's result.
INT_PTR RunAboutBox(const std::function<void(HWND)>& close, DialogSighting* sighting)
{
    DialogWatch watch("Vimra 1.0", close);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAboutDialogId), nullptr,
                                           AboutDialogProc, 0);
    *sighting = watch.Sighting();
    return result;
}

TEST(AboutBox, EveryWayOfClosingItEndsTheBoxWithOne)
{
    struct CloseCase {
        const char* what;
        std::function<void(HWND)> close;
    };
    const CloseCase cases[] = {
        {"OK button clicked", [](HWND box) { PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }},
        {"Enter on the focused control",
         [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); }},
        {"Escape on the focused control",
         [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"caption's close box", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"a command from a static", [](HWND box) {
             PostMessageA(box, WM_COMMAND, MAKEWPARAM(0xFFFF, STN_CLICKED), 0);
         }},
    };
    for (const CloseCase& c : cases) {
        DialogSighting seen;
        const INT_PTR result = RunAboutBox(c.close, &seen);
        EXPECT_EQ(result, 1) << c.what;
        ASSERT_TRUE(seen.found) << c.what;
        EXPECT_FALSE(seen.forced) << c.what << ": did not end by itself";
        EXPECT_TRUE(seen.visible) << c.what;
        EXPECT_TRUE(seen.focusOnOk) << c.what << ": focus is on the first tab stop, OK";
        EXPECT_EQ(seen.owner, nullptr) << c.what;
    }
}

}  // namespace
