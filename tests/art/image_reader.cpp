#include "image_reader.h"

#include <fstream>
#include <iterator>

namespace artcheck {

namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}
int32_t S32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int32_t>(U32(b, at));
}
size_t Stride(int width, int bits) {
    return static_cast<size_t>((width * bits + 31) / 32) * 4;
}

struct Dib {
    int width, height, bits;
    uint32_t compression, colours;
    size_t paletteAt, headerSize;
};

bool ReadDib(const std::vector<uint8_t>& b, size_t at, Dib& d, std::string& error) {
    if (at + 40 > b.size() || U32(b, at) != 40) {
        error = "no BITMAPINFOHEADER";
        return false;
    }
    d.width = S32(b, at + 4);
    d.height = S32(b, at + 8);
    d.bits = static_cast<int>(U16(b, at + 14));
    d.compression = U32(b, at + 16);
    d.colours = U32(b, at + 32);
    d.headerSize = 40;
    d.paletteAt = at + 40;
    if (U16(b, at + 12) != 1) {
        error = "planes is not 1";
        return false;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<Bitmap> ParseBmp(const std::vector<uint8_t>& b, std::string& error) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        error = "not a BMP";
        return std::nullopt;
    }
    if (U32(b, 2) != b.size()) {
        error = "file size field " + std::to_string(U32(b, 2)) + " != " + std::to_string(b.size());
        return std::nullopt;
    }
    Dib d{};
    if (!ReadDib(b, 14, d, error)) {
        return std::nullopt;
    }
    Bitmap bmp;
    bmp.width = d.width;
    bmp.bits = d.bits;
    bmp.compression = d.compression;
    bmp.bottomUp = d.height > 0;
    bmp.height = d.height < 0 ? -d.height : d.height;
    if (d.bits != 8 && d.bits != 24) {
        error = "unsupported depth " + std::to_string(d.bits);
        return std::nullopt;
    }
    if (d.bits == 8) {
        size_t n = d.colours ? d.colours : 256;
        for (size_t i = 0; i < n; ++i) {
            size_t at = d.paletteAt + 4 * i;
            bmp.palette.push_back({b[at + 2], b[at + 1], b[at]});
        }
    }
    size_t offset = U32(b, 10), stride = Stride(bmp.width, d.bits);
    if (offset + stride * bmp.height != b.size()) {
        error = "pixel data does not fill the file exactly";
        return std::nullopt;
    }
    for (int y = 0; y < bmp.height; ++y) {
        size_t row = offset + stride * (bmp.bottomUp ? bmp.height - 1 - y : y);
        for (int x = 0; x < bmp.width; ++x) {
            if (d.bits == 8) {
                uint8_t i = b[row + x];
                bmp.index.push_back(i);
                bmp.pixels.push_back(i < bmp.palette.size() ? bmp.palette[i] : Rgb{1, 2, 3});
            } else {
                size_t at = row + 3 * x;
                bmp.pixels.push_back({b[at + 2], b[at + 1], b[at]});
            }
        }
    }
    return bmp;
}

std::optional<IconFile> ParseIconFile(const std::vector<uint8_t>& b, std::string& error) {
    if (b.size() < 6 || U16(b, 0) != 0) {
        error = "not an icon directory";
        return std::nullopt;
    }
    IconFile file;
    file.type = static_cast<int>(U16(b, 2));
    size_t count = U16(b, 4);
    for (size_t i = 0; i < count; ++i) {
        size_t e = 6 + 16 * i;
        if (e + 16 > b.size()) {
            error = "directory runs past the end";
            return std::nullopt;
        }
        IconImage img;
        img.width = b[e] ? b[e] : 256;
        img.height = b[e + 1] ? b[e + 1] : 256;
        if (file.type == 2) {
            img.hotX = static_cast<int>(U16(b, e + 4));
            img.hotY = static_cast<int>(U16(b, e + 6));
        }
        size_t size = U32(b, e + 8), at = U32(b, e + 12);
        if (at + size > b.size()) {
            error = "image runs past the end";
            return std::nullopt;
        }
        Dib d{};
        if (!ReadDib(b, at, d, error)) {
            return std::nullopt;
        }
        if (d.width != img.width || d.height != 2 * img.height) {
            error = "header size disagrees with the directory";
            return std::nullopt;
        }
        img.bits = d.bits;
        std::vector<Rgb> palette;
        size_t paletteSize = d.bits <= 8 ? (d.colours ? d.colours : (1u << d.bits)) : 0;
        for (size_t c = 0; c < paletteSize; ++c) {
            size_t p = d.paletteAt + 4 * c;
            palette.push_back({b[p + 2], b[p + 1], b[p]});
        }
        size_t xorAt = d.paletteAt + 4 * paletteSize, xorStride = Stride(img.width, d.bits);
        size_t andAt = xorAt + xorStride * img.height, andStride = Stride(img.width, 1);
        if (andAt + andStride * img.height != at + size) {
            error = "image size disagrees with its masks";
            return std::nullopt;
        }
        for (int y = 0; y < img.height; ++y) {
            size_t xr = xorAt + xorStride * (img.height - 1 - y);
            size_t ar = andAt + andStride * (img.height - 1 - y);
            for (int x = 0; x < img.width; ++x) {
                img.andMask.push_back((b[ar + x / 8] >> (7 - x % 8)) & 1);
                if (d.bits == 32 || d.bits == 24) {
                    size_t p = xr + x * (d.bits / 8);
                    img.pixels.push_back({b[p + 2], b[p + 1], b[p]});
                } else if (d.bits == 1) {
                    img.pixels.push_back(palette.at((b[xr + x / 8] >> (7 - x % 8)) & 1));
                } else {
                    error = "unsupported icon depth";
                    return std::nullopt;
                }
            }
        }
        file.images.push_back(std::move(img));
    }
    return file;
}

}  // namespace artcheck
