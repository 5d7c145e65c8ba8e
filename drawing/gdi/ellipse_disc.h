// A disc the way GDI draws it: Ellipse with a solid brush of the colour and
// the default pen, a solid black line one pixel wide. At scale k the same
// disc k times as large and as sharp: the rectangle's ellipse filled black,
// then the colour's ellipse k - 1 pixels inside it, whose own one-pixel
// outline makes the black line k pixels wide. (No pen of another width is
// made: that would add an import that Windows 95 must find.)
#pragma once

#include <windows.h>

#include <cstdint>

#include "disc_runs.h"

// `colour` is a COLORREF (0x00BBGGRR); `outline` is k.
void DrawEllipseDisc(HDC dc, COLORREF colour, std::int32_t left, std::int32_t top, std::int32_t right,
                     std::int32_t bottom, std::int32_t outline);

// Keeps in `runs` a disc of width x height pixels outlined `outline` pixels
// wide, drawn once by DrawEllipseDisc into a scratch 32-bit DIB section, so
// that every disc of that size is written as the very pixels GDI puts down at
// its place. Returns 0 when such a disc is not kept (empty, too big or not a
// plain disc): draw it with DrawEllipseDisc.
int PrepareEllipseRuns(DiscRuns& runs, std::int32_t width, std::int32_t height, std::int32_t outline);
