#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace art {

using Bytes = std::vector<uint8_t>;

// An 8-bit picture: one palette index per pixel.
struct IndexedImage {
    int width = 0, height = 0;
    std::vector<uint8_t> index;
    std::vector<Rgb> palette;
};

// An icon or cursor image: colour plus a mask of opaque pixels.
struct MaskedImage {
    Image colour;
    std::vector<uint8_t> opaque;  // 1 where the pixel is shown
};

Bytes EncodeBmp24(const Image& img);
Bytes EncodeBmp8(const IndexedImage& img);
// 32-bit colour with an AND mask, one entry per image.
Bytes EncodeIco(const std::vector<MaskedImage>& images);
// Monochrome: opaque pixels are black or white by their colour's brightness.
Bytes EncodeMonoCur(const MaskedImage& img, int hotX, int hotY);
Bytes EncodePng(const Image& img);
// With an alpha channel, one byte per pixel (0 clear, 255 opaque); clear pixels are black.
Bytes EncodePngRgba(const Image& img, const std::vector<uint8_t>& alpha);

void WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace art
