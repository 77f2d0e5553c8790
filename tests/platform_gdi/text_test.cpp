// Fonts and text: matching, metrics, DrawText placement and clipping, blending.
#include <gtest/gtest.h>

#include <cstring>

#include "gdi_fixture.h"

using gdi_test::Hex;
using gdi_test::Target;
using platform::PixelFormat;

namespace {

constexpr uint32_t BG = 0x0841;         // a dark 5-6-5 background
constexpr uint32_t YELLOW565 = 0xFFE0;  // RGB(255, 255, 0)

HFONT Viking(int height) {
    return CreateFont(height, 0, 0, 0, FW_EXTRALIGHT, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, "Viking");
}

// An installed outline face, for what only outline faces show (edge coverage, any size).
HFONT Outline(int height) {
    return CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, "DejaVu Sans");
}

// A 5-6-5 target with the renderer's text attributes and a font selected.
struct TextTarget : Target {
    TextTarget(int w, int h, HFONT f) : Target(w, h, PixelFormat::RGB565), font(f) {
        Fill(BG);
        SetTextColor(dc, RGB(255, 255, 0));
        SetBkMode(dc, TRANSPARENT);
        old = SelectObject(dc, font);
    }
    ~TextTarget() {
        SelectObject(dc, old);
        DeleteObject(font);
    }
    int Draw(const char* s, RECT r, UINT format) { return DrawText(dc, s, -1, &r, format); }
    int Ink(int x0, int y0, int x1, int y1) const { return CountNot(BG, x0, y0, x1, y1); }
    // The bounding box of every changed pixel.
    RECT InkBox() const {
        RECT b{width, height, -1, -1};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (Raw(x, y) != BG) {
                    b = {std::min<LONG>(b.left, x), std::min<LONG>(b.top, y),
                         std::max<LONG>(b.right, x + 1), std::max<LONG>(b.bottom, y + 1)};
                }
            }
        }
        return b;
    }
    // True when this target equals other shifted by (dx, dy), over the whole area.
    bool EqualsShifted(const TextTarget& other, int dx, int dy) const {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                int sx = x - dx, sy = y - dy;
                uint32_t want =
                    (sx >= 0 && sy >= 0 && sx < width && sy < height) ? other.Raw(sx, sy) : BG;
                if (Raw(x, y) != want) {
                    return false;
                }
            }
        }
        return true;
    }
    HFONT font;
    HGDIOBJ old;
};

}  // namespace

// Catches a missing face giving no font (no text at all), and the cell height rule.
TEST(Fonts, MissingFaceFallsBackToAUsableFont) {
    for (int height : {20, 28}) {
        TextTarget t(200, 40, Viking(height));
        ASSERT_NE(t.font, nullptr);
        TEXTMETRIC tm{};
        ASSERT_TRUE(GetTextMetrics(t.dc, &tm));
        EXPECT_EQ(tm.tmHeight, height) << "a positive height is the cell height";
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_GT(tm.tmAveCharWidth, 3);
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32(t.dc, "ROK 123", 7, &size));
        EXPECT_GT(size.cx, 5 * tm.tmAveCharWidth / 2);
        EXPECT_EQ(size.cy, height);
        t.Draw("ROK 123", {0, 0, 200, 40}, DT_LEFT);
        EXPECT_GT(t.Ink(0, 0, 200, 40), 40) << "height " << height;
    }
}

// Catches the em/cell confusion: -h asks for the character height, so the cell is taller;
// for an outline face at any size, and for a bitmap face by its strikes' em heights.
TEST(Fonts, NegativeHeightIsCharacterHeight) {
    HDC dc = CreateCompatibleDC(nullptr);
    TEXTMETRIC tm{};
    HGDIOBJ old = nullptr;
    if (gdi_test::INSTALLED_FACES) {
        HFONT f = CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
        old = SelectObject(dc, f);
        ASSERT_TRUE(GetTextMetrics(dc, &tm));
        EXPECT_GT(tm.tmHeight, 20);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
        LOGFONT lf{};
        EXPECT_EQ(GetObject(f, int(sizeof lf), &lf), int(sizeof lf));
        EXPECT_EQ(lf.lfHeight, -20);
        EXPECT_STREQ(lf.lfFaceName, "DejaVu Sans");
        SelectObject(dc, old);
        DeleteObject(f);
    }
    // Viking's strikes: em heights 18 and 26 in cells of 20 and 28.
    for (auto [em, cell] : {std::pair{18, 20}, std::pair{26, 28}}) {
        HFONT v = Viking(-em);
        old = SelectObject(dc, v);
        ASSERT_TRUE(GetTextMetrics(dc, &tm));
        EXPECT_EQ(tm.tmHeight, cell) << "em " << em;
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, em);
        SelectObject(dc, old);
        DeleteObject(v);
    }
    DeleteDC(dc);
}

// Catches a weight-200 stand-in so thin that it leaves no solid pixels (unreadable once
// the picture is scaled up), and a text colour that is not converted like other pixels.
TEST(Fonts, ExtraLightStandInIsSolidInTheTextColour) {
    TextTarget t(200, 40, Viking(20));
    t.Draw("ROK 123", {0, 0, 200, 40}, DT_LEFT);
    int solid = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            solid += t.Raw(x, y) == YELLOW565;
        }
    }
    EXPECT_GT(solid, 30) << "fully covered pixels must carry the exact text colour";
}

// Catches text drawn in the wrong colour on 5-5-5 and 32-bit targets.
TEST(Fonts, TextColourConvertsPerFormat) {
    for (auto [f, want] :
         {std::pair{PixelFormat::RGB555, 0x7FE0u}, std::pair{PixelFormat::XRGB8888, 0xFFFF00u}}) {
        Target t(120, 30, f);
        HFONT font = Viking(28);
        HGDIOBJ old = SelectObject(t.dc, font);
        SetTextColor(t.dc, RGB(255, 255, 0));
        SetBkMode(t.dc, TRANSPARENT);
        TextOut(t.dc, 0, 0, "II", 2);
        int solid = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 120; ++x) {
                solid += t.Raw(x, y) == want;
            }
        }
        EXPECT_GT(solid, 10) << "format " << int(f);
        SelectObject(t.dc, old);
        DeleteObject(font);
    }
}

// Catches TRANSPARENT mode painting the background, and OPAQUE not filling the cell.
TEST(TextBackground, TransparentKeepsBackgroundOpaqueFillsCell) {
    if (!gdi_test::INSTALLED_FACES) {
        GTEST_SKIP() << gdi_test::NO_INSTALLED_FACES << " (edge coverage needs an outline face)";
    }
    // The glyph mask: white text on black.
    Target mask(100, 30, PixelFormat::RGB565);
    HFONT f1 = Outline(20);
    HGDIOBJ o1 = SelectObject(mask.dc, f1);
    SetTextColor(mask.dc, RGB(255, 255, 255));
    SetBkMode(mask.dc, TRANSPARENT);
    TextOut(mask.dc, 2, 3, "Hx 9", 4);

    TextTarget t(100, 30, Outline(20));
    TextOut(t.dc, 2, 3, "Hx 9", 4);
    int wrong = 0, partial = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            uint32_t m = mask.Raw(x, y), v = t.Raw(x, y);
            wrong += m == 0 && v != BG;
            partial += m != 0 && m != 0xFFFF && v != BG && v != YELLOW565;
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels without coverage must be left alone";
    EXPECT_GT(partial, 0) << "edge coverage must blend over the background";

    Target o(100, 30, PixelFormat::RGB565);
    o.Fill(BG);
    HFONT f2 = Viking(20);
    HGDIOBJ o2 = SelectObject(o.dc, f2);
    SetBkMode(o.dc, OPAQUE);
    SetBkColor(o.dc, RGB(0, 0, 255));
    SetTextColor(o.dc, RGB(255, 255, 255));
    SIZE size{};
    GetTextExtentPoint32(o.dc, "Hx 9", 4, &size);
    TextOut(o.dc, 2, 3, "Hx 9", 4);
    EXPECT_EQ(o.CountNot(BG, 0, 0, 100, 30), size.cx * size.cy) << "exactly the cell";
    EXPECT_EQ(o.Raw(2 + size.cx - 1, 3 + size.cy - 1), 0x001Fu);
    SelectObject(mask.dc, o1);
    SelectObject(o.dc, o2);
    DeleteObject(f1);
    DeleteObject(f2);
}

// Catches wrong horizontal centring: the centred text must be the left-aligned text
// moved by exactly (box width - text width) / 2.
TEST(DrawTextPlacement, CentreShiftsByHalfTheSpareWidth) {
    TextTarget left(160, 40, Viking(28)), centre(160, 40, Viking(28));
    SIZE size{};
    GetTextExtentPoint32(left.dc, "ROK 123", 7, &size);
    left.Draw("ROK 123", {10, 5, 135, 37}, DT_LEFT);
    centre.Draw("ROK 123", {10, 5, 135, 37}, DT_CENTER);
    int dx = (125 - size.cx) / 2;
    EXPECT_TRUE(centre.EqualsShifted(left, dx, 0)) << "expected shift " << dx;
}

// Catches DT_VCENTER acting without DT_SINGLELINE (the renderer's boxes rely on text
// starting at the top), and not acting with it.
TEST(DrawTextPlacement, VerticalCentreOnlyWithSingleLine) {
    TextTarget top(80, 100, Viking(20)), vc(80, 100, Viking(20)), single(80, 100, Viking(20));
    RECT box{0, 0, 80, 100};
    EXPECT_EQ(top.Draw("42", box, DT_CENTER), 20);
    EXPECT_EQ(vc.Draw("42", box, DT_CENTER | DT_VCENTER), 20);
    EXPECT_TRUE(vc.EqualsShifted(top, 0, 0)) << "DT_VCENTER without DT_SINGLELINE is ignored";
    int ret = single.Draw("42", box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_TRUE(single.EqualsShifted(top, 0, 40)) << "(100 - 20) / 2 lower";
    EXPECT_EQ(ret, 60) << "from the box top to the text bottom";
    TextTarget bottom(80, 100, Viking(20));
    bottom.Draw("42", box, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    EXPECT_TRUE(bottom.EqualsShifted(top, 0, 80));
}

// Catches ink outside the box: a number wider than its box is cut at both sides, and a
// box shorter than the digits cuts them at the bottom.
TEST(DrawTextClipping, ClippedToTheBoxOnAllSides) {
    TextTarget t(120, 60, Viking(20));
    RECT box{40, 10, 70, 20};
    t.Draw("88888888", box, DT_CENTER | DT_VCENTER);
    EXPECT_EQ(t.Ink(0, 0, 120, 60) - t.Ink(40, 10, 70, 20), 0) << "ink outside the box";
    EXPECT_GT(t.Ink(40, 10, 42, 20), 0) << "cut at the left edge";
    EXPECT_GT(t.Ink(68, 10, 70, 20), 0) << "cut at the right edge";
    EXPECT_GT(t.Ink(40, 17, 70, 20), 0) << "digits reach the bottom edge";

    TextTarget n(120, 60, Viking(20));
    n.Draw("88888888", box, DT_CENTER | DT_NOCLIP);
    EXPECT_GT(n.Ink(0, 0, 40, 60), 0) << "DT_NOCLIP draws past the box";
    EXPECT_GT(n.Ink(40, 20, 70, 60), 0);
}

// Catches drawing every line regardless of the box, and a wrong result height.
TEST(DrawTextClipping, StopsAfterTheLineCrossingTheBottom) {
    TextTarget t(100, 120, Viking(20));
    EXPECT_EQ(t.Draw("AB\nCD\nEF\nGH", {0, 0, 100, 30}, DT_LEFT), 40)
        << "line 2 crosses y = 30, so it is the last";
    TextTarget all(100, 120, Viking(20));
    EXPECT_EQ(all.Draw("AB\nCD\nEF\nGH", {0, 0, 100, 30}, DT_LEFT | DT_NOCLIP), 80);
    EXPECT_GT(all.Ink(0, 60, 100, 80), 0) << "line 4 drawn without clipping";
    EXPECT_EQ(t.Ink(0, 30, 100, 120), 0);
}

// Catches DT_CALCRECT drawing, or measuring without the wrap width.
TEST(DrawTextMeasure, CalcRectMeasuresWithoutDrawing) {
    TextTarget t(200, 100, Viking(20));
    SIZE size{};
    GetTextExtentPoint32(t.dc, "ROK 7", 5, &size);
    RECT r{5, 5, 200, 6};
    EXPECT_EQ(t.Draw("ROK 7", r, DT_CALCRECT), 20);
    RECT m{5, 5, 200, 6};
    DrawText(t.dc, "ROK 7", -1, &m, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(m.right, 5 + size.cx);
    EXPECT_EQ(m.bottom, 25);
    EXPECT_EQ(t.Ink(0, 0, 200, 100), 0) << "DT_CALCRECT draws nothing";

    SIZE word{};
    GetTextExtentPoint32(t.dc, "Vorla", 5, &word);
    RECT w{0, 0, word.cx + 2, 0};
    DrawText(t.dc, "Vorla Vorla Vorla", -1, &w, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(w.bottom, 60) << "three lines of one word";
    EXPECT_EQ(w.right, word.cx);
}

// Catches wrapping that splits words, keeps the breaking space, or ignores the width.
TEST(DrawTextMeasure, WordBreakWrapsAtSpaces) {
    TextTarget wrapped(200, 100, Viking(20)), lines(200, 100, Viking(20));
    SIZE two{};
    GetTextExtentPoint32(wrapped.dc, "ab cd", 5, &two);
    RECT box{0, 0, two.cx + 3, 100};
    EXPECT_EQ(wrapped.Draw("ab cd ef", box, DT_WORDBREAK), 40);
    lines.Draw("ab cd\nef", box, DT_LEFT);
    EXPECT_TRUE(wrapped.EqualsShifted(lines, 0, 0));
    TextTarget longWord(200, 100, Viking(20));
    EXPECT_EQ(longWord.Draw("abcdefghijkl x", {0, 0, 20, 100}, DT_WORDBREAK), 40)
        << "a word wider than the box keeps its own line";
}

// Catches wrapping that measures UTF-8 a byte at a time: words of two-byte letters that
// fit the box exactly stay on one line, and the "&" of a mnemonic underlines a whole letter.
TEST(DrawTextMeasure, Utf8WordsWrapByTheirLetters) {
    TextTarget t(
        300, 100,
        CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif"));
    const char* words = "\xC4\x8D\xC4\x9B\xC5\xA1 \xC5\xBE\xC5\x99\xC5\xAF";  // "čěš žřů"
    SIZE all{};
    GetTextExtentPoint32(t.dc, words, int(std::strlen(words)), &all);
    RECT fits{0, 0, all.cx, 0};
    EXPECT_EQ(DrawText(t.dc, words, -1, &fits, DT_CALCRECT | DT_WORDBREAK), 13) << "one line";
    EXPECT_EQ(fits.right, all.cx);
    RECT narrower{0, 0, all.cx - 1, 0};
    EXPECT_EQ(DrawText(t.dc, words, -1, &narrower, DT_CALCRECT | DT_WORDBREAK), 26);
    RECT mnemonic{0, 0, 0, 0};
    DrawText(t.dc, "&\xC4\x8D", -1, &mnemonic, DT_CALCRECT | DT_SINGLELINE);
    SIZE letter{};
    GetTextExtentPoint32(t.dc, "\xC4\x8D", 2, &letter);
    EXPECT_EQ(mnemonic.right, letter.cx);
}

// Catches mnemonics drawn as "&", and "&&" not giving one "&".
TEST(DrawTextPrefix, AmpersandUnderlinesTheNextCharacter) {
    TextTarget pre(120, 30, Viking(20)), plain(120, 30, Viking(20));
    pre.Draw("&New", {0, 0, 120, 30}, DT_LEFT);
    plain.Draw("New", {0, 0, 120, 30}, DT_LEFT | DT_NOPREFIX);
    TEXTMETRIC tm{};
    GetTextMetrics(pre.dc, &tm);
    SIZE n{};
    GetTextExtentPoint32(pre.dc, "N", 1, &n);
    int differ = 0, outside = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (pre.Raw(x, y) != plain.Raw(x, y)) {
                ++differ;
                outside += x >= n.cx || y <= tm.tmAscent;
            }
        }
    }
    EXPECT_GT(differ, 0) << "an underline under N";
    EXPECT_EQ(outside, 0) << "only below the baseline, under N";

    TextTarget amp(120, 30, Viking(20)), lit(120, 30, Viking(20));
    amp.Draw("A&&B", {0, 0, 120, 30}, DT_LEFT);
    lit.Draw("A&B", {0, 0, 120, 30}, DT_LEFT | DT_NOPREFIX);
    EXPECT_TRUE(amp.EqualsShifted(lit, 0, 0));
}

// Catches crashes on bad arguments.
TEST(DrawTextPlacement, BadArgumentsFailQuietly) {
    TextTarget t(40, 40, Viking(20));
    RECT r{0, 0, 40, 40};
    EXPECT_EQ(DrawText(nullptr, "x", 1, &r, 0), 0);
    EXPECT_EQ(DrawText(t.dc, "x", 1, nullptr, 0), 0);
    EXPECT_EQ(DrawText(t.dc, "", -1, &r, 0), 0);
    RECT huge{INT32_MIN, 0, INT32_MAX, 40};
    EXPECT_EQ(DrawText(t.dc, "x", 1, &huge, DT_CENTER), 0);
    EXPECT_FALSE(TextOut(t.dc, 0, 0, "x", -1));
    EXPECT_EQ(t.Ink(0, 0, 40, 40), 0);
}
