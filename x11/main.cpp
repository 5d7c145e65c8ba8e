// vimra: the XScreenSaver hack. The same SaverProc as on Windows (creation,
// a tick every 50 ms, destruction) drawing with the cairo back end into the
// daemon's window, the root window, a preview window or a window of its own.
#include <cstdio>

#include "fps_overlay.h"
#include "frame_loop.h"
#include "hack_options.h"
#include "saver_proc.h"
#include "screens.h"
#include "stop_signals.h"
#include "target_window.h"
#include "window_copy.h"

namespace {

// `text` on stderr with its control characters as \xNN, so that an argument
// cannot break the problem's line or send a terminal escape sequence.
void PutEscaped(const char* text)
{
    for (; *text != '\0'; ++text) {
        const unsigned char c = static_cast<unsigned char>(*text);
        if (c < 0x20 || c == 0x7F) {
            std::fprintf(stderr, "\\x%02x", c);
        } else {
            std::fputc(c, stderr);
        }
    }
}

// The problem on one line (naming the argument at fault, if any), then the usage.
int Refuse(const char* problem, const char* subject)
{
    std::fputs("vimra: ", stderr);
    PutEscaped(problem);
    if (subject != nullptr) {
        std::fputs(": ", stderr);
        PutEscaped(subject);
    }
    std::fprintf(stderr, "\n%s", kUsage);
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
        std::printf("%sDraws a turning, morphing cloud of 600 rainbow discs.\n%s", kUsage, kOptions);
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
    askedScale = options.scale;
    WatchLayoutChanges();
    OpenWindowCopy();
    fpsOverlayShown = options.fps;
    // The seam's window operations all act on the one target window.
    HWND const window = nullptr;
    SaverProc(window, WM_CREATE, 0, 0);
    RunFrameLoop(window);
    SaverProc(window, WM_DESTROY, 0, 0);
    CloseWindowCopy();
    CloseTarget();
    return 0;
}
