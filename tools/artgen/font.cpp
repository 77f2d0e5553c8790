#include "font.h"

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace art {

namespace {

struct Glyph {
    char ch;
    std::vector<std::string_view> rows;
};

// Hand-made bold glyphs: stems of three pixels on the buttons, two on the labels.
const std::vector<Glyph>& LargeGlyphs() {
    static const std::vector<Glyph> glyphs = {
        {'M',
         {"###....###", "####..####", "##########", "###.##.###", "###.##.###", "###....###",
          "###....###", "###....###", "###....###", "###....###", "###....###", "###....###",
          "###....###"}},
        {'E',
         {"########", "########", "###.....", "###.....", "###.....", "#######.", "#######.",
          "###.....", "###.....", "###.....", "###.....", "########", "########"}},
        {'N',
         {"####...###", "####...###", "#####..###", "#####..###", "#####..###", "###.##.###",
          "###.##.###", "###.##.###", "###..#####", "###..#####", "###..#####", "###...####",
          "###...####"}},
        {'U',
         {"###....###", "###....###", "###....###", "###....###", "###....###", "###....###",
          "###....###", "###....###", "###....###", "###....###", "###....###", ".########.",
          "..######.."}},
        {'S',
         {"..######.", ".########", "###....##", "###......", "###......", ".######..", "..######.",
          "......###", "......###", "......###", "##....###", "########.", ".######.."}},
        {'T',
         {"#########", "#########", "...###...", "...###...", "...###...", "...###...", "...###...",
          "...###...", "...###...", "...###...", "...###...", "...###...", "...###..."}},
        {'A',
         {"...####...", "..######..", ".###..###.", "###....###", "###....###", "###....###",
          "##########", "##########", "###....###", "###....###", "###....###", "###....###",
          "###....###"}},
        {'R',
         {"########..", "#########.", "###....###", "###....###", "###....###", "###...###.",
          "########..", "#######...", "###.####..", "###..####.", "###...###.", "###...####",
          "###....###"}},
        {'O',
         {"..######..", ".########.", "###....###", "###....###", "###....###", "###....###",
          "###....###", "###....###", "###....###", "###....###", "###....###", ".########.",
          "..######.."}},
        {'P',
         {"########.", "#########", "###...###", "###...###", "###...###", "#########", "########.",
          "###......", "###......", "###......", "###......", "###......", "###......"}},
    };
    return glyphs;
}

const std::vector<Glyph>& SmallGlyphs() {
    static const std::vector<Glyph> glyphs = {
        {'H',
         {"##...##", "##...##", "##...##", "##...##", "#######", "##...##", "##...##", "##...##",
          "##...##"}},
        {'P',
         {"######.", "##...##", "##...##", "##...##", "######.", "##.....", "##.....", "##.....",
          "##....."}},
        {'A',
         {"..###..", ".##.##.", "##...##", "##...##", "#######", "##...##", "##...##", "##...##",
          "##...##"}},
        {'T',
         {"######", "######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..",
          "..##.."}},
        {'V',
         {"##...##", "##...##", "##...##", "##...##", "##...##", ".##.##.", ".##.##.", "..###..",
          "...#..."}},
        {'E',
         {"######", "##....", "##....", "##....", "#####.", "##....", "##....", "##....",
          "######"}},
        {'K',
         {"##...##", "##..##.", "##.##..", "####...", "###....", "####...", "##.##..", "##..##.",
          "##...##"}},
    };
    return glyphs;
}

const Glyph& Find(FontSize size, char ch) {
    for (const Glyph& g : size == FontSize::LARGE ? LargeGlyphs() : SmallGlyphs()) {
        if (g.ch == ch) {
            return g;
        }
    }
    throw std::runtime_error(std::string("no glyph for '") + ch + "'");
}

int Spacing(FontSize size) {
    return size == FontSize::LARGE ? 3 : 2;
}

}  // namespace

int TextHeight(FontSize size) {
    return size == FontSize::LARGE ? 13 : 9;
}

int TextWidth(FontSize size, std::string_view text) {
    int w = 0;
    for (char ch : text) {
        w += static_cast<int>(Find(size, ch).rows[0].size()) + Spacing(size);
    }
    return text.empty() ? 0 : w - Spacing(size);
}

void DrawText(Image& img, int x, int y, FontSize size, std::string_view text,
              const TextStyle& style) {
    int w = TextWidth(size, text) + 4, h = TextHeight(size) + 4;
    // Mask with a two-pixel margin for the outline and the shadow.
    std::vector<uint8_t> mask(static_cast<size_t>(w) * h, 0);
    int pen = 2;
    for (char ch : text) {
        const Glyph& g = Find(size, ch);
        for (size_t r = 0; r < g.rows.size(); ++r) {
            for (size_t c = 0; c < g.rows[r].size(); ++c) {
                if (g.rows[r][c] == '#') {
                    mask[(r + 2) * w + pen + c] = 1;
                }
            }
        }
        pen += static_cast<int>(g.rows[0].size()) + Spacing(size);
    }
    auto on = [&](int mx, int my) {
        return mx >= 0 && my >= 0 && mx < w && my < h && mask[static_cast<size_t>(my) * w + mx];
    };
    for (int my = 0; my < h; ++my) {
        for (int mx = 0; mx < w; ++mx) {
            int px = x + mx - 2, py = y + my - 2;
            if (!img.Inside(px, py)) {
                continue;
            }
            if (on(mx, my)) {
                double t = static_cast<double>(my - 2) / (TextHeight(size) - 1);
                img.Set(px, py, Mix(style.top, style.bottom, t));
                continue;
            }
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    edge = edge || on(mx + dx, my + dy);
                }
            }
            if (edge) {
                img.Set(px, py, style.outline);
            } else if (on(mx - 2, my - 2) || on(mx - 1, my - 2) || on(mx - 2, my - 1)) {
                img.Set(px, py, Shade(img.At(px, py), style.shadow));
            }
        }
    }
}

}  // namespace art
