#pragma once

#include <string_view>

#include "image.h"

namespace art {

enum class FontSize { SMALL, LARGE };

struct TextStyle {
    Rgb top, bottom;  // fill shades from the top of the glyphs to the bottom
    Rgb outline;
    double shadow = 0.55;  // darkening of the drop shadow towards the lower right
};

int TextWidth(FontSize size, std::string_view text);
int TextHeight(FontSize size);
// Draws the text with its top-left glyph pixel at (x, y).
void DrawText(Image& img, int x, int y, FontSize size, std::string_view text,
              const TextStyle& style);

}  // namespace art
