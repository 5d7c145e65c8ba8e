// vimra-render: drives the real SaverProc with a simulated clock and draws with
// cairo, for pictures, visual checks and comparisons of the draw log.
// The clock reads T at creation and T + (MS k) div 1000 during tick k (MS is
// 50 unless --tick-ms says otherwise), so a run is reproducible from T, which
// is also the random seed.
#include <cairo.h>

#include <cstdio>
#include <ctime>

#include "back_buffer.h"
#include "draw_log.h"
#include "platform.h"
#include "render_options.h"
#include "render_platform.h"
#include "saver_proc.h"

namespace {

int SavePng(const char* pattern, std::int32_t tick)
{
    char name[4096];
    if (!FormatFrameName(pattern, tick, name, sizeof name)) {
        std::fprintf(stderr, "vimra-render: file name too long for tick %d\n", static_cast<int>(tick));
        return 0;
    }
    if (cairo_surface_write_to_png(BackBufferSurface(0), name) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "vimra-render: cannot write %s\n", name);
        return 0;
    }
    return 1;
}

}  // namespace

// No window: the frame stays in the back buffer, where the driver saves it.
void CopyToWindow(HWND, std::int32_t, std::int32_t, std::int32_t) {}

int main(int argc, char** argv)
{
    RenderOptions options;
    const char* error = nullptr;
    if (!ParseRenderOptions(argc, argv, static_cast<std::uint32_t>(std::time(nullptr)), options, error)) {
        std::fprintf(stderr, "vimra-render: %s\n", error);
        return 2;
    }

    static char logBuffer[1 << 16];
    std::setvbuf(stdout, logBuffer, _IOFBF, sizeof logBuffer);
    if (options.drawLog) {
        StartDrawLog(stdout);
    }
    renderScreenWidth = options.width;
    renderScreenHeight = options.height;
    HWND const window = nullptr;

    renderClock = options.time;
    SaverProc(window, WM_CREATE, 0, 0);
    int status = 0;
    for (std::int32_t k = 1; k <= options.frames; ++k) {
        renderTick = k;
        renderClock = static_cast<std::time_t>(options.time) + (static_cast<std::int64_t>(options.tickMs) * k) / 1000;
        SaverProc(window, WM_TIMER, kFrameTimerId, 0);
        if (options.pngPattern != nullptr && !SavePng(options.pngPattern, k)) {
            status = 1;
            break;
        }
    }
    SaverProc(window, WM_DESTROY, 0, 0);
    if (std::fflush(stdout) != 0) {
        return 1;
    }
    return status;
}
