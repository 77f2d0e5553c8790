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
// Blends one vector: pixels outside the key range come from src. Running it twice over
// the same pixels gives the same result, so a row's tail can overlap the previous vector.
inline void KeyedVector16(uint16_t* d, const uint16_t* s, __m128i flip, __m128i lowFlipped,
                          __m128i highFlipped) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    const __m128i sf = _mm_xor_si128(sv, flip);
    const __m128i outside =
        _mm_or_si128(_mm_cmpgt_epi16(sf, highFlipped), _mm_cmpgt_epi16(lowFlipped, sf));
    const __m128i r = _mm_or_si128(_mm_and_si128(outside, sv), _mm_andnot_si128(outside, dv));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), r);
}

inline void KeyedVector32(uint32_t* d, const uint32_t* s, __m128i flip, __m128i lowFlipped,
                          __m128i highFlipped) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    const __m128i sf = _mm_xor_si128(sv, flip);
    const __m128i outside =
        _mm_or_si128(_mm_cmpgt_epi32(sf, highFlipped), _mm_cmpgt_epi32(lowFlipped, sf));
    const __m128i r = _mm_or_si128(_mm_and_si128(outside, sv), _mm_andnot_si128(outside, dv));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), r);
}
#endif

}  // namespace

void CopyPixelsKeyed16(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch,
                       int32_t width, int32_t height, uint16_t keyLow, uint16_t keyHigh) {
    if (width <= 0 || height <= 0) {
        return;
    }
    if (keyLow > keyHigh) {
        CopyPixels(dst, dstPitch, src, srcPitch, width, height, 2);
        return;
    }
#if defined(__SSE2__)
    if (width >= 8) {
        const __m128i flip = _mm_set1_epi16(int16_t(0x8000));
        const __m128i lowFlipped = _mm_set1_epi16(int16_t(keyLow ^ 0x8000));
        const __m128i highFlipped = _mm_set1_epi16(int16_t(keyHigh ^ 0x8000));
        for (int32_t y = 0; y < height; ++y) {
            auto* d = reinterpret_cast<uint16_t*>(dst + ptrdiff_t(y) * dstPitch);
            const auto* s = reinterpret_cast<const uint16_t*>(src + ptrdiff_t(y) * srcPitch);
            int32_t x = 0;
            for (; x + 8 <= width; x += 8) {
                KeyedVector16(d + x, s + x, flip, lowFlipped, highFlipped);
            }
            if (x < width) {
                KeyedVector16(d + width - 8, s + width - 8, flip, lowFlipped, highFlipped);
            }
        }
        return;
    }
#endif
    for (int32_t y = 0; y < height; ++y) {
        KeyedRowScalar(reinterpret_cast<uint16_t*>(dst + ptrdiff_t(y) * dstPitch),
                       reinterpret_cast<const uint16_t*>(src + ptrdiff_t(y) * srcPitch), width,
                       keyLow, keyHigh);
    }
}

void CopyPixelsKeyed32(uint8_t* dst, int32_t dstPitch, const uint8_t* src, int32_t srcPitch,
                       int32_t width, int32_t height, uint32_t keyLow, uint32_t keyHigh) {
    if (width <= 0 || height <= 0) {
        return;
    }
    if (keyLow > keyHigh) {
        CopyPixels(dst, dstPitch, src, srcPitch, width, height, 4);
        return;
    }
#if defined(__SSE2__)
    if (width >= 4) {
        const __m128i flip = _mm_set1_epi32(int32_t(0x80000000u));
        const __m128i lowFlipped = _mm_set1_epi32(int32_t(keyLow ^ 0x80000000u));
        const __m128i highFlipped = _mm_set1_epi32(int32_t(keyHigh ^ 0x80000000u));
        for (int32_t y = 0; y < height; ++y) {
            auto* d = reinterpret_cast<uint32_t*>(dst + ptrdiff_t(y) * dstPitch);
            const auto* s = reinterpret_cast<const uint32_t*>(src + ptrdiff_t(y) * srcPitch);
            int32_t x = 0;
            for (; x + 4 <= width; x += 4) {
                KeyedVector32(d + x, s + x, flip, lowFlipped, highFlipped);
            }
            if (x < width) {
                KeyedVector32(d + width - 4, s + width - 4, flip, lowFlipped, highFlipped);
            }
        }
        return;
    }
#endif
    for (int32_t y = 0; y < height; ++y) {
        KeyedRowScalar(reinterpret_cast<uint32_t*>(dst + ptrdiff_t(y) * dstPitch),
                       reinterpret_cast<const uint32_t*>(src + ptrdiff_t(y) * srcPitch), width,
                       keyLow, keyHigh);
    }
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
