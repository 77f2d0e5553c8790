// The objects behind GDI's handles, shared by the gdi/ sources only.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/host/screen.h"

namespace platform::gdi {

// Pixel layouts a DC can draw on: the three target formats plus the DIB formats.
enum class Fmt { RGB565, RGB555, XRGB8888, BGR24, PAL8, MONO1 };

inline uint16_t To565(COLORREF c) {
    return uint16_t(((GetRValue(c) & 0xF8) << 8) | ((GetGValue(c) & 0xFC) << 3) |
                    (GetBValue(c) >> 3));
}
inline uint16_t To555(COLORREF c) {
    return uint16_t(((GetRValue(c) & 0xF8) << 7) | ((GetGValue(c) & 0xF8) << 2) |
                    (GetBValue(c) >> 3));
}
inline COLORREF From565(uint32_t p) {
    uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return RGB(BYTE((r << 3) | (r >> 2)), BYTE((g << 2) | (g >> 4)), BYTE((b << 3) | (b >> 2)));
}
inline COLORREF From555(uint32_t p) {
    uint32_t r = (p >> 10) & 0x1F, g = (p >> 5) & 0x1F, b = p & 0x1F;
    return RGB(BYTE((r << 3) | (r >> 2)), BYTE((g << 3) | (g >> 2)), BYTE((b << 3) | (b >> 2)));
}
// 0x00RRGGBB (palette entries, 32-bit pixels) and COLORREF (0x00BBGGRR) swap red and blue.
inline COLORREF FromXrgb(uint32_t p) {
    return RGB(BYTE(p >> 16), BYTE(p >> 8), BYTE(p));
}
inline uint32_t ToXrgb(COLORREF c) {
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

struct ClipBox {
    int32_t left, top, right, bottom;
};

// A view of pixels with the top row first; pitch is negative for bottom-up DIBs.
struct Canvas {
    uint8_t* row0 = nullptr;
    ptrdiff_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    Fmt fmt = Fmt::RGB565;
    const std::vector<uint32_t>* palette = nullptr;  // PAL8 and MONO1
    // The part drawing may change: all of the canvas unless a DC's clip narrows it.
    int32_t clipLeft = 0;
    int32_t clipTop = 0;
    int32_t clipRight = INT32_MAX;
    int32_t clipBottom = INT32_MAX;

    bool Valid() const { return row0 != nullptr && width > 0 && height > 0; }
    int32_t Left() const { return std::max(clipLeft, 0); }
    int32_t Top() const { return std::max(clipTop, 0); }
    int32_t Right() const { return std::min(clipRight, width); }
    int32_t Bottom() const { return std::min(clipBottom, height); }
    bool Drawable(int32_t x, int32_t y) const {
        return x >= Left() && y >= Top() && x < Right() && y < Bottom();
    }
    uint8_t* Row(int32_t y) const { return row0 + ptrdiff_t(y) * pitch; }
    COLORREF Get(int32_t x, int32_t y) const;
    // Stores the colour converted to this format.
    void Put(int32_t x, int32_t y, COLORREF c) const;
    // The raw pixel value a colour converts to (a palette index for PAL8 / MONO1).
    uint32_t Encode(COLORREF c) const;
    COLORREF Decode(uint32_t raw) const;
    void PutRaw(int32_t x, int32_t y, uint32_t raw) const;
    uint32_t GetRaw(int32_t x, int32_t y) const;
};

enum class Kind { Bitmap, Font, Brush, Pen };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    bool stock = false;
    int selections = 0;          // DCs holding it now
    bool deletePending = false;  // DeleteObject came while it was selected
};

struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPixel = 0;
    int32_t stride = 0;    // bytes per row, a multiple of 4
    bool bottomUp = true;  // DIB sections keep the bottom row first
    bool dib = false;
    Fmt fmt = Fmt::BGR24;
    std::vector<uint8_t> bits;
    std::vector<uint32_t> palette;  // 0x00RRGGBB

    Canvas View();
};
std::unique_ptr<Bitmap> MakeBitmap(int32_t width, int32_t height, Fmt fmt);

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    bool null = false;
    COLORREF color = 0;
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    bool null = false;
    int width = 1;
    COLORREF color = 0;
};

class FontFace;  // font.cpp

struct Font : Object {
    Font() : Object(Kind::Font) {}
    ~Font() override;
    LOGFONT log{};
    FontFace* face = nullptr;  // resolved when first used; owned
    FontFace* Face();
};

struct DC {
    bool memory = false;
    PixelTarget target;  // target DCs
    std::function<void()> onChanged;
    Bitmap* bitmap = nullptr;  // memory DCs
    Font* font = nullptr;
    Brush* brush = nullptr;
    Pen* pen = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT pos{0, 0};
    // A target DC of a window draws only where the window can be seen.
    bool clipped = false;
    std::vector<ClipBox> clip;

    Canvas View() const;
    // The canvas once for each clip rectangle, each narrowed to it (none when nothing of
    // the DC can be seen), made as the loop goes: drawing allocates nothing.
    class ViewRange {
      public:
        explicit ViewRange(const DC& dc) : dc_(dc), whole_(dc.View()) {}
        struct Iterator {
            const ViewRange* range;
            size_t index;
            Canvas operator*() const { return range->At(index); }
            Iterator& operator++() {
                ++index;
                return *this;
            }
            bool operator!=(const Iterator& o) const { return index != o.index; }
        };
        Iterator begin() const { return {this, 0}; }
        Iterator end() const { return {this, dc_.clipped ? dc_.clip.size() : 1}; }

      private:
        Canvas At(size_t i) const;
        const DC& dc_;
        Canvas whole_;
    };
    ViewRange Views() const { return ViewRange(*this); }
    void Changed() const {
        if (onChanged) {
            onChanged();
        }
    }
};

// Handle checks: null for anything that is not a live object of that kind.
DC* AsDC(HDC dc);
Object* AsObject(HGDIOBJ h);
Bitmap* AsBitmap(HGDIOBJ h);
Font* AsFont(HGDIOBJ h);
Brush* AsBrush(HGDIOBJ h);
Pen* AsPen(HGDIOBJ h);
// Registers a new object and returns its handle.
HGDIOBJ Register(std::unique_ptr<Object> object);

// Bits per pixel of a layout, and the layout of a target's pixel format.
int BitsFor(Fmt fmt);
Fmt FmtOf(PixelFormat f);

// Fills [x0, x1) x [y0, y1) clipped to the canvas.
void FillBox(const Canvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1, COLORREF color);

// Draws a run of single-byte text with the cell's top-left at (x, y), clipped to clip.
// underlineAt, when not null, marks characters to underline (prefix handling).
void DrawTextRun(const DC& dc, const Canvas& canvas, int32_t x, int32_t y, const char* text,
                 size_t count, const ClipBox& clip, const uint8_t* underlineAt);
int32_t TextWidth(const DC& dc, const char* text, size_t count);
// Fills metrics for the DC's font; the line height is tmHeight.
void FontMetrics(const DC& dc, TEXTMETRIC& tm);

}  // namespace platform::gdi
