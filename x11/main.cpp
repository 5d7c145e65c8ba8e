// vimra: the XScreenSaver hack. The same SaverProc as on Windows (creation,
// a tick every 50 ms, destruction) drawing with the cairo back end into the
// daemon's window, the root window, a preview window or a window of its own.
#include <cstdio>

#include "frame_loop.h"
#include "back_buffer.h"
#include "hack_options.h"
#include "monitor_size.h"
#include "saver_proc.h"
#include "stop_signals.h"
#include "target_window.h"
#include "window_copy.h"

namespace {

int Refuse(const char* problem, const char* subject)
{
    if (subject != nullptr) {
        std::fprintf(stderr, "vimra: %s: %s\n%s", problem, subject, kUsage);
    } else {
        std::fprintf(stderr, "vimra: %s\n%s", problem, kUsage);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    HackOptions options;
    const char* problem = nullptr;
    const char* subject = nullptr;
    if (!ParseHackOptions(argc, argv, options, problem, subject)) {
        return Refuse(problem, subject);
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        std::puts("Draws a turning, morphing cloud of 600 rainbow discs.\n"
                  "  --root          in $XSCREENSAVER_WINDOW if set, else in the root window\n"
                  "  --window-id ID  in that window (decimal or 0x hex)\n"
                  "  --scale K       the picture K times as large (1 to 8); else height div 1080\n"
                  "  neither         in a window of its own; Escape or q closes it");
        return 0;
    }
    if (options.version) {
        std::puts("vimra " VIMRA_VERSION);
        return 0;
    }
    CatchStopSignals();
    if (const char* failure = OpenTarget(options)) {
        return Refuse(failure, nullptr);
    }
    backBufferScale = ChooseScale(options.scale);
    OpenWindowCopy();
    // The seam's window operations all act on the one target window.
    HWND const window = nullptr;
    SaverProc(window, WM_CREATE, 0, 0);
    RunFrameLoop(window);
    SaverProc(window, WM_DESTROY, 0, 0);
    CloseWindowCopy();
    CloseTarget();
    return 0;
}
