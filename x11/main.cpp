// vimra: the XScreenSaver hack. The same SaverProc as on Windows (creation,
// a tick every 50 ms, destruction) drawing with the cairo back end into the
// daemon's window, the root window, a preview window or a window of its own.
#include <cairo.h>

#include <cstdio>
#include <cstring>

#include "back_buffer.h"
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

// Every page of the back buffers made resident at once: the hack's memory is
// then what it stays at for hours, not a figure that creeps up over the first
// minutes as the clouds first reach each part of the buffers.
void TouchBackBuffers()
{
    for (std::int32_t screen = 0; screen < kMaxScreens; ++screen) {
        cairo_surface_t* buffer = BackBufferSurface(screen);
        if (unsigned char* pixels = buffer != nullptr ? cairo_image_surface_get_data(buffer) : nullptr) {
            std::memset(pixels, 0, static_cast<std::size_t>(cairo_image_surface_get_stride(buffer)) *
                                       static_cast<std::size_t>(cairo_image_surface_get_height(buffer)));
        }
    }
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
    TouchBackBuffers();
    RunFrameLoop(window);
    SaverProc(window, WM_DESTROY, 0, 0);
    CloseWindowCopy();
    CloseTarget();
    return 0;
}
