#include "portraits.h"

#include <cmath>

#include "painter.h"
#include "scenery.h"

namespace art {

namespace {

constexpr int W = 50, H = 100;
constexpr double FEET = 93;

constexpr Ramp SKIN = {Rgb{150, 96, 64}, Rgb{196, 136, 94}, Rgb{236, 188, 142}, Rgb{252, 220, 186}};
constexpr Ramp HAIR = {Rgb{60, 34, 16}, Rgb{92, 58, 28}, Rgb{124, 82, 40}, Rgb{160, 112, 60}};
constexpr Ramp WOOD = {Rgb{82, 50, 22}, Rgb{116, 72, 34}, Rgb{160, 106, 54}, Rgb{196, 140, 80}};
constexpr Ramp BONE = {Rgb{130, 120, 98}, Rgb{176, 166, 140}, Rgb{226, 220, 198},
                       Rgb{250, 248, 236}};
constexpr Ramp CLOTH = {Rgb{66, 56, 50}, Rgb{96, 84, 74}, Rgb{126, 112, 98}, Rgb{156, 142, 126}};
constexpr Ramp BLOOD = {Rgb{80, 6, 10}, Rgb{120, 12, 18}, Rgb{170, 22, 26}, Rgb{204, 60, 60}};
constexpr Ramp EARTH = {Rgb{70, 46, 26}, Rgb{104, 70, 42}, Rgb{142, 100, 62}, Rgb{176, 134, 90}};
constexpr Ramp STONE = {Rgb{62, 60, 60}, Rgb{108, 104, 98}, Rgb{156, 150, 140}, Rgb{196, 192, 180}};
constexpr Ramp LEAF = {Rgb{22, 78, 32}, Rgb{50, 130, 44}, Rgb{100, 184, 64}, Rgb{156, 220, 100}};
constexpr Ramp BARK = {Rgb{62, 40, 22}, Rgb{96, 62, 32}, Rgb{134, 92, 50}, Rgb{168, 124, 76}};
constexpr Ramp WATER = {Rgb{20, 56, 140}, Rgb{40, 100, 200}, Rgb{86, 160, 240}, Rgb{200, 236, 255}};

const Ramp& ClanRamp(int clan) {
    static const Ramp blue = {Rgb{22, 44, 132}, Rgb{44, 94, 220}, Rgb{84, 136, 250},
                              Rgb{150, 190, 255}};
    static const Ramp red = {Rgb{118, 16, 20}, Rgb{200, 38, 30}, Rgb{240, 84, 64},
                             Rgb{255, 150, 128}};
    return clan == 0 ? blue : red;
}

// Dusk sky over grass; a clan tint keeps Blue and Red apart even in silhouette.
Image Backdrop(Rgb tint) {
    Image img(W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            Rgb c;
            if (y < 82) {
                double t = y / 82.0;
                c = Mix(Rgb{34, 40, 74}, Rgb{120, 136, 150}, t);
                c = Mix(c, tint, 0.18);
            } else {
                c = Ground(x * 3 + 7, y * 3);
                if (y == 82)
                    c = Mix(c, Rgb{120, 170, 80}, 0.4);
            }
            img.Set(x, y, c);
        }
    }
    // A soft shadow under whatever stands there, thrown to the right.
    for (int y = 88; y < 97; ++y) {
        for (int x = 10; x < 46; ++x) {
            double dx = (x - 28) / 16.0, dy = (y - 92.5) / 3.5;
            if (dx * dx + dy * dy < 1)
                img.Set(x, y, Shade(img.At(x, y), 0.7));
        }
    }
    return img;
}

struct Figure {
    int clan;
    int kind;
};

void PaintCreature(Image& layer, Figure f) {
    Painter p(layer);
    const Ramp& clan = ClanRamp(f.clan);
    // Size tells the kinds apart first, as on the sprites.
    const double s = f.kind == 0 ? 0.68 : f.kind == 1 ? 0.82 : 0.96;
    const double cx = 23, top = FEET - 88 * s;
    auto Y = [&](double v) { return top + v * 88 * s; };
    auto X = [&](double u) { return cx + u * 88 * s; };
    const Ramp& limbs = f.kind == 2 ? STEEL : f.kind == 1 ? LEATHER : CLOTH;

    if (f.kind == 1) {
        // Spear behind the body, held at the right.
        p.Capsule(X(0.25), Y(-0.02) + 6, X(0.25), FEET - 1, 1.2, WOOD);
        p.Polygon({{X(0.25), Y(-0.02) - 4},
                   {X(0.25) + 3, Y(-0.02) + 3},
                   {X(0.25), Y(-0.02) + 8},
                   {X(0.25) - 3, Y(-0.02) + 3}},
                  STEEL, 2);
        p.Polygon({{X(0.25), Y(-0.02) - 4}, {X(0.25), Y(-0.02) + 8}, {X(0.25) - 3, Y(-0.02) + 3}},
                  STEEL, 3);
    }
    // Legs and boots.
    for (int side : {-1, 1}) {
        p.Capsule(X(0.06 * side), Y(0.55), X(0.075 * side), Y(0.94), 0.055 * 88 * s, limbs);
        p.Ellipse(X(0.085 * side + 0.02), Y(0.965), 0.07 * 88 * s, 0.035 * 88 * s,
                  f.kind == 2 ? STEEL : LEATHER);
    }
    // Torso: tunic for the levy, a tunic over leather for the spearman, plate and tabard
    // for the knight.
    double tw = f.kind == 2 ? 0.2 : 0.16;
    p.Box(X(-tw), Y(0.2), X(tw), Y(0.6), f.kind == 2 ? STEEL : clan);
    if (f.kind == 2) {
        p.Box(X(-0.11), Y(0.24), X(0.11), Y(0.66), clan);
        p.Box(X(-0.03), Y(0.3), X(0.03), Y(0.5), GOLD);
        p.Box(X(-0.08), Y(0.37), X(0.08), Y(0.42), GOLD);
    } else {
        p.Box(X(-tw), Y(0.5), X(tw), Y(0.55), LEATHER);
        p.Box(X(-0.025), Y(0.5), X(0.025), Y(0.55), GOLD);
    }
    if (f.kind == 2) {
        p.Ellipse(X(-0.19), Y(0.23), 0.09 * 88 * s, 0.07 * 88 * s, STEEL);
        p.Ellipse(X(0.19), Y(0.23), 0.09 * 88 * s, 0.07 * 88 * s, STEEL);
    }
    // Weapon arm, raised at the right.
    p.Capsule(X(0.17), Y(0.24), X(0.26), Y(0.42), 0.045 * 88 * s, f.kind == 2 ? STEEL : clan);
    p.Ellipse(X(0.26), Y(0.44), 0.045 * 88 * s, 0.045 * 88 * s, f.kind == 2 ? STEEL : SKIN);
    // Head.
    double hr = 0.085 * 88 * s;
    p.Capsule(X(0), Y(0.15), X(0), Y(0.21), 0.04 * 88 * s, f.kind == 2 ? STEEL : SKIN);
    p.Ellipse(X(0), Y(0.1), hr * 0.9, hr, SKIN);
    if (f.kind == 0) {
        p.Ellipse(X(-0.01), Y(0.05), hr * 0.95, hr * 0.6, HAIR);
        p.Pixel(static_cast<int>(X(-0.03)), static_cast<int>(Y(0.11)), OUTLINE);
        p.Pixel(static_cast<int>(X(0.04)), static_cast<int>(Y(0.11)), OUTLINE);
        p.Pixel(static_cast<int>(X(-0.03)), static_cast<int>(Y(0.11)) - 2, HAIR[0]);
        p.Pixel(static_cast<int>(X(0.04)), static_cast<int>(Y(0.11)) - 2, HAIR[0]);
        // Club over the shoulder.
        p.Capsule(X(0.26), Y(0.47), X(0.34), Y(0.02), 1.6, WOOD);
        p.Ellipse(X(0.345), Y(0.02), 3.2, 4.2, WOOD);
        p.Pixel(static_cast<int>(X(0.33)), static_cast<int>(Y(0.0)), WOOD[0]);
        p.Ellipse(X(0.26), Y(0.44), 0.045 * 88 * s, 0.045 * 88 * s, SKIN);
    } else if (f.kind == 1) {
        int ey = static_cast<int>(Y(0.12));
        p.Pixel(static_cast<int>(X(-0.03)), ey, OUTLINE);
        p.Pixel(static_cast<int>(X(0.035)), ey, OUTLINE);
        // Kettle helmet with a wide brim.
        p.Ellipse(X(0), Y(0.06), hr * 0.95, hr * 0.75, STEEL);
        p.Box(X(-0.13), Y(0.075), X(0.13), Y(0.095), STEEL);
        p.Ellipse(X(0.26), Y(0.44), 0.045 * 88 * s, 0.045 * 88 * s, SKIN);
        // Round shield with a gold rim and boss.
        double sx = X(-0.17), sy = Y(0.42), sr = 0.15 * 88 * s;
        p.Ellipse(sx, sy, sr, sr, GOLD);
        p.Ellipse(sx, sy, sr - 2, sr - 2, clan);
        p.Ellipse(sx - 0.5, sy - 0.5, 2.5, 2.5, GOLD);
    } else {
        // Great helm with a slit and a plume in the clan's colour.
        p.Ellipse(X(0.02), Y(-0.04), hr * 0.5, hr * 0.9, clan);
        p.Box(X(-0.09), Y(0.01), X(0.09), Y(0.19), STEEL);
        p.Ellipse(X(0), Y(0.03), 0.09 * 88 * s, 0.04 * 88 * s, STEEL);
        for (double u = -0.07; u <= 0.07; u += 0.01) {
            p.Pixel(static_cast<int>(X(u)), static_cast<int>(Y(0.1)), OUTLINE);
        }
        for (double v = 0.12; v <= 0.17; v += 0.01) {
            p.Pixel(static_cast<int>(X(0.0)), static_cast<int>(Y(v)), STEEL[0]);
        }
        // Greatsword held upright.
        PaintSword(p, X(0.27), Y(-0.08), X(0.27), Y(0.5), 5);
        p.Ellipse(X(0.26), Y(0.44), 0.05 * 88 * s, 0.05 * 88 * s, STEEL);
        // Kite shield: silver with the clan's cross, like the emblems.
        Image shield =
            MakeShield(static_cast<int>(0.3 * 88 * s), static_cast<int>(0.46 * 88 * s), clan);
        Composite(layer, shield, static_cast<int>(X(-0.36)), static_cast<int>(Y(0.24)));
    }
}

void PaintSkeleton(Image& layer) {
    Painter p(layer);
    const double cx = 24;
    p.Ellipse(cx, 18, 8, 8.5, BONE);
    p.Box(cx - 5, 23, cx + 5, 29, BONE);
    p.Ellipse(cx - 3.2, 19, 2.2, 2.6, Ramp{OUTLINE, OUTLINE, OUTLINE, OUTLINE});
    p.Ellipse(cx + 3.2, 19, 2.2, 2.6, Ramp{OUTLINE, OUTLINE, OUTLINE, OUTLINE});
    p.Pixel(static_cast<int>(cx), 23, OUTLINE);
    for (int x = static_cast<int>(cx) - 4; x <= cx + 4; x += 2) {
        p.Pixel(x, 27, OUTLINE);
    }
    p.Capsule(cx, 30, cx, 60, 1.5, BONE);
    p.Capsule(cx - 11, 34, cx + 11, 34, 1.4, BONE);
    for (int i = 0; i < 4; ++i) {
        double y = 38 + i * 4.5, w = 9 - i * 1.2;
        p.Capsule(cx - w, y + 1.5, cx, y, 1.1, BONE);
        p.Capsule(cx, y, cx + w, y + 1.5, 1.1, BONE);
    }
    p.Ellipse(cx, 61, 8, 3.5, BONE);
    for (int side : {-1, 1}) {
        p.Capsule(cx + 11 * side, 34, cx + 13 * side, 50, 1.3, BONE);
        p.Capsule(cx + 13 * side, 50, cx + 14 * side, 63, 1.2, BONE);
        p.Ellipse(cx + 14.5 * side, 65, 2, 2.2, BONE);
        p.Capsule(cx + 5 * side, 63, cx + 6 * side, 77, 1.6, BONE);
        p.Capsule(cx + 6 * side, 77, cx + 6.5 * side, 90, 1.4, BONE);
        p.Ellipse(cx + 8 * side, 91.5, 3.5, 1.6, BONE);
    }
}

void PaintGrave(Image& layer) {
    Painter p(layer);
    p.Box(21, 22, 28, 84, WOOD);
    p.Box(10, 36, 39, 43, WOOD);
    for (int y = 26; y < 82; y += 7)
        p.Pixel(22, y, WOOD[0]);
    for (int x = 14; x < 38; x += 8)
        p.Pixel(x, 37, WOOD[0]);
    p.Ellipse(25, 90, 24, 12, EARTH);
    for (int x = 4; x < 46; x += 5) {
        p.Pixel(x, 83 + (x % 3), LEAF[2]);
        p.Pixel(x, 84 + (x % 3), LEAF[1]);
    }
}

void PaintSlain(Image& layer) {
    Painter p(layer);
    p.Ellipse(26, 88, 22, 5, BLOOD);
    // The body lies across the ground, head to the left.
    p.Capsule(13, 80, 36, 81, 5, CLOTH);
    p.Capsule(35, 80, 46, 78, 2.6, LEATHER);
    p.Capsule(35, 83, 46, 86, 2.6, LEATHER);
    p.Capsule(18, 76, 26, 70, 2, CLOTH);
    p.Ellipse(8, 79, 5, 4.6, SKIN);
    p.Ellipse(7, 76, 4.6, 2.6, HAIR);
    // A broken blade and the bones of an older death.
    p.Capsule(30, 62, 44, 70, 1.3, STEEL);
    p.Ellipse(15, 50, 6, 5.5, BONE);
    p.Box(12, 53, 19, 57, BONE);
    p.Ellipse(13, 50, 1.5, 1.8, Ramp{OUTLINE, OUTLINE, OUTLINE, OUTLINE});
    p.Ellipse(17.5, 50, 1.5, 1.8, Ramp{OUTLINE, OUTLINE, OUTLINE, OUTLINE});
    p.Capsule(28, 48, 40, 54, 1.3, BONE);
    p.Ellipse(28, 48, 1.8, 1.8, BONE);
    p.Ellipse(40, 54, 1.8, 1.8, BONE);
    p.Capsule(6, 64, 16, 62, 1.2, BONE);
    p.Capsule(38, 40, 34, 32, 1.1, BONE);
}

void PaintRock(Image& layer) {
    Painter p(layer);
    p.Ellipse(22, 66, 20, 26, STONE);
    p.Ellipse(38, 82, 10, 11, STONE);
    p.Ellipse(10, 86, 8, 7, STONE);
    const int crack[][2] = {{24, 50}, {26, 53}, {25, 57}, {28, 61}, {29, 66}, {27, 70}};
    for (auto& c : crack) {
        p.Pixel(c[0], c[1], STONE[0]);
        p.Pixel(c[0], c[1] + 1, STONE[0]);
    }
    for (int i = 0; i < 30; ++i) {
        int x = 6 + static_cast<int>(Hash01(i, 1, 21) * 32),
            y = 46 + static_cast<int>(Hash01(i, 2, 21) * 40);
        if (layer.At(x, y) == STONE[1])
            p.Pixel(x, y, STONE[0]);
    }
    p.Pixel(11, 50, LEAF[2]);
    p.Pixel(12, 50, LEAF[1]);
}

void PaintTree(Image& layer) {
    Painter p(layer);
    p.Box(20, 54, 30, 92, BARK);
    p.Capsule(22, 70, 12, 58, 2, BARK);
    p.Ellipse(25, 92, 9, 2.5, BARK);
    const double blobs[][3] = {{24, 20, 13}, {13, 34, 11}, {36, 33, 11}, {24, 38, 14},
                               {11, 50, 9},  {38, 50, 9},  {24, 54, 10}};
    for (auto& b : blobs)
        p.Ellipse(b[0], b[1], b[2], b[2] * 0.9, LEAF);
    for (int i = 0; i < 40; ++i) {
        int x = 4 + static_cast<int>(Hash01(i, 3, 22) * 42),
            y = 10 + static_cast<int>(Hash01(i, 4, 22) * 50);
        if (layer.At(x, y) == LEAF[1] || layer.At(x, y) == LEAF[2])
            p.Pixel(x, y, LEAF[0]);
    }
}

Image PaintWater() {
    Image img(W, H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            Rgb c;
            if (y < 26) {
                c = Mix(Rgb{34, 40, 74}, Rgb{110, 130, 160}, y / 26.0);
            } else if (y < 30) {
                c = Mix(Rgb{40, 90, 50}, Rgb{60, 110, 60}, Hash01(x / 3, y, 23));
            } else {
                double t = (y - 30) / 70.0;
                c = Mix(WATER[2], WATER[0], t);
                double wave = std::sin(x * 0.45 + y * 0.9 + std::sin(y * 0.3) * 2);
                if (wave > 0.93 && Hash01(x / 4, y, 24) > 0.35)
                    c = WATER[3];
                else if (wave < -0.9)
                    c = Shade(c, 0.82);
            }
            img.Set(x, y, c);
        }
    }
    return img;
}

Image Portrait(int picture) {
    if (picture == 11) {
        return PaintWater();
    }
    Rgb tint = picture < 3   ? Rgb{60, 100, 255}
               : picture < 6 ? Rgb{255, 70, 50}
                             : Rgb{120, 120, 120};
    Image img = Backdrop(tint);
    Image layer(W, H, MAGENTA);
    switch (picture) {
        case 6:
            PaintSkeleton(layer);
            break;
        case 7:
            PaintGrave(layer);
            break;
        case 8:
            PaintSlain(layer);
            break;
        case 9:
            PaintRock(layer);
            break;
        case 10:
            PaintTree(layer);
            break;
        default:
            PaintCreature(layer, {picture / 3, picture % 3});
            break;
    }
    OutlineLayer(layer, OUTLINE);
    Composite(img, layer, 0, 0);
    return img;
}

}  // namespace

Image MakePortraits() {
    Image sheet(150, 400);
    for (int p = 0; p < 12; ++p) {
        Image one = Portrait(p);
        sheet.Blit(one, 0, 0, W, H, (p % 3) * W, (p / 3) * H);
    }
    return sheet;
}

}  // namespace art
