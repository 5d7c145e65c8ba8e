// The floor: the least any saver must do to draw this picture, and nothing
// else. A screen-sized window, a 50 ms timer, and per tick: a worst-case depth
// sort of 600 entries, a full clear of an off-screen bitmap, 600 discs with a
// brush made and freed for each, one full copy to the window. The saver's cost
// is measured as a ratio to this program's.
#include <windows.h>

#include <cstdint>

namespace {

constexpr int kDiscs = 600;
constexpr int kSpread = 480;  // pixels either side of the centre

int width;
int height;
HDC bufferDc;
HBITMAP bitmap;
HGDIOBJ previousBitmap;
std::int32_t discX[kDiscs];
std::int32_t discY[kDiscs];
std::int32_t depth[kDiscs];
COLORREF colours[kDiscs];

// A hue wheel around the RGB cube's rim, 1530 steps a turn.
COLORREF RimColour(int step)
{
    const int leg = (step / 255) % 6;
    const int t = step % 255;
    switch (leg) {
    case 0: return RGB(255, t, 0);
    case 1: return RGB(255 - t, 255, 0);
    case 2: return RGB(0, 255, t);
    case 3: return RGB(0, 255 - t, 255);
    case 4: return RGB(t, 0, 255);
    default: return RGB(255, 0, 255 - t);
    }
}

void Prepare()
{
    std::uint32_t state = 12345;
    for (int i = 0; i < kDiscs; ++i) {
        state = state * 1103515245u + 12345u;
        discX[i] = width / 2 + static_cast<std::int32_t>((state >> 8) % (2 * kSpread + 1)) - kSpread;
        state = state * 1103515245u + 12345u;
        discY[i] = height / 2 + static_cast<std::int32_t>((state >> 8) % (2 * kSpread + 1)) - kSpread;
        colours[i] = RimColour(i * 3);
    }
}

// Reversed input: 599 passes, every comparison an exchange.
void WorstCaseSort()
{
    std::int32_t x[kDiscs];
    std::int32_t y[kDiscs];
    for (int i = 0; i < kDiscs; ++i) {
        x[i] = discX[i];
        y[i] = discY[i];
        depth[i] = kDiscs - i;
    }
    int lastSwap;
    do {
        lastSwap = 0;
        for (int i = 0; i < kDiscs - 1; ++i) {
            if (depth[i] > depth[i + 1]) {
                std::int32_t t = x[i]; x[i] = x[i + 1]; x[i + 1] = t;
                t = y[i]; y[i] = y[i + 1]; y[i + 1] = t;
                t = depth[i]; depth[i] = depth[i + 1]; depth[i + 1] = t;
                lastSwap = i;
            }
        }
    } while (lastSwap != 0);
}

void Frame(HWND window)
{
    WorstCaseSort();
    BitBlt(bufferDc, 0, 0, width, height, bufferDc, 0, 0, BLACKNESS);
    for (int i = 0; i < kDiscs; ++i) {
        HBRUSH brush = CreateSolidBrush(colours[i]);
        HGDIOBJ old = SelectObject(bufferDc, brush);
        Ellipse(bufferDc, discX[i] - 8, discY[i] - 8, discX[i] + 8, discY[i] + 8);
        SelectObject(bufferDc, old);
        DeleteObject(brush);
    }
    HDC windowDc = GetDC(window);
    BitBlt(windowDc, 0, 0, width, height, bufferDc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        HDC windowDc = GetDC(window);
        bufferDc = CreateCompatibleDC(windowDc);
        bitmap = CreateCompatibleBitmap(windowDc, width, height);
        previousBitmap = SelectObject(bufferDc, bitmap);
        SetTimer(window, 1, 50, nullptr);
        return 0;
    }
    case WM_TIMER:
        Frame(window);
        return 0;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, 1);
        SelectObject(bufferDc, previousBitmap);
        DeleteObject(bitmap);
        DeleteDC(bufferDc);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
    Prepare();
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "VimraFloor";
    RegisterClassA(&wc);
    CreateWindowExA(WS_EX_TOPMOST, "VimraFloor", "Floor", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                    nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    return 0;
}
