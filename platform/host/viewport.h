// Where the 640 x 480 picture sits in a window, and window pixels back to the picture's.
// No SDL here, so the geometry can be tested on its own.
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform {

enum class ScaleMode {
    // The largest rectangle of the picture's aspect, scaled by whole factors with nearest
    // pixels and then smoothly down to the final size.
    Sharp,
    // The largest whole factor only; the rest of the screen stays black.
    Integer,
};

struct Viewport {
    int32_t x = 0;  // the picture's place in the window, in window pixels
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

namespace viewport_detail {

inline int64_t FloorDiv(int64_t n, int64_t d) {
    int64_t q = n / d;
    if (n % d != 0 && (n < 0) != (d < 0)) {
        --q;
    }
    return q;
}

// The largest size of the picture's aspect that fits, never empty.
inline Viewport FitAspect(int32_t windowWidth, int32_t windowHeight, int32_t pictureWidth,
                          int32_t pictureHeight) {
    Viewport v;
    if (int64_t(windowWidth) * pictureHeight <= int64_t(windowHeight) * pictureWidth) {
        v.width = windowWidth;
        v.height =
            std::max<int32_t>(1, int32_t(int64_t(windowWidth) * pictureHeight / pictureWidth));
    } else {
        v.height = windowHeight;
        v.width =
            std::max<int32_t>(1, int32_t(int64_t(windowHeight) * pictureWidth / pictureHeight));
    }
    return v;
}

}  // namespace viewport_detail

// The picture's rectangle in a window of the given size, centred. Sharp fills the largest
// rectangle of the picture's aspect; Integer takes the largest whole scale, and below the
// picture's size shrinks to fit with the aspect kept.
inline Viewport FitPicture(int32_t windowWidth, int32_t windowHeight, ScaleMode mode,
                           int32_t pictureWidth = 640, int32_t pictureHeight = 480) {
    Viewport v;
    if (windowWidth <= 0 || windowHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return v;
    }
    const int32_t scale = std::min(windowWidth / pictureWidth, windowHeight / pictureHeight);
    if (mode == ScaleMode::Integer && scale >= 1) {
        v.width = pictureWidth * scale;
        v.height = pictureHeight * scale;
    } else {
        v = viewport_detail::FitAspect(windowWidth, windowHeight, pictureWidth, pictureHeight);
    }
    v.x = (windowWidth - v.width) / 2;
    v.y = (windowHeight - v.height) / 2;
    return v;
}

// The whole factor a sharp presentation first enlarges the picture by with nearest pixels:
// the smallest that covers the viewport, so the smooth step only ever shrinks, by less than
// one whole factor. 1 for a viewport at or below the picture's size.
inline int32_t SharpFactor(const Viewport& v, int32_t pictureWidth = 640,
                           int32_t pictureHeight = 480) {
    if (v.width <= 0 || v.height <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return 1;
    }
    const int32_t fx = int32_t((int64_t(v.width) + pictureWidth - 1) / pictureWidth);
    const int32_t fy = int32_t((int64_t(v.height) + pictureHeight - 1) / pictureHeight);
    return std::max({1, fx, fy});
}

// True when the viewport is the picture scaled by a whole factor, which nearest pixels show
// exactly with no smoothing step.
inline bool WholeMultiple(const Viewport& v, int32_t pictureWidth = 640,
                          int32_t pictureHeight = 480) {
    if (v.width <= 0 || v.height <= 0) {
        return false;
    }
    const int32_t f = SharpFactor(v, pictureWidth, pictureHeight);
    return v.width == int64_t(pictureWidth) * f && v.height == int64_t(pictureHeight) * f;
}

// A window pixel in picture pixels: the picture pixel whose scaled area holds the window
// pixel's centre, which is also the one that gives that pixel most of its colour. Window
// pixels outside the picture (the black bars, or beyond the window) map to its nearest edge.
inline void WindowToPicture(const Viewport& v, int32_t wx, int32_t wy, int32_t& px, int32_t& py,
                            int32_t pictureWidth = 640, int32_t pictureHeight = 480) {
    if (v.width <= 0 || v.height <= 0) {
        px = 0;
        py = 0;
        return;
    }
    // Floor division, so that a pixel just left of the picture doesn't truncate to 0 the way
    // one inside does, whatever the scale.
    auto toPicture = [](int64_t d, int32_t picture, int32_t shown) {
        return viewport_detail::FloorDiv((2 * d + 1) * picture, 2 * int64_t(shown));
    };
    px = int32_t(std::clamp<int64_t>(toPicture(int64_t(wx) - v.x, pictureWidth, v.width), 0,
                                     pictureWidth - 1));
    py = int32_t(std::clamp<int64_t>(toPicture(int64_t(wy) - v.y, pictureHeight, v.height), 0,
                                     pictureHeight - 1));
}

// A mouse position, which comes in window points, as a drawable pixel. On a HiDPI desktop
// the drawable has more pixels than the window has points; the point's centre decides.
inline int32_t PointToPixel(int32_t point, int32_t windowPoints, int32_t drawablePixels) {
    if (windowPoints <= 0 || drawablePixels <= 0 || windowPoints == drawablePixels) {
        return point;
    }
    const int64_t p = viewport_detail::FloorDiv((2 * int64_t(point) + 1) * drawablePixels,
                                                2 * int64_t(windowPoints));
    return int32_t(std::clamp<int64_t>(p, INT32_MIN, INT32_MAX));
}

// A length in picture pixels (the cursor's side) as shown, in window points: the picture's
// scale, less the drawable's pixels per point on a HiDPI desktop. Rounded, at least 1.
inline int32_t ShownLength(int32_t length, const Viewport& v, int32_t windowPoints,
                           int32_t drawablePixels, int32_t pictureWidth = 640) {
    if (pictureWidth <= 0) {
        return 1;
    }
    if (windowPoints <= 0 || drawablePixels <= 0) {
        windowPoints = drawablePixels = 1;
    }
    const int64_t num = int64_t(std::max(0, length)) * std::max(0, v.width) * windowPoints;
    const int64_t den = int64_t(pictureWidth) * drawablePixels;
    return int32_t(std::clamp<int64_t>((2 * num + den) / (2 * den), 1, INT32_MAX));
}

// The size of a framed window: the largest whole multiple of the picture that fits in 90 %
// of the usable desktop, at least the picture itself.
inline Viewport WindowedSize(int32_t usableWidth, int32_t usableHeight, int32_t pictureWidth = 640,
                             int32_t pictureHeight = 480) {
    const int64_t byWidth = int64_t(std::max(0, usableWidth)) * 9 / (int64_t(pictureWidth) * 10);
    const int64_t byHeight = int64_t(std::max(0, usableHeight)) * 9 / (int64_t(pictureHeight) * 10);
    const int32_t factor = int32_t(std::max<int64_t>(1, std::min(byWidth, byHeight)));
    Viewport v;
    v.width = pictureWidth * factor;
    v.height = pictureHeight * factor;
    v.x = (usableWidth - v.width) / 2;
    v.y = (usableHeight - v.height) / 2;
    return v;
}

}  // namespace platform
