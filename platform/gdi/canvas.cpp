// Pixels in every format a DC can draw on, and the views of bitmaps and DCs over them.
#include <algorithm>
#include <cstring>

#include "platform/gdi/gdi_internal.h"

namespace platform::gdi {

int BitsFor(Fmt fmt) {
    switch (fmt) {
        case Fmt::RGB565:
        case Fmt::RGB555:
            return 16;
        case Fmt::XRGB8888:
            return 32;
        case Fmt::BGR24:
            return 24;
        case Fmt::PAL8:
            return 8;
        case Fmt::MONO1:
            return 1;
    }
    return 0;
}

Fmt FmtOf(PixelFormat f) {
    switch (f) {
        case PixelFormat::RGB555:
            return Fmt::RGB555;
        case PixelFormat::XRGB8888:
            return Fmt::XRGB8888;
        case PixelFormat::RGB565:
            break;
    }
    return Fmt::RGB565;
}

namespace {

bool Paletted(Fmt fmt) {
    return fmt == Fmt::PAL8 || fmt == Fmt::MONO1;
}

}  // namespace

COLORREF Canvas::Decode(uint32_t raw) const {
    if (Paletted(fmt)) {
        return palette != nullptr && raw < palette->size() ? FromXrgb((*palette)[raw])
                                                           : RGB(0, 0, 0);
    }
    return fmt == Fmt::RGB565 ? From565(raw) : fmt == Fmt::RGB555 ? From555(raw) : FromXrgb(raw);
}

uint32_t Canvas::Encode(COLORREF c) const {
    if (!Paletted(fmt)) {
        return fmt == Fmt::RGB565 ? To565(c) : fmt == Fmt::RGB555 ? To555(c) : ToXrgb(c);
    }
    if (palette == nullptr || palette->empty()) {
        return 0;
    }
    // The nearest palette entry, as GDI maps colours onto a palette bitmap.
    uint32_t best = 0;
    int64_t bestDist = INT64_MAX;
    for (size_t i = 0; i < palette->size(); ++i) {
        COLORREF p = FromXrgb((*palette)[i]);
        int64_t dr = int(GetRValue(p)) - GetRValue(c);
        int64_t dg = int(GetGValue(p)) - GetGValue(c);
        int64_t db = int(GetBValue(p)) - GetBValue(c);
        int64_t d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
            bestDist = d;
            best = uint32_t(i);
        }
    }
    return best;
}

uint32_t Canvas::GetRaw(int32_t x, int32_t y) const {
    const uint8_t* r = Row(y);
    switch (fmt) {
        case Fmt::RGB565:
        case Fmt::RGB555: {
            uint16_t v;
            std::memcpy(&v, r + 2 * x, 2);
            return v;
        }
        case Fmt::XRGB8888: {
            uint32_t v;
            std::memcpy(&v, r + 4 * x, 4);
            return v & 0x00FFFFFF;
        }
        case Fmt::BGR24:
            return uint32_t(r[3 * x]) | (uint32_t(r[3 * x + 1]) << 8) |
                   (uint32_t(r[3 * x + 2]) << 16);
        case Fmt::PAL8:
            return r[x];
        case Fmt::MONO1:
            return (r[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return 0;
}

void Canvas::PutRaw(int32_t x, int32_t y, uint32_t raw) const {
    uint8_t* r = Row(y);
    switch (fmt) {
        case Fmt::RGB565:
        case Fmt::RGB555: {
            uint16_t v = uint16_t(raw);
            std::memcpy(r + 2 * x, &v, 2);
            break;
        }
        case Fmt::XRGB8888:
            std::memcpy(r + 4 * x, &raw, 4);
            break;
        case Fmt::BGR24:
            r[3 * x] = uint8_t(raw);
            r[3 * x + 1] = uint8_t(raw >> 8);
            r[3 * x + 2] = uint8_t(raw >> 16);
            break;
        case Fmt::PAL8:
            r[x] = uint8_t(raw);
            break;
        case Fmt::MONO1: {
            uint8_t bit = uint8_t(0x80u >> (x & 7));
            r[x >> 3] = raw ? uint8_t(r[x >> 3] | bit) : uint8_t(r[x >> 3] & ~bit);
            break;
        }
    }
}

COLORREF Canvas::Get(int32_t x, int32_t y) const {
    return Decode(GetRaw(x, y));
}
void Canvas::Put(int32_t x, int32_t y, COLORREF c) const {
    PutRaw(x, y, Encode(c));
}

Canvas Bitmap::View() {
    Canvas c;
    if (bits.empty()) {
        return c;
    }
    c.width = width;
    c.height = height;
    c.fmt = fmt;
    c.palette = &palette;
    if (bottomUp) {
        c.row0 = bits.data() + ptrdiff_t(height - 1) * stride;
        c.pitch = -ptrdiff_t(stride);
    } else {
        c.row0 = bits.data();
        c.pitch = stride;
    }
    return c;
}

std::unique_ptr<Bitmap> MakeBitmap(int32_t width, int32_t height, Fmt fmt) {
    constexpr int32_t MAX_SIDE = 16384;
    if (width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE) {
        return nullptr;
    }
    auto b = std::make_unique<Bitmap>();
    b->width = width;
    b->height = height;
    b->fmt = fmt;
    b->bitsPixel = BitsFor(fmt);
    b->stride = int32_t(((int64_t(width) * b->bitsPixel + 31) / 32) * 4);
    b->bits.assign(size_t(b->stride) * size_t(height), 0);
    if (fmt == Fmt::MONO1) {
        b->palette = {0x000000, 0xFFFFFF};
    }
    return b;
}

Canvas DC::View() const {
    if (memory) {
        return bitmap != nullptr ? bitmap->View() : Canvas{};
    }
    Canvas c;
    c.row0 = target.pixels;
    c.pitch = target.pitch;
    c.width = target.width;
    c.height = target.height;
    c.fmt = FmtOf(target.format);
    return c;
}

Canvas DC::ViewRange::At(size_t i) const {
    Canvas c = whole_;
    if (dc_.clipped) {
        const ClipBox& box = dc_.clip[i];
        c.clipLeft = box.left;
        c.clipTop = box.top;
        c.clipRight = box.right;
        c.clipBottom = box.bottom;
    }
    return c;
}

void FillBox(const Canvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1, COLORREF color) {
    if (!c.Valid()) {
        return;
    }
    x0 = std::max(x0, c.Left());
    y0 = std::max(y0, c.Top());
    x1 = std::min(x1, c.Right());
    y1 = std::min(y1, c.Bottom());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    uint32_t raw = c.Encode(color);
    for (int32_t y = y0; y < y1; ++y) {
        if (c.fmt == Fmt::RGB565 || c.fmt == Fmt::RGB555) {
            uint16_t* p = reinterpret_cast<uint16_t*>(c.Row(y)) + x0;
            std::fill(p, p + (x1 - x0), uint16_t(raw));
        } else {
            for (int32_t x = x0; x < x1; ++x) {
                c.PutRaw(x, y, raw);
            }
        }
    }
}

}  // namespace platform::gdi
