#include "picture_fit.h"

#include <algorithm>

PictureFit FitPicture(std::int32_t pictureWidth, std::int32_t pictureHeight,
                      std::int32_t areaWidth, std::int32_t areaHeight)
{
    std::int32_t width = pictureWidth;
    std::int32_t height = pictureHeight;
    if (width > areaWidth || height > areaHeight) {
        // Products in 64 bits: picture times area sizes can pass 2^31.
        if (static_cast<std::int64_t>(areaWidth) * pictureHeight <=
            static_cast<std::int64_t>(areaHeight) * pictureWidth) {
            width = areaWidth;
            height = static_cast<std::int32_t>(static_cast<std::int64_t>(pictureHeight) * areaWidth / pictureWidth);
        } else {
            height = areaHeight;
            width = static_cast<std::int32_t>(static_cast<std::int64_t>(pictureWidth) * areaHeight / pictureHeight);
        }
    }
    return {(areaWidth - width) / 2, (areaHeight - height) / 2, width, height};
}

PictureBars BarsAround(const PictureFit& fit, std::int32_t areaWidth, std::int32_t areaHeight)
{
    const std::int32_t right = fit.left + fit.width;
    const std::int32_t bottom = fit.top + fit.height;
    return {{{0, 0, areaWidth, fit.top},
             {0, bottom, areaWidth, areaHeight},
             {0, fit.top, fit.left, bottom},
             {right, fit.top, areaWidth, bottom}}};
}

std::int32_t MonitorScale(std::int32_t monitorHeight)
{
    constexpr std::int32_t kHeightPerStep = 1080;  // monitor pixels a step of the scale
    return std::max(monitorHeight / kHeightPerStep, 1);
}
