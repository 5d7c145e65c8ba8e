// For each line read, the monitors as Wine sees them now, in one line
// (WxH+X+Y from the desktop's top-left corner, the primary first). On a line
// "post", first what Windows does after a display change and Wine 8 does
// not: WM_DISPLAYCHANGE (the depth, the primary's size) posted to the
// full-screen saver window; "no saver" when there is none.
#include <windows.h>

#include <cstdio>
#include <cstring>

BOOL CALLBACK PrintMonitor(HMONITOR, HDC, LPRECT r, LPARAM)
{
    std::printf("%ldx%ld+%ld+%ld ", r->right - r->left, r->bottom - r->top,
                r->left - GetSystemMetrics(SM_XVIRTUALSCREEN), r->top - GetSystemMetrics(SM_YVIRTUALSCREEN));
    return TRUE;
}

int main()
{
    for (char line[16]; std::fgets(line, sizeof line, stdin); std::fflush(stdout)) {
        HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
        HDC screen = GetDC(nullptr);
        const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        const bool post = std::strncmp(line, "post", 4) == 0;
        if (post && !(saver && PostMessageA(saver, WM_DISPLAYCHANGE, GetDeviceCaps(screen, BITSPIXEL), size))) {
            std::puts("no saver");
        } else {
            EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
            std::puts("");
        }
        ReleaseDC(nullptr, screen);
    }
}
