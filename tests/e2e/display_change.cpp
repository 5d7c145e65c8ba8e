// For each line read, the monitors as Wine sees them now, in one line
// (WxH+X+Y from the desktop's top-left corner, the primary first). On a line
// "post", first what Windows does after a display change and Wine 8 does
// not: WM_DISPLAYCHANGE (the depth, the primary's size) posted to the
// full-screen saver window; "no saver" when there is none.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

BOOL CALLBACK PrintMonitor(HMONITOR, HDC, LPRECT r, LPARAM)
{
    std::printf("%ldx%ld+%d+%d ", r->right - r->left, r->bottom - r->top,
                static_cast<int>(r->left) - GetSystemMetrics(SM_XVIRTUALSCREEN),
                static_cast<int>(r->top) - GetSystemMetrics(SM_YVIRTUALSCREEN));
    return TRUE;
}

}  // namespace

int main()
{
    for (char line[16]; std::fgets(line, sizeof line, stdin);) {
        HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
        HDC screen = GetDC(nullptr);
        const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        if (std::strncmp(line, "post", 4) == 0 &&
            !(saver && PostMessageA(saver, WM_DISPLAYCHANGE, GetDeviceCaps(screen, BITSPIXEL), size))) {
            std::printf("no saver");
        } else {
            EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
        }
        ReleaseDC(nullptr, screen);
        std::puts("");
        std::fflush(stdout);
    }
}
