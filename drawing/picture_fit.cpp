#include "picture_fit.h"

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
