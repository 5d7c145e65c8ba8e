// Discs written straight into 32-bit pixels. A back end draws a disc of one
// size once, the way its platform draws discs (GDI's Ellipse, cairo's arc),
// into a scratch square; the drawing is kept as runs of outline and fill
// along its rows, and every disc of that size is then those runs, moved to
// its place, clipped to the target and written with its colour: the very
// pixels the platform puts down there, cut off where the disc crosses the
// target's edge.
#pragma once

#include <cstdint>

#include "pixel_rows.h"

constexpr std::int32_t kMaxDiscSide = 128;  // pixels: a 16-pixel disc at 8 times its size
// The scratch drawing (0x00RRGGBB, the top byte ignored): the disc filled with
// kScratchFill and outlined in black, on kScratchOutside.
constexpr std::uint32_t kScratchOutside = 0xFFFFFF;
constexpr std::uint32_t kScratchFill = 0xFF0000;

constexpr std::int32_t kMaxDiscRuns = 4 * kMaxDiscSide;  // an ellipse has at most three a row

// One disc's drawing as runs along its rows, relative to its top-left corner.
struct DiscRuns {
    struct Run {
        std::int32_t row;
        std::int32_t begin;  // first pixel of the run
        std::int32_t end;    // pixel after the last
        std::int32_t fill;   // 1: the disc's colour; 0: the black outline
    } runs[kMaxDiscRuns];
    std::int32_t count;
    PixelBox box;  // the runs' extent
};

// Keeps the top-left width x height pixels of the scratch drawing as runs.
// Returns 0 when the disc is bigger than kMaxDiscSide, or a pixel is neither
// outside, fill nor outline: discs of that size are then drawn the platform's way.
int KeepDiscRuns(DiscRuns& kept, const PixelRows& scratch, std::int32_t width, std::int32_t height);

// A disc of the kept size with its rectangle's top-left corner at (left,
// top); `colour` is 0x00BBGGRR. Returns the part of the target that the
// runs cover (empty when they miss it).
PixelBox WriteDiscRuns(const DiscRuns& kept, const PixelRows& target, std::uint32_t colour, std::int32_t left,
                       std::int32_t top);
