// Stretch copies between DCs, pixel probes, and bitmap loading.
#include <cstring>
#include <initializer_list>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/image_codec.h"
#include "platform/res/resources.h"

namespace platform::gdi {
namespace {

// Destination column i of n samples source column floor((2i + 1) * m / 2n): the source
// pixel under the destination pixel's centre. Equal sizes map one to one.
// Only columns first .. first + count - 1 are mapped (the visible part).
void BuildMap(std::vector<int32_t>& map, int32_t first, int32_t count, int32_t n, int32_t m,
              int32_t srcStart, bool mirror) {
    map.resize(size_t(count));
    for (int32_t k = 0; k < count; ++k) {
        int64_t i = int64_t(first) + k;
        int64_t s = ((2 * i + 1) * m) / (2 * int64_t(n));
        map[size_t(k)] = int32_t(srcStart + (mirror ? m - 1 - s : s));
    }
}

// GDI rectangles with a negative extent cover [x + w, x).
void Normalise(int32_t& x, int32_t& w, bool& flipped) {
    if (w < 0) {
        x += w;
        w = -w;
        flipped = !flipped;
    }
}

// Keeps every coordinate sum well inside 32 bits (and products inside 64).
bool InRange(std::initializer_list<int> values) {
    constexpr int LIMIT = 1 << 24;
    for (int v : values) {
        if (v < -LIMIT || v > LIMIT) {
            return false;
        }
    }
    return true;
}

bool IsSixteen(Fmt f) {
    return f == Fmt::RGB565 || f == Fmt::RGB555;
}

}  // namespace
}  // namespace platform::gdi

using namespace platform::gdi;

namespace platform::gdi {
namespace {

// A destination or source rectangle with positive extents, and whether it mirrors.
struct Span {
    int32_t x, y, w, h;
};

// Copies src's sampled pixels over d's visible part of dest.
void CopyStretched(const Canvas& d, const Canvas& s, const Span& dest, const Span& source,
                   bool flipX, bool flipY) {
    // Only the visible destination span is mapped; samples outside the source are skipped.
    int32_t x0 = std::max(dest.x, d.Left());
    int32_t x1 = int32_t(std::min<int64_t>(int64_t(dest.x) + dest.w, d.Right()));
    int32_t y0 = std::max(dest.y, d.Top());
    int32_t y1 = int32_t(std::min<int64_t>(int64_t(dest.y) + dest.h, d.Bottom()));
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    static thread_local std::vector<int32_t> xmap, ymap;
    BuildMap(xmap, x0 - dest.x, x1 - x0, dest.w, source.w, source.x, flipX);
    BuildMap(ymap, y0 - dest.y, y1 - y0, dest.h, source.h, source.y, flipY);

    // Palette sources convert each entry once.
    uint32_t lut[256];
    bool palette = s.fmt == Fmt::PAL8 || s.fmt == Fmt::MONO1;
    if (palette) {
        for (uint32_t i = 0; i < 256; ++i) {
            lut[i] = d.Encode(s.Decode(i));
        }
    }
    bool sameFormat = s.fmt == d.fmt && !palette;

    for (int32_t y = y0; y < y1; ++y) {
        int32_t sy = ymap[size_t(y - y0)];
        if (sy < 0 || sy >= s.height) {
            continue;
        }
        const uint8_t* srow = s.Row(sy);
        uint8_t* drow = d.Row(y);
        for (int32_t x = x0; x < x1; ++x) {
            int32_t sx = xmap[size_t(x - x0)];
            if (sx < 0 || sx >= s.width) {
                continue;
            }
            uint32_t raw;
            if (palette) {
                raw = lut[s.GetRaw(sx, sy) & 0xFF];
            } else if (sameFormat) {
                raw = s.GetRaw(sx, sy);
            } else if (s.fmt == Fmt::BGR24) {
                const uint8_t* p = srow + 3 * sx;
                raw = d.Encode(RGB(p[2], p[1], p[0]));
            } else {
                raw = d.Encode(s.Get(sx, sy));
            }
            if (IsSixteen(d.fmt)) {
                uint16_t v = uint16_t(raw);
                std::memcpy(drow + 2 * x, &v, 2);
            } else {
                d.PutRaw(x, y, raw);
            }
        }
    }
}

// The raster operations that need no source: BLACKNESS, WHITENESS, PATCOPY, DSTINVERT.
void FillOrInvert(DC& dst, const Span& dest, DWORD rop) {
    if (rop == DSTINVERT) {
        for (const Canvas& d : dst.Views()) {
            for (int32_t y = std::max(dest.y, d.Top()); y < std::min(dest.y + dest.h, d.Bottom());
                 ++y) {
                for (int32_t x = std::max(dest.x, d.Left());
                     x < std::min(dest.x + dest.w, d.Right()); ++x) {
                    COLORREF c = d.Get(x, y);
                    d.Put(x, y, RGB(BYTE(~GetRValue(c)), BYTE(~GetGValue(c)), BYTE(~GetBValue(c))));
                }
            }
        }
        dst.Changed();
        return;
    }
    COLORREF c = rop == BLACKNESS   ? RGB(0, 0, 0)
                 : rop == WHITENESS ? RGB(255, 255, 255)
                                    : (dst.brush ? dst.brush->color : 0);
    if (rop != PATCOPY || (dst.brush && !dst.brush->null)) {
        for (const Canvas& d : dst.Views()) {
            FillBox(d, dest.x, dest.y, dest.x + dest.w, dest.y + dest.h, c);
        }
        dst.Changed();
    }
}

}  // namespace
}  // namespace platform::gdi

BOOL StretchBlt(HDC destDC, int xDest, int yDest, int wDest, int hDest, HDC srcDC, int xSrc,
                int ySrc, int wSrc, int hSrc, DWORD rop) {
    DC* dst = AsDC(destDC);
    if (dst == nullptr || !InRange({xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc})) {
        return FALSE;
    }
    if (!dst->View().Valid()) {
        return FALSE;
    }
    bool flipX = false, flipY = false;
    Span dest{xDest, yDest, wDest, hDest};
    Normalise(dest.x, dest.w, flipX);
    Normalise(dest.y, dest.h, flipY);
    if (dest.w == 0 || dest.h == 0) {
        return TRUE;
    }
    if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY || rop == DSTINVERT) {
        FillOrInvert(*dst, dest, rop);
        return TRUE;
    }
    if (rop != SRCCOPY) {
        return FALSE;
    }
    DC* src = AsDC(srcDC);
    if (src == nullptr) {
        return FALSE;
    }
    Canvas s = src->View();
    if (!s.Valid()) {
        return FALSE;
    }
    Span source{xSrc, ySrc, wSrc, hSrc};
    Normalise(source.x, source.w, flipX);
    Normalise(source.y, source.h, flipY);
    if (source.w == 0 || source.h == 0) {
        return TRUE;
    }
    for (const Canvas& d : dst->Views()) {
        CopyStretched(d, s, dest, source, flipX, flipY);
    }
    dst->Changed();
    return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    return StretchBlt(dest, x, y, width, height, src, xSrc, ySrc, width, height, rop);
}

namespace {

// The DC of handle when (x, y) lies on its canvas, with the canvas; null otherwise.
DC* PixelDC(HDC handle, int x, int y, Canvas& c) {
    DC* dc = AsDC(handle);
    if (dc == nullptr) {
        return nullptr;
    }
    c = dc->View();
    return c.Valid() && x >= 0 && y >= 0 && x < c.width && y < c.height ? dc : nullptr;
}

}  // namespace

COLORREF GetPixel(HDC handle, int x, int y) {
    Canvas c;
    return PixelDC(handle, x, y, c) != nullptr ? c.Get(x, y) : CLR_INVALID;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
    Canvas c;
    DC* dc = PixelDC(handle, x, y, c);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    // Outside the DC's clip nothing is drawn, as outside the canvas.
    bool visible = false;
    for (const Canvas& v : dc->Views()) {
        visible = visible || v.Drawable(x, y);
    }
    if (!visible) {
        return CLR_INVALID;
    }
    uint32_t raw = c.Encode(color & 0x00FFFFFF);
    c.PutRaw(x, y, raw);
    dc->Changed();
    return c.Decode(raw);
}

namespace {

// Through the file-system seam, so that a UTF-8 name works on every system and a FIFO
// never blocks.
bool ReadFile(const char* path, std::vector<uint8_t>& out) {
    constexpr uint64_t MAX_FILE = 64u << 20;
    platform::fs::Handle f = platform::fs::NO_HANDLE;
    if (platform::fs::Open(path, platform::fs::OPEN_READ | platform::fs::OPEN_NO_WAIT, 0, f) != 0) {
        return false;
    }
    platform::fs::Status st;
    bool ok = platform::fs::StatusOf(f, st) == 0 && st.kind == platform::fs::Kind::Regular &&
              st.size > 0 && st.size <= MAX_FILE;
    if (ok) {
        out.resize(size_t(st.size));
        size_t got = 0;
        while (ok && got < out.size()) {
            size_t done = 0;
            ok = platform::fs::Read(f, out.data() + got, out.size() - got, done) == 0 && done > 0;
            got += done;
        }
    }
    platform::fs::Close(f);
    return ok;
}

// The decoded image as a DIB section, scaled to width x height by nearest neighbour.
HBITMAP MakeDib(const platform::DecodedImage& img, int32_t width, int32_t height) {
    bool indexed = img.bitsPerPixel <= 8;
    Fmt fmt = indexed ? Fmt::PAL8 : img.bitsPerPixel == 32 ? Fmt::XRGB8888 : Fmt::BGR24;
    auto b = MakeBitmap(width, height, fmt);
    if (!b) {
        return nullptr;
    }
    b->dib = true;
    b->bottomUp = true;
    if (indexed) {
        b->palette = img.palette;
    }
    Canvas c = b->View();
    std::vector<int32_t> xmap, ymap;
    BuildMap(xmap, 0, width, width, img.width, 0, false);
    BuildMap(ymap, 0, height, height, img.height, 0, false);
    for (int32_t y = 0; y < height; ++y) {
        size_t row = size_t(ymap[size_t(y)]) * size_t(img.width);
        for (int32_t x = 0; x < width; ++x) {
            size_t i = row + size_t(xmap[size_t(x)]);
            c.PutRaw(x, y, indexed ? img.indices[i] : img.argb[i] & 0x00FFFFFF);
        }
    }
    return reinterpret_cast<HBITMAP>(Register(std::move(b)));
}

}  // namespace

HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    if (type != IMAGE_BITMAP || name == nullptr || cx < 0 || cy < 0) {
        return nullptr;
    }
    platform::DecodedImage img;
    if (flags & LR_LOADFROMFILE) {
        if (IS_INTRESOURCE(name)) {
            return nullptr;
        }
        std::vector<uint8_t> data;
        if (!ReadFile(name, data) || !platform::DecodeBmp(data.data(), data.size(), img)) {
            return nullptr;
        }
    } else {
        platform::ResourceData res;
        if (!platform::FindResourceData(module, name, platform::ResourceType::Bitmap, res) ||
            !platform::DecodeBmp(res.bytes, res.size, img)) {
            return nullptr;
        }
    }
    return MakeDib(img, cx != 0 ? cx : img.width, cy != 0 ? cy : img.height);
}
