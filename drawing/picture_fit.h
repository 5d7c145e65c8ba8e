// Where a picture goes in an area that may be smaller than it: scaled down
// uniformly until it fits (never scaled up) and centred, the rest of the area
// left for black bars. Both previews (the Windows settings pane, an X window
// smaller than the monitor) show the whole picture this way.
#pragma once

#include <cstdint>

#include "pixel_box.h"

// The picture's place in the area, in the area's pixels: left and top of
// its scaled copy and that copy's size.
struct PictureFit {
    std::int32_t left;
    std::int32_t top;
    std::int32_t width;
    std::int32_t height;
};

// Picture and area sizes in pixels; the picture's are positive.
PictureFit FitPicture(std::int32_t pictureWidth, std::int32_t pictureHeight,
                      std::int32_t areaWidth, std::int32_t areaHeight);

// The four bars of the area round the fitted picture, in the area's pixels:
// above and below it the area's whole width, left and right of it its
// height. A bar may be empty.
struct PictureBars {
    PixelBox bars[4];
};

PictureBars BarsAround(const PictureFit& fit, std::int32_t areaWidth, std::int32_t areaHeight);

// The scale a monitor shows its picture at unless one is asked for: its
// height div 1080 and at least 1 (3840x2160 and 5120x2880 give 2; 2560x1440,
// 1920x1080 and shorter monitors 1), so the cloud takes about the share of
// the monitor it takes at 1920x1080, and whole steps keep every disc sharp.
std::int32_t MonitorScale(std::int32_t monitorHeight);
