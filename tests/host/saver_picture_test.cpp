// What the saver window shows, drawn by the real animation through GDI: the
// preview pane gets the whole picture fitted and centred, the full screen
// gets the picture unscaled at its origin.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

#include "host_state.h"
#include "platform.h"
#include "saver_proc.h"
#include "saver_window.h"

// A clock standing still at 1 s: the random generator is seeded with 1, so
// the first shape is the torus (41 mod 6 = 5), which is symmetric about the
// picture's centre, and no new shape is ever picked.
std::time_t ReadClock()
{
    return 1;
}

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

// A window with a white background and DefWindowProcA.
HWND CreatePlain(DWORD style, HWND parent, int width, int height)
{
    WNDCLASSA plain = {};
    plain.lpfnWndProc = DefWindowProcA;
    plain.hInstance = GetModuleHandleA(nullptr);
    plain.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    plain.lpszClassName = "PictureTestPlainClass";
    RegisterClassA(&plain);  // fails harmlessly once registered
    return CreateWindowExA(0, plain.lpszClassName, "", style, 0, 0, width, height, parent, nullptr,
                           plain.hInstance, nullptr);
}

// The lit (not black) pixels of a window's client area: how many, how many
// outside `image`, and their bounding box (right and bottom exclusive).
struct LitArea {
    RECT box;
    int count;
    int outside;
};

LitArea FindLit(HWND window, const RECT& image)
{
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right;
    const int h = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // rows top down
    void* bits = nullptr;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, section);
    BitBlt(memory, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    GdiFlush();
    LitArea area = {};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if ((static_cast<const std::uint32_t*>(bits)[y * w + x] & 0xFFFFFF) == 0) continue;
            ++area.count;
            area.outside += PtInRect(&image, POINT{x, y}) ? 0 : 1;
            RECT pixel = {x, y, x + 1, y + 1};
            UnionRect(&area.box, &area.box, &pixel);
        }
    }
    SelectObject(memory, previous);
    DeleteObject(section);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return area;
}

TEST(CopyToWindowTest, APaneShowsTheWholePictureFittedAndCentredTheFullScreenItUnscaled)
{
    const struct {
        const char* name;
        bool pane;  // a child window; otherwise a top-level one
        SIZE picture;
        SIZE window;
        RECT image;     // where the picture must land
        int tolerance;  // pixels; scaling blurs the edges a little
    } cases[] = {
        // 1024 x 768 fitted to the height, 80 x 60, 36 pixels in; to the width,
        // 100 x 75, 18 pixels down.
        {"wide pane", true, {1024, 768}, {152, 60}, {36, 0, 116, 60}, 2},
        {"tall pane", true, {1024, 768}, {100, 112}, {0, 18, 100, 93}, 2},
        // Larger than the picture: shown unscaled, centred.
        {"pane larger than the picture", true, {200, 150}, {300, 250}, {50, 50, 250, 200}, 0},
        // Full screen: one block copy at the origin, nothing drawn beside it.
        {"full screen", false, {200, 150}, {300, 250}, {0, 0, 200, 150}, 0},
    };
    // One parent for all panes: creating and destroying visible top-level
    // windows is slow under Wine.
    HWND parent = CreatePlain(WS_POPUP | WS_VISIBLE, nullptr, 10, 10);
    ASSERT_NE(parent, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int w = c.picture.cx;
        const int h = c.picture.cy;
        SetWindowPos(parent, nullptr, 0, 0, c.window.cx, c.window.cy, SWP_NOMOVE | SWP_NOZORDER);
        HWND target = c.pane ? CreatePlain(WS_CHILD | WS_VISIBLE, parent, c.window.cx, c.window.cy) : parent;
        ASSERT_NE(target, nullptr);
        CreateBackBuffer(target, w, h);
        ClearBackBuffer(w, h);
        // A disc in each corner of the picture marks its extent.
        DrawDisc(kWhite, 0, 0, 16, 16);
        DrawDisc(kWhite, w - 16, 0, w, 16);
        DrawDisc(kWhite, 0, h - 16, 16, h);
        DrawDisc(kWhite, w - 16, h - 16, w, h);
        // Whatever the window showed before (white) must not survive beside
        // a pane's picture, and must beside the full screen's.
        InvalidateRect(target, nullptr, TRUE);
        UpdateWindow(target);

        CopyToWindow(target, w, h);

        RECT allowed = c.image;
        InflateRect(&allowed, c.tolerance, c.tolerance);
        const LitArea lit = FindLit(target, allowed);
        if (c.pane) {
            EXPECT_EQ(lit.outside, 0) << "the bars beside the picture are not black";
            // The discs' one-pixel black outline: their lit inside starts one
            // pixel in from the picture's edges.
            EXPECT_NEAR(lit.box.left, c.image.left + 1, c.tolerance);
            EXPECT_NEAR(lit.box.top, c.image.top + 1, c.tolerance);
            EXPECT_NEAR(lit.box.right, c.image.right - 1, c.tolerance);
            EXPECT_NEAR(lit.box.bottom, c.image.bottom - 1, c.tolerance);
        } else {
            EXPECT_EQ(lit.outside, c.window.cx * c.window.cy - w * h) << "the rest is not left as it was";
            // Inside the picture only the four discs: it was copied over the white.
            EXPECT_GT(lit.count - lit.outside, 400);
            EXPECT_LT(lit.count - lit.outside, 4 * 16 * 16);
        }
        FreeBackBuffer();
        if (target != parent) DestroyWindow(target);
    }
    DestroyWindow(parent);
}

HWND paneParent;
float lastFrameAngle;
int framesSeen;

// From inside RunSaver's loop, after each new frame (the turn moved on).
void CALLBACK CheckFrame(HWND, UINT, UINT_PTR, DWORD)
{
    if (angleX == lastFrameAngle || framesSeen == 6) return;
    lastFrameAngle = angleX;
    if (++framesSeen < 3) return;
    SCOPED_TRACE(::testing::Message() << "frame " << framesSeen);
    // 1024 x 768 fitted into 152 x 112: 149 x 112 from x = 1.
    const LitArea lit = FindLit(saverWindow, {1, 0, 150, 112});
    // The torus, a seventh of its size, covers a good part of the pane.
    EXPECT_GT(lit.count, 500);
    EXPECT_EQ(lit.outside, 0);
    // Twice the centre, to stay in whole pixels: pane centre (76, 56).
    EXPECT_NEAR(lit.box.left + lit.box.right, 152, 4);
    EXPECT_NEAR(lit.box.top + lit.box.bottom, 112, 4);
    if (framesSeen == 6) DestroyWindow(paneParent);
}

void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    ADD_FAILURE() << "the saver did not end in time";
    DestroyWindow(paneParent);
}

TEST(SaverPictureTest, PreviewPaneShowsTheTurningCloudInTheMiddle)
{
    // The numbers are worked out for the runner's 1024 x 768 virtual screen.
    if (GetSystemMetrics(SM_CXSCREEN) != 1024 || GetSystemMetrics(SM_CYSCREEN) != 768) {
        GTEST_SKIP() << "needs the runner's 1024 x 768 virtual screen";
    }
    instanceHandle = GetModuleHandleA(nullptr);
    paneParent = CreatePlain(WS_POPUP | WS_VISIBLE, nullptr, 152, 112);
    ASSERT_NE(paneParent, nullptr);
    lastFrameAngle = angleX;
    const UINT_PTR frames = SetTimer(nullptr, 0, 10, CheckFrame);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 15000, Watchdog);
    EXPECT_EQ(RunSaver(paneParent), 0);
    KillTimer(nullptr, frames);
    KillTimer(nullptr, watchdog);
    EXPECT_EQ(framesSeen, 6);
}

}  // namespace
