// Decoding of the Windows image formats the resources use: BMP (8-bit palette and
// 24-bit), ICO and CUR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

struct DecodedImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 0;       // of the source: 1, 4, 8, 24 or 32
    std::vector<uint32_t> palette;  // 0x00RRGGBB, for palette images
    std::vector<uint8_t> indices;   // palette images: one byte per pixel, top row first
    std::vector<uint32_t> argb;     // every image: 0xAARRGGBB, top row first
    int32_t hotX = 0;               // cursors
    int32_t hotY = 0;
};

// Each returns false for data it can't decode, touching nothing else.
// DecodeBmp takes a whole .bmp file or a packed DIB (a bitmap resource without the file
// header); 1-, 4-, 8-bit (also RLE), 16-, 24- and 32-bit.
bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out);
// Picks the image closest to wanted x wanted pixels (0: the largest).
bool DecodeIco(const uint8_t* data, size_t size, int32_t wanted, DecodedImage& out);
bool DecodeCur(const uint8_t* data, size_t size, DecodedImage& out);

}  // namespace platform
