#include "formats.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace art {

namespace {

void Put16(Bytes& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void PutBe32(Bytes& b, uint32_t v) {
    b.push_back((v >> 24) & 0xFF);
    b.push_back((v >> 16) & 0xFF);
    b.push_back((v >> 8) & 0xFF);
    b.push_back(v & 0xFF);
}

int Stride(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

void PutInfoHeader(Bytes& b, int w, int h, int bits, uint32_t imageSize, uint32_t colours) {
    Put32(b, 40);
    Put32(b, static_cast<uint32_t>(w));
    Put32(b, static_cast<uint32_t>(h));
    Put16(b, 1);
    Put16(b, static_cast<uint32_t>(bits));
    Put32(b, 0);  // BI_RGB
    Put32(b, imageSize);
    Put32(b, 2835);  // 72 dpi
    Put32(b, 2835);
    Put32(b, colours);
    Put32(b, 0);
}

void PutFileHeader(Bytes& b, uint32_t fileSize, uint32_t dataOffset) {
    b.push_back('B');
    b.push_back('M');
    Put32(b, fileSize);
    Put32(b, 0);
    Put32(b, dataOffset);
}

// Rows bottom-up, each padded to four bytes.
void PutRows24(Bytes& b, const Image& img) {
    int pad = Stride(img.Width(), 24) - img.Width() * 3;
    for (int y = img.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < img.Width(); ++x) {
            Rgb c = img.At(x, y);
            b.push_back(c.b);
            b.push_back(c.g);
            b.push_back(c.r);
        }
        b.insert(b.end(), pad, 0);
    }
}

void PutMaskRows(Bytes& b, int w, int h, const std::vector<uint8_t>& bitsOn) {
    int stride = Stride(w, 1);
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < w; ++x) {
            if (bitsOn[static_cast<size_t>(y) * w + x]) {
                row[x / 8] |= 0x80 >> (x % 8);
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
}

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void PutChunk(Bytes& b, const char* type, const Bytes& data) {
    PutBe32(b, static_cast<uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    b.insert(b.end(), body.begin(), body.end());
    PutBe32(b, Crc32(body.data(), body.size()));
}

}  // namespace

Bytes EncodeBmp24(const Image& img) {
    uint32_t size = static_cast<uint32_t>(Stride(img.Width(), 24) * img.Height());
    Bytes b;
    PutFileHeader(b, 54 + size, 54);
    PutInfoHeader(b, img.Width(), img.Height(), 24, size, 0);
    PutRows24(b, img);
    return b;
}

Bytes EncodeBmp8(const IndexedImage& img) {
    if (img.palette.empty() || img.palette.size() > 256) {
        throw std::runtime_error("8-bit bitmap needs 1..256 palette entries");
    }
    uint32_t colours = static_cast<uint32_t>(img.palette.size());
    uint32_t stride = static_cast<uint32_t>(Stride(img.width, 8));
    uint32_t size = stride * img.height;
    uint32_t offset = 54 + 4 * colours;
    Bytes b;
    PutFileHeader(b, offset + size, offset);
    PutInfoHeader(b, img.width, img.height, 8, size, colours);
    for (Rgb c : img.palette) {
        b.push_back(c.b);
        b.push_back(c.g);
        b.push_back(c.r);
        b.push_back(0);
    }
    for (int y = img.height - 1; y >= 0; --y) {
        auto row = img.index.begin() + static_cast<long>(y) * img.width;
        b.insert(b.end(), row, row + img.width);
        b.insert(b.end(), stride - img.width, 0);
    }
    return b;
}

Bytes EncodeIco(const std::vector<MaskedImage>& images) {
    Bytes dir, data;
    Put16(dir, 0);
    Put16(dir, 1);  // icon
    Put16(dir, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const MaskedImage& m : images) {
        int w = m.colour.Width(), h = m.colour.Height();
        Bytes img;
        // The height counts the colour rows and the mask rows together.
        PutInfoHeader(img, w, 2 * h, 32, 0, 0);
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) {
                Rgb c = m.colour.At(x, y);
                bool on = m.opaque[static_cast<size_t>(y) * w + x];
                img.push_back(on ? c.b : 0);
                img.push_back(on ? c.g : 0);
                img.push_back(on ? c.r : 0);
                img.push_back(on ? 255 : 0);
            }
        }
        std::vector<uint8_t> andMask(m.opaque.size());
        for (size_t i = 0; i < andMask.size(); ++i) {
            andMask[i] = m.opaque[i] ? 0 : 1;
        }
        PutMaskRows(img, w, h, andMask);
        dir.push_back(static_cast<uint8_t>(w & 0xFF));
        dir.push_back(static_cast<uint8_t>(h & 0xFF));
        dir.push_back(0);
        dir.push_back(0);
        Put16(dir, 1);
        Put16(dir, 32);
        Put32(dir, static_cast<uint32_t>(img.size()));
        Put32(dir, offset);
        offset += static_cast<uint32_t>(img.size());
        data.insert(data.end(), img.begin(), img.end());
    }
    dir.insert(dir.end(), data.begin(), data.end());
    return dir;
}

Bytes EncodeMonoCur(const MaskedImage& m, int hotX, int hotY) {
    int w = m.colour.Width(), h = m.colour.Height();
    Bytes img;
    PutInfoHeader(img, w, 2 * h, 1, 0, 2);
    Put32(img, 0x00000000);  // palette: black, white
    Put32(img, 0x00FFFFFF);
    std::vector<uint8_t> xorMask(static_cast<size_t>(w) * h), andMask(xorMask.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            size_t i = static_cast<size_t>(y) * w + x;
            Rgb c = m.colour.At(x, y);
            xorMask[i] = m.opaque[i] && (c.r + c.g + c.b) > 384;
            andMask[i] = !m.opaque[i];
        }
    }
    PutMaskRows(img, w, h, xorMask);
    PutMaskRows(img, w, h, andMask);
    Bytes b;
    Put16(b, 0);
    Put16(b, 2);  // cursor
    Put16(b, 1);
    b.push_back(static_cast<uint8_t>(w & 0xFF));
    b.push_back(static_cast<uint8_t>(h & 0xFF));
    b.push_back(2);  // colours
    b.push_back(0);
    Put16(b, static_cast<uint32_t>(hotX));
    Put16(b, static_cast<uint32_t>(hotY));
    Put32(b, static_cast<uint32_t>(img.size()));
    Put32(b, 22);
    b.insert(b.end(), img.begin(), img.end());
    return b;
}

namespace {

// Uncompressed deflate blocks: the files are small and the encoder stays a few lines.
Bytes EncodePngRows(int width, int height, uint8_t colourType, const Bytes& raw,
                    const std::vector<std::pair<const char*, Bytes>>& before) {
    Bytes z{0x78, 0x01};
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(65535, raw.size() - pos);
        z.push_back(pos + n == raw.size() ? 1 : 0);
        Put16(z, static_cast<uint32_t>(n));
        Put16(z, static_cast<uint32_t>(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + static_cast<long>(pos),
                 raw.begin() + static_cast<long>(pos + n));
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, s = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        s = (s + a) % 65521;
    }
    PutBe32(z, (s << 16) | a);

    Bytes b{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    PutBe32(ihdr, static_cast<uint32_t>(width));
    PutBe32(ihdr, static_cast<uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, colourType, 0, 0, 0});
    PutChunk(b, "IHDR", ihdr);
    for (const auto& [type, data] : before) {
        PutChunk(b, type, data);
    }
    PutChunk(b, "IDAT", z);
    PutChunk(b, "IEND", {});
    return b;
}

}  // namespace

Bytes EncodePng(const Image& img) {
    Bytes raw;
    for (int y = 0; y < img.Height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < img.Width(); ++x) {
            Rgb c = img.At(x, y);
            raw.push_back(c.r);
            raw.push_back(c.g);
            raw.push_back(c.b);
        }
    }
    return EncodePngRows(img.Width(), img.Height(), 2, raw, {});
}

// A palette with a transparency entry when the picture has at most 256 colours (the
// icons have a few dozen), so that stored blocks stay small; RGBA otherwise.
Bytes EncodePngRgba(const Image& img, const std::vector<uint8_t>& alpha) {
    std::vector<std::pair<Rgb, uint8_t>> palette;
    Bytes raw;
    for (int y = 0; y < img.Height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < img.Width(); ++x) {
            uint8_t a = alpha[static_cast<size_t>(y) * img.Width() + x];
            std::pair<Rgb, uint8_t> entry{a != 0 ? img.At(x, y) : Rgb{}, a};
            auto at = std::find(palette.begin(), palette.end(), entry);
            if (at == palette.end()) {
                palette.push_back(entry);
                at = palette.end() - 1;
            }
            raw.push_back(static_cast<uint8_t>(at - palette.begin()));
        }
    }
    if (palette.size() > 256) {
        raw.clear();
        for (int y = 0; y < img.Height(); ++y) {
            raw.push_back(0);
            for (int x = 0; x < img.Width(); ++x) {
                uint8_t a = alpha[static_cast<size_t>(y) * img.Width() + x];
                Rgb c = a != 0 ? img.At(x, y) : Rgb{};
                raw.insert(raw.end(), {c.r, c.g, c.b, a});
            }
        }
        return EncodePngRows(img.Width(), img.Height(), 6, raw, {});
    }
    Bytes plte, trns;
    for (const auto& [c, a] : palette) {
        plte.insert(plte.end(), {c.r, c.g, c.b});
        trns.push_back(a);
    }
    return EncodePngRows(img.Width(), img.Height(), 3, raw, {{"PLTE", plte}, {"tRNS", trns}});
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace art
