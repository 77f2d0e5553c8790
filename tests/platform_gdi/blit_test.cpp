// Stretch copies, colour conversion, pixel probes and object selection.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "gdi_fixture.h"
#include "tests/support/temp_folder.h"

using gdi_test::Hex;
using gdi_test::MakeBmp;
using gdi_test::Target;
using platform::PixelFormat;

namespace {

uint16_t Ref565(uint32_t rgb) {
    uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    return uint16_t(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}
uint16_t Ref555(uint32_t rgb) {
    uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    return uint16_t(((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3));
}
uint32_t RefRaw(PixelFormat f, uint32_t rgb) {
    return f == PixelFormat::RGB565 ? Ref565(rgb) : f == PixelFormat::RGB555 ? Ref555(rgb) : rgb;
}

// Loads BMP bytes through LoadImage from a temporary file.
HBITMAP LoadBmpBytes(const std::vector<uint8_t>& bytes, int cx = 0, int cy = 0) {
    const std::filesystem::path folder = testsupport::MakeTempFolder("vorla_gdi_");
    if (folder.empty()) {
        return nullptr;
    }
    const std::string path = (folder / "image.bmp").string();
    bool ok = bool(
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())));
    HANDLE h = ok ? LoadImage(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy,
                              LR_CREATEDIBSECTION | LR_LOADFROMFILE)
                  : nullptr;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return static_cast<HBITMAP>(h);
}

// A memory DC holding bitmap; restores the stock bitmap and frees both at the end.
struct MemDC {
    explicit MemDC(HBITMAP b) : bitmap(b) {
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~MemDC() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

// Colours whose conversions differ between truncation and rounding.
const std::vector<uint32_t> COLOURS = {0xFF00FF, 0x123456, 0xFFFFFF, 0x0703FA,
                                       0x000000, 0x808080, 0xFFFF00, 0x07FC04};

const PixelFormat FORMATS[] = {PixelFormat::RGB565, PixelFormat::RGB555, PixelFormat::XRGB8888};

}  // namespace

// Catches rounding instead of truncation, swapped red/blue, or wrong 5-5-5 packing, for
// both source depths the sprite sheets use.
TEST(StretchBltConversion, PaletteAndTrueColourIntoEachFormatTruncate) {
    const int n = int(COLOURS.size());
    std::vector<uint32_t> indices(n);
    for (int i = 0; i < n; ++i) {
        indices[i] = uint32_t(i);
    }
    for (int bpp : {8, 24}) {
        auto bytes = bpp == 8 ? MakeBmp(n, 1, 8, indices, COLOURS) : MakeBmp(n, 1, 24, COLOURS);
        MemDC src(LoadBmpBytes(bytes));
        ASSERT_NE(src.bitmap, nullptr);
        for (PixelFormat f : FORMATS) {
            Target t(n, 1, f);
            ASSERT_TRUE(StretchBlt(t.dc, 0, 0, n, 1, src.dc, 0, 0, n, 1, SRCCOPY));
            for (int i = 0; i < n; ++i) {
                EXPECT_EQ(t.Raw(i, 0), RefRaw(f, COLOURS[size_t(i)]))
                    << "bpp " << bpp << " format " << int(f) << " colour "
                    << Hex(COLOURS[size_t(i)]) << " got " << Hex(t.Raw(i, 0));
            }
            EXPECT_GT(t.changes, 0) << "a target DC must report the drawing";
        }
    }
}

// Catches a colour key that would not match the converted transparent pixels.
TEST(StretchBltConversion, MagentaBecomesTheKnownKeyValues) {
    MemDC src(LoadBmpBytes(MakeBmp(1, 1, 24, {0xFF00FF})));
    Target t565(1, 1, PixelFormat::RGB565), t555(1, 1, PixelFormat::RGB555);
    BitBlt(t565.dc, 0, 0, 1, 1, src.dc, 0, 0, SRCCOPY);
    BitBlt(t555.dc, 0, 0, 1, 1, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(t565.Raw(0, 0), 0xF81Fu);
    EXPECT_EQ(t555.Raw(0, 0), 0x7C1Fu);
}

// Catches wrong nearest-neighbour mapping when enlarging, shrinking and mirroring.
TEST(StretchBltScaling, SamplesThePixelUnderEachDestinationCentre) {
    // 3 x 1 source: columns 0, 1, 2 with distinct colours.
    MemDC src(LoadBmpBytes(
        MakeBmp(3, 2, 24, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x000000, 0x808080})));
    ASSERT_NE(src.bitmap, nullptr);
    Target big(6, 4, PixelFormat::XRGB8888);
    StretchBlt(big.dc, 0, 0, 6, 4, src.dc, 0, 0, 3, 2, SRCCOPY);
    const uint32_t expectTop[6] = {0x0000FF, 0x0000FF, 0x00FF00, 0x00FF00, 0xFF0000, 0xFF0000};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(big.Raw(x, 0), expectTop[x]) << "x " << x;
        EXPECT_EQ(big.Raw(x, 1), expectTop[x]) << "x " << x;
    }
    EXPECT_EQ(big.Raw(0, 2), 0xFFFFFFu);
    EXPECT_EQ(big.Raw(5, 3), 0x808080u);

    // Shrinking 3 -> 2 samples source columns floor(3/4) = 0 and floor(9/4) = 2.
    Target small(2, 1, PixelFormat::XRGB8888);
    StretchBlt(small.dc, 0, 0, 2, 1, src.dc, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(small.Raw(0, 0), 0x0000FFu);
    EXPECT_EQ(small.Raw(1, 0), 0xFF0000u);

    // A negative destination width mirrors.
    Target mirror(3, 1, PixelFormat::XRGB8888);
    StretchBlt(mirror.dc, 3, 0, -3, 1, src.dc, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(mirror.Raw(0, 0), 0xFF0000u);
    EXPECT_EQ(mirror.Raw(2, 0), 0x0000FFu);
}

// Catches writes outside the destination (heap corruption under ASan) and reads outside
// the source.
TEST(StretchBltClipping, StaysInsideBothBitmaps) {
    MemDC src(LoadBmpBytes(MakeBmp(2, 2, 24, {0x111111, 0x222222, 0x333333, 0x444444})));
    Target t(4, 4, PixelFormat::RGB565, 0);
    t.Fill(0xABCD);
    // Hanging off the top-left corner: only source (1, 1) lands, at (0, 0).
    EXPECT_TRUE(BitBlt(t.dc, -1, -1, 2, 2, src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(t.Raw(0, 0), Ref565(0x444444));
    EXPECT_EQ(t.CountNot(0xABCD, 0, 0, 4, 4), 1);
    // A source rectangle past the bitmap leaves the uncovered destination alone.
    t.Fill(0xABCD);
    BitBlt(t.dc, 0, 0, 4, 4, src.dc, 1, 1, SRCCOPY);
    EXPECT_EQ(t.Raw(0, 0), Ref565(0x444444));
    EXPECT_EQ(t.CountNot(0xABCD, 0, 0, 4, 4), 1);
    // Far away, huge, or absurd coordinates draw nothing and don't crash.
    t.Fill(0xABCD);
    StretchBlt(t.dc, 1000, 1000, 5, 5, src.dc, 0, 0, 2, 2, SRCCOPY);
    StretchBlt(t.dc, 0, 0, 4, 4, src.dc, -100, -100, 2, 2, SRCCOPY);
    EXPECT_FALSE(StretchBlt(t.dc, 0, 0, INT32_MIN, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(t.CountNot(0xABCD, 0, 0, 4, 4), 0);
    // Unknown raster operations and bad handles fail.
    EXPECT_FALSE(BitBlt(t.dc, 0, 0, 2, 2, src.dc, 0, 0, 0x00EE0086));
    EXPECT_FALSE(BitBlt(t.dc, 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
}

// Catches a window copy (back buffer DC to window DC) that converts or shifts pixels.
// Catches a drawing call that ignores a target DC's clip (a window painting over the one
// above it), or one that draws only in the first of several clip rectangles.
TEST(TargetClip, EveryDrawingCallStaysInsideTheClipRectangles) {
    Target t(12, 8, PixelFormat::RGB565);
    Target src(12, 8, PixelFormat::RGB565);
    src.Fill(0x1234);
    platform::SetTargetDCClip(t.dc, {RECT{0, 0, 4, 8}, RECT{8, 2, 12, 4}});
    auto insideClip = [](int x, int y) { return x < 4 || (x >= 8 && y >= 2 && y < 4); };
    auto expectOnlyInside = [&](uint32_t raw, const char* what) {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(t.Raw(x, y) == raw, insideClip(x, y)) << what << " at " << x << "," << y;
    };
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all{0, 0, 12, 8};
    FillRect(t.dc, &all, white);
    expectOnlyInside(0xFFFF, "FillRect");
    t.Fill(0);
    BitBlt(t.dc, 0, 0, 12, 8, src.dc, 0, 0, SRCCOPY);
    expectOnlyInside(0x1234, "BitBlt");
    t.Fill(0);
    StretchBlt(t.dc, 0, 0, 12, 8, nullptr, 0, 0, 0, 0, WHITENESS);
    expectOnlyInside(0xFFFF, "WHITENESS");
    t.Fill(0);
    EXPECT_EQ(SetPixel(t.dc, 5, 5, RGB(255, 255, 255)), CLR_INVALID);
    EXPECT_EQ(SetPixel(t.dc, 9, 3, RGB(255, 255, 255)), RGB(255, 255, 255));
    EXPECT_EQ(t.CountNot(0, 0, 0, 12, 8), 1);
    t.Fill(0);
    platform::SetTargetDCClip(t.dc, {});
    FillRect(t.dc, &all, white);
    EXPECT_EQ(t.CountNot(0, 0, 0, 12, 8), 0) << "an empty clip shows nothing";
    DeleteObject(white);
}

TEST(StretchBltTargets, SameFormatTargetCopyIsExact) {
    Target a(5, 3, PixelFormat::RGB565), b(5, 3, PixelFormat::RGB565, 0);
    for (int i = 0; i < 15; ++i) {
        a.pixels[size_t(i / 5) * a.pitch + size_t(i % 5) * 2] = uint8_t(i * 17);
        a.pixels[size_t(i / 5) * a.pitch + size_t(i % 5) * 2 + 1] = uint8_t(i * 31);
    }
    BitBlt(b.dc, 0, 0, 5, 3, a.dc, 0, 0, SRCCOPY);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(b.Raw(x, y), a.Raw(x, y)) << x << "," << y;
        }
    }
}

// Catches SetPixel results that don't say what was stored, and read-back that rounds
// instead of replicating bits.
TEST(PixelProbes, SetPixelReturnsStoredColourAndGetPixelReadsIt) {
    for (PixelFormat f : FORMATS) {
        Target t(3, 2, f);
        COLORREF set = SetPixel(t.dc, 1, 1, RGB(0x12, 0x34, 0x56));
        EXPECT_EQ(t.Raw(1, 1), RefRaw(f, 0x123456)) << int(f);
        EXPECT_EQ(GetPixel(t.dc, 1, 1), set) << int(f);
        if (f == PixelFormat::RGB565) {
            EXPECT_EQ(set, RGB(0x10, 0x34, 0x52)) << Hex(set);
        } else if (f == PixelFormat::RGB555) {
            EXPECT_EQ(set, RGB(0x10, 0x31, 0x52)) << Hex(set);
        } else {
            EXPECT_EQ(set, RGB(0x12, 0x34, 0x56)) << Hex(set);
        }
        EXPECT_EQ(GetPixel(t.dc, 3, 0), CLR_INVALID);
        EXPECT_EQ(GetPixel(t.dc, -1, 0), CLR_INVALID);
        EXPECT_EQ(SetPixel(t.dc, 0, 2, 0), CLR_INVALID);
    }
}

// Catches a probe-and-restore (GetPixel, then SetPixel of that colour) that alters a
// 16-bit pixel: every raw value must survive the round trip.
TEST(PixelProbes, EverySixteenBitValueSurvivesGetThenSet) {
    for (PixelFormat f : {PixelFormat::RGB565, PixelFormat::RGB555}) {
        Target t(1, 1, f);
        uint32_t limit = f == PixelFormat::RGB565 ? 0x10000 : 0x8000;
        int bad = 0;
        for (uint32_t raw = 0; raw < limit; ++raw) {
            t.pixels[0] = uint8_t(raw);
            t.pixels[1] = uint8_t(raw >> 8);
            SetPixel(t.dc, 0, 0, GetPixel(t.dc, 0, 0));
            bad += t.Raw(0, 0) != raw;
        }
        EXPECT_EQ(bad, 0) << "format " << int(f);
    }
}

// Catches a memory DC that starts without a bitmap to restore, and double selection.
TEST(Objects, MemoryDcSelectionFollowsWin32) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HBITMAP bmp = LoadBmpBytes(MakeBmp(3, 2, 24, std::vector<uint32_t>(6, 0x102030)));
    ASSERT_NE(bmp, nullptr);
    HGDIOBJ stock = SelectObject(dc, bmp);
    ASSERT_NE(stock, nullptr);
    BITMAP bm{};
    EXPECT_EQ(GetObject(stock, int(sizeof bm), &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);

    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, bmp), nullptr) << "a bitmap lives in one DC at a time";
    // Deleting a selected bitmap defers until it is deselected; drawing still works.
    EXPECT_TRUE(DeleteObject(bmp));
    Target t(3, 2, PixelFormat::RGB565);
    EXPECT_TRUE(BitBlt(t.dc, 0, 0, 3, 2, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(t.Raw(2, 1), Ref565(0x102030));
    EXPECT_EQ(SelectObject(dc, stock), reinterpret_cast<HGDIOBJ>(bmp));
    EXPECT_EQ(GetObject(bmp, int(sizeof bm), &bm), 0) << "gone once deselected";
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc)) << "a deleted DC is no longer valid";
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))) << "stock objects survive";
    EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
}

// Catches a BITMAP record with wrong sizes, and writes past a short buffer.
TEST(Objects, GetObjectDescribesTheDib) {
    HBITMAP bmp = LoadBmpBytes(MakeBmp(5, 3, 8, std::vector<uint32_t>(15, 1), {0, 0xFFFFFF}));
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(GetObject(bmp, 0, nullptr), int(sizeof(BITMAP)));
    BITMAP bm{};
    ASSERT_EQ(GetObject(bmp, int(sizeof bm), &bm), int(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    EXPECT_EQ(bm.bmWidthBytes, 8);
    EXPECT_EQ(bm.bmPlanes, 1);
    EXPECT_NE(bm.bmBits, nullptr);
    char small[8];
    EXPECT_EQ(GetObject(bmp, int(sizeof small), small), 0);
    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_FALSE(DeleteObject(bmp));
}

// Catches fills and lines off by one at the exclusive edges, and Rectangle ignoring the
// null brush.
TEST(Shapes, FillsFramesAndLinesKeepToTheirEdges) {
    Target t(8, 8, PixelFormat::RGB565, 0);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{1, 1, 4, 3};
    EXPECT_EQ(FillRect(t.dc, &r, red), 1);
    EXPECT_EQ(t.CountNot(0, 0, 0, 8, 8), 6);
    EXPECT_EQ(t.Raw(3, 2), 0xF800u);
    EXPECT_EQ(t.Raw(4, 2), 0u);

    t.Fill(0);
    RECT f{0, 0, 5, 5};
    FrameRect(t.dc, &f, red);
    EXPECT_EQ(t.CountNot(0, 0, 0, 8, 8), 16);
    EXPECT_EQ(t.Raw(2, 2), 0u);

    t.Fill(0);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HGDIOBJ oldPen = SelectObject(t.dc, pen);
    MoveToEx(t.dc, 0, 7, nullptr);
    LineTo(t.dc, 5, 7);
    EXPECT_EQ(t.Raw(4, 7), 0x001Fu);
    EXPECT_EQ(t.Raw(5, 7), 0u) << "LineTo leaves out its end point";

    t.Fill(0);
    HGDIOBJ oldBrush = SelectObject(t.dc, GetStockObject(NULL_BRUSH));
    Rectangle(t.dc, 0, 0, 4, 4);
    EXPECT_EQ(t.CountNot(0, 0, 0, 8, 8), 12);
    EXPECT_EQ(t.Raw(1, 1), 0u);

    SelectObject(t.dc, oldBrush);
    SelectObject(t.dc, oldPen);
    DeleteObject(pen);
    DeleteObject(red);
    EXPECT_EQ(FillRect(t.dc, &r, red), 0) << "a deleted brush is refused";
}
