#include "image.h"

#include <algorithm>
#include <cmath>

namespace art {

static uint8_t Clamp8(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

Rgb Shade(Rgb c, double f) {
    return {Clamp8(c.r * f), Clamp8(c.g * f), Clamp8(c.b * f)};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t),
            Clamp8(a.b + (b.b - a.b) * t)};
}

Image::Image(int w, int h, Rgb fill) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

void Image::Fill(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            Set(x, y, c);
        }
    }
}

void Image::Blit(const Image& src, int sx, int sy, int w, int h, int dx, int dy, bool keyMagenta) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgb c = src.At(sx + x, sy + y);
            if (!keyMagenta || !(c == MAGENTA)) {
                Set(dx + x, dy + y, c);
            }
        }
    }
}

Image Image::Crop(int x, int y, int w, int h) const {
    Image out(w, h);
    out.Blit(*this, x, y, w, h, 0, 0);
    return out;
}

double Hash01(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (h >> 8) / 16777216.0;
}

double ValueNoise(double x, double y, int cell, uint32_t seed) {
    double fx = x / cell, fy = y / cell;
    int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    double a = Hash01(ix, iy, seed), b = Hash01(ix + 1, iy, seed);
    double c = Hash01(ix, iy + 1, seed), d = Hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

}  // namespace art
