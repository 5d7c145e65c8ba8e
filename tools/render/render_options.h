// The command line of vimra-render:
//   vimra-render [--time T] [--frames N] [--size WxH] [--tick-ms MS] [--png PATTERN] [--draw-log]
#pragma once

#include <cstdint>

struct RenderOptions {
    std::uint32_t time;        // clock at creation, and the random seed
    std::int32_t frames;       // ticks to render; 0: creation only
    std::int32_t width;        // screen size in pixels
    std::int32_t height;
    std::int32_t tickMs;       // simulated milliseconds between ticks
    const char* pngPattern;    // one %d or %0Nd, replaced by the tick; null: no PNGs
    std::int32_t drawLog;      // 1: one line per disc on stdout
};

// Fills `options` from argv (defaults: time = now, 1 frame, 1024x768, 50 ms ticks).
// On a bad command line returns 0 and points `error` at a one-line reason.
int ParseRenderOptions(int argc, char** argv, std::uint32_t now, RenderOptions& options,
                       const char*& error);

// Writes the file name for tick k into `out` (at most `size` bytes with the
// terminating zero). Returns 0 when it does not fit.
int FormatFrameName(const char* pattern, std::int32_t tick, char* out, std::size_t size);
