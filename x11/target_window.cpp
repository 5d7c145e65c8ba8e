#include "target_window.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

Display* display;
Window targetWindow;
std::int32_t targetWidth;
std::int32_t targetHeight;
Atom deleteWindowAtom;
int windowGone;

namespace {

constexpr unsigned kOwnWidth = 800;   // pixels: the hack's own window at start
constexpr unsigned kOwnHeight = 600;

int ownWindow;       // 1: the target was created here
char reason[256];    // OpenTarget's answer on failure

// BadWindow on the target: it does not exist (a wrong id, or destroyed
// before its destruction could be watched). Other errors cannot be helped
// and are ignored, as the drawing seam ignores every failure; drawing that
// races with the target's destruction fails that way until DestroyNotify
// arrives.
int OnXError(Display*, XErrorEvent* error)
{
    if (error->error_code == BadWindow && error->resourceid == targetWindow) {
        windowGone = 1;
    }
    return 0;
}

// The server is gone (killed, or the connection cut): nothing to free.
int OnXConnectionLost(Display*)
{
    std::fputs("vimra: lost the connection to the X server\n", stderr);
    _exit(1);
}

Window CreateOwnWindow()
{
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kOwnWidth,
                                              kOwnHeight, 0, BlackPixel(display, screen),
                                              BlackPixel(display, screen));
    XStoreName(display, window, "Vimra");
    deleteWindowAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindowAtom, 1);
    XSelectInput(display, window, KeyPressMask | ExposureMask | StructureNotifyMask);
    XMapWindow(display, window);
    ownWindow = 1;
    return window;
}

// Where --root draws: the daemon names its window in hex; without the
// daemon, the root window.
const char* FindRootTarget(Window& window)
{
    const char* fromDaemon = std::getenv("XSCREENSAVER_WINDOW");
    if (fromDaemon == nullptr || *fromDaemon == '\0') {
        window = DefaultRootWindow(display);
        return nullptr;
    }
    unsigned long id;
    if (!ParseWindowId(fromDaemon, id)) {
        std::snprintf(reason, sizeof reason, "malformed XSCREENSAVER_WINDOW: %s", fromDaemon);
        return reason;
    }
    window = id;
    return nullptr;
}

}  // namespace

const char* OpenTarget(const HackOptions& options)
{
    display = XOpenDisplay(options.display);
    if (display == nullptr) {
        std::snprintf(reason, sizeof reason, "cannot open display '%s'", XDisplayName(options.display));
        return reason;
    }
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXConnectionLost);
    if (options.target == DrawTarget::kOwnWindow) {
        targetWindow = CreateOwnWindow();
    } else if (options.target == DrawTarget::kWindowId) {
        targetWindow = options.windowId;
    } else if (const char* failure = FindRootTarget(targetWindow)) {
        return failure;
    }
    if (!ownWindow) {
        // Selected before the attributes are read: a window that exists when
        // they are read will report its destruction.
        XSelectInput(display, targetWindow, ExposureMask | StructureNotifyMask);
    }
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, targetWindow, &attributes) || windowGone) {
        std::snprintf(reason, sizeof reason, "no window 0x%lx on display '%s'", targetWindow,
                      DisplayString(display));
        return reason;
    }
    const Visual* visual = attributes.visual;
    if (attributes.depth != 24 || visual->c_class != TrueColor || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0x00FF00 || visual->blue_mask != 0x0000FF) {
        std::snprintf(reason, sizeof reason, "window 0x%lx is not 24-bit TrueColor", targetWindow);
        return reason;
    }
    targetWidth = attributes.width;
    targetHeight = attributes.height;
    return nullptr;
}

void CloseTarget()
{
    if (ownWindow && !windowGone) {
        XDestroyWindow(display, targetWindow);
    }
    XCloseDisplay(display);
}
