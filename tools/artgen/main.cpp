// Writes the program's artwork into a folder, and optionally a preview of the screen
// composed from it. The output depends on nothing but this source.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "faces.h"
#include "formats.h"
#include "icons.h"
#include "portraits.h"
#include "scenery.h"
#include "sprites.h"

using namespace art;

namespace {

// Every picture on the board, placed as the renderer places a square's tile.
Image Preview(const Image& plocha, const Image& potvory, const Image& potbig, const Image& okoli) {
    Image screen = plocha;
    auto tile = [&](int picture, int col, int row) {
        int size = picture >= 6 && picture <= 8 ? 18 : 19;
        screen.Blit(potvory, (picture % 3) * 20, (picture / 3) * 20, size, size, 11 + 20 * col,
                    11 + 20 * row, true);
    };
    // Two armies facing each other, the fallen between them, terrain around.
    const int layout[][3] = {
        {0, 3, 8},    {0, 4, 9},    {1, 3, 10},   {2, 4, 11},   {1, 5, 12},   {0, 3, 12},
        {2, 5, 10},   {3, 17, 8},   {3, 18, 9},   {4, 17, 10},  {5, 16, 11},  {4, 18, 12},
        {3, 17, 12},  {5, 16, 9},   {6, 10, 9},   {7, 11, 10},  {8, 10, 11},  {6, 12, 12},
        {7, 9, 12},   {8, 12, 8},   {9, 2, 2},    {9, 3, 2},    {9, 2, 3},    {10, 6, 3},
        {10, 7, 2},   {10, 5, 4},   {10, 8, 4},   {11, 14, 18}, {11, 15, 18}, {11, 16, 18},
        {11, 14, 19}, {11, 15, 19}, {11, 16, 19}, {11, 15, 20}, {10, 19, 16}, {10, 20, 17},
        {9, 20, 3},   {9, 21, 4},   {10, 4, 19},  {0, 1, 20},   {1, 2, 20},   {2, 3, 20},
        {3, 8, 20},   {4, 9, 20},   {5, 10, 20},
    };
    for (auto& t : layout) {
        tile(t[0], t[1], t[2]);
    }
    screen.Blit(okoli, 0, 0, 149, 50, 482, 414);
    screen.Blit(potbig, 100, 0, 50, 100, 490, 192);
    screen.Blit(okoli, 0, 50, 22, 55, 546, 143, true);
    return screen;
}

// Every glyph of the three strikes on their own colours, at 1:1 above and four times
// enlarged below, for looking at the faces.
Image FacePreview(const std::vector<Face>& faces) {
    const Rgb PANEL_PAPER{166, 70, 14}, PANEL_INK{255, 255, 0};
    const Rgb DIALOG_PAPER{192, 192, 192}, DIALOG_INK{0, 0, 0};
    std::vector<std::pair<const Face*, std::u32string>> lines;
    for (const Face& f : faces) {
        std::u32string all;
        for (const FaceGlyph& g : f.glyphs) {
            if (all.size() == 48) {
                lines.emplace_back(&f, all);
                all.clear();
            }
            all += static_cast<char32_t>(g.code);
        }
        lines.emplace_back(&f, all);
        if (f.family == "Viking") {
            lines.emplace_back(&f, U"ROK 999999  HP 255  AT 2 7 8  -128");
        } else {
            lines.emplace_back(
                &f, U"Delka roku  ms  Narozeni pri  sousedech.  Osamoceni =  - rand(  )");
            lines.emplace_back(&f,
                               U"Premnozeni =  + rand(  )  Populace Zabily Zemrelo Porodu Total");
            lines.emplace_back(
                &f, U"Modry rod  Cerveny rod  Vorla, verze 1.0  Please enter an integer.");
            lines.emplace_back(&f,
                               U"P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148 "
                               U"\u00fap\u011bl \u010f\u00e1belsk\u00e9 \u00f3dy. "
                               U"Gr\u00fc\u00dfe aus K\u00f6ln, \u0141\u00f3d\u017a.");
        }
    }
    int width = 0, height = 0;
    for (const auto& [face, text] : lines) {
        width = std::max(width, face->TextWidth(text) + 8);
        height += face->ascent + face->descent + 4;
    }
    Image small(width, height + 4);
    int y = 4;
    for (const auto& [face, text] : lines) {
        const bool panel = face->family == "Viking";
        int h = face->ascent + face->descent + 4;
        small.Fill(0, y - 2, width - 1, y + h - 3, panel ? PANEL_PAPER : DIALOG_PAPER);
        DrawFaceText(small, 4, y, *face, text, panel ? PANEL_INK : DIALOG_INK);
        y += h;
    }
    const int scale = 4;
    Image out(width * scale, small.Height() * (scale + 1), Rgb{40, 40, 40});
    out.Blit(small, 0, 0, width, small.Height(), 0, 0);
    for (int sy = 0; sy < small.Height(); ++sy) {
        for (int sx = 0; sx < width; ++sx) {
            out.Fill(sx * scale, small.Height() + sy * scale, sx * scale + scale - 2,
                     small.Height() + sy * scale + scale - 2, small.At(sx, sy));
        }
    }
    return out;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: vorla_artgen <output folder> [--preview <file.png|file.bmp>] "
                 "[--face-preview <file.png>]\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc % 2 != 0) {
        Usage();
        return 2;
    }
    std::string out = argv[1];
    std::string preview, facePreview;
    for (int i = 2; i < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--preview") {
            preview = argv[i + 1];
        } else if (option == "--face-preview") {
            facePreview = argv[i + 1];
        } else {
            Usage();
            return 2;
        }
    }
    try {
        std::vector<Face> faces = {MakeVikingFace(20), MakeVikingFace(28), MakeDialogFace()};
        std::filesystem::create_directories(out + "/fonts");
        WriteFile(out + "/fonts/viking-20.bdf", EncodeBdf(faces[0]));
        WriteFile(out + "/fonts/viking-28.bdf", EncodeBdf(faces[1]));
        WriteFile(out + "/fonts/vorla-sans-13.bdf", EncodeBdf(faces[2]));
        if (!facePreview.empty()) {
            WriteFile(facePreview, EncodePng(FacePreview(faces)));
        }
        IndexedImage sprites = MakeSpriteSheet();
        Image plocha = MakeBackground();
        Image potbig = MakePortraits();
        Image okoli = MakeOkoli();
        WriteFile(out + "/IDB_PLOCHA.bmp", EncodeBmp24(plocha));
        WriteFile(out + "/IDB_POTVORY.bmp", EncodeBmp8(sprites));
        WriteFile(out + "/IDB_POTBIG.bmp", EncodeBmp24(potbig));
        WriteFile(out + "/IDB_OKOLI.bmp", EncodeBmp24(okoli));
        WriteFile(out + "/icon128.ico",
                  EncodeIco({MakeShieldIcon(32, RED_CROSS), MakeShieldIcon(16, RED_CROSS)}));
        WriteFile(out + "/icon136.ico",
                  EncodeIco({MakeShieldIcon(32, BLUE_CROSS), MakeShieldIcon(16, BLUE_CROSS)}));
        WriteFile(out + "/cursor139.cur", EncodeMonoCur(MakeArrowCursor(), 1, 1));
        // The desktop's icons: installed, not built into the program.
        for (int size : APP_ICON_SIZES) {
            const std::string folder = out + "/icons/hicolor/" + std::to_string(size) + "x" +
                                       std::to_string(size) + "/apps";
            std::filesystem::create_directories(folder);
            WriteFile(folder + "/" + APP_ICON_NAME + ".png", EncodeAppIcon(size));
        }
        if (!preview.empty()) {
            Image screen = Preview(plocha, ToImage(sprites), potbig, okoli);
            bool bmp = preview.size() > 4 && preview.substr(preview.size() - 4) == ".bmp";
            WriteFile(preview, bmp ? EncodeBmp24(screen) : EncodePng(screen));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorla_artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
