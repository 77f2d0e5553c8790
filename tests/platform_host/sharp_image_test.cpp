#include "platform/host/sharp_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using platform::HardenAlpha;
using platform::HostImage;
using platform::ScaleImageSharp;

namespace {

HostImage Image(int32_t w, int32_t h, uint32_t (*colour)(int32_t x, int32_t y)) {
    HostImage image;
    image.width = w;
    image.height = h;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            image.argb.push_back(colour(x, y));
        }
    }
    return image;
}

uint32_t At(const HostImage& image, int32_t x, int32_t y) {
    return image.argb[size_t(y) * size_t(image.width) + size_t(x)];
}

uint32_t Checker(int32_t x, int32_t y) {
    return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
}

}  // namespace

// Faults: blending at a whole factor (a soft cursor where nearest pixels are exact), or
// pixels repeated unevenly.
TEST(ScaleImageSharp, WholeFactorsAreNearestPixelsExactly) {
    const HostImage source = Image(32, 32, Checker);
    for (int32_t factor : {1, 2, 3}) {
        const HostImage out = ScaleImageSharp(source, 32 * factor, 32 * factor);
        ASSERT_EQ(out.width, 32 * factor);
        ASSERT_EQ(out.height, 32 * factor);
        int wrong = 0;
        for (int32_t y = 0; y < out.height; ++y) {
            for (int32_t x = 0; x < out.width; ++x) {
                wrong += At(out, x, y) != At(source, x / factor, y / factor);
            }
        }
        EXPECT_EQ(wrong, 0) << "factor " << factor;
    }
}

// Faults: a fractional size that smears the image (each output pixel should be mostly the
// source pixel under its centre), or one that drifts off the source at the far edge.
TEST(ScaleImageSharp, FractionalSizesStayMostlyThePixelUnderneath) {
    const HostImage source = Image(32, 32, Checker);
    const HostImage out = ScaleImageSharp(source, 51, 51);  // 1.6, as on a 1366x768 screen
    ASSERT_EQ(out.argb.size(), 51u * 51u);
    for (int32_t y = 0; y < 51; ++y) {
        for (int32_t x = 0; x < 51; ++x) {
            const int32_t sx = (2 * x + 1) * 32 / (2 * 51);
            const int32_t sy = (2 * y + 1) * 32 / (2 * 51);
            const uint32_t grey = At(out, x, y) & 0xFF;
            ASSERT_EQ(At(out, x, y) >> 24, 0xFFu);
            if (At(source, sx, sy) == 0xFFFFFFFFu) {
                ASSERT_GE(grey, 0x7Fu) << x << "," << y;
            } else {
                ASSERT_LE(grey, 0x80u) << x << "," << y;
            }
        }
    }
    // Nearest to 64 first, then down to 51: at most one blended pixel for each of the 31
    // edges between columns, where smoothing straight from 32 blends nearly every pixel.
    const HostImage stripes = ScaleImageSharp(Image(32, 1, Checker), 51, 1);
    int blended = 0;
    for (uint32_t p : stripes.argb) {
        blended += (p & 0xFF) != 0 && (p & 0xFF) != 0xFF;
    }
    EXPECT_LE(blended, 31);
    EXPECT_GT(blended, 0) << "the fractional step is smoothed, not nearest";
}

// Faults: colour bleeding from transparent pixels (a dark fringe around a white cursor, as
// straight-alpha blending gives) or a solid image changed by rounding.
TEST(ScaleImageSharp, NoFringeAtTransparentEdgesAndSolidsStaySolid) {
    const HostImage halves =
        Image(8, 8, [](int32_t x, int32_t) { return x < 4 ? 0x00000000u : 0xFFFFFFFFu; });
    const HostImage out = ScaleImageSharp(halves, 13, 13);
    bool sawPartial = false;
    for (uint32_t p : out.argb) {
        if ((p >> 24) != 0) {
            EXPECT_EQ(p & 0xFFFFFFu, 0xFFFFFFu) << std::hex << p;
        } else {
            EXPECT_EQ(p, 0u);
        }
        sawPartial |= (p >> 24) != 0 && (p >> 24) != 0xFF;
    }
    EXPECT_TRUE(sawPartial) << "the edge is smoothed, not cut";

    const HostImage solid = Image(5, 3, [](int32_t, int32_t) { return 0xFF3366CCu; });
    for (auto [w, h] : {std::pair{7, 4}, std::pair{12, 9}, std::pair{2, 1}}) {
        const HostImage scaled = ScaleImageSharp(solid, w, h);
        ASSERT_EQ(scaled.argb.size(), size_t(w) * size_t(h));
        for (uint32_t p : scaled.argb) {
            ASSERT_EQ(p, 0xFF3366CCu) << w << "x" << h;
        }
    }
}

// Faults: the hot spot left in source pixels (the click lands beside the arrow's tip) or
// pushed outside the image.
TEST(ScaleImageSharp, HotSpotMovesWithTheImage) {
    HostImage source = Image(32, 32, Checker);
    source.hotX = 10;
    source.hotY = 5;
    HostImage out = ScaleImageSharp(source, 64, 64);
    EXPECT_EQ(out.hotX, 21);
    EXPECT_EQ(out.hotY, 11);
    source.hotX = 0;
    source.hotY = 31;
    out = ScaleImageSharp(source, 51, 51);
    EXPECT_EQ(out.hotX, 0);
    EXPECT_EQ(out.hotY, 50);
    source.hotX = 500;  // out of the image: kept on its edge
    source.hotY = -3;
    out = ScaleImageSharp(source, 51, 51);
    EXPECT_EQ(out.hotX, 50);
    EXPECT_EQ(out.hotY, 0);
}

// Fault: reading past a short pixel buffer, or dividing by an empty size.
TEST(ScaleImageSharp, BadInputGivesAnEmptyImage) {
    HostImage shortImage = Image(4, 4, Checker);
    shortImage.argb.resize(10);
    EXPECT_TRUE(ScaleImageSharp(shortImage, 8, 8).argb.empty());
    EXPECT_TRUE(ScaleImageSharp(HostImage{}, 8, 8).argb.empty());
    EXPECT_TRUE(ScaleImageSharp(Image(4, 4, Checker), 0, 8).argb.empty());
    EXPECT_EQ(ScaleImageSharp(Image(4, 4, Checker), 8, -1).width, 0);
}

// Faults: a partly clear cursor pixel handed to X (which reads it premultiplied and shows it
// too bright), a threshold off by one, or the colour of a kept pixel changed.
TEST(HardenAlpha, PixelsBecomeWhollyOpaqueOrWhollyClear) {
    HostImage image;
    image.width = 5;
    image.height = 1;
    image.argb = {0x7FFFFFFFu, 0x80123456u, 0xFF654321u, 0x01ABCDEFu, 0x00FFFFFFu};
    HardenAlpha(image);
    EXPECT_EQ(image.argb, (std::vector<uint32_t>{0, 0xFF123456u, 0xFF654321u, 0, 0}));
}
