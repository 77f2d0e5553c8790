#include "sprites.h"

#include <map>
#include <stdexcept>
#include <string>

namespace art {

namespace {

// Creatures use c/C/d for their clan's light, middle and dark tone.
constexpr Grid KIND0 = {
    "..................", "..................", "..................", "..................",
    "...........kkk....", "......kkkk.kook...", ".....khhhhkkoOk...", ".....khsssk.kOk...",
    ".....kskskk.kOk...", ".....kssSSk.kOk...", "......kSSk..kOk...", "....kkcCCCkksSk...",
    "...kcccCCCdkSk....", "...kskcCCCdkk.....", "...kSkcCCCdk......", "....kkcCkCdk......",
    ".....kEk.kEk......", "....kkkk.kkkk.....",
};

constexpr Grid KIND1 = {
    "..............k...", ".............kwk..", "............kwmMk.", "......kkk...kmMgk.",
    ".....kmwmk...kgk..", "....kmwmMMk..kOk..", "....kmmMMgk..kOk..", "...kkkkkkkkk.kOk..",
    ".....ksksk...kOk..", ".....ksSSk..kSSk..", "..kkkkkSkkkkcSOk..", ".kyyyykCCCCCdkOk..",
    "kyccCYykCCCCdkOk..", "kycwCCYkcCCdk.kOk.", "kyCCCdYkcCCdk.kOk.", ".kyddYkkcCkdk.kOk.",
    "..kkkk.kgk.kgk.kk.", "......kkkk.kkkk...",
};

constexpr Grid KIND2 = {
    "....kkk.......kk..", "...kccCk.....kwMk.", "...kcCCdk....kwMk.", "..kkkkkkkk...kwMk.",
    "..kmwmmMMgk..kwMk.", "..kmwmmMMgk..kwMk.", "..kkkkkkkgk..kwMk.", "..kmmmMMMgk..kwMk.",
    ".kkmmmMMgkkk.kwMk.", "kkkkkkkkkkmmkkwMk.", "kmmCmkcCCCdmkyyyyk", "kCCCCkcCCCdmMkOOk.",
    "kmmCmkcCCCdkmMMMk.", "kmmCmkcCCCdkkkkk..", ".kmCmkcCCCdk......", "..kmkkmMkgMk......",
    "...k.kmMkgMk......", ".....kkkkkkk......",
};

constexpr Grid SKELETON = {
    "..................", "......kkkkk.......", ".....kiiiiIk......", ".....kkikkIk......",
    ".....kiiiIIk......", "......kiIIk.......", ".......kkk........", "....kkkkikkkk.....",
    "...kiiiiiiiIIk....", "...ki.kiIk.kIk....", "...ki.kiIik.Ik....", "..kik.kiIk..kIk...",
    "..kk..kiiIk..kk...", "......kikkIk......", "......kik.kIk.....", "......kik.kIk.....",
    ".....kiik.kIIk....", ".....kkkk.kkkk....",
};

constexpr Grid GRAVE = {
    "..................", "........kkk.......", "........koOk......", "........koOk......",
    ".....kkkkoOkkkk...", ".....koooooOOOOk..", ".....kOOOooOOOOk..", "......kkkoOkkkk...",
    "........koOk......", "........koOk......", "........koOk......", "....kkkkkoOkkkk...",
    "...kLeeeeeEEELLk..", "..kLeeeeeeeEEEEEk.", ".keeeeeeeeEEEEEEk.", "keeeeeeeeeEEEEEEEk",
    "kEEEEEEEEEEEEEEEEk", ".kkkkkkkkkkkkkkkk.",
};

constexpr Grid SLAIN = {
    "..................", "..kkk.........kk..", ".kiiIk.......kiIk.", ".kkikk......kiIk..",
    "..kIIk.....kiIk...", "...kk.....kiIk....", ".........kiIk.....", "..kkk.....kk......",
    ".kiiiIk...........", "..kkkk.....kk.....", "..........kMMk....", "..kkk.kkkkkMgkk...",
    ".kshSkRRRRRRRRRkk.", ".ksSkkRRRGGRRGGGEk", "..kkxkkGGkkkGGkEEk", ".kxxxxxkkxxxkkkkk.",
    ".kxXXXXXxxxXXXk...", "..kkkkkkkkkkkk....",
};

constexpr Grid ROCK = {
    "..................", "..................", "......kkkkk.......", "....kkrrrrRkk.....",
    "...krrwwrrRRRk....", "..krrwwrrrRRRRk...", "..krrrrrrRRRRRGk..", ".krrrrrrRRRRkRGk..",
    ".krrrrrRRRRRkRGGk.", ".krrrrRRRRRkRRGGk.", "krrrrRRRRRRkRGGGk.", "krrrRRRRRRkRGGGGGk",
    "krRRRRRRRRRGGGGGGk", "kRRRRRRRGGGGGGGGGk", ".kRRRGGGGGGGGGGGk.", "..kkGGGGGGGGGGkk..",
    "....kkkkkkkkkk....", "..................",
};

constexpr Grid TREE = {
    "......kkkkk.......", "....kklllLLkk.....", "...kllwllLLLLk....", "..kllllllLLLLvk...",
    "..kllllLLLLLvvk...", ".klllLLLLLLvvvvk..", ".kllLLLLlLLLvvvk..", ".klLLLLlllLLvvvk..",
    ".kLLLLLLLLLvvvvk..", "..kLLLvLLLvvvvk...", "..kkLvvvLvvvvkk...", "....kkkooOkkk.....",
    "......koOOk.......", "......koOOk.......", "......koOOk.......", ".....kooOOOk......",
    "....kkkkkkkkk.....", "..................",
};

constexpr Grid WATER = {
    "...kkkkkkkkkkkk...", ".kkaaaaaaaAAAAAkk.", ".kaawwaaaAAAAAAAk.", "kaaaaawwaAAAwwAAAk",
    "kaaaaaaaAAAAAAwwAk", "kaaAAAAAAAAAAAAAAk", "kaAAwwAAAAAAAAqqAk", "kAAAAAwwAAAqqqqqqk",
    "kAAAAAAAAAAAAqqqqk", "kAAAAAAAqwwqqqqqqk", "kAAwwAAAAqqwwqqqqk", "kAAAAwwqqqqqqqqqqk",
    "kAAAAAAqqqqqwwqqqk", "kAAqqqqqqqqqqqwwqk", "kAqqqwwqqqqqqqqqqk", ".kqqqqqwwqqqqqqqk.",
    ".kkqqqqqqqqqqqqkk.", "...kkkkkkkkkkkk...",
};

const Grid* const GRIDS[PICTURES] = {&KIND0,    &KIND1, &KIND2, &KIND0, &KIND1, &KIND2,
                                     &SKELETON, &GRAVE, &SLAIN, &ROCK,  &TREE,  &WATER};

const std::map<char, Rgb>& Colours() {
    static const std::map<char, Rgb> colours = {
        {'k', {28, 22, 30}},    {'s', {242, 196, 148}}, {'S', {190, 132, 92}},
        {'h', {112, 70, 34}},   {'w', {250, 250, 255}}, {'m', {196, 202, 216}},
        {'M', {136, 142, 160}}, {'g', {80, 84, 102}},   {'o', {190, 132, 66}},
        {'O', {116, 72, 34}},   {'y', {252, 212, 72}},  {'Y', {184, 130, 28}},
        {'i', {238, 232, 210}}, {'I', {170, 160, 134}}, {'e', {150, 108, 66}},
        {'E', {98, 66, 40}},    {'r', {176, 170, 156}}, {'R', {122, 116, 108}},
        {'G', {74, 70, 70}},    {'l', {128, 204, 74}},  {'L', {58, 142, 46}},
        {'v', {26, 86, 36}},    {'a', {134, 200, 255}}, {'A', {48, 122, 226}},
        {'q', {24, 66, 160}},   {'x', {176, 22, 26}},   {'X', {104, 12, 18}},
    };
    return colours;
}

constexpr Rgb BLUE_TONES[3] = {{112, 164, 255}, {44, 94, 220}, {22, 44, 132}};
constexpr Rgb RED_TONES[3] = {{255, 124, 98}, {212, 40, 32}, {118, 16, 20}};

}  // namespace

Rgb SpriteColour(char ch, int picture) {
    if (ch == '.') {
        return MAGENTA;
    }
    if (ch == 'c' || ch == 'C' || ch == 'd') {
        const Rgb* tones = picture < 3 ? BLUE_TONES : RED_TONES;
        return tones[ch == 'c' ? 0 : ch == 'C' ? 1 : 2];
    }
    auto it = Colours().find(ch);
    if (it == Colours().end()) {
        throw std::runtime_error(std::string("unknown sprite colour '") + ch + "'");
    }
    return it->second;
}

const Grid& SpriteGrid(int picture) {
    return *GRIDS[picture];
}

IndexedImage MakeSpriteSheet() {
    IndexedImage sheet;
    sheet.width = 60;
    sheet.height = 80;
    // Index 0 is the transparent colour and 1 the separator; the rest follow in first use.
    sheet.palette = {MAGENTA, SEPARATOR};
    auto indexOf = [&](Rgb c) {
        for (size_t i = 0; i < sheet.palette.size(); ++i) {
            if (sheet.palette[i] == c) {
                return static_cast<uint8_t>(i);
            }
        }
        sheet.palette.push_back(c);
        return static_cast<uint8_t>(sheet.palette.size() - 1);
    };
    sheet.index.assign(60 * 80, 0);
    for (int p = 0; p < PICTURES; ++p) {
        int x0 = (p % 3) * 20, y0 = (p / 3) * 20;
        const Grid& g = SpriteGrid(p);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 20; ++x) {
                uint8_t idx = 0;
                if (x == 19 || y == 19) {
                    idx = 1;
                } else if (x < SPRITE && y < SPRITE) {
                    if (g[y].size() != SPRITE) {
                        throw std::runtime_error("sprite row of wrong width in picture " +
                                                 std::to_string(p));
                    }
                    idx = indexOf(SpriteColour(g[y][x], p));
                }
                sheet.index[static_cast<size_t>(y0 + y) * 60 + x0 + x] = idx;
            }
        }
    }
    sheet.palette.resize(256, Rgb{0, 0, 0});
    return sheet;
}

Image ToImage(const IndexedImage& img) {
    Image out(img.width, img.height);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            out.Set(x, y, img.palette[img.index[static_cast<size_t>(y) * img.width + x]]);
        }
    }
    return out;
}

}  // namespace art
