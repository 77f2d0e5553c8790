// Pixel-moving loops on pointer + pitch, with no knowledge of surfaces or result codes.
// Callers have already checked that both rectangles lie inside their memory.
#pragma once

#include <cstdint>

namespace platform {

// Copies width x height pixels of bytesPerPixel each; the areas must not overlap.
void CopyPixels(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch, int32_t width,
                int32_t height, int32_t bytesPerPixel);

// Copies the pixels whose value lies outside [keyLow, keyHigh]; the others are skipped.
void CopyPixelsKeyed16(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch,
                       int32_t width, int32_t height, uint16_t keyLow, uint16_t keyHigh);
void CopyPixelsKeyed32(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch,
                       int32_t width, int32_t height, uint32_t keyLow, uint32_t keyHigh);

// Sets every pixel of the area to value.
void FillPixels16(uint8_t* dst, int32_t pitch, int32_t width, int32_t height, uint16_t value);
void FillPixels32(uint8_t* dst, int32_t pitch, int32_t width, int32_t height, uint32_t value);

}  // namespace platform
