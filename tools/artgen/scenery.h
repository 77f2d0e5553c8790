#pragma once

#include "image.h"
#include "painter.h"

namespace art {

inline constexpr Ramp SILVER = {Rgb{104, 110, 126}, Rgb{156, 162, 178}, Rgb{204, 208, 220},
                                Rgb{242, 244, 250}};
inline constexpr Ramp STEEL = {Rgb{84, 90, 106}, Rgb{140, 146, 164}, Rgb{196, 202, 216},
                               Rgb{248, 250, 255}};
inline constexpr Ramp GOLD = {Rgb{140, 92, 20}, Rgb{196, 140, 30}, Rgb{244, 200, 64},
                              Rgb{255, 240, 160}};
inline constexpr Ramp LEATHER = {Rgb{70, 40, 20}, Rgb{104, 62, 30}, Rgb{140, 88, 44},
                                 Rgb{178, 122, 70}};
inline constexpr Ramp BLUE_CROSS = {Rgb{18, 36, 110}, Rgb{34, 74, 190}, Rgb{62, 118, 240},
                                    Rgb{140, 186, 255}};
inline constexpr Ramp RED_CROSS = {Rgb{110, 14, 18}, Rgb{186, 30, 28}, Rgb{230, 56, 44},
                                   Rgb{255, 140, 120}};
inline constexpr Rgb OUTLINE{28, 22, 30};

// The board's grass at a screen position; the same everywhere it shows.
Rgb Ground(int x, int y);

// A heater shield of w x h with a cross, on a magenta layer of that size, outlined.
Image MakeShield(int w, int h, const Ramp& cross);
// A sword from the point (tx, ty) to the pommel (px, py), drawn on a layer.
void PaintSword(Painter& p, double tx, double ty, double px, double py, double guard);

Image MakeBackground();
Image MakeOkoli();

}  // namespace art
