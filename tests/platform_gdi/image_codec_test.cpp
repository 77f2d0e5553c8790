// BMP, ICO and CUR decoding, including damaged data.
#include "platform/gdi/image_codec.h"

#include <gtest/gtest.h>

#include <random>

#include "gdi_fixture.h"

using gdi_test::Hex;
using gdi_test::MakeBmp;
using gdi_test::Put16;
using gdi_test::Put32;
using platform::DecodeBmp;
using platform::DecodeCur;
using platform::DecodedImage;
using platform::DecodeIco;

namespace {

std::vector<uint32_t> Ramp(int n, uint32_t modulo) {
    std::vector<uint32_t> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        v[size_t(i)] = uint32_t(i * 7 + 3) % modulo;
    }
    return v;
}

// One icon image: 40-byte header with doubled height, colour bits, AND mask.
std::vector<uint8_t> IconImage(int size, int bpp, uint32_t colour, bool maskCorner) {
    std::vector<uint8_t> v;
    Put32(v, 40);
    Put32(v, uint32_t(size));
    Put32(v, uint32_t(size * 2));
    Put16(v, 1);
    Put16(v, uint32_t(bpp));
    for (int i = 0; i < 6; ++i) {
        Put32(v, 0);
    }
    size_t stride = ((size_t(size) * bpp + 31) / 32) * 4;
    if (bpp == 8) {
        Put32(v, 0);
        Put32(v, colour);
        for (int i = 2; i < 256; ++i) {
            Put32(v, 0);
        }
    }
    for (int y = 0; y < size; ++y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < size; ++x) {
            if (bpp == 8) {
                row[size_t(x)] = 1;
            } else {
                uint32_t px = colour | 0xFF000000u;
                std::memcpy(&row[size_t(x) * 4], &px, 4);
            }
        }
        v.insert(v.end(), row.begin(), row.end());
    }
    size_t maskStride = ((size_t(size) + 31) / 32) * 4;
    for (int y = 0; y < size; ++y) {
        std::vector<uint8_t> row(maskStride, 0);
        // Bottom-up: the last stored row is the top; mark its first pixel transparent.
        if (maskCorner && y == size - 1) {
            row[0] = 0x80;
        }
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

std::vector<uint8_t> Directory(uint16_t type, const std::vector<std::vector<uint8_t>>& images,
                               const std::vector<int>& sizes, uint16_t hotX = 0,
                               uint16_t hotY = 0) {
    std::vector<uint8_t> v;
    Put16(v, 0);
    Put16(v, type);
    Put16(v, uint32_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        v.push_back(uint8_t(sizes[i]));
        v.push_back(uint8_t(sizes[i]));
        v.push_back(0);
        v.push_back(0);
        Put16(v, type == 2 ? hotX : 1);
        Put16(v, type == 2 ? hotY : 32);
        Put32(v, uint32_t(images[i].size()));
        Put32(v, offset);
        offset += uint32_t(images[i].size());
    }
    for (const auto& img : images) {
        v.insert(v.end(), img.begin(), img.end());
    }
    return v;
}

}  // namespace

// Catches wrong bit order in packed rows, row padding mistakes and flipped images, for
// every supported depth in both row orders.
TEST(DecodeBmpFormats, EveryDepthAndRowOrderDecodesExactly) {
    const int w = 5, h = 3;
    const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                                           0xFFFFFF, 0x123456, 0xFF00FF, 0x808080};
    struct Case {
        int bpp;
        uint32_t modulo;
    };
    for (Case c : {Case{1, 2}, Case{4, 8}, Case{8, 8}, Case{24, 0x1000000}, Case{32, 0x1000000}}) {
        for (bool topDown : {false, true}) {
            std::vector<uint32_t> px = Ramp(w * h, c.modulo);
            if (c.bpp >= 24) {
                for (auto& p : px) {
                    p = p * 0x010305 & 0xFFFFFF;
                }
            }
            std::vector<uint32_t> pal;
            if (c.bpp <= 8) {
                pal.assign(palette.begin(), palette.begin() + std::min<ptrdiff_t>(8, 1 << c.bpp));
            }
            auto bytes = MakeBmp(w, h, c.bpp, px, pal, topDown);
            DecodedImage img;
            ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), img))
                << "bpp " << c.bpp << " topDown " << topDown;
            EXPECT_EQ(img.width, w);
            EXPECT_EQ(img.height, h);
            EXPECT_EQ(img.bitsPerPixel, c.bpp);
            for (int i = 0; i < w * h; ++i) {
                uint32_t rgb = c.bpp <= 8 ? palette[px[size_t(i)]] : px[size_t(i)];
                EXPECT_EQ(img.argb[size_t(i)], 0xFF000000u | rgb)
                    << "bpp " << c.bpp << " pixel " << i << " got " << Hex(img.argb[size_t(i)]);
                if (c.bpp <= 8) {
                    EXPECT_EQ(img.indices[size_t(i)], px[size_t(i)]);
                }
            }
        }
    }
}

// Catches a resource bitmap (a packed DIB without the file header) being refused.
TEST(DecodeBmpFormats, PackedDibWithoutFileHeader) {
    auto bytes = MakeBmp(2, 2, 24, {0x010203, 0x040506, 0x070809, 0x0A0B0C});
    DecodedImage img;
    ASSERT_TRUE(DecodeBmp(bytes.data() + 14, bytes.size() - 14, img));
    EXPECT_EQ(img.argb[3], 0xFF0A0B0Cu);
}

// Catches RLE8 runs, escapes and deltas landing in the wrong place.
TEST(DecodeBmpFormats, Rle8RunsAndLiterals) {
    std::vector<uint8_t> v = {'B', 'M'};
    const std::vector<uint8_t> rle = {3, 1, 0, 0, 0, 3,
                                      2, 1, 2, 0, 0, 1};  // run, EOL, literal, EOF
    uint32_t off = 14 + 40 + 3 * 4;
    Put32(v, uint32_t(off + rle.size()));
    Put32(v, 0);
    Put32(v, off);
    Put32(v, 40);
    Put32(v, 3);
    Put32(v, 2);
    Put16(v, 1);
    Put16(v, 8);
    Put32(v, 1);
    Put32(v, uint32_t(rle.size()));
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, 3);
    Put32(v, 0);
    Put32(v, 0x000000);
    Put32(v, 0xFF0000);
    Put32(v, 0x00FF00);
    v.insert(v.end(), rle.begin(), rle.end());
    DecodedImage img;
    ASSERT_TRUE(DecodeBmp(v.data(), v.size(), img));
    // Bottom row (stored first) is 1 1 1, top row is the literal 2 1 2.
    EXPECT_EQ(img.indices, (std::vector<uint8_t>{2, 1, 2, 1, 1, 1}));
}

// Catches trusting header fields: impossible sizes, depths, palettes and offsets must be
// refused without reading outside the data.
TEST(DecodeBmpDamage, BadHeaderFieldsAreRefused) {
    auto good = MakeBmp(4, 4, 8, Ramp(16, 4), {0, 0xFF, 0xFF00, 0xFF0000});
    auto patch = [&](size_t at, uint32_t value, int bytes) {
        auto v = good;
        for (int i = 0; i < bytes; ++i) {
            v[at + size_t(i)] = uint8_t(value >> (8 * i));
        }
        return v;
    };
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
        int bytes;
    };
    const Case cases[] = {
        {"zero width", 18, 0, 4},
        {"negative width", 18, 0xFFFFFFFF, 4},
        {"huge width", 18, 0x7FFFFFFF, 4},
        {"zero height", 22, 0, 4},
        {"INT_MIN height", 22, 0x80000000, 4},
        {"planes 0", 26, 0, 2},
        {"7 bits per pixel", 28, 7, 2},
        {"unknown compression", 30, 9, 4},
        {"RLE4 at 8 bits", 30, 2, 4},
        {"palette of 300", 46, 300, 4},
        {"offset past the end", 10, 0xFFFFFF, 4},
        {"offset inside the header", 10, 20, 4},
        {"header size 2 GB", 14, 0x80000000, 4},
    };
    for (const Case& c : cases) {
        auto v = patch(c.at, c.value, c.bytes);
        DecodedImage img;
        img.width = 77;
        EXPECT_FALSE(DecodeBmp(v.data(), v.size(), img)) << c.what;
        EXPECT_EQ(img.width, 77) << c.what << ": a failed decode must leave out alone";
    }
    DecodedImage img;
    EXPECT_FALSE(DecodeBmp(nullptr, 0, img));
}

// Catches over-reads on truncated files: every prefix of a valid file is refused.
TEST(DecodeBmpDamage, EveryTruncationIsRefused) {
    for (int bpp : {4, 8, 24}) {
        auto good = MakeBmp(7, 5, bpp, Ramp(35, bpp == 4 ? 16 : 256),
                            bpp <= 8 ? std::vector<uint32_t>(bpp == 4 ? 16 : 256, 0x445566)
                                     : std::vector<uint32_t>{});
        DecodedImage img;
        ASSERT_TRUE(DecodeBmp(good.data(), good.size(), img));
        for (size_t n = 0; n < good.size(); ++n) {
            std::vector<uint8_t> cut(good.begin(), good.begin() + ptrdiff_t(n));
            EXPECT_FALSE(DecodeBmp(cut.data(), cut.size(), img)) << "bpp " << bpp << " n " << n;
        }
    }
}

// Catches crashes on random corruption (run under ASan in CI); the result may be either.
TEST(DecodeBmpDamage, RandomCorruptionNeverCrashes) {
    std::mt19937 rng(1234);
    auto good = MakeBmp(9, 6, 8, Ramp(54, 256), std::vector<uint32_t>(256, 0x010101));
    auto rle = good;
    for (int iter = 0; iter < 3000; ++iter) {
        auto v = good;
        int flips = 1 + int(rng() % 6);
        for (int i = 0; i < flips; ++i) {
            size_t at = rng() % std::min<size_t>(v.size(), 70);
            v[at] = uint8_t(rng());
        }
        if (iter % 3 == 0) {
            v[30] = 1;  // RLE8, so the pixel bytes become an arbitrary stream
        }
        DecodedImage img;
        if (DecodeBmp(v.data(), v.size(), img)) {
            EXPECT_EQ(img.argb.size(), size_t(img.width) * size_t(img.height));
        }
        DecodeIco(v.data(), v.size(), 32, img);
    }
}

// Catches picking the wrong icon size, ignoring the AND mask, or losing the hot spot.
TEST(DecodeIcons, PicksClosestSizeAndAppliesMask) {
    auto ico = Directory(1, {IconImage(16, 8, 0x00FF00, true), IconImage(32, 32, 0x0000FF, false)},
                         {16, 32});
    DecodedImage img;
    ASSERT_TRUE(DecodeIco(ico.data(), ico.size(), 32, img));
    EXPECT_EQ(img.width, 32);
    EXPECT_EQ(img.argb[0], 0xFF0000FFu);
    ASSERT_TRUE(DecodeIco(ico.data(), ico.size(), 16, img));
    EXPECT_EQ(img.width, 16);
    EXPECT_EQ(img.argb[0] >> 24, 0u) << "masked corner is transparent";
    EXPECT_EQ(img.argb[1], 0xFF00FF00u);
    ASSERT_TRUE(DecodeIco(ico.data(), ico.size(), 0, img));
    EXPECT_EQ(img.width, 32) << "0 asks for the largest";

    auto cur = Directory(2, {IconImage(32, 8, 0xFFFFFF, true)}, {32}, 5, 9);
    ASSERT_TRUE(DecodeCur(cur.data(), cur.size(), img));
    EXPECT_EQ(img.hotX, 5);
    EXPECT_EQ(img.hotY, 9);
    EXPECT_FALSE(DecodeIco(cur.data(), cur.size(), 32, img)) << "a cursor is not an icon";

    // An entry pointing past the data is skipped, leaving nothing to decode.
    auto broken = ico;
    broken[6 + 12] = 0xFF;
    broken[6 + 13] = 0xFF;
    broken[6 + 16 + 12] = 0xFF;
    broken[6 + 16 + 15] = 0x7F;
    EXPECT_FALSE(DecodeIco(broken.data(), broken.size(), 32, img));
    for (size_t n = 0; n < ico.size(); n += 7) {
        DecodeIco(ico.data(), n, 16, img);
    }
}
