#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb MAGENTA{255, 0, 255};
inline constexpr Rgb SEPARATOR{128, 0, 128};

// Scales each channel by f (1.0 keeps the colour) and clamps.
Rgb Shade(Rgb c, double f);
Rgb Mix(Rgb a, Rgb b, double t);

class Image {
  public:
    Image() = default;
    Image(int w, int h, Rgb fill = {});

    int Width() const { return w_; }
    int Height() const { return h_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    Rgb At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    void Set(int x, int y, Rgb c) {
        if (Inside(x, y)) {
            px_[static_cast<size_t>(y) * w_ + x] = c;
        }
    }
    void Fill(int x0, int y0, int x1, int y1, Rgb c);  // inclusive bounds
    void Blit(const Image& src, int sx, int sy, int w, int h, int dx, int dy,
              bool keyMagenta = false);
    Image Crop(int x, int y, int w, int h) const;

  private:
    int w_ = 0, h_ = 0;
    std::vector<Rgb> px_;
};

// Stable per-position noise in [0, 1); the seed keeps unrelated textures apart.
double Hash01(int x, int y, uint32_t seed);
// Bilinear value noise with cells of `cell` pixels, in [0, 1).
double ValueNoise(double x, double y, int cell, uint32_t seed);

}  // namespace art
