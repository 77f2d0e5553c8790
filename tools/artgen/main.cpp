// Writes the program's artwork into a folder, and optionally a preview of the screen
// composed from it. The output depends on nothing but this source.
#include <cstdio>
#include <exception>
#include <string>

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

void Usage() {
    std::fprintf(stderr, "usage: vorla_artgen <output folder> [--preview <file.png|file.bmp>]\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        Usage();
        return 2;
    }
    std::string out = argv[1];
    std::string preview = argc == 4 ? argv[3] : "";
    if (argc == 4 && std::string(argv[2]) != "--preview") {
        Usage();
        return 2;
    }
    try {
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
