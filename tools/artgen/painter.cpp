#include "painter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

namespace {
constexpr double LX = -0.55, LY = -0.45, LZ = 0.70;
}

Ramp MakeRamp(Rgb base) {
    return {Shade(base, 0.55), Shade(base, 0.78), base, Mix(base, Rgb{255, 255, 240}, 0.35)};
}

void Painter::Put(int x, int y, double light, const Ramp& ramp) {
    int tone = light > 0.93 ? 3 : light > 0.6 ? 2 : light > 0.25 ? 1 : 0;
    img_.Set(x, y, ramp[tone]);
}

void Painter::Ellipse(double cx, double cy, double rx, double ry, const Ramp& ramp) {
    for (int y = static_cast<int>(cy - ry) - 1; y <= cy + ry + 1; ++y) {
        for (int x = static_cast<int>(cx - rx) - 1; x <= cx + rx + 1; ++x) {
            double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
            double d = nx * nx + ny * ny;
            if (d <= 1.0) {
                double nz = std::sqrt(1.0 - d);
                Put(x, y, nx * LX + ny * LY + nz * LZ + 0.15, ramp);
            }
        }
    }
}

void Painter::Capsule(double x0, double y0, double x1, double y1, double r, const Ramp& ramp) {
    double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    double len = std::sqrt(len2);
    // Unit normal across the rod, pointing to the side the light comes from.
    double px = len > 0 ? -dy / len : 1, py = len > 0 ? dx / len : 0;
    if (px * LX + py * LY < 0) {
        px = -px;
        py = -py;
    }
    int minX = static_cast<int>(std::min(x0, x1) - r) - 1,
        maxX = static_cast<int>(std::max(x0, x1) + r) + 1;
    int minY = static_cast<int>(std::min(y0, y1) - r) - 1,
        maxY = static_cast<int>(std::max(y0, y1) + r) + 1;
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            double qx = x + 0.5 - x0, qy = y + 0.5 - y0;
            double t = len2 > 0 ? std::clamp((qx * dx + qy * dy) / len2, 0.0, 1.0) : 0.0;
            double ex = qx - t * dx, ey = qy - t * dy;
            double dist = std::sqrt(ex * ex + ey * ey);
            if (dist <= r) {
                double s = (ex * px + ey * py) / r;  // -1 shadow side .. 1 lit side
                double nz = std::sqrt(std::max(0.0, 1 - s * s));
                double nxy = std::sqrt(LX * LX + LY * LY);
                Put(x, y, s * nxy + nz * LZ + 0.1, ramp);
            }
        }
    }
}

void Painter::Box(double x0, double y0, double x1, double y1, const Ramp& ramp) {
    for (int y = static_cast<int>(y0); y < y1; ++y) {
        for (int x = static_cast<int>(x0); x < x1; ++x) {
            double s = 2 * (x + 0.5 - x0) / (x1 - x0) - 1;
            double nz = std::sqrt(std::max(0.0, 1 - s * s));
            double top = y < y0 + 1 ? 0.25 : 0;
            Put(x, y, s * LX + nz * LZ + 0.2 + top, ramp);
        }
    }
}

void Painter::Polygon(std::initializer_list<std::array<double, 2>> pts, const Ramp& ramp,
                      int tone) {
    std::vector<std::array<double, 2>> p(pts);
    double minY = 1e9, maxY = -1e9;
    for (auto& q : p) {
        minY = std::min(minY, q[1]);
        maxY = std::max(maxY, q[1]);
    }
    for (int y = static_cast<int>(std::floor(minY)); y <= maxY; ++y) {
        double sy = y + 0.5;
        std::vector<double> xs;
        for (size_t i = 0; i < p.size(); ++i) {
            auto a = p[i], b = p[(i + 1) % p.size()];
            if ((a[1] <= sy) != (b[1] <= sy)) {
                xs.push_back(a[0] + (sy - a[1]) / (b[1] - a[1]) * (b[0] - a[0]));
            }
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            for (int x = static_cast<int>(std::ceil(xs[i] - 0.5)); x + 0.5 < xs[i + 1]; ++x) {
                img_.Set(x, y, ramp[tone]);
            }
        }
    }
}

void OutlineLayer(Image& layer, Rgb colour) {
    Image src = layer;
    for (int y = 0; y < layer.Height(); ++y) {
        for (int x = 0; x < layer.Width(); ++x) {
            if (!(src.At(x, y) == MAGENTA)) {
                continue;
            }
            const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (auto& o : d) {
                int nx = x + o[0], ny = y + o[1];
                if (src.Inside(nx, ny) && !(src.At(nx, ny) == MAGENTA)) {
                    layer.Set(x, y, colour);
                    break;
                }
            }
        }
    }
}

void Composite(Image& dst, const Image& layer, int dx, int dy) {
    dst.Blit(layer, 0, 0, layer.Width(), layer.Height(), dx, dy, true);
}

}  // namespace art
