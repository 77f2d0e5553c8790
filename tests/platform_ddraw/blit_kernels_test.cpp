#include "platform/ddraw/blit_kernels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace platform;

namespace {

template <typename Pixel>
void ReferenceKeyed(std::vector<Pixel>& dst, int dstStride, const std::vector<Pixel>& src,
                    int srcStride, int w, int h, Pixel low, Pixel high) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Pixel v = src[size_t(y * srcStride + x)];
            if (v < low || v > high) {
                dst[size_t(y * dstStride + x)] = v;
            }
        }
    }
}

// Values cluster around the key and the sign bit, where a signed compare goes wrong.
template <typename Pixel>
Pixel Pick(std::mt19937& rng, Pixel low, Pixel high) {
    const Pixel interesting[] = {low,
                                 high,
                                 Pixel(low - 1),
                                 Pixel(high + 1),
                                 0,
                                 Pixel(~Pixel(0)),
                                 Pixel(Pixel(1) << (sizeof(Pixel) * 8 - 1))};
    if (rng() % 2) {
        return interesting[rng() % 7];
    }
    return Pixel(rng());
}

template <typename Pixel>
void CheckKeyedAgainstReference(Pixel low, Pixel high) {
    std::mt19937 rng(7);
    for (int w = 1; w <= 41; ++w) {
        const int h = 3;
        const int srcStride = w + 5;
        const int dstStride = w + 3;
        std::vector<Pixel> src(size_t(srcStride * h));
        std::vector<Pixel> dst(size_t(dstStride * h));
        for (auto& p : src)
            p = Pick<Pixel>(rng, low, high);
        for (auto& p : dst)
            p = Pixel(rng());
        std::vector<Pixel> expected = dst;
        ReferenceKeyed(expected, dstStride, src, srcStride, w, h, low, high);
        auto* d = reinterpret_cast<uint8_t*>(dst.data());
        auto* s = reinterpret_cast<const uint8_t*>(src.data());
        if constexpr (sizeof(Pixel) == 2) {
            CopyPixelsKeyed16(d, dstStride * 2, s, srcStride * 2, w, h, low, high);
        } else {
            CopyPixelsKeyed32(d, dstStride * 4, s, srcStride * 4, w, h, low, high);
        }
        ASSERT_EQ(dst, expected) << "width " << w;  // also checks the padding was untouched
    }
}

}  // namespace

// Faults: a vector tail that drops or overwrites pixels, a signed compare on 0x8000+
// values, an exclusive range end.
TEST(KeyedCopyKernel, SixteenBitMatchesReferenceAtEveryWidth) {
    CheckKeyedAgainstReference<uint16_t>(0xF81F, 0xF81F);
    CheckKeyedAgainstReference<uint16_t>(0x0010, 0x9000);
    CheckKeyedAgainstReference<uint16_t>(0x0000, 0x0000);
    CheckKeyedAgainstReference<uint16_t>(0xFFFF, 0xFFFF);
}

TEST(KeyedCopyKernel, ThirtyTwoBitMatchesReferenceAtEveryWidth) {
    CheckKeyedAgainstReference<uint32_t>(0x00FF00FF, 0x00FF00FF);
    CheckKeyedAgainstReference<uint32_t>(0x10, 0x90000000u);
    CheckKeyedAgainstReference<uint32_t>(0xFFFFFFFFu, 0xFFFFFFFFu);
}

// Fault: a copy that writes the padding between rows or ignores one of the pitches.
TEST(PlainCopyKernel, StaysInsideRowsAndHonoursBothPitches) {
    std::vector<uint16_t> src(10 * 4);
    for (size_t i = 0; i < src.size(); ++i)
        src[i] = uint16_t(i + 1);
    std::vector<uint16_t> dst(7 * 4, 0xAAAA);
    CopyPixels(reinterpret_cast<uint8_t*>(dst.data()), 14,
               reinterpret_cast<const uint8_t*>(src.data()) + 2, 20, 5, 3, 2);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 7; ++x) {
            const uint16_t want = (y < 3 && x < 5) ? uint16_t(y * 10 + x + 2) : 0xAAAA;
            EXPECT_EQ(dst[size_t(y * 7 + x)], want) << x << "," << y;
        }
    }
}

// Fault: a fill that runs past its width into the rest of the row.
TEST(FillKernel, FillsOnlyTheArea) {
    std::vector<uint32_t> px(6 * 3, 1);
    FillPixels32(reinterpret_cast<uint8_t*>(px.data()) + 4, 24, 4, 2, 0xCAFEBABE);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = y < 2 && x >= 1 && x < 5;
            EXPECT_EQ(px[size_t(y * 6 + x)], inside ? 0xCAFEBABEu : 1u) << x << "," << y;
        }
    }
}
