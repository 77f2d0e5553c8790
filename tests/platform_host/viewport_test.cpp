#include "platform/host/viewport.h"

#include <gtest/gtest.h>

using platform::FitPicture;
using platform::Viewport;
using platform::WindowToPicture;

namespace {

struct Mapped {
    int32_t x, y;
};
Mapped Map(const Viewport& v, int32_t wx, int32_t wy) {
    Mapped m{};
    WindowToPicture(v, wx, wy, m.x, m.y);
    return m;
}

}  // namespace

// Faults: a fractional scale (blurry, uneven pixels), the picture off centre, or a scale
// that overflows the window.
TEST(FitPicture, LargestWholeScaleCentred) {
    struct Case {
        int32_t w, h, x, y, pw, ph;
    };
    for (Case c : {Case{640, 480, 0, 0, 640, 480}, Case{1920, 1080, 320, 60, 1280, 960},
                   Case{1280, 1024, 0, 32, 1280, 960}, Case{2560, 1440, 320, 0, 1920, 1440},
                   Case{1279, 959, 319, 239, 640, 480}, Case{3840, 2160, 640, 120, 2560, 1920}}) {
        const Viewport v = FitPicture(c.w, c.h);
        EXPECT_EQ(v.x, c.x) << c.w << "x" << c.h;
        EXPECT_EQ(v.y, c.y) << c.w << "x" << c.h;
        EXPECT_EQ(v.width, c.pw) << c.w << "x" << c.h;
        EXPECT_EQ(v.height, c.ph) << c.w << "x" << c.h;
    }
}

// Fault: a screen under 640 x 480 cropping the picture or distorting its aspect.
TEST(FitPicture, SmallScreensShrinkKeepingTheAspect) {
    Viewport v = FitPicture(320, 480);
    EXPECT_EQ(v.width, 320);
    EXPECT_EQ(v.height, 240);
    EXPECT_EQ(v.y, 120);
    v = FitPicture(800, 300);
    EXPECT_EQ(v.height, 300);
    EXPECT_EQ(v.width, 400);
    EXPECT_EQ(v.x, 200);
    v = FitPicture(0, 480);
    EXPECT_EQ(v.width, 0);
}

// Faults: the bars not accounted for, coordinates scaled the wrong way, clicks in the bars
// giving out-of-range coordinates, truncation pulling -0.5 to 0 inconsistently.
TEST(WindowToPicture, MapsAndClampsAtSeveralSizes) {
    const Viewport v = FitPicture(1920, 1080);  // scale 2 at (320, 60)
    EXPECT_EQ(Map(v, 320, 60).x, 0);
    EXPECT_EQ(Map(v, 321, 61).y, 0);
    EXPECT_EQ(Map(v, 322, 62).x, 1);
    EXPECT_EQ(Map(v, 320 + 1279, 60 + 959).x, 639);
    EXPECT_EQ(Map(v, 320 + 1279, 60 + 959).y, 479);
    EXPECT_EQ(Map(v, 10, 10).x, 0) << "left bar clamps";
    EXPECT_EQ(Map(v, 10, 10).y, 0);
    EXPECT_EQ(Map(v, 1900, 1070).x, 639) << "right bar clamps";
    EXPECT_EQ(Map(v, 1900, 1070).y, 479);
    EXPECT_EQ(Map(v, 319, 500).x, 0);
    EXPECT_EQ(Map(v, -50, -50).y, 0);

    const Viewport one = FitPicture(640, 480);
    EXPECT_EQ(Map(one, 123, 456).x, 123);
    EXPECT_EQ(Map(one, 123, 456).y, 456);

    const Viewport three = FitPicture(1920, 1440);  // scale 3 fills it
    EXPECT_EQ(Map(three, 3 * 100 + 2, 3 * 200 + 2).x, 100);
    EXPECT_EQ(Map(three, 3 * 100 + 2, 3 * 200 + 2).y, 200);

    const Viewport small = FitPicture(320, 480);  // half size at y 120
    EXPECT_EQ(Map(small, 160, 240).x, 320);
    EXPECT_EQ(Map(small, 160, 240).y, 240);
    EXPECT_EQ(Map(small, 160, 100).y, 0);
}
