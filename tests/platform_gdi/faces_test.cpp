// The faces shipped with the program: which names reach them, at which strike and size,
// and how bitmap strikes are enlarged and emboldened.
#include <gtest/gtest.h>

#include <string>

#include "gdi_fixture.h"
#include "platform/gdi/fonts.h"
#include "platform/res/resources.h"

using gdi_test::Target;
using platform::FaceSource;
using platform::PixelFormat;

namespace {

constexpr uint32_t BG = 0x0000;
constexpr uint32_t INK = 0xFFFF;

HFONT Face(const char* name, int height, int weight = FW_NORMAL) {
    return CreateFont(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, name);
}

// White text on black with a font selected; the font is deleted with the target.
struct Canvas : Target {
    Canvas(int w, int h, HFONT f) : Target(w, h, PixelFormat::RGB565), font(f) {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        old = SelectObject(dc, font);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(font);
    }
    TEXTMETRIC Metrics() const {
        TEXTMETRIC tm{};
        GetTextMetrics(dc, &tm);
        return tm;
    }
    int Width(const std::string& s) const {
        SIZE size{};
        GetTextExtentPoint32(dc, s.c_str(), int(s.size()), &size);
        return size.cx;
    }
    bool Ink(int x, int y) const { return Raw(x, y) == INK; }
    HFONT font;
    HGDIOBJ old;
};

// Catches a dialog name that reaches an installed face (whose widths the templates were
// not laid out for), and a dialog face whose metrics would move every control: a 13-pixel
// cell, an 11-pixel em, and base units of 6 x 13 from the letters' average width.
TEST(ShippedFaces, DialogNamesGetTheDialogFaceWithClassicMetrics) {
    for (const char* name : {"MS Sans Serif", "ms sans serif", "MS Shell Dlg", "MS Shell Dlg 2",
                             "Microsoft Sans Serif"}) {
        SCOPED_TRACE(name);
        Canvas c(10, 10, Face(name, -11));
        FaceSource s = platform::DescribeFontFace(c.font);
        EXPECT_EQ(s.kind, FaceSource::SHIPPED);
        EXPECT_EQ(s.family, platform::DIALOG_FACE_FAMILY);
        TEXTMETRIC tm = c.Metrics();
        EXPECT_EQ(tm.tmHeight, 13);
        EXPECT_EQ(tm.tmAscent, 11);
        EXPECT_EQ(tm.tmInternalLeading, 2);
        int letters = c.Width("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
        EXPECT_EQ((letters / 26 + 1) / 2, 6) << "52 letters are " << letters << " pixels";
    }
    Canvas system(10, 10, Face("System", 16, FW_BOLD));
    EXPECT_EQ(platform::DescribeFontFace(system.font).family, platform::DIALOG_FACE_FAMILY)
        << "text drawn without a font selected must not depend on installed faces";
}

// Catches a strike chosen by the wrong height, or an enlargement that is not whole: a
// request between strikes gets the largest strike times the largest factor that fits.
TEST(ShippedFaces, VikingStrikesAreChosenByCellAndEnlargedByWholeFactors) {
    struct Case {
        int height, cell, factor;
    } cases[] = {{20, 20, 1}, {28, 28, 1}, {27, 20, 1}, {40, 40, 2},  {56, 56, 2},
                 {59, 56, 2}, {60, 60, 3}, {10, 20, 1}, {-18, 20, 1}, {-36, 40, 2}};
    for (const Case& k : cases) {
        SCOPED_TRACE("height " + std::to_string(k.height));
        Canvas c(10, 10, Face("Viking", k.height));
        FaceSource s = platform::DescribeFontFace(c.font);
        EXPECT_EQ(s.kind, FaceSource::SHIPPED);
        EXPECT_EQ(s.family, "Viking");
        EXPECT_EQ(s.cellHeight, k.cell);
        EXPECT_EQ(s.factor, k.factor);
        EXPECT_EQ(c.Metrics().tmHeight, k.cell);
    }
    Canvas huge(10, 10, Face("Viking", 1000));
    EXPECT_EQ(platform::DescribeFontFace(huge.font).factor, 8) << "enlargement has a ceiling";
}

// Catches an enlargement that smooths, shifts or drops pixels: twice the strike is the
// strike with every pixel a 2 x 2 block, at twice the pen position and advance.
TEST(ShippedFaces, EnlargedStrikeRepeatsEachPixel) {
    Canvas one(40, 40, Face("Viking", 20)), two(80, 80, Face("Viking", 40));
    TextOut(one.dc, 0, 0, "2", 1);
    TextOut(two.dc, 0, 0, "2", 1);
    EXPECT_EQ(two.Width("27"), 2 * one.Width("27"));
    int differ = 0, ink = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 80; ++x) {
            differ += two.Ink(x, y) != one.Ink(x / 2, y / 2);
            ink += two.Ink(x, y);
        }
    }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(ink, 100);
}

// Catches bold asked of a face without a bold strike coming out regular, or emboldened
// by blurring: it is the same glyph again one pixel to the right, one pixel wider.
TEST(ShippedFaces, BoldWithoutABoldStrikeOverstrikesOnePixel) {
    Canvas regular(30, 20, Face("MS Sans Serif", -11)),
        bold(30, 20, Face("MS Sans Serif", -11, FW_BOLD));
    TextOut(regular.dc, 2, 0, "H", 1);
    TextOut(bold.dc, 2, 0, "H", 1);
    EXPECT_EQ(bold.Width("H"), regular.Width("H") + 1);
    int differ = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 1; x < 2 + regular.Width("H"); ++x) {
            differ += bold.Ink(x, y) != (regular.Ink(x, y) || regular.Ink(x - 1, y));
        }
    }
    EXPECT_EQ(differ, 0);
    // Viking is bold already: asking for bold changes nothing.
    Canvas viking(10, 10, Face("Viking", 20)), vikingBold(10, 10, Face("Viking", 20, FW_BOLD));
    EXPECT_EQ(vikingBold.Width("255"), viking.Width("255"));
}

// Catches a character the face lacks drawn as nothing (a value that silently vanishes):
// it shows the face's box.
TEST(ShippedFaces, MissingCharacterShowsTheBox) {
    Canvas c(40, 30, Face("Viking", 20));
    TextOut(c.dc, 0, 0, "@", 1);
    EXPECT_GT(c.CountNot(BG, 0, 0, 40, 30), 20);
    EXPECT_GT(c.Width("@"), 4);
}

// Catches UTF-8 drawn a byte at a time (two wrong glyphs for one letter) or a letter of
// Latin Extended-A dropped: each shows its marked glyph, as wide as its plain letter, and
// a sequence cut short or a stray byte still shows (as Windows-1252 reads it).
TEST(ShippedFaces, Utf8LettersDrawAsOneGlyphWithTheirMarks) {
    for (auto [marked, plain] : {std::pair{"\xC4\x8D", "c"},  // c with caron
                                 {"\xC4\x9B", "e"},           // e with caron
                                 {"\xC5\xAF", "u"},           // u with ring
                                 {"\xC3\xBC", "u"},           // u with diaeresis
                                 {"\xC5\xBD", "Z"}}) {        // Z with caron
        Canvas a(20, 20, Face("MS Sans Serif", -11)), b(20, 20, Face("MS Sans Serif", -11));
        TextOut(a.dc, 2, 0, marked, 2);
        TextOut(b.dc, 2, 0, plain, 1);
        EXPECT_GT(a.CountNot(BG, 0, 0, 20, 20), b.CountNot(BG, 0, 0, 20, 20) + 1) << plain;
        EXPECT_EQ(a.Width(marked), b.Width(plain)) << plain;
    }
    Canvas c(40, 20, Face("MS Sans Serif", -11));
    EXPECT_EQ(c.Width("\xC3"), c.Width("\xC3\x20") - c.Width(" ")) << "a lead byte alone";
    EXPECT_GT(c.Width("\xC3"), 0);
}

// Catches a letter the dialog face lacks drawn as nothing, or as the glyphs of its bytes:
// any such letter shows the one missing-glyph box.
TEST(ShippedFaces, LettersTheFaceLacksShowOneBox) {
    Canvas c(40, 20, Face("MS Sans Serif", -11));
    const int box = c.Width("\xD0\x96");  // Cyrillic Zhe
    EXPECT_GT(box, 2);
    EXPECT_EQ(c.Width("\xE4\xB8\x80"), box);      // a CJK ideograph
    EXPECT_EQ(c.Width("\xF0\x9F\x98\x80"), box);  // an emoji
    TextOut(c.dc, 2, 0, "\xD0\x96", 2);
    EXPECT_GT(c.CountNot(BG, 0, 0, 40, 20), 10);
}

// Catches the dialog face dropping Windows-1252 letters: a byte that is no part of UTF-8
// and maps to a letter with a mark shows more ink than the same letter without it.
TEST(ShippedFaces, CodePageLettersCarryTheirMarks) {
    for (auto [marked, plain] : {std::pair{"\x9a", "s"},
                                 {"\x8e", "Z"},
                                 {"\xe9", "e"},
                                 {"\xdc", "U"},
                                 {"\xe5", "a"},
                                 {"\xe7", "c"}}) {
        Canvas a(20, 20, Face("MS Sans Serif", -11)), b(20, 20, Face("MS Sans Serif", -11));
        TextOut(a.dc, 2, 0, marked, 1);
        TextOut(b.dc, 2, 0, plain, 1);
        EXPECT_GT(a.CountNot(BG, 0, 0, 20, 20), b.CountNot(BG, 0, 0, 20, 20) + 1) << plain;
    }
}

// Catches the matcher depending on the embedded faces being there: without them a name
// still gets an installed face, as it did before faces were shipped.
TEST(ShippedFaces, WithoutTheEmbeddedFacesNamesFallBackToInstalledFaces) {
    if (!gdi_test::INSTALLED_FACES) {
        GTEST_SKIP() << gdi_test::NO_INSTALLED_FACES;
    }
    for (const char* name : {"VIKING-20", "VIKING-28", "VORLA-SANS-13"}) {
        platform::HideResourceForTesting(name, true);
    }
    Canvas c(200, 40, Face("Viking", 20));
    FaceSource s = platform::DescribeFontFace(c.font);
    for (const char* name : {"VIKING-20", "VIKING-28", "VORLA-SANS-13"}) {
        platform::HideResourceForTesting(name, false);
    }
    EXPECT_EQ(s.kind, FaceSource::INSTALLED);
    EXPECT_EQ(c.Metrics().tmHeight, 20);
    TextOut(c.dc, 0, 0, "ROK 7", 5);
    EXPECT_GT(c.CountNot(BG, 0, 0, 200, 40), 30);
}

}  // namespace
