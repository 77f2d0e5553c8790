#include "scenery.h"

#include <cmath>
#include <string_view>

#include "font.h"

namespace art {

namespace {

constexpr Rgb YELLOW{255, 228, 40};
constexpr TextStyle WORD_STYLE{{255, 250, 170}, {250, 196, 20}, {40, 20, 10}, 0.5};
constexpr TextStyle LABEL_STYLE{{255, 250, 140}, {255, 214, 24}, {40, 20, 10}, 0.6};

struct Field {
    Rgb top, bottom;
};
constexpr Field BLUE_FIELD{{58, 104, 214}, {24, 52, 140}};
constexpr Field ORANGE_FIELD{{222, 122, 34}, {166, 70, 14}};
constexpr Field RED_FIELD{{210, 46, 36}, {130, 18, 18}};

void Darken(Image& img, int x, int y, double f) {
    if (img.Inside(x, y)) {
        img.Set(x, y, Shade(img.At(x, y), f));
    }
}

// One dot in three stays dark so the border reads as dotted at 1:1.
void DottedRect(Image& img, int x0, int y0, int x1, int y1, Rgb c) {
    int i = 0;
    auto dot = [&](int x, int y) {
        if (i++ % 3 != 2) {
            img.Set(x, y, c);
        }
    };
    for (int x = x0; x < x1; ++x)
        dot(x, y0);
    for (int y = y0; y < y1; ++y)
        dot(x1, y);
    for (int x = x1; x > x0; --x)
        dot(x, y1);
    for (int y = y1; y > y0; --y)
        dot(x0, y);
}

// A raised plate: outline, bevel lit from the upper left, a drop shadow one pixel to the
// lower right. (x1, y1) is the last pixel of the shadow.
void Plate(Image& img, int x0, int y0, int x1, int y1, const Field& f) {
    int bx1 = x1 - 1, by1 = y1 - 1;
    for (int y = y0 + 1; y <= y1; ++y)
        Darken(img, x1, y, 0.5);
    for (int x = x0 + 1; x < x1; ++x)
        Darken(img, x, y1, 0.5);
    for (int y = y0; y <= by1; ++y) {
        double t = static_cast<double>(y - y0) / (by1 - y0);
        for (int x = x0; x <= bx1; ++x) {
            Rgb c = Mix(f.top, f.bottom, t);
            // Faint diagonal sheen keeps large fields from looking flat.
            c = Shade(c, 1.0 + 0.04 * std::sin((x + y) * 0.09) + 0.03 * (Hash01(x, y, 7) - 0.5));
            img.Set(x, y, c);
        }
    }
    for (int x = x0; x <= bx1; ++x) {
        img.Set(x, y0, OUTLINE);
        img.Set(x, by1, OUTLINE);
        img.Set(x, y0 + 1, Mix(img.At(x, y0 + 2), Rgb{255, 255, 255}, 0.35));
        img.Set(x, by1 - 1, Shade(img.At(x, by1 - 2), 0.6));
    }
    for (int y = y0; y <= by1; ++y) {
        img.Set(x0, y, OUTLINE);
        img.Set(bx1, y, OUTLINE);
        if (y > y0 && y < by1) {
            img.Set(x0 + 1, y, Mix(img.At(x0 + 2, y), Rgb{255, 255, 255}, 0.3));
            img.Set(bx1 - 1, y, Shade(img.At(bx1 - 2, y), 0.6));
        }
    }
}

void Button(Image& img, int x0, int y0, int x1, int y1, const Field& f, std::string_view word) {
    Plate(img, x0, y0, x1, y1, f);
    DottedRect(img, x0 + 4, y0 + 4, x1 - 5, y1 - 5, YELLOW);
    if (!word.empty()) {
        int w = TextWidth(FontSize::LARGE, word), h = TextHeight(FontSize::LARGE);
        DrawText(img, x0 + (x1 - x0 - w) / 2, y0 + (y1 - y0 - h) / 2, FontSize::LARGE, word,
                 WORD_STYLE);
    }
}

void DropShadow(Image& img, const Image& layer, int dx, int dy) {
    for (int y = 0; y < layer.Height(); ++y) {
        for (int x = 0; x < layer.Width(); ++x) {
            if (!(layer.At(x, y) == MAGENTA)) {
                Darken(img, dx + x + 2, dy + y + 2, 0.62);
            }
        }
    }
    // Shadow pixels under the object itself are covered again by the composite.
    Composite(img, layer, dx, dy);
}

void Emblems(Image& img) {
    Image left = MakeShield(34, 38, BLUE_CROSS);
    Image right = MakeShield(34, 38, RED_CROSS);
    Image swords(70, 39, MAGENTA);
    {
        Painter p(swords);
        PaintSword(p, 62, 3, 9, 35, 7);
        PaintSword(p, 8, 3, 61, 35, 7);
        OutlineLayer(swords, OUTLINE);
    }
    Image all(152, 39, MAGENTA);
    Composite(all, swords, 41, 0);
    Composite(all, left, 2, 0);
    Composite(all, right, 115, 0);
    Image clipped = all.Crop(0, 0, 150, 37);
    DropShadow(img, clipped, 481, 100);
}

void Gauge(Image& img) {
    const int x0 = 486, x1 = 627, y0 = 151, y1 = 169;
    constexpr Rgb BLUE{40, 84, 220}, MID{120, 50, 150}, RED{220, 36, 28};
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            double t = static_cast<double>(x - x0) / (x1 - x0);
            Rgb c = t < 0.5 ? Mix(BLUE, MID, t * 2) : Mix(MID, RED, t * 2 - 1);
            double v = static_cast<double>(y - y0) / (y1 - y0);
            // Rounded like a tube: bright band near the top, dark towards the bottom.
            double f = 1.25 - 0.55 * v - (v < 0.2 ? 0.25 * (0.2 - v) * 5 : 0);
            img.Set(x, y, Shade(c, f));
            if (y == y0 + 3 && x > x0 + 2 && x < x1 - 2) {
                img.Set(x, y, Mix(c, Rgb{255, 255, 255}, 0.45));
            }
        }
    }
    for (int x = x0; x <= x1; ++x) {
        img.Set(x, y0, OUTLINE);
        img.Set(x, y1, OUTLINE);
        Darken(img, x + 1, y1 + 1, 0.55);
    }
    for (int y = y0; y <= y1; ++y) {
        img.Set(x0, y, OUTLINE);
        img.Set(x1, y, OUTLINE);
        Darken(img, x1 + 1, y + 1, 0.55);
    }
    // Ticks at the quarters of the marker's travel.
    for (int q = 0; q <= 4; ++q) {
        int x = 492 + q * 130 / 4;
        for (int y = y1 - 4; y < y1; ++y) {
            img.Set(x, y, Shade(img.At(x, y), q == 2 ? 0.35 : 0.6));
        }
    }
}

void CreaturePanel(Image& img) {
    const int x0 = 482, y0 = 180, x1 = 631, y1 = 309;
    Plate(img, x0, y0, x1, y1, BLUE_FIELD);
    for (int y = y0 + 2; y <= y1 - 3; ++y) {
        for (int x = x0 + 2; x <= x1 - 3; ++x) {
            double u = static_cast<double>(x - x0) / (x1 - x0),
                   v = static_cast<double>(y - y0) / (y1 - y0);
            if (u + v > 1.0) {
                double t = (u + v - 1.0);
                Rgb c = Mix(ORANGE_FIELD.top, ORANGE_FIELD.bottom, t);
                img.Set(x, y, Shade(c, 1.0 + 0.03 * (Hash01(x, y, 9) - 0.5)));
            } else if (u + v > 0.985) {
                img.Set(x, y, Rgb{250, 200, 60});
            }
        }
    }
    // The inner bevel lines were painted over; restore them on the orange part.
    for (int x = x0 + 2; x <= x1 - 3; ++x) {
        img.Set(x, y1 - 2, Shade(img.At(x, y1 - 3), 0.6));
    }
    for (int y = y0 + 2; y <= y1 - 3; ++y) {
        img.Set(x1 - 2, y, Shade(img.At(x1 - 3, y), 0.6));
    }
    // Recessed window for the portrait.
    for (int y = 190; y <= 295; ++y) {
        for (int x = 487; x <= 543; ++x) {
            double t = static_cast<double>(y - 190) / 105;
            img.Set(x, y, Mix(Rgb{20, 24, 44}, Rgb{44, 30, 30}, t));
        }
    }
    for (int x = 487; x <= 543; ++x)
        img.Set(x, 190, Rgb{8, 8, 16});
    for (int y = 190; y <= 295; ++y)
        img.Set(487, y, Rgb{8, 8, 16});
    DottedRect(img, 486, 189, 544, 296, YELLOW);
    DrawText(img, 560, 204, FontSize::SMALL, "HP", LABEL_STYLE);
    DrawText(img, 560, 230, FontSize::SMALL, "AT", LABEL_STYLE);
    DrawText(img, 578, 260, FontSize::SMALL, "VEK", LABEL_STYLE);
}

}  // namespace

Rgb Ground(int x, int y) {
    constexpr Rgb DARK{50, 102, 40}, LIGHT{74, 132, 52};
    double n =
        ValueNoise(x, y, 24, 11) * 0.45 + ValueNoise(x, y, 6, 12) * 0.35 + Hash01(x, y, 13) * 0.2;
    Rgb c = Mix(DARK, LIGHT, n);
    // Sparse blades of grass, lit on top and shaded below.
    double b = Hash01(x, y, 14);
    if (b > 0.985) {
        c = Mix(c, Rgb{140, 190, 80}, 0.35);
    } else if (Hash01(x, y - 1, 14) > 0.985) {
        c = Shade(c, 0.85);
    }
    return c;
}

Image MakeShield(int w, int h, const Ramp& cross) {
    Image layer(w, h, MAGENTA);
    auto inside = [&](int x, int y) {
        if (x < 1 || y < 1 || x >= w - 1 || y >= h - 1) {
            return false;
        }
        double u = (x + 0.5 - w / 2.0) / (w / 2.0 - 1), v = (y + 0.5 - 1) / (h - 2.0);
        double half = v < 0.42 ? 1.0 : std::sqrt(std::max(0.0, 1 - std::pow((v - 0.42) / 0.6, 2)));
        return std::abs(u) <= half;
    };
    int bar = std::max(2, static_cast<int>(std::lround(w * 0.2)));
    int cx0 = (w - bar) / 2, cy0 = static_cast<int>(h * 0.33);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!inside(x, y)) {
                continue;
            }
            double u = static_cast<double>(x) / w, v = static_cast<double>(y) / h;
            bool onCross = (x >= cx0 && x < cx0 + bar && y > 1 && y < h - 4) ||
                           (y >= cy0 && y < cy0 + bar && x > 2 && x < w - 3);
            const Ramp& r = onCross ? cross : SILVER;
            double light = 1.0 - 0.9 * u - 0.4 * v;
            int tone = light > 0.55 ? 2 : light > 0.1 ? 1 : 0;
            if (!onCross && x < w / 2 && light > 0.7)
                tone = 3;
            bool rimLit = !inside(x - 1, y) || !inside(x, y - 1);
            bool rimDark = !inside(x + 1, y) || !inside(x, y + 1);
            if (rimLit)
                tone = std::min(3, tone + 1);
            if (rimDark)
                tone = 0;
            layer.Set(x, y, r[tone]);
        }
    }
    OutlineLayer(layer, OUTLINE);
    return layer;
}

void PaintSword(Painter& p, double tx, double ty, double px, double py, double guard) {
    double dx = px - tx, dy = py - ty, len = std::sqrt(dx * dx + dy * dy);
    double ux = dx / len, uy = dy / len;
    double gx = tx + ux * len * 0.7, gy = ty + uy * len * 0.7;
    p.Capsule(tx + ux, ty + uy, gx, gy, 1.6, STEEL);
    p.Capsule(gx, gy, px - ux * 2, py - uy * 2, 1.3, LEATHER);
    p.Capsule(gx - uy * guard, gy + ux * guard, gx + uy * guard, gy - ux * guard, 1.3, GOLD);
    p.Ellipse(px - ux, py - uy, 2.2, 2.2, GOLD);
}

Image MakeBackground() {
    Image img(640, 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            img.Set(x, y, Ground(x, y));
        }
    }
    // Ground beside a line is lifted a little, so the white lines blend into the grass
    // instead of cutting it.
    for (int y = 11; y < 470; ++y) {
        for (int x = 11; x < 470; ++x) {
            int ox = (x - 10) % 20, oy = (y - 10) % 20;
            if (ox == 0 || oy == 0) {
                continue;
            }
            bool near = ox == 1 || ox == 19 || oy == 1 || oy == 19;
            if (near) {
                img.Set(x, y, Mix(img.At(x, y), Rgb{200, 230, 170}, 0.22));
            }
        }
    }
    for (int i = 0; i <= 23; ++i) {
        int p = 10 + 20 * i;
        for (int t = 10; t <= 470; ++t) {
            img.Set(p, t, Rgb{255, 255, 255});
            img.Set(t, p, Rgb{255, 255, 255});
        }
    }
    Button(img, 481, 18, 630, 67, BLUE_FIELD, "MENU");
    Emblems(img);
    Gauge(img);
    CreaturePanel(img);
    Button(img, 482, 346, 631, 395, ORANGE_FIELD, "");
    Button(img, 482, 414, 631, 463, ORANGE_FIELD, "START");
    return img;
}

Image MakeOkoli() {
    Image img(149, 105, MAGENTA);
    // STOP is drawn over START, so it sits on the same grass to match at its edges.
    Image scene(640, 480);
    for (int y = 414; y <= 463; ++y) {
        for (int x = 482; x <= 631; ++x) {
            scene.Set(x, y, Ground(x, y));
        }
    }
    Button(scene, 482, 414, 631, 463, RED_FIELD, "STOP");
    img.Blit(scene, 482, 414, 149, 50, 0, 0);

    Image sword(22, 55, MAGENTA);
    Painter p(sword);
    p.Polygon({{11, 1}, {14.5, 6}, {14.5, 38}, {7.5, 38}, {7.5, 6}}, STEEL, 2);
    for (int y = 4; y < 38; ++y) {
        p.Pixel(8, y, STEEL[3]);
        p.Pixel(9, y, STEEL[3]);
        p.Pixel(13, y, STEEL[1]);
        p.Pixel(11, y, STEEL[1]);
    }
    p.Capsule(3.5, 40, 18.5, 40, 2.2, GOLD);
    p.Box(9, 42, 13, 50, LEATHER);
    for (int y = 43; y < 50; y += 2) {
        p.Pixel(9, y, LEATHER[0]);
        p.Pixel(10, y, LEATHER[0]);
    }
    p.Ellipse(11, 51, 3.2, 2.8, GOLD);
    OutlineLayer(sword, OUTLINE);
    img.Blit(sword, 0, 0, 22, 55, 0, 50);
    return img;
}

}  // namespace art
