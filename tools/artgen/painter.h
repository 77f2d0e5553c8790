#pragma once

#include <array>

#include "image.h"

namespace art {

// Four tones from shadow to highlight; shapes pick one by how much they face the light.
using Ramp = std::array<Rgb, 4>;

// Draws lit shapes onto a layer whose empty pixels are magenta. The light comes from the
// upper left, as on the sprites.
class Painter {
  public:
    explicit Painter(Image& layer) : img_(layer) {}

    void Ellipse(double cx, double cy, double rx, double ry, const Ramp& ramp);
    // A rod of radius r between two points, shaded as a cylinder.
    void Capsule(double x0, double y0, double x1, double y1, double r, const Ramp& ramp);
    // A box shaded as a cylinder standing upright.
    void Box(double x0, double y0, double x1, double y1, const Ramp& ramp);
    // A flat-shaded polygon, convex or not.
    void Polygon(std::initializer_list<std::array<double, 2>> pts, const Ramp& ramp, int tone = 2);
    void Pixel(int x, int y, Rgb c) { img_.Set(x, y, c); }

  private:
    void Put(int x, int y, double light, const Ramp& ramp);
    Image& img_;
};

// Dark outline on the empty pixels that touch a drawn pixel, within the rectangle.
void OutlineLayer(Image& layer, Rgb colour);
// Copies the non-magenta pixels of a layer.
void Composite(Image& dst, const Image& layer, int dx, int dy);

Ramp MakeRamp(Rgb base);

}  // namespace art
