#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A small reader for the formats in res/, independent of the generator's writer.
namespace artcheck {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Bitmap {
    int width = 0, height = 0, bits = 0;
    uint32_t compression = 0;
    bool bottomUp = true;
    std::vector<Rgb> palette;
    std::vector<uint8_t> index;  // 8-bit bitmaps only
    std::vector<Rgb> pixels;     // top row first
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    int IndexAt(int x, int y) const { return index[static_cast<size_t>(y) * width + x]; }
};

struct IconImage {
    int width = 0, height = 0, bits = 0;
    int hotX = 0, hotY = 0;        // cursors only
    std::vector<uint8_t> andMask;  // 1 = transparent, top row first
    std::vector<Rgb> pixels;       // top row first
    bool Transparent(int x, int y) const { return andMask[static_cast<size_t>(y) * width + x]; }
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct IconFile {
    int type = 0;  // 1 icon, 2 cursor
    std::vector<IconImage> images;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
// Empty on a malformed file; the reason goes to `error`.
std::optional<Bitmap> ParseBmp(const std::vector<uint8_t>& bytes, std::string& error);
std::optional<IconFile> ParseIconFile(const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace artcheck
