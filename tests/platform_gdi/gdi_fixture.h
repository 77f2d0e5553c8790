// Small in-memory targets and BMP builders for the GDI suites.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_target.h"
#include "platform/host/screen.h"

namespace gdi_test {

// Whether this build looks for the machine's installed faces at all; a web page has none
// and draws with the faces built into the program.
#ifdef VORLA_EMBEDDED_FACES_ONLY
constexpr bool INSTALLED_FACES = false;
#else
constexpr bool INSTALLED_FACES = true;
#endif
constexpr const char* NO_INSTALLED_FACES = "this build draws with its embedded faces only";

// A pixel buffer with a target DC on it; deletes the DC when done.
struct Target {
    Target(int w, int h, platform::PixelFormat f, int padBytes = 6)
        : width(w), height(h), format(f) {
        bpp = f == platform::PixelFormat::XRGB8888 ? 4 : 2;
        pitch = w * bpp + padBytes;
        pixels.assign(size_t(pitch) * h, 0);
        platform::PixelTarget t{pixels.data(), pitch, w, h, f};
        dc = platform::CreateTargetDC(t, [this] { ++changes; });
    }
    ~Target() { platform::DeleteTargetDC(dc); }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    uint32_t Raw(int x, int y) const {
        const uint8_t* p = pixels.data() + size_t(y) * pitch + size_t(x) * bpp;
        if (bpp == 2) {
            return uint32_t(p[0] | (p[1] << 8));
        }
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    void Fill(uint32_t raw) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t* p = pixels.data() + size_t(y) * pitch + size_t(x) * bpp;
                std::memcpy(p, &raw, size_t(bpp));
            }
        }
    }
    // Pixels in [x0, x1) x [y0, y1) that differ from raw.
    int CountNot(uint32_t raw, int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                n += Raw(x, y) != raw;
            }
        }
        return n;
    }

    int width, height, bpp, pitch;
    platform::PixelFormat format;
    std::vector<uint8_t> pixels;
    HDC dc = nullptr;
    int changes = 0;
};

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A BMP file: bpp 1, 4, 8 (palette 0x00RRGGBB) or 24/32 (pixels 0x00RRGGBB, top row first).
inline std::vector<uint8_t> MakeBmp(int w, int h, int bpp, const std::vector<uint32_t>& pixels,
                                    const std::vector<uint32_t>& palette = {},
                                    bool topDown = false) {
    size_t stride = ((size_t(w) * bpp + 31) / 32) * 4;
    uint32_t offBits = uint32_t(14 + 40 + 4 * palette.size());
    std::vector<uint8_t> v = {'B', 'M'};
    Put32(v, uint32_t(offBits + stride * h));
    Put32(v, 0);
    Put32(v, offBits);
    Put32(v, 40);
    Put32(v, uint32_t(w));
    Put32(v, uint32_t(topDown ? -h : h));
    Put16(v, 1);
    Put16(v, uint32_t(bpp));
    Put32(v, 0);
    Put32(v, uint32_t(stride * h));
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, uint32_t(palette.size()));
    Put32(v, 0);
    for (uint32_t c : palette) {
        Put32(v, c);
    }
    for (int row = 0; row < h; ++row) {
        int y = topDown ? row : h - 1 - row;
        std::vector<uint8_t> line(stride, 0);
        for (int x = 0; x < w; ++x) {
            uint32_t p = pixels[size_t(y) * w + x];
            switch (bpp) {
                case 1:
                    line[x / 8] |= uint8_t((p & 1) << (7 - x % 8));
                    break;
                case 4:
                    line[x / 2] |= uint8_t((p & 0xF) << ((x % 2) ? 0 : 4));
                    break;
                case 8:
                    line[x] = uint8_t(p);
                    break;
                case 24:
                    line[3 * x] = uint8_t(p);
                    line[3 * x + 1] = uint8_t(p >> 8);
                    line[3 * x + 2] = uint8_t(p >> 16);
                    break;
                case 32:
                    std::memcpy(&line[4 * x], &p, 4);
                    break;
            }
        }
        v.insert(v.end(), line.begin(), line.end());
    }
    return v;
}

inline std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

}  // namespace gdi_test
