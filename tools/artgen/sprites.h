#pragma once

#include <array>
#include <string_view>

#include "formats.h"
#include "image.h"

namespace art {

inline constexpr int SPRITE = 18;
using Grid = std::array<std::string_view, SPRITE>;

// The twelve pictures in sheet order: Blue kinds 0-2, Red kinds 0-2, skeleton, grave,
// slain body, rock, tree, water.
inline constexpr int PICTURES = 12;

// The colour a grid character stands for in the picture at `picture`; magenta for '.'.
Rgb SpriteColour(char ch, int picture);
const Grid& SpriteGrid(int picture);

IndexedImage MakeSpriteSheet();
Image ToImage(const IndexedImage& img);

}  // namespace art
