// The style painter, pixel by pixel on a small 32-bit target.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_target.h"
#include "platform/user/style_painter.h"

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255), LIGHT = RGB(192, 192, 192),
                   GREY = RGB(128, 128, 128), BLACK = RGB(0, 0, 0), MARK = RGB(1, 2, 3);

class Painter : public ::testing::Test {
  protected:
    void SetUp() override {
        pixels.assign(16 * 16, 0x00010203);
        platform::PixelTarget t;
        t.pixels = reinterpret_cast<uint8_t*>(pixels.data());
        t.pitch = 16 * 4;
        t.width = 16;
        t.height = 16;
        t.format = platform::PixelFormat::XRGB8888;
        dc = platform::CreateTargetDC(t);
        ASSERT_NE(dc, nullptr);
    }
    void TearDown() override { platform::DeleteTargetDC(dc); }
    COLORREF At(int x, int y) { return GetPixel(dc, x, y); }
    // Nothing outside r was touched.
    void ExpectInside(const RECT& r) {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) {
                    ASSERT_EQ(At(x, y), MARK) << "painted outside at " << x << "," << y;
                }
    }

    std::vector<uint32_t> pixels;
    HDC dc = nullptr;
};

// Catches DrawEdge drawing other colours or corners than the painter's own raised edge,
// or BF_ADJUST not moving the rectangle inside the two borders.
TEST_F(Painter, DrawEdgeIsTheRaisedEdgeOfThePainter) {
    RECT r = {2, 3, 12, 11};
    platform::PaintRaisedEdge(dc, r);
    std::vector<uint32_t> painted = pixels;
    pixels.assign(16 * 16, 0x00010203);
    RECT e = r;
    EXPECT_TRUE(DrawEdge(dc, &e, EDGE_RAISED, BF_RECT | BF_ADJUST));
    EXPECT_EQ(pixels, painted);
    EXPECT_EQ(e.left, 4);
    EXPECT_EQ(e.top, 5);
    EXPECT_EQ(e.right, 10);
    EXPECT_EQ(e.bottom, 9);
    EXPECT_FALSE(DrawEdge(nullptr, &e, EDGE_RAISED, BF_RECT)) << "no DC, no edge";
}

// Catches swapped light and shadow sides, or corners owned by the wrong side.
TEST_F(Painter, RaisedAndSunkenEdgesPlaceEachPixel) {
    RECT r = {2, 3, 12, 11};
    platform::PaintRaisedEdge(dc, r);
    EXPECT_EQ(At(2, 3), LIGHT);
    EXPECT_EQ(At(5, 3), LIGHT);
    EXPECT_EQ(At(3, 4), WHITE);
    EXPECT_EQ(At(11, 3), BLACK);  // top-right corner belongs to the shadow
    EXPECT_EQ(At(11, 10), BLACK);
    EXPECT_EQ(At(2, 10), BLACK);  // bottom-left too
    EXPECT_EQ(At(10, 9), GREY);
    EXPECT_EQ(At(5, 9), GREY);
    EXPECT_EQ(At(5, 5), MARK);  // the inside is left alone
    ExpectInside(r);

    platform::PaintSunkenEdge(dc, r);
    EXPECT_EQ(At(2, 3), GREY);
    EXPECT_EQ(At(3, 4), BLACK);
    EXPECT_EQ(At(11, 10), WHITE);
    EXPECT_EQ(At(10, 9), LIGHT);
    ExpectInside(r);
}

// Catches the etched line or separator drawn in the wrong order or outside its box.
TEST_F(Painter, EtchedFrameAndSeparator) {
    RECT r = {1, 1, 9, 9};
    platform::PaintEtchedFrame(dc, r);
    EXPECT_EQ(At(4, 1), GREY);
    EXPECT_EQ(At(4, 2), WHITE);
    EXPECT_EQ(At(4, 8), WHITE);
    EXPECT_EQ(At(4, 7), GREY);
    ExpectInside(r);
    RECT s = {0, 10, 16, 15};
    platform::PaintSeparator(dc, s);
    EXPECT_EQ(At(0, 12), GREY);
    EXPECT_EQ(At(15, 13), WHITE);
    EXPECT_EQ(At(7, 11), MARK);
    EXPECT_EQ(At(7, 14), MARK);
}

// Catches the default button losing its black frame or the pressed one its flat look.
TEST_F(Painter, ButtonLooks) {
    RECT r = {0, 0, 16, 12};
    platform::PaintButton(dc, r, platform::ButtonLook::Normal, false);
    EXPECT_EQ(At(0, 0), WHITE);
    EXPECT_EQ(At(1, 1), LIGHT);
    EXPECT_EQ(At(15, 11), BLACK);
    EXPECT_EQ(At(14, 10), GREY);
    EXPECT_EQ(At(8, 6), LIGHT);
    platform::PaintButton(dc, r, platform::ButtonLook::Default, true);
    EXPECT_EQ(At(0, 0), BLACK);
    EXPECT_EQ(At(1, 1), WHITE);
    EXPECT_EQ(At(4, 4), BLACK);  // focus dots
    EXPECT_EQ(At(5, 4), LIGHT);
    platform::PaintButton(dc, r, platform::ButtonLook::DefaultPressed, false);
    EXPECT_EQ(At(0, 0), BLACK);
    EXPECT_EQ(At(1, 1), GREY);
    EXPECT_EQ(At(14, 10), GREY);
    EXPECT_EQ(At(13, 9), LIGHT);
    for (int y = 12; y < 16; ++y)
        EXPECT_EQ(At(3, y), MARK);
}

// Catches glyphs drawn off-centre, outside their box, or in the wrong colour.
TEST_F(Painter, CheckMarkAndArrowStayInTheirBox) {
    RECT r = {0, 0, 16, 16};
    platform::PaintCheckMark(dc, {2, 2, 11, 11}, BLACK);
    ExpectInside({2, 2, 11, 11});
    int dark = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            dark += At(x, y) == BLACK;
    EXPECT_EQ(dark, 21);
    pixels.assign(pixels.size(), 0x00010203);
    platform::PaintSubmenuArrow(dc, {0, 0, 4, 7}, WHITE);
    EXPECT_EQ(At(0, 0), WHITE);
    EXPECT_EQ(At(3, 3), WHITE);
    EXPECT_EQ(At(3, 2), MARK);
    ExpectInside({0, 0, 4, 7});
    (void)r;
}

// Catches a missing or mis-sized chrome font, or colours outside the classic scheme.
TEST(PainterChrome, FontAndSystemColours) {
    HFONT font = platform::ChromeFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(platform::ChromeFont(), font);
    LOGFONT lf{};
    ASSERT_GT(GetObject(font, sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHTTEXT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(0, 0, 0));
}

}  // namespace
