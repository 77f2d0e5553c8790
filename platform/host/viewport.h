// Where the 640 x 480 picture sits in a window, and window pixels back to the picture's.
// No SDL here, so the mapping can be tested on its own.
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform {

struct Viewport {
    int32_t x = 0;  // the picture's place in the window, in window pixels
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The largest whole scale that fits, centred; below 640 x 480 the picture shrinks to fit
// with its aspect kept.
inline Viewport FitPicture(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth = 640,
                           int32_t pictureHeight = 480) {
    Viewport v;
    if (windowWidth <= 0 || windowHeight <= 0) {
        return v;
    }
    const int32_t scale = std::min(windowWidth / pictureWidth, windowHeight / pictureHeight);
    if (scale >= 1) {
        v.width = pictureWidth * scale;
        v.height = pictureHeight * scale;
    } else if (int64_t(windowWidth) * pictureHeight <= int64_t(windowHeight) * pictureWidth) {
        v.width = windowWidth;
        v.height =
            std::max<int32_t>(1, int32_t(int64_t(windowWidth) * pictureHeight / pictureWidth));
    } else {
        v.height = windowHeight;
        v.width =
            std::max<int32_t>(1, int32_t(int64_t(windowHeight) * pictureWidth / pictureHeight));
    }
    v.x = (windowWidth - v.width) / 2;
    v.y = (windowHeight - v.height) / 2;
    return v;
}

// A window position in picture pixels, clamped to the picture (the black bars map to its
// nearest edge).
inline void WindowToPicture(const Viewport& v, int32_t wx, int32_t wy, int32_t& px, int32_t& py,
                            int32_t pictureWidth = 640, int32_t pictureHeight = 480) {
    if (v.width <= 0 || v.height <= 0) {
        px = 0;
        py = 0;
        return;
    }
    const int64_t dx = int64_t(wx) - v.x;
    const int64_t dy = int64_t(wy) - v.y;
    // Floor division, so a pixel just left of the picture doesn't round to column 0 by
    // truncation while one inside does.
    auto scaled = [](int64_t d, int32_t picture, int32_t shown) {
        const int64_t n = d * picture;
        int64_t q = n / shown;
        if (n % shown != 0 && n < 0) {
            --q;
        }
        return q;
    };
    px = int32_t(std::clamp<int64_t>(scaled(dx, pictureWidth, v.width), 0, pictureWidth - 1));
    py = int32_t(std::clamp<int64_t>(scaled(dy, pictureHeight, v.height), 0, pictureHeight - 1));
}

}  // namespace platform
