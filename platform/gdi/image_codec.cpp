// BMP, ICO and CUR decoding. Every length, offset and count read from the data is
// checked against the data's size before use: these files may come from anywhere.
#include "platform/gdi/image_codec.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr int64_t MAX_SIDE = 16384;
constexpr int64_t MAX_PIXELS = int64_t(1) << 26;

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;

uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
int32_t S32(const uint8_t* p) {
    return int32_t(U32(p));
}

struct DibHeader {
    int32_t width = 0;
    int32_t height = 0;  // absolute
    bool topDown = false;
    int32_t bpp = 0;
    uint32_t compression = BI_RGB;
    uint32_t masks[4] = {0, 0, 0, 0};  // r, g, b, a for bit fields
    std::vector<uint32_t> palette;
    size_t headerEnd = 0;  // after header, masks and palette
};

// The colour masks of a bit-field DIB (after a small header, or inside a large one), or
// the fixed ones of 16 and 32 bits; pos moves past any it read.
bool ReadMasks(const uint8_t* p, size_t n, uint32_t headerSize, DibHeader& h, size_t& pos) {
    if (h.compression == BI_BITFIELDS) {
        if (headerSize >= 52) {
            for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i) {
                h.masks[i] = U32(p + 40 + 4 * i);
            }
        } else {
            if (n < pos + 12) {
                return false;
            }
            for (int i = 0; i < 3; ++i) {
                h.masks[i] = U32(p + pos + 4 * i);
            }
            pos += 12;
        }
        if (h.masks[0] == 0 && h.masks[1] == 0 && h.masks[2] == 0) {
            return false;
        }
    } else if (h.bpp == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    } else if (h.bpp == 32) {
        h.masks[0] = 0x00FF0000;
        h.masks[1] = 0x0000FF00;
        h.masks[2] = 0x000000FF;
    }
    return true;
}

// The palette of a DIB of 8 bits or fewer; pos moves past it.
bool ReadPalette(const uint8_t* p, size_t n, bool core, DibHeader& h, size_t& pos) {
    if (h.bpp <= 8) {
        uint32_t maxColors = 1u << h.bpp;
        uint32_t used = core ? 0 : U32(p + 32);
        if (used == 0) {
            used = maxColors;
        }
        if (used > maxColors) {
            return false;
        }
        size_t entry = core ? 3 : 4;
        if (n < pos || (n - pos) / entry < used) {
            return false;
        }
        h.palette.resize(used);
        for (uint32_t i = 0; i < used; ++i) {
            const uint8_t* e = p + pos + entry * i;
            h.palette[i] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
        }
        pos += entry * used;
    }
    return true;
}

// Parses a packed DIB's header, masks and palette. heightDivisor is 2 for icon images,
// whose height counts the colour and mask halves.
bool ParseDibHeader(const uint8_t* p, size_t n, int32_t heightDivisor, DibHeader& h) {
    if (n < 12) {
        return false;
    }
    uint32_t headerSize = U32(p);
    int64_t width, height;
    int32_t planes;
    bool core = headerSize == 12;
    if (core) {
        width = U16(p + 4);
        height = int16_t(U16(p + 6));
        planes = U16(p + 8);
        h.bpp = U16(p + 10);
    } else {
        if (headerSize < 40 || headerSize > 1024 || n < headerSize) {
            return false;
        }
        width = S32(p + 4);
        height = S32(p + 8);
        planes = U16(p + 12);
        h.bpp = U16(p + 14);
        h.compression = U32(p + 16);
    }
    if (planes != 1 || width <= 0 || width > MAX_SIDE || height == 0 || height < -MAX_SIDE * 2 ||
        height > MAX_SIDE * 2) {
        return false;
    }
    h.topDown = height < 0;
    height = (height < 0 ? -height : height) / heightDivisor;
    if (height <= 0 || height > MAX_SIDE || width * height > MAX_PIXELS) {
        return false;
    }
    h.width = int32_t(width);
    h.height = int32_t(height);
    switch (h.bpp) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return false;
    }
    bool compressionOk = h.compression == BI_RGB ||
                         (h.compression == BI_RLE8 && h.bpp == 8 && !h.topDown) ||
                         (h.compression == BI_RLE4 && h.bpp == 4 && !h.topDown) ||
                         (h.compression == BI_BITFIELDS && (h.bpp == 16 || h.bpp == 32));
    if (!compressionOk) {
        return false;
    }
    size_t pos = headerSize;
    if (!ReadMasks(p, n, headerSize, h, pos) || !ReadPalette(p, n, core, h, pos)) {
        return false;
    }
    h.headerEnd = pos;
    return true;
}

size_t Stride(int32_t width, int32_t bpp) {
    return ((size_t(width) * size_t(bpp) + 31) / 32) * 4;
}

uint32_t Channel(uint32_t v, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    uint32_t m = mask >> shift;
    uint32_t bits = 0;
    while ((m >> bits) & 1) {
        ++bits;
    }
    uint32_t x = (v & mask) >> shift;
    if (bits >= 8) {
        return x >> (bits - 8);
    }
    // Replicate the high bits, as GDI reads narrow channels back.
    uint32_t out = x << (8 - bits);
    for (uint32_t filled = bits; filled < 8; filled += bits) {
        out |= out >> bits;
    }
    return out & 0xFF;
}

// Expands an RLE8 / RLE4 stream into one index per pixel, bottom row first in the stream.
bool DecodeRle(const uint8_t* s, size_t n, const DibHeader& h, std::vector<uint8_t>& idx) {
    const bool four = h.compression == BI_RLE4;
    int64_t x = 0, y = 0;  // y counts from the bottom
    auto put = [&](uint8_t v) {
        if (x < h.width && y < h.height) {
            idx[size_t(h.height - 1 - y) * size_t(h.width) + size_t(x)] = v;
        }
        ++x;
    };
    size_t i = 0;
    while (i + 1 < n) {
        uint8_t count = s[i], value = s[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k) {
                put(four ? uint8_t((k & 1) ? value & 0xF : value >> 4) : value);
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (i + 1 >= n) {
                return false;
            }
            x += s[i];
            y += s[i + 1];
            i += 2;
        } else {
            size_t bytes = four ? (size_t(value) + 1) / 2 : value;
            size_t padded = (bytes + 1) & ~size_t(1);
            if (n - i < bytes) {
                return false;
            }
            for (int k = 0; k < value; ++k) {
                uint8_t b = s[i + (four ? size_t(k) / 2 : size_t(k))];
                put(four ? uint8_t((k & 1) ? b & 0xF : b >> 4) : b);
            }
            i += std::min(padded, n - i);
        }
        if (y >= h.height) {
            return true;
        }
    }
    // A stream without its end marker still gave what it had.
    return true;
}

// Decodes the pixel data at bits (n bytes) into out.
bool DecodePixels(const DibHeader& h, const uint8_t* bits, size_t n, DecodedImage& out) {
    DecodedImage img;
    img.width = h.width;
    img.height = h.height;
    img.bitsPerPixel = h.bpp;
    img.palette = h.palette;
    const size_t count = size_t(h.width) * size_t(h.height);
    img.argb.resize(count);
    bool indexed = h.bpp <= 8;
    if (indexed) {
        img.indices.assign(count, 0);
    }
    if (h.compression == BI_RLE8 || h.compression == BI_RLE4) {
        if (!DecodeRle(bits, n, h, img.indices)) {
            return false;
        }
    } else {
        size_t stride = Stride(h.width, h.bpp);
        if (n / stride < size_t(h.height)) {
            return false;
        }
        bool anyAlpha = false;
        for (int32_t y = 0; y < h.height; ++y) {
            const uint8_t* row = bits + stride * size_t(h.topDown ? y : h.height - 1 - y);
            size_t o = size_t(y) * size_t(h.width);
            for (int32_t x = 0; x < h.width; ++x) {
                switch (h.bpp) {
                    case 1:
                        img.indices[o + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
                        break;
                    case 4:
                        img.indices[o + x] = (x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4;
                        break;
                    case 8:
                        img.indices[o + x] = row[x];
                        break;
                    case 24: {
                        const uint8_t* q = row + 3 * x;
                        img.argb[o + x] =
                            0xFF000000u | (uint32_t(q[2]) << 16) | (uint32_t(q[1]) << 8) | q[0];
                        break;
                    }
                    case 16:
                    case 32: {
                        uint32_t v = h.bpp == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
                        uint32_t a = h.bpp == 32 && h.compression == BI_RGB
                                         ? v >> 24
                                         : (h.masks[3] ? Channel(v, h.masks[3]) : 0);
                        anyAlpha = anyAlpha || a != 0;
                        img.argb[o + x] = (a << 24) | (Channel(v, h.masks[0]) << 16) |
                                          (Channel(v, h.masks[1]) << 8) | Channel(v, h.masks[2]);
                        break;
                    }
                }
            }
        }
        // An alpha channel that is zero everywhere is unused, not transparent.
        if ((h.bpp == 16 || h.bpp == 32) && !anyAlpha) {
            for (uint32_t& px : img.argb) {
                px |= 0xFF000000u;
            }
        }
    }
    if (indexed) {
        for (size_t i = 0; i < count; ++i) {
            uint8_t v = img.indices[i];
            // An index past the palette shows as black rather than reading past it.
            if (v >= img.palette.size()) {
                img.indices[i] = 0;
                v = 0;
            }
            img.argb[i] = 0xFF000000u | (img.palette.empty() ? 0 : img.palette[v]);
        }
    }
    out = std::move(img);
    return true;
}

bool DecodeDib(const uint8_t* data, size_t size, DecodedImage& out) {
    DibHeader h;
    if (!ParseDibHeader(data, size, 1, h)) {
        return false;
    }
    return DecodePixels(h, data + h.headerEnd, size - h.headerEnd, out);
}

// One image of an icon or cursor directory: a packed DIB with an AND mask, or PNG.
bool DecodeIconImage(const uint8_t* p, size_t n, DecodedImage& out) {
    static const uint8_t PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (n >= 8 && std::memcmp(p, PNG_SIGNATURE, 8) == 0) {
        return false;
    }
    DibHeader h;
    if (!ParseDibHeader(p, n, 2, h) || h.compression == BI_RLE8 || h.compression == BI_RLE4) {
        return false;
    }
    size_t colorBytes = Stride(h.width, h.bpp) * size_t(h.height);
    size_t avail = n - h.headerEnd;
    DecodedImage img;
    if (avail < colorBytes || !DecodePixels(h, p + h.headerEnd, colorBytes, img)) {
        return false;
    }
    bool hasAlpha = false;
    if (h.bpp == 32) {
        for (uint32_t px : img.argb) {
            hasAlpha = hasAlpha || (px >> 24) != 0xFF;
        }
    }
    // Without alpha of its own, the AND mask says which pixels are transparent; a
    // missing mask means an opaque image.
    size_t maskStride = Stride(h.width, 1);
    const uint8_t* mask = p + h.headerEnd + colorBytes;
    if (!hasAlpha && (avail - colorBytes) / maskStride >= size_t(h.height)) {
        for (int32_t y = 0; y < h.height; ++y) {
            const uint8_t* row = mask + maskStride * size_t(h.topDown ? y : h.height - 1 - y);
            for (int32_t x = 0; x < h.width; ++x) {
                if ((row[x >> 3] >> (7 - (x & 7))) & 1) {
                    img.argb[size_t(y) * size_t(h.width) + size_t(x)] &= 0x00FFFFFFu;
                }
            }
        }
    }
    out = std::move(img);
    return true;
}

struct DirEntry {
    int32_t width, height, bpp;
    uint16_t hotX, hotY;
    uint32_t size, offset;
};

bool DecodeDirectory(const uint8_t* data, size_t size, uint16_t type, int32_t wanted,
                     DecodedImage& out) {
    if (data == nullptr || size < 6 || U16(data) != 0 || U16(data + 2) != type) {
        return false;
    }
    uint16_t count = U16(data + 4);
    if (count == 0 || (size - 6) / 16 < count) {
        return false;
    }
    std::vector<DirEntry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* e = data + 6 + 16 * size_t(i);
        DirEntry d{e[0] ? e[0] : 256, e[1] ? e[1] : 256, type == 1 ? U16(e + 6) : 0,
                   U16(e + 4),        U16(e + 6),        U32(e + 8),
                   U32(e + 12)};
        if (d.offset < size && d.size > 0 && d.size <= size - d.offset) {
            entries.push_back(d);
        }
    }
    // Closest size first (the largest when nothing is wanted), then the deeper colour.
    auto distance = [&](const DirEntry& d) {
        return wanted > 0 ? std::abs(d.width - wanted) : -d.width;
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const DirEntry& a, const DirEntry& b) {
        if (distance(a) != distance(b)) {
            return distance(a) < distance(b);
        }
        return a.bpp > b.bpp;
    });
    for (const DirEntry& d : entries) {
        DecodedImage img;
        if (DecodeIconImage(data + d.offset, d.size, img)) {
            if (type == 2) {
                img.hotX = std::min<int32_t>(d.hotX, img.width - 1);
                img.hotY = std::min<int32_t>(d.hotY, img.height - 1);
            }
            out = std::move(img);
            return true;
        }
    }
    return false;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out) {
    if (data == nullptr || size < 14) {
        return false;
    }
    if (data[0] != 'B' || data[1] != 'M') {
        // Bitmap resources are stored as packed DIBs, without the file header.
        return DecodeDib(data, size, out);
    }
    const uint8_t* dib = data + 14;
    size_t n = size - 14;
    DibHeader h;
    if (!ParseDibHeader(dib, n, 1, h)) {
        return false;
    }
    // The pixels start at the file header's offset, which must lie past the palette and
    // inside the data; an offset of 0 means they follow the palette.
    uint32_t offBits = U32(data + 10);
    size_t start = h.headerEnd;
    if (offBits != 0) {
        if (offBits < 14 + h.headerEnd || offBits >= size) {
            return false;
        }
        start = offBits - 14;
    }
    if (start >= n) {
        return false;
    }
    return DecodePixels(h, dib + start, n - start, out);
}

bool DecodeIco(const uint8_t* data, size_t size, int32_t wanted, DecodedImage& out) {
    return DecodeDirectory(data, size, 1, wanted, out);
}

bool DecodeCur(const uint8_t* data, size_t size, DecodedImage& out) {
    return DecodeDirectory(data, size, 2, 0, out);
}

}  // namespace platform
