#include "platform/ddraw/blit_kernels.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

void CopyPixels(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch, int32_t width,
                int32_t height, int32_t bytesPerPixel) {
    const size_t rowBytes = size_t(width) * size_t(bytesPerPixel);
    if (width <= 0 || height <= 0) {
        return;
    }
    if (dstPitch == srcPitch && size_t(dstPitch) == rowBytes) {
        std::memcpy(dst, src, rowBytes * size_t(height));
        return;
    }
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(dst + ptrdiff_t(y) * dstPitch, src + ptrdiff_t(y) * srcPitch, rowBytes);
    }
}

namespace {

template <typename Pixel>
void KeyedRowScalar(Pixel* d, const Pixel* s, int32_t n, Pixel low, Pixel high) {
    for (int32_t x = 0; x < n; ++x) {
        const Pixel v = s[x];
        // Unsigned wrap turns the two-sided range test into one compare.
        const bool keyed = Pixel(v - low) <= Pixel(high - low);
        d[x] = keyed ? d[x] : v;
    }
}

#if defined(__SSE2__)
// The key range of one pixel size as vectors: pixels are compared with their top bit
// flipped, since SSE2 compares only signed lanes.
template <typename Pixel>
struct VectorKey;

template <>
struct VectorKey<uint16_t> {
    VectorKey(uint16_t low, uint16_t high)
        : flip(_mm_set1_epi16(int16_t(0x8000))),
          low(_mm_set1_epi16(int16_t(low ^ 0x8000))),
          high(_mm_set1_epi16(int16_t(high ^ 0x8000))) {}
    __m128i Outside(__m128i flipped) const {
        return _mm_or_si128(_mm_cmpgt_epi16(flipped, high), _mm_cmpgt_epi16(low, flipped));
    }
    __m128i flip, low, high;
};

template <>
struct VectorKey<uint32_t> {
    VectorKey(uint32_t low, uint32_t high)
        : flip(_mm_set1_epi32(int32_t(0x80000000u))),
          low(_mm_set1_epi32(int32_t(low ^ 0x80000000u))),
          high(_mm_set1_epi32(int32_t(high ^ 0x80000000u))) {}
    __m128i Outside(__m128i flipped) const {
        return _mm_or_si128(_mm_cmpgt_epi32(flipped, high), _mm_cmpgt_epi32(low, flipped));
    }
    __m128i flip, low, high;
};

// Blends one vector: pixels outside the key range come from src. Running it twice over
// the same pixels gives the same result, so a row's tail can overlap the previous vector.
template <typename Pixel>
inline void KeyedVector(Pixel* d, const Pixel* s, const VectorKey<Pixel>& key) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    const __m128i outside = key.Outside(_mm_xor_si128(sv, key.flip));
    const __m128i r = _mm_or_si128(_mm_and_si128(outside, sv), _mm_andnot_si128(outside, dv));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), r);
}
#endif

template <typename Pixel>
void CopyKeyed(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch, int32_t width,
               int32_t height, Pixel keyLow, Pixel keyHigh) {
    if (width <= 0 || height <= 0) {
        return;
    }
    if (keyLow > keyHigh) {
        CopyPixels(dst, dstPitch, src, srcPitch, width, height, int32_t(sizeof(Pixel)));
        return;
    }
#if defined(__SSE2__)
    constexpr int32_t LANES = int32_t(16 / sizeof(Pixel));
    if (width >= LANES) {
        const VectorKey<Pixel> key(keyLow, keyHigh);
        for (int32_t y = 0; y < height; ++y) {
            auto* d = reinterpret_cast<Pixel*>(dst + ptrdiff_t(y) * dstPitch);
            const auto* s = reinterpret_cast<const Pixel*>(src + ptrdiff_t(y) * srcPitch);
            int32_t x = 0;
            for (; x + LANES <= width; x += LANES) {
                KeyedVector(d + x, s + x, key);
            }
            if (x < width) {
                KeyedVector(d + width - LANES, s + width - LANES, key);
            }
        }
        return;
    }
#endif
    for (int32_t y = 0; y < height; ++y) {
        KeyedRowScalar(reinterpret_cast<Pixel*>(dst + ptrdiff_t(y) * dstPitch),
                       reinterpret_cast<const Pixel*>(src + ptrdiff_t(y) * srcPitch), width, keyLow,
                       keyHigh);
    }
}

}  // namespace

void CopyPixelsKeyed16(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch,
                       int32_t width, int32_t height, uint16_t keyLow, uint16_t keyHigh) {
    CopyKeyed<uint16_t>(dst, dstPitch, src, srcPitch, width, height, keyLow, keyHigh);
}

void CopyPixelsKeyed32(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch,
                       int32_t width, int32_t height, uint32_t keyLow, uint32_t keyHigh) {
    CopyKeyed<uint32_t>(dst, dstPitch, src, srcPitch, width, height, keyLow, keyHigh);
}

void FillPixels16(uint8_t* dst, int32_t pitch, int32_t width, int32_t height, uint16_t value) {
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint16_t*>(dst + ptrdiff_t(y) * pitch);
        std::fill_n(row, width, value);
    }
}

void FillPixels32(uint8_t* dst, int32_t pitch, int32_t width, int32_t height, uint32_t value) {
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(dst + ptrdiff_t(y) * pitch);
        std::fill_n(row, width, value);
    }
}

}  // namespace platform
