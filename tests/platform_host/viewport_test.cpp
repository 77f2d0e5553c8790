#include "platform/host/viewport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using platform::FitPicture;
using platform::PointToPixel;
using platform::ScaleMode;
using platform::SharpFactor;
using platform::ShownLength;
using platform::Viewport;
using platform::WholeMultiple;
using platform::WindowedSize;
using platform::WindowToPicture;

namespace {

// Streams the arguments into one string.
template <typename... Parts>
std::string Text(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

struct Mapped {
    int32_t x, y;
};
Mapped Map(const Viewport& v, int32_t wx, int32_t wy) {
    Mapped m{};
    WindowToPicture(v, wx, wy, m.x, m.y);
    return m;
}

std::string Describe(const Viewport& v) {
    return Text(v.width, "x", v.height, "+", v.x, "+", v.y);
}

struct Screen {
    int32_t w, h;
};
// The screens a new user is likely to have, and the sizes the picture must take on them.
const std::vector<Screen> COMMON_SCREENS = {{1600, 900}, {1366, 768}, {1920, 1080}, {3840, 2160}};

// The picture pixel whose scaled area [p * shown / picture, (p + 1) * shown / picture)
// holds the centre of output pixel o (o relative to the picture's edge); -1 before, picture
// after. Worked out by walking the areas, independently of the formula under test.
int32_t Containing(int64_t o, int32_t picture, int32_t shown) {
    if (2 * o + 1 < 0) {
        return -1;
    }
    for (int32_t p = 0; p < picture; ++p) {
        // 2 * (o + 0.5) * picture against 2 * p * shown, all in integers.
        if ((2 * o + 1) * picture < 2 * int64_t(p + 1) * shown) {
            return p;
        }
    }
    return picture;
}

}  // namespace

// Faults: the picture left at a whole factor (a fifth of a laptop screen), stretched out
// of 4:3, or off centre on the common screens.
TEST(FitPicture, SharpFillsTheLargestFourByThreeRectangle) {
    struct Case {
        int32_t w, h;
        Viewport want;
    };
    for (const Case& c : {
             Case{1600, 900, {200, 0, 1200, 900}}, Case{1366, 768, {171, 0, 1024, 768}},
             Case{1920, 1080, {240, 0, 1440, 1080}}, Case{3840, 2160, {480, 0, 2880, 2160}},
             Case{1280, 1024, {0, 32, 1280, 960}},  // taller than 4:3: bars above and below
             Case{1280, 960, {0, 0, 1280, 960}}, Case{640, 480, {0, 0, 640, 480}},
             Case{768, 1366, {0, 395, 768, 576}},
             Case{320, 480, {0, 120, 320, 240}},  // below the picture's size: shrinks
         }) {
        const Viewport v = FitPicture(c.w, c.h, ScaleMode::Sharp);
        EXPECT_EQ(Describe(v), Describe(c.want)) << "on " << c.w << "x" << c.h;
    }
}

// Faults: a fractional scale in integer mode (blurry, uneven pixels), the picture off
// centre, or a scale that overflows the window.
TEST(FitPicture, IntegerTakesTheLargestWholeScaleCentred) {
    struct Case {
        int32_t w, h;
        Viewport want;
    };
    for (const Case& c : {
             Case{1600, 900, {480, 210, 640, 480}},
             Case{1366, 768, {363, 144, 640, 480}},
             Case{1920, 1080, {320, 60, 1280, 960}},
             Case{3840, 2160, {640, 120, 2560, 1920}},
             Case{1280, 1024, {0, 32, 1280, 960}},
             Case{2560, 1440, {320, 0, 1920, 1440}},
             Case{1279, 959, {319, 239, 640, 480}},
             Case{640, 480, {0, 0, 640, 480}},
         }) {
        const Viewport v = FitPicture(c.w, c.h, ScaleMode::Integer);
        EXPECT_EQ(Describe(v), Describe(c.want)) << "on " << c.w << "x" << c.h;
    }
}

// Faults: a screen under 640 x 480 cropping the picture or distorting its aspect; an empty
// or degenerate window giving a negative size or dividing by zero.
TEST(FitPicture, SmallAndEmptyWindowsInBothModes) {
    for (ScaleMode mode : {ScaleMode::Sharp, ScaleMode::Integer}) {
        Viewport v = FitPicture(320, 480, mode);
        EXPECT_EQ(Describe(v), "320x240+0+120");
        v = FitPicture(800, 300, mode);
        EXPECT_EQ(Describe(v), "400x300+200+0");
        v = FitPicture(3, 1, mode);
        EXPECT_EQ(Describe(v), "1x1+1+0") << "never empty while the window isn't";
        EXPECT_EQ(FitPicture(0, 480, mode).width, 0);
        EXPECT_EQ(FitPicture(640, -1, mode).height, 0);
        EXPECT_EQ(FitPicture(640, 480, mode, 0, 480).width, 0);
    }
}

// Faults: an enlargement smaller than the viewport (the smooth step would then enlarge and
// blur), one a whole factor too big (wasted work, softer result), or an intermediate step
// taken where nearest pixels alone are exact.
TEST(SharpFactor, SmallestWholeFactorThatCoversTheViewport) {
    EXPECT_EQ(SharpFactor(FitPicture(1600, 900, ScaleMode::Sharp)), 2);   // 1.875
    EXPECT_EQ(SharpFactor(FitPicture(1366, 768, ScaleMode::Sharp)), 2);   // 1.6
    EXPECT_EQ(SharpFactor(FitPicture(1920, 1080, ScaleMode::Sharp)), 3);  // 2.25
    EXPECT_EQ(SharpFactor(FitPicture(3840, 2160, ScaleMode::Sharp)), 5);  // 4.5
    EXPECT_EQ(SharpFactor(FitPicture(320, 240, ScaleMode::Sharp)), 1);
    EXPECT_EQ(SharpFactor(Viewport{}), 1);

    EXPECT_TRUE(WholeMultiple(FitPicture(1280, 960, ScaleMode::Sharp)));
    EXPECT_TRUE(WholeMultiple(FitPicture(640, 480, ScaleMode::Sharp)));
    EXPECT_TRUE(WholeMultiple(FitPicture(2560, 1440, ScaleMode::Sharp)));  // 1920x1440, 3
    EXPECT_FALSE(WholeMultiple(FitPicture(1920, 1080, ScaleMode::Sharp)));
    EXPECT_FALSE(WholeMultiple(FitPicture(320, 240, ScaleMode::Sharp)));
    EXPECT_FALSE(WholeMultiple(Viewport{}));

    for (int32_t h = 1; h <= 2400; h += 7) {
        const Viewport v = FitPicture(h * 2, h, ScaleMode::Sharp);
        const int32_t f = SharpFactor(v);
        ASSERT_GE(int64_t(f) * 640, v.width) << Describe(v);
        ASSERT_GE(int64_t(f) * 480, v.height) << Describe(v);
        if (f > 1) {
            ASSERT_TRUE((f - 1) * 640 < v.width || (f - 1) * 480 < v.height) << Describe(v);
        }
    }
}

// Faults: the bars not accounted for, coordinates scaled the wrong way, clicks in the bars
// giving out-of-range coordinates, truncation pulling -0.5 to 0 inconsistently.
TEST(WindowToPicture, CornersAndBarsOnTheCommonScreens) {
    struct Case {
        int32_t w, h;
        ScaleMode mode;
    };
    for (const Case& c :
         {Case{1600, 900, ScaleMode::Sharp}, Case{1366, 768, ScaleMode::Sharp},
          Case{1920, 1080, ScaleMode::Sharp}, Case{3840, 2160, ScaleMode::Sharp},
          Case{1600, 900, ScaleMode::Integer}, Case{1366, 768, ScaleMode::Integer},
          Case{1920, 1080, ScaleMode::Integer}, Case{3840, 2160, ScaleMode::Integer}}) {
        const Viewport v = FitPicture(c.w, c.h, c.mode);
        SCOPED_TRACE(Text(c.w, "x", c.h, " ", Describe(v)));
        EXPECT_EQ(Map(v, v.x, v.y).x, 0);
        EXPECT_EQ(Map(v, v.x, v.y).y, 0);
        EXPECT_EQ(Map(v, v.x + v.width - 1, v.y + v.height - 1).x, 639);
        EXPECT_EQ(Map(v, v.x + v.width - 1, v.y + v.height - 1).y, 479);
        EXPECT_EQ(Map(v, v.x + v.width / 2, v.y + v.height / 2).x, 320);
        EXPECT_EQ(Map(v, v.x + v.width / 2, v.y + v.height / 2).y, 240);
        EXPECT_EQ(Map(v, 0, 0).x, 0) << "top-left corner of the screen clamps";
        EXPECT_EQ(Map(v, 0, 0).y, 0);
        EXPECT_EQ(Map(v, c.w - 1, c.h - 1).x, 639) << "bottom-right corner clamps";
        EXPECT_EQ(Map(v, c.w - 1, c.h - 1).y, 479);
        EXPECT_EQ(Map(v, -50, c.h + 50).x, 0) << "beyond the window, while captured";
        EXPECT_EQ(Map(v, -50, c.h + 50).y, 479);
        EXPECT_EQ(Map(v, v.x - 1, v.y + 1).x, 0) << "just left of the picture";
    }
}

// The mouse lands on the picture pixel shown under it, on every pixel of each common screen:
// the one whose scaled area holds the screen pixel's centre (which also gives that screen
// pixel most of its colour), with the bars clamping to the nearest edge. Faults: an
// off-by-one at fractional scales, rounding where flooring is due, the wrong axis's size,
// drift across the picture.
TEST(WindowToPicture, EveryScreenPixelMapsToThePicturePixelShownThere) {
    for (ScaleMode mode : {ScaleMode::Sharp, ScaleMode::Integer}) {
        for (const Screen& s : COMMON_SCREENS) {
            const Viewport v = FitPicture(s.w, s.h, mode);
            std::vector<int32_t> column(size_t(s.w));
            std::vector<int32_t> row(size_t(s.h));
            for (int32_t x = 0; x < s.w; ++x) {
                column[size_t(x)] = std::clamp(Containing(x - v.x, 640, v.width), 0, 639);
            }
            for (int32_t y = 0; y < s.h; ++y) {
                row[size_t(y)] = std::clamp(Containing(y - v.y, 480, v.height), 0, 479);
            }
            int64_t wrong = 0;
            std::string first;
            for (int32_t y = 0; y < s.h; ++y) {
                for (int32_t x = 0; x < s.w; ++x) {
                    const Mapped m = Map(v, x, y);
                    if (m.x != column[size_t(x)] || m.y != row[size_t(y)]) {
                        if (wrong++ == 0) {
                            first = Text("(", x, ",", y, ") -> (", m.x, ",", m.y, "), want (",
                                         column[size_t(x)], ",", row[size_t(y)], ")");
                        }
                    }
                }
            }
            EXPECT_EQ(wrong, 0) << s.w << "x" << s.h << " " << Describe(v) << ": first " << first;
        }
    }
}

// Faults: a picture column or row that no mouse position reaches (a square that can't be
// painted), or a mapping that runs backwards somewhere.
TEST(WindowToPicture, EveryPicturePixelIsReachableInOrder) {
    for (ScaleMode mode : {ScaleMode::Sharp, ScaleMode::Integer}) {
        for (const Screen& s : COMMON_SCREENS) {
            const Viewport v = FitPicture(s.w, s.h, mode);
            std::vector<bool> hitColumn(640), hitRow(480);
            int32_t last = 0;
            for (int32_t x = 0; x < s.w; ++x) {
                const int32_t px = Map(v, x, 0).x;
                ASSERT_GE(px, last) << "at x " << x << " on " << s.w << "x" << s.h;
                last = px;
                hitColumn[size_t(px)] = true;
            }
            for (int32_t y = 0; y < s.h; ++y) {
                hitRow[size_t(Map(v, 0, y).y)] = true;
            }
            EXPECT_EQ(std::count(hitColumn.begin(), hitColumn.end(), true), 640)
                << s.w << "x" << s.h;
            EXPECT_EQ(std::count(hitRow.begin(), hitRow.end(), true), 480) << s.w << "x" << s.h;
        }
    }
}

// Faults: HiDPI mouse positions (window points) used as drawable pixels, landing at half
// the distance; or a conversion that disturbs ordinary screens.
TEST(PointToPixel, HiDpiPointsBecomeDrawablePixels) {
    EXPECT_EQ(PointToPixel(123, 1920, 1920), 123);
    EXPECT_EQ(PointToPixel(-5, 1920, 1920), -5);
    EXPECT_EQ(PointToPixel(100, 960, 1920), 201) << "the point's centre, 2 pixels per point";
    EXPECT_EQ(PointToPixel(0, 960, 1920), 1);
    EXPECT_EQ(PointToPixel(959, 960, 1920), 1919);
    EXPECT_EQ(PointToPixel(-1, 960, 1920), -1) << "left of the window stays left of it";
    EXPECT_EQ(PointToPixel(100, 1280, 1920), 150) << "1.5 pixels per point";
    EXPECT_EQ(PointToPixel(7, 0, 1920), 7) << "a window of no size changes nothing";

    // A whole HiDPI screen: 1920x1080 pixels in a 960x540-point window.
    const Viewport v = FitPicture(1920, 1080, ScaleMode::Sharp);
    const Mapped centre = Map(v, PointToPixel(480, 960, 1920), PointToPixel(270, 540, 1080));
    EXPECT_EQ(centre.x, 320);
    EXPECT_EQ(centre.y, 240);
    const Mapped corner = Map(v, PointToPixel(959, 960, 1920), PointToPixel(539, 540, 1080));
    EXPECT_EQ(corner.x, 639);
    EXPECT_EQ(corner.y, 479);
}

// Faults: the cursor left at its 32-pixel size on a big screen, scaled by a whole factor
// only, or twice as big on HiDPI.
TEST(ShownLength, TheCursorFollowsThePictureScale) {
    EXPECT_EQ(ShownLength(32, FitPicture(1920, 1080, ScaleMode::Sharp), 1920, 1920), 72);
    EXPECT_EQ(ShownLength(32, FitPicture(1366, 768, ScaleMode::Sharp), 1366, 1366), 51);
    EXPECT_EQ(ShownLength(32, FitPicture(1280, 960, ScaleMode::Sharp), 1280, 1280), 64);
    EXPECT_EQ(ShownLength(32, FitPicture(3840, 2160, ScaleMode::Sharp), 1920, 3840), 72)
        << "HiDPI: in window points";
    EXPECT_EQ(ShownLength(32, FitPicture(1366, 768, ScaleMode::Integer), 1366, 1366), 32);
    EXPECT_EQ(ShownLength(32, FitPicture(20, 15, ScaleMode::Sharp), 20, 20), 1);
    EXPECT_EQ(ShownLength(32, Viewport{}, 0, 0), 1);
}

// Faults: a framed window bigger than the desktop, one that is not a whole multiple (blurry
// in a window), or one needlessly small on a big screen.
TEST(WindowedSize, LargestWholeMultipleInNinetyPercentOfTheDesktop) {
    struct Case {
        int32_t w, h;
        Viewport want;
    };
    for (const Case& c : {
             Case{1280, 960, {320, 240, 640, 480}},
             Case{1920, 1080, {320, 60, 1280, 960}},    // 972 of 1080 holds 960
             Case{1920, 1040, {640, 280, 640, 480}},    // a panel: 936 does not
             Case{2560, 1440, {640, 240, 1280, 960}},   // 1296 < 1440
             Case{3840, 2160, {640, 120, 2560, 1920}},  // 1944 holds 1920
             Case{1366, 768, {363, 144, 640, 480}},
             Case{600, 400, {-20, -40, 640, 480}},  // never below the picture's size
             Case{0, 0, {-320, -240, 640, 480}},
         }) {
        EXPECT_EQ(Describe(WindowedSize(c.w, c.h)), Describe(c.want)) << c.w << "x" << c.h;
    }
}
