// The About box (dialog template 103): centred on the desktop, closed by any
// command.
#include "configure.h"

POINT AboutBoxPosition(const RECT& desktop, std::int32_t width, std::int32_t height)
{
    // Signed 32-bit halving truncates toward zero, also for a box wider or
    // taller than the desktop's right or bottom edge.
    POINT corner;
    corner.x = (static_cast<std::int32_t>(desktop.right) - width) / 2;
    corner.y = (static_cast<std::int32_t>(desktop.bottom) - height) / 2;
    return corner;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        RECT desktop;
        RECT box;
        GetWindowRect(GetDesktopWindow(), &desktop);
        GetWindowRect(dialog, &box);
        const std::int32_t width = box.right - box.left;
        const std::int32_t height = box.bottom - box.top;
        const POINT corner = AboutBoxPosition(desktop, width, height);
        SetWindowPos(dialog, nullptr, corner.x, corner.y, width, height, SWP_SHOWWINDOW);
        // 1: the dialog manager gives the focus to the first tab stop (OK).
        return 1;
    }
    case WM_COMMAND:
        // OK, Enter, Escape and the close box all arrive here.
        EndDialog(dialog, 1);
        return 1;
    default:
        return 0;
    }
}
