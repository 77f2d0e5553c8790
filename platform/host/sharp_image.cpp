#include "platform/host/sharp_image.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace platform {
namespace {

// One output column (or row): the two source pixels it blends and the second one's share.
struct Tap {
    int32_t first = 0;
    int32_t second = 0;
    double share = 0;
};

std::vector<Tap> Taps(int32_t source, int32_t target) {
    const int64_t factor = std::max<int64_t>(1, (int64_t(target) + source - 1) / source);
    const double enlarged = double(source) * double(factor);
    std::vector<Tap> taps(static_cast<size_t>(target));
    for (int32_t o = 0; o < target; ++o) {
        // The output pixel's centre on the enlarged image, between two of its pixel centres.
        double u = (o + 0.5) * enlarged / target - 0.5;
        u = std::clamp(u, 0.0, enlarged - 1);
        const int64_t i = int64_t(std::floor(u));
        const int64_t j = std::min<int64_t>(i + 1, int64_t(enlarged) - 1);
        taps[size_t(o)] = Tap{int32_t(i / factor), int32_t(j / factor), u - double(i)};
    }
    return taps;
}

struct Premultiplied {
    double a = 0, r = 0, g = 0, b = 0;
};

Premultiplied Load(uint32_t argb) {
    const double a = double(argb >> 24) / 255.0;
    return {a, a * double((argb >> 16) & 0xFF), a * double((argb >> 8) & 0xFF),
            a * double(argb & 0xFF)};
}

Premultiplied Mix(const Premultiplied& p, const Premultiplied& q, double share) {
    return {p.a + (q.a - p.a) * share, p.r + (q.r - p.r) * share, p.g + (q.g - p.g) * share,
            p.b + (q.b - p.b) * share};
}

uint32_t Store(const Premultiplied& p) {
    const double alpha = std::round(p.a * 255.0);
    if (alpha <= 0) {
        return 0;
    }
    auto channel = [&](double c) { return uint32_t(std::clamp(std::round(c / p.a), 0.0, 255.0)); };
    return uint32_t(alpha) << 24 | channel(p.r) << 16 | channel(p.g) << 8 | channel(p.b);
}

int32_t MoveHotSpot(int32_t hot, int32_t source, int32_t target) {
    const int64_t moved =
        ((2 * int64_t(std::clamp(hot, 0, source - 1)) + 1) * target) / (2 * int64_t(source));
    return int32_t(std::clamp<int64_t>(moved, 0, target - 1));
}

}  // namespace

HostImage ScaleImageSharp(const HostImage& image, int32_t width, int32_t height) {
    HostImage out;
    if (image.width <= 0 || image.height <= 0 || width <= 0 || height <= 0 ||
        image.argb.size() < size_t(image.width) * size_t(image.height)) {
        return out;
    }
    const std::vector<Tap> columns = Taps(image.width, width);
    const std::vector<Tap> rows = Taps(image.height, height);
    auto at = [&](int32_t x, int32_t y) {
        return Load(image.argb[size_t(y) * size_t(image.width) + size_t(x)]);
    };
    out.width = width;
    out.height = height;
    out.argb.resize(size_t(width) * size_t(height));
    for (int32_t y = 0; y < height; ++y) {
        const Tap& row = rows[size_t(y)];
        for (int32_t x = 0; x < width; ++x) {
            const Tap& column = columns[size_t(x)];
            const Premultiplied top =
                Mix(at(column.first, row.first), at(column.second, row.first), column.share);
            const Premultiplied bottom =
                Mix(at(column.first, row.second), at(column.second, row.second), column.share);
            out.argb[size_t(y) * size_t(width) + size_t(x)] = Store(Mix(top, bottom, row.share));
        }
    }
    out.hotX = MoveHotSpot(image.hotX, image.width, width);
    out.hotY = MoveHotSpot(image.hotY, image.height, height);
    return out;
}

void HardenAlpha(HostImage& image) {
    for (uint32_t& p : image.argb) {
        p = (p >> 24) >= 0x80 ? (p | 0xFF000000u) : 0;
    }
}

}  // namespace platform
