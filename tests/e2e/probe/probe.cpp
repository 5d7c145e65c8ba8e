// A plain windowed program that the harness self-test drives in place of the
// saver, so that the harness's own reading of exit codes, windows, input and
// screen is checked against known answers.
//   probe exit N   ends at once with exit code N (decimal, may be negative)
//   probe flash    shows a small window for about 30 ms, then ends with -1
//   probe window   shows a full-screen topmost window, left half pure green and
//                  right half pure blue, and ends on the first input with
//                    0x10000 | virtual key          for a key
//                    0x20000 | 1 or 2               for a left or right click
//                    0x30000 | (dx & 0xFF) << 8 | (dy & 0xFF)
//                                                   for the first cursor move,
//                                                   measured from the cursor
//                                                   position at creation
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

POINT startCursor;
int exitCode;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        GetCursorPos(&startCursor);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        RECT left = client;
        left.right = client.right / 2;
        RECT right = client;
        right.left = left.right;
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        FillRect(dc, &left, green);
        FillRect(dc, &right, blue);
        DeleteObject(green);
        DeleteObject(blue);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        exitCode = 0x10000 | static_cast<int>(wParam & 0xFF);
        DestroyWindow(window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        exitCode = 0x20000 | (message == WM_LBUTTONDOWN ? 1 : 2);
        DestroyWindow(window);
        return 0;
    case WM_MOUSEMOVE: {
        POINT now;
        GetCursorPos(&now);
        int dx = now.x - startCursor.x;
        int dy = now.y - startCursor.y;
        if (dx != 0 || dy != 0) {
            exitCode = 0x30000 | ((dx & 0xFF) << 8) | (dy & 0xFF);
            DestroyWindow(window);
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(exitCode);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (std::strncmp(commandLine, "exit ", 5) == 0) return std::atoi(commandLine + 5);
    if (std::strcmp(commandLine, "flash") == 0) {
        HWND flash = CreateWindowExA(0, "STATIC", "Flash", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                     instance, nullptr);
        DWORD begin = GetTickCount();
        MSG message;
        while (GetTickCount() - begin < 30) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(1);
        }
        DestroyWindow(flash);
        return -1;
    }
    if (std::strcmp(commandLine, "window") != 0) return 2;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VimraE2eProbe";
    if (!RegisterClassA(&windowClass)) return 3;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "VimraE2eProbe", "Probe", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 4;
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
