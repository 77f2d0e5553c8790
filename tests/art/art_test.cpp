// Layout contracts of the committed artwork that the loader, the renderer and the hit
// areas of the main window rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "image_reader.h"
#include "platform/fs/fs.h"
#include "platform/fs/path.h"

using artcheck::Bitmap;
using artcheck::IconFile;
using artcheck::Rgb;

namespace {

constexpr Rgb MAGENTA{255, 0, 255};
constexpr Rgb SEPARATOR{128, 0, 128};
constexpr Rgb WHITE{255, 255, 255};

std::string ResPath(const std::string& name) {
    return std::string(VORLA_RES_DIR) + "/" + name;
}

Bitmap LoadBmp(const std::string& name) {
    std::string error;
    auto bmp = artcheck::ParseBmp(artcheck::ReadBytes(ResPath(name)), error);
    if (!bmp) {
        ADD_FAILURE() << name << ": " << error;
        return {};
    }
    return *bmp;
}

IconFile LoadIcon(const std::string& name) {
    std::string error;
    auto icon = artcheck::ParseIconFile(artcheck::ReadBytes(ResPath(name)), error);
    if (!icon) {
        ADD_FAILURE() << name << ": " << error;
        return {};
    }
    return *icon;
}

// What GDI makes of a colour on a 5-6-5 or a 5-5-5 display: a colour that lands on the
// same value as magenta becomes transparent under the colour key.
bool CollidesWithKey(Rgb c) {
    auto v565 = [](Rgb p) { return ((p.r >> 3) << 11) | ((p.g >> 2) << 5) | (p.b >> 3); };
    auto v555 = [](Rgb p) { return ((p.r >> 3) << 10) | ((p.g >> 3) << 5) | (p.b >> 3); };
    return v565(c) == v565(MAGENTA) || v555(c) == v555(MAGENTA);
}

std::string Str(Rgb c) {
    std::ostringstream text;
    text << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
    return text.str();
}

// Reports the first pixel of the rectangle that would be keyed out or is magenta.
void ExpectNoKeyColour(const Bitmap& bmp, int x0, int y0, int x1, int y1, const char* what) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (CollidesWithKey(bmp.At(x, y))) {
                ADD_FAILURE() << what << ": key colour " << Str(bmp.At(x, y)) << " at (" << x << ","
                              << y << ")";
                return;
            }
        }
    }
}

void ExpectAll(const Bitmap& bmp, int x0, int y0, int x1, int y1, Rgb c, const char* what) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (!(bmp.At(x, y) == c)) {
                ADD_FAILURE() << what << ": " << Str(bmp.At(x, y)) << " at (" << x << "," << y
                              << "), expected " << Str(c);
                return;
            }
        }
    }
}

bool Bluish(Rgb c) {
    return c.b > c.r + 40;
}
bool Reddish(Rgb c) {
    return c.r > c.b + 40 && c.r > c.g + 40;
}
bool Orange(Rgb c) {
    return c.r > c.g + 30 && c.g > c.b + 10;
}

}  // namespace

TEST(ArtFormats, BitmapsHaveTheSizesAndDepthsTheLoaderExpects) {
    struct Expect {
        const char* name;
        int w, h, bits;
    };
    for (Expect e :
         {Expect{"IDB_PLOCHA.bmp", 640, 480, 24}, Expect{"IDB_POTVORY.bmp", 60, 80, 8},
          Expect{"IDB_POTBIG.bmp", 150, 400, 24}, Expect{"IDB_OKOLI.bmp", 149, 105, 24}}) {
        Bitmap bmp = LoadBmp(e.name);
        EXPECT_EQ(bmp.width, e.w) << e.name;
        EXPECT_EQ(bmp.height, e.h) << e.name;
        EXPECT_EQ(bmp.bits, e.bits) << e.name;
        EXPECT_EQ(bmp.compression, 0u) << e.name << " is not BI_RGB";
        EXPECT_TRUE(bmp.bottomUp) << e.name;
    }
}

TEST(ArtFormats, SpriteSheetPaletteHoldsTheKeyAndTheSeparatorAndNoLookAlike) {
    Bitmap sheet = LoadBmp("IDB_POTVORY.bmp");
    ASSERT_FALSE(sheet.palette.empty());
    EXPECT_LE(sheet.palette.size(), 256u);
    std::set<int> used;
    for (int y = 0; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x) {
            ASSERT_LT(static_cast<size_t>(sheet.IndexAt(x, y)), sheet.palette.size())
                << "index outside the palette at (" << x << "," << y << ")";
            used.insert(sheet.IndexAt(x, y));
        }
    }
    int magenta = 0, separator = 0;
    for (int i : used) {
        Rgb c = sheet.palette[i];
        magenta += c == MAGENTA;
        separator += c == SEPARATOR;
        // A near-magenta picture colour would vanish under the 16-bit colour key.
        EXPECT_TRUE(c == MAGENTA || !CollidesWithKey(c)) << "palette entry " << i << " " << Str(c);
    }
    EXPECT_EQ(magenta, 1) << "the key must be one palette entry";
    EXPECT_EQ(separator, 1);
}

TEST(ArtSpriteSheet, EveryTileHasTheMagentaGutterAndThePurpleSeparator) {
    Bitmap sheet = LoadBmp("IDB_POTVORY.bmp");
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            int x0 = 20 * col, y0 = 20 * row;
            ExpectAll(sheet, x0 + 18, y0, x0 + 18, y0 + 18, MAGENTA, "tile column 18");
            ExpectAll(sheet, x0, y0 + 18, x0 + 18, y0 + 18, MAGENTA, "tile row 18");
            ExpectAll(sheet, x0 + 19, y0, x0 + 19, y0 + 19, SEPARATOR, "tile column 19");
            ExpectAll(sheet, x0, y0 + 19, x0 + 19, y0 + 19, SEPARATOR, "tile row 19");
        }
    }
}

TEST(ArtSpriteSheet, EachPictureStandsOnTransparencyAndTheTwelveDiffer) {
    Bitmap sheet = LoadBmp("IDB_POTVORY.bmp");
    std::set<std::vector<int>> pictures;
    for (int p = 0; p < 12; ++p) {
        int x0 = 20 * (p % 3), y0 = 20 * (p / 3);
        EXPECT_EQ(sheet.At(x0, y0), MAGENTA) << "picture " << p << " has no transparent corner";
        int drawn = 0;
        std::vector<int> pixels;
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 18; ++x) {
                drawn += !(sheet.At(x0 + x, y0 + y) == MAGENTA);
                pixels.push_back(sheet.IndexAt(x0 + x, y0 + y));
            }
        }
        EXPECT_GT(drawn, 18 * 18 / 5) << "picture " << p << " is nearly empty";
        EXPECT_LT(drawn, 18 * 18) << "picture " << p << " hides the ground completely";
        pictures.insert(pixels);
    }
    EXPECT_EQ(pictures.size(), 12u) << "two tiles show the same picture";
}

TEST(ArtSpriteSheet, BlueCreaturesAreBlueAndRedOnesRed) {
    Bitmap sheet = LoadBmp("IDB_POTVORY.bmp");
    for (int kind = 0; kind < 3; ++kind) {
        int blue = 0, red = 0;
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 18; ++x) {
                blue +=
                    Bluish(sheet.At(20 * kind + x, y)) && !(sheet.At(20 * kind + x, y) == MAGENTA);
                red += Reddish(sheet.At(20 * kind + x, 20 + y)) &&
                       !(sheet.At(20 * kind + x, 20 + y) == MAGENTA);
            }
        }
        EXPECT_GE(blue, 8) << "Blue kind " << kind;
        EXPECT_GE(red, 8) << "Red kind " << kind;
    }
}

TEST(ArtPortraitSheet, IsOpaqueAndHoldsTwelveDifferentPortraits) {
    Bitmap sheet = LoadBmp("IDB_POTBIG.bmp");
    ExpectNoKeyColour(sheet, 0, 0, 149, 399, "IDB_POTBIG");
    std::vector<std::vector<Rgb>> portraits;
    for (int p = 0; p < 12; ++p) {
        std::vector<Rgb>& pixels = portraits.emplace_back();
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 50; ++x) {
                pixels.push_back(sheet.At(50 * (p % 3) + x, 100 * (p / 3) + y));
            }
        }
    }
    for (size_t a = 0; a < portraits.size(); ++a) {
        for (size_t b = a + 1; b < portraits.size(); ++b) {
            EXPECT_TRUE(portraits[a] != portraits[b])
                << "portraits " << a << " and " << b << " are the same";
        }
    }
}

TEST(ArtOkoli, StopButtonIsOpaqueAndRedAndTheRestOfTheLowerBandIsKey) {
    Bitmap okoli = LoadBmp("IDB_OKOLI.bmp");
    ExpectNoKeyColour(okoli, 0, 0, 148, 49, "STOP button");
    EXPECT_TRUE(Reddish(okoli.At(20, 25))) << Str(okoli.At(20, 25));
    ExpectAll(okoli, 22, 50, 148, 104, MAGENTA, "unused band");
}

TEST(ArtOkoli, SwordMarkerStandsOnMagentaWithItsBladeInTheMiddle) {
    Bitmap okoli = LoadBmp("IDB_OKOLI.bmp");
    for (auto [x, y] : {std::pair{0, 50}, {21, 50}, {0, 104}, {21, 104}, {0, 70}, {21, 70}}) {
        EXPECT_EQ(okoli.At(x, y), MAGENTA) << "(" << x << "," << y << ")";
    }
    int blade = 0;
    for (int y = 50; y < 105; ++y) {
        blade += !(okoli.At(10, y) == MAGENTA) || !(okoli.At(11, y) == MAGENTA);
        EXPECT_FALSE(CollidesWithKey(okoli.At(10, y)) && !(okoli.At(10, y) == MAGENTA));
    }
    EXPECT_GE(blade, 45) << "the sword should run nearly the marker's full height";
}

TEST(ArtBackground, HasNoKeyColourAnywhere) {
    Bitmap plocha = LoadBmp("IDB_PLOCHA.bmp");
    ExpectNoKeyColour(plocha, 0, 0, 639, 479, "IDB_PLOCHA");
}

TEST(ArtBackground, GridLinesAreWhiteAndStopAtTheBoardEdge) {
    Bitmap plocha = LoadBmp("IDB_PLOCHA.bmp");
    for (int i = 0; i <= 23; ++i) {
        int p = 10 + 20 * i;
        ExpectAll(plocha, p, 10, p, 470, WHITE, "vertical grid line");
        ExpectAll(plocha, 10, p, 470, p, WHITE, "horizontal grid line");
        EXPECT_NE(plocha.At(p, 9), WHITE) << "line " << i << " starts above the board";
        EXPECT_NE(plocha.At(p, 471), WHITE) << "line " << i << " runs below the board";
        EXPECT_NE(plocha.At(9, p), WHITE);
        EXPECT_NE(plocha.At(471, p), WHITE);
    }
    // The inside of every square is ground: a tile's 19 x 19 covers it exactly.
    for (int c = 0; c < 23; ++c) {
        for (int r = 0; r < 23; ++r) {
            for (int d = 0; d < 19; ++d) {
                ASSERT_NE(plocha.At(11 + 20 * c + d, 11 + 20 * r + d), WHITE)
                    << "square " << c << "," << r;
            }
        }
    }
}

TEST(ArtBackground, PanelRegionsShowTheirColoursWhereTheHitAreasAre) {
    Bitmap plocha = LoadBmp("IDB_PLOCHA.bmp");
    EXPECT_TRUE(Bluish(plocha.At(490, 40))) << "MENU field " << Str(plocha.At(490, 40));
    EXPECT_TRUE(Orange(plocha.At(490, 440))) << "START field " << Str(plocha.At(490, 440));
    EXPECT_TRUE(Orange(plocha.At(490, 380))) << "year box " << Str(plocha.At(490, 380));
    EXPECT_TRUE(Bluish(plocha.At(489, 160))) << "gauge left " << Str(plocha.At(489, 160));
    EXPECT_TRUE(Reddish(plocha.At(624, 160))) << "gauge right " << Str(plocha.At(624, 160));
    EXPECT_TRUE(Bluish(plocha.At(550, 185))) << "panel upper left " << Str(plocha.At(550, 185));
    EXPECT_TRUE(Orange(plocha.At(620, 300))) << "panel lower right " << Str(plocha.At(620, 300));
    // The dotted portrait frame is yellow along most of its length.
    int yellow = 0, total = 0;
    for (int x = 486; x <= 544; ++x) {
        for (int y : {189, 296}) {
            Rgb c = plocha.At(x, y);
            yellow += c.r > 200 && c.g > 180 && c.b < 100;
            ++total;
        }
    }
    EXPECT_GT(yellow * 2, total);
}

TEST(ArtIcons, BothShieldsCome32And16WithTheirCrossColour) {
    struct Expect {
        const char* name;
        bool red;
    };
    for (Expect e : {Expect{"icon128.ico", true}, Expect{"icon136.ico", false}}) {
        IconFile icon = LoadIcon(e.name);
        EXPECT_EQ(icon.type, 1) << e.name;
        ASSERT_EQ(icon.images.size(), 2u) << e.name;
        std::set<int> sizes;
        for (const auto& img : icon.images) {
            EXPECT_EQ(img.width, img.height) << e.name;
            sizes.insert(img.width);
            EXPECT_TRUE(img.Transparent(0, img.height - 1)) << e.name << " corner is opaque";
            int cross = 0;
            for (int y = 0; y < img.height; ++y) {
                for (int x = 0; x < img.width; ++x) {
                    if (!img.Transparent(x, y)) {
                        cross += e.red ? Reddish(img.At(x, y)) : Bluish(img.At(x, y));
                    }
                }
            }
            EXPECT_GE(cross, img.width / 2) << e.name << " " << img.width << "px has no cross";
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 32})) << e.name;
    }
}

constexpr int DESKTOP_ICON_SIZES[] = {16, 32, 48, 64, 128, 256};

std::string DesktopIcon(int size) {
    return "icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
           "/apps/io.github.vorla.Vorla.png";
}

// Catches a desktop icon missing at a size the icon theme looks for, of the wrong size,
// without transparency around the shield, or without the red cross of the program's icon.
TEST(ArtIcons, DesktopIconsComeAtEverySizeAsTheRedShieldOnClearGround) {
    for (int size : DESKTOP_ICON_SIZES) {
        SCOPED_TRACE(size);
        const auto bytes = artcheck::ReadBytes(ResPath(DesktopIcon(size)));
        int w = 0, h = 0, channels = 0;
        unsigned char* pixels =
            stbi_load_from_memory(bytes.data(), int(bytes.size()), &w, &h, &channels, 4);
        ASSERT_NE(pixels, nullptr) << stbi_failure_reason();
        EXPECT_EQ(w, size);
        EXPECT_EQ(h, size);
        auto alpha = [&](int x, int y) { return pixels[(size_t(y) * w + x) * 4 + 3]; };
        auto colour = [&](int x, int y) {
            const unsigned char* p = pixels + (size_t(y) * w + x) * 4;
            return Rgb{p[0], p[1], p[2]};
        };
        EXPECT_EQ(alpha(0, h - 1), 0) << "the lower corner is not clear";
        EXPECT_EQ(alpha(w - 1, h - 1), 0) << "the lower corner is not clear";
        EXPECT_EQ(alpha(w / 2, h / 2), 255) << "the middle is not opaque";
        int clear = 0, red = 0, other = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int a = alpha(x, y);
                clear += a == 0;
                other += a != 0 && a != 255;
                red += a == 255 && Reddish(colour(x, y));
            }
        }
        EXPECT_EQ(other, 0) << "half-transparent pixels in pixel art";
        EXPECT_GT(clear, size * size / 20) << "no clear ground around the shield";
        EXPECT_GT(red, size * size / 10) << "no red cross";
        stbi_image_free(pixels);
    }
}

TEST(ArtCursor, IsAMonochromeArrowWithItsTipOnTheHotSpot) {
    IconFile cur = LoadIcon("cursor139.cur");
    EXPECT_EQ(cur.type, 2);
    ASSERT_EQ(cur.images.size(), 1u);
    const auto& img = cur.images[0];
    EXPECT_EQ(img.width, 32);
    EXPECT_EQ(img.height, 32);
    EXPECT_EQ(img.bits, 1);
    EXPECT_EQ(img.hotX, 1);
    EXPECT_EQ(img.hotY, 1);
    EXPECT_FALSE(img.Transparent(1, 1)) << "the tip must be on the hot spot";
    EXPECT_TRUE(img.Transparent(0, 0));
    EXPECT_TRUE(img.Transparent(2, 1)) << "nothing of the arrow lies right of its tip";
    EXPECT_TRUE(img.Transparent(1, 0)) << "nothing of the arrow lies above its tip";
}

// The characters a BDF face holds, and the value of one of its properties.
struct BdfFace {
    std::set<uint32_t> codes;
    std::string Property(const std::string& name) const {
        size_t at = text.find("\n" + name + " ");
        return at == std::string::npos
                   ? ""
                   : text.substr(at + name.size() + 2,
                                 text.find('\n', at + 1) - at - name.size() - 2);
    }
    std::string text;
};

BdfFace LoadBdf(const std::string& name) {
    BdfFace face;
    auto bytes = artcheck::ReadBytes(ResPath(name));
    face.text.assign(bytes.begin(), bytes.end());
    for (size_t at = face.text.find("\nENCODING "); at != std::string::npos;
         at = face.text.find("\nENCODING ", at + 1)) {
        face.codes.insert(uint32_t(std::stoul(face.text.substr(at + 10))));
    }
    return face;
}

// Catches a character that would show as the missing-glyph box: file names may hold any
// Latin-1 or Latin Extended-A letter, and single-byte text maps through Windows-1252.
TEST(ArtFaces, DialogFaceCoversLatin1ExtendedAAndTheCodePage) {
    BdfFace face = LoadBdf("fonts/vorla-sans-13.bdf");
    EXPECT_EQ(face.Property("FAMILY_NAME"), "\"Vorla Sans\"");
    EXPECT_EQ(face.Property("FONT_ASCENT"), "11");
    EXPECT_EQ(face.Property("FONT_DESCENT"), "2");
    std::vector<uint32_t> wanted;
    for (uint32_t c = 0x20; c < 0x7F; ++c)
        wanted.push_back(c);
    for (uint32_t c = 0xA0; c < 0x180; ++c)
        wanted.push_back(c);
    for (uint32_t c :
         {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x2039,
          0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x203A})
        wanted.push_back(c);
    for (uint32_t c : wanted)
        EXPECT_TRUE(face.codes.count(c)) << "no glyph for U+" << std::hex << c;
}

// Catches a panel strike without its cell height or without a character the panel shows.
TEST(ArtFaces, VikingStrikesHoldDigitsCapitalsAndTheirCells) {
    for (auto [name, cell] : {std::pair{"fonts/viking-20.bdf", 20}, {"fonts/viking-28.bdf", 28}}) {
        SCOPED_TRACE(name);
        BdfFace face = LoadBdf(name);
        EXPECT_EQ(face.Property("FAMILY_NAME"), "\"Viking\"");
        EXPECT_EQ(
            std::stoi(face.Property("FONT_ASCENT")) + std::stoi(face.Property("FONT_DESCENT")),
            cell);
        for (char c : std::string("0123456789-ROKHPATVEabcxyz "))
            EXPECT_TRUE(face.codes.count(uint32_t(c))) << "no glyph for '" << c << "'";
    }
}

TEST(ArtGenerator, ReproducesTheCommittedFilesByteForByte) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("vorla_art_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // The system's shell starts the generator, and wants the system's own form of its path.
    std::string program = platform::fs::Absolute(platform::fs::CurrentFolder(), VORLA_ARTGEN);
    std::replace(program.begin(), program.end(), '/', platform::fs::Separator());
    // Quoted only where needed: cmd.exe takes a line that starts with a quote apart.
    auto quoted = [](const std::string& text) {
        return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
    };
    std::string cmd = quoted(program) + " " + quoted(dir.string());
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    std::vector<std::string> names = {"IDB_PLOCHA.bmp",      "IDB_POTVORY.bmp",
                                      "IDB_POTBIG.bmp",      "IDB_OKOLI.bmp",
                                      "icon128.ico",         "icon136.ico",
                                      "cursor139.cur",       "fonts/viking-20.bdf",
                                      "fonts/viking-28.bdf", "fonts/vorla-sans-13.bdf"};
    for (int size : DESKTOP_ICON_SIZES) {
        names.push_back(DesktopIcon(size));
    }
    for (const std::string& name : names) {
        auto made = artcheck::ReadBytes((dir / name).string());
        auto committed = artcheck::ReadBytes(ResPath(name));
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == committed) << name << " differs from the generator's output";
    }
    fs::remove_all(dir);
}
