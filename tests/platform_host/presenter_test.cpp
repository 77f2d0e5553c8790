// The presentation as SDL's software renderer draws it (into memory; no display needed).
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/sdl_offscreen.h"
#include "platform/host/viewport.h"

using platform::FitPicture;
using platform::ScaleMode;
using platform::SdlOffscreen;
using platform::Viewport;
using platform::WindowToPicture;

namespace {

// Streams the arguments into one string.
template <typename... Parts>
std::string Text(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

// A 640 x 480 page of 5-6-5 pixels.
struct Page {
    std::vector<uint16_t> pixels = std::vector<uint16_t>(640 * 480);
    template <typename F>
    explicit Page(F colour) {
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                pixels[size_t(y) * 640 + size_t(x)] = colour(x, y);
            }
        }
    }
    const uint8_t* data() const { return reinterpret_cast<const uint8_t*>(pixels.data()); }
};

// 5-6-5 to 0xRRGGBB, replicating the high bits.
uint32_t Expand(uint16_t p) {
    const uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return ((r << 3) | (r >> 2)) << 16 | ((g << 2) | (g >> 4)) << 8 | ((b << 3) | (b >> 2));
}

bool Inside(const Viewport& v, int32_t x, int32_t y) {
    return x >= v.x && y >= v.y && x < v.x + v.width && y < v.y + v.height;
}

// Every output pixel: the picture's colour inside the viewport, black outside. Returns the
// number of pixels that differ and describes the first.
int64_t CountWrong(const SdlOffscreen& out, int32_t w, int32_t h, const Viewport& v,
                   uint32_t colour, std::string& first) {
    int64_t wrong = 0;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t want = Inside(v, x, y) ? colour : 0;
            if (out.Pixel(x, y) != want && wrong++ == 0) {
                first = Text(x, ",", y);
            }
        }
    }
    return wrong;
}

}  // namespace

// Faults: the picture not covering its rectangle exactly (a gap, or a row or column over the
// bars), bars left uncleared, colours expanded wrongly or changed by the smoothing step.
TEST(SdlPresenter, FillsExactlyTheRectangleWithTrueColours) {
    struct Case {
        int32_t w, h;
        ScaleMode mode;
    };
    const Page page([](int, int) { return uint16_t(0x7BEF); });  // 15, 31, 15
    ASSERT_EQ(Expand(0x7BEF), 0x7B7D7Bu);
    for (const Case& c : {Case{1366, 768, ScaleMode::Sharp}, Case{1600, 900, ScaleMode::Sharp},
                          Case{1280, 1024, ScaleMode::Sharp}, Case{1366, 768, ScaleMode::Integer},
                          Case{500, 400, ScaleMode::Sharp}}) {
        SdlOffscreen out(c.w, c.h);
        ASSERT_TRUE(out.Ready());
        const Viewport v = FitPicture(c.w, c.h, c.mode);
        out.Present(page.data(), 1280, v, c.mode == ScaleMode::Sharp);
        std::string first;
        EXPECT_EQ(CountWrong(out, c.w, c.h, v, 0x7B7D7B, first), 0)
            << c.w << "x" << c.h << ": first at " << first;
    }
    const Page primaries([](int x, int) {
        return uint16_t(x < 200 ? 0xF800 : x < 400 ? 0x07E0 : x < 600 ? 0x001F : 0x0821);
    });
    SdlOffscreen out(640, 480);
    out.Present(primaries.data(), 1280, FitPicture(640, 480, ScaleMode::Sharp), true);
    EXPECT_EQ(out.Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(out.Pixel(300, 10), 0x00FF00u);
    EXPECT_EQ(out.Pixel(500, 479), 0x0000FFu);
    EXPECT_EQ(out.Pixel(639, 0), 0x080408u) << "the lowest bits replicate from the top";
}

// What is shown where the mouse maps: at fractional scales each screen pixel's colour comes
// mostly from the picture pixel WindowToPicture names, so a click lands on what is seen
// there. Faults: a smoothing step that shifts the picture by a pixel against the mapping,
// or a mapping that rounds where the drawing floors.
TEST(SdlPresenter, EachScreenPixelShowsMostlyThePixelTheMouseMapsTo) {
    const Page columns([](int x, int) { return uint16_t(x % 2 ? 0xFFFF : 0x0000); });
    const Page rows([](int, int y) { return uint16_t(y % 2 ? 0xFFFF : 0x0000); });
    for (auto [w, h] : {std::pair{1366, 768}, std::pair{1920, 1080}, std::pair{1600, 900}}) {
        SdlOffscreen out(w, h);
        ASSERT_TRUE(out.Ready());
        const Viewport v = FitPicture(w, h, ScaleMode::Sharp);
        int64_t wrong = 0;
        std::string first;
        auto check = [&](int32_t x, int32_t y, int32_t mapped) {
            const uint32_t grey = out.Pixel(x, y) & 0xFF;
            if (grey > 0x78 && grey < 0x88) {
                return;  // an even blend: both pixels are shown there
            }
            if ((grey >= 0x80) != (mapped % 2 == 1) && wrong++ == 0) {
                first = Text(x, ",", y, " grey ", grey, " mapped ", mapped);
            }
        };
        out.Present(columns.data(), 1280, v, true);
        for (int32_t x = v.x; x < v.x + v.width; ++x) {
            int32_t px = 0, py = 0;
            WindowToPicture(v, x, v.y + 7, px, py);
            check(x, v.y + 7, px);
        }
        out.Present(rows.data(), 1280, v, true);
        for (int32_t y = v.y; y < v.y + v.height; ++y) {
            int32_t px = 0, py = 0;
            WindowToPicture(v, v.x + 7, y, px, py);
            check(v.x + 7, y, py);
        }
        EXPECT_EQ(wrong, 0) << w << "x" << h << ": first " << first;
    }
}

// Faults: plain smoothing (every pixel a blend: blurry) or plain nearest pixels (columns
// doubled unevenly) where sharp scaling is asked for.
TEST(SdlPresenter, SharpBlendsAtMostOnePixelPerEdge) {
    const Page columns([](int x, int) { return uint16_t(x % 2 ? 0xFFFF : 0x0000); });
    SdlOffscreen out(1920, 1080);
    const Viewport v = FitPicture(1920, 1080, ScaleMode::Sharp);  // 2.25
    out.Present(columns.data(), 1280, v, true);
    EXPECT_EQ(out.EnlargedFactor(), 3);
    int blended = 0;
    for (int32_t x = v.x; x < v.x + v.width; ++x) {
        const uint32_t grey = out.Pixel(x, 500) & 0xFF;
        blended += grey != 0 && grey != 0xFF;
    }
    EXPECT_LE(blended, 639) << "more blends than edges: smoothed from the small picture";
    EXPECT_GE(blended, 320) << "too few blends for 2.25: nearest pixels, unevenly doubled";
}

// Faults: a smoothing step at a whole factor (soft pixels where nearest is exact), or
// integer mode scaled fractionally.
TEST(SdlPresenter, WholeFactorsAndIntegerModeAreExactNearestPixels) {
    const Page varied([](int x, int y) { return uint16_t(x * 31 + y * 977); });
    struct Case {
        int32_t w, h;
        ScaleMode mode;
        int32_t scale;
    };
    for (const Case& c :
         {Case{1280, 1024, ScaleMode::Sharp, 2}, Case{1920, 1080, ScaleMode::Integer, 2},
          Case{1366, 768, ScaleMode::Integer, 1}}) {
        SdlOffscreen out(c.w, c.h);
        const Viewport v = FitPicture(c.w, c.h, c.mode);
        out.Present(varied.data(), 1280, v, c.mode == ScaleMode::Sharp);
        EXPECT_EQ(out.EnlargedFactor(), 0) << "no intermediate step";
        int64_t wrong = 0;
        for (int32_t y = 0; y < v.height; ++y) {
            for (int32_t x = 0; x < v.width; ++x) {
                wrong += out.Pixel(v.x + x, v.y + y) !=
                         Expand(varied.pixels[size_t(y / c.scale) * 640 + size_t(x / c.scale)]);
            }
        }
        EXPECT_EQ(wrong, 0) << c.w << "x" << c.h;
    }
}

// Faults: the enlarged picture kept from an earlier upload (a new frame never shown), or
// kept at the old factor when the viewport grows.
TEST(SdlPresenter, NewPicturesAndNewSizesAreDrawnAfresh) {
    const Page red([](int, int) { return uint16_t(0xF800); });
    const Page blue([](int, int) { return uint16_t(0x001F); });
    SdlOffscreen out(3840, 2160);
    ASSERT_TRUE(out.Ready());
    const Viewport small = FitPicture(1366, 768, ScaleMode::Sharp);
    const Viewport big = FitPicture(3840, 2160, ScaleMode::Sharp);
    out.Present(red.data(), 1280, small, true);
    EXPECT_EQ(out.EnlargedFactor(), 2);
    EXPECT_EQ(out.Pixel(small.x + 500, small.y + 300), 0xFF0000u);
    out.Present(blue.data(), 1280, small, true);
    EXPECT_EQ(out.Pixel(small.x + 500, small.y + 300), 0x0000FFu);
    out.Redraw(big, true);
    EXPECT_EQ(out.EnlargedFactor(), 5);
    EXPECT_EQ(out.Pixel(big.x + 2879, big.y + 2159), 0x0000FFu);
    EXPECT_EQ(out.Pixel(big.x - 1, big.y + 100), 0u) << "the bar, once covered by the small one";
    out.Present(red.data(), 1280, big, true);
    EXPECT_EQ(out.Pixel(big.x + 1000, big.y + 1000), 0xFF0000u);
}
