// Handles, device contexts, selection and the stock objects.
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_target.h"

namespace platform::gdi {
namespace {

std::unordered_map<const void*, std::unique_ptr<Object>>& Objects() {
    static std::unordered_map<const void*, std::unique_ptr<Object>> objects;
    return objects;
}

std::unordered_map<const void*, std::unique_ptr<DC>>& DCs() {
    static std::unordered_map<const void*, std::unique_ptr<DC>> dcs;
    return dcs;
}

void Destroy(Object* o) {
    Objects().erase(o);
}

void Unselect(Object* o) {
    if (o == nullptr || o->stock) {
        return;
    }
    --o->selections;
    if (o->selections == 0 && o->deletePending) {
        Destroy(o);
    }
}

void Select(Object* o) {
    if (o != nullptr && !o->stock) {
        ++o->selections;
    }
}

// The stock brushes (WHITE_BRUSH to BLACK_BRUSH) and pens (WHITE_PEN, BLACK_PEN) are solid
// greys in index order; NULL_BRUSH and NULL_PEN paint nothing.
constexpr COLORREF STOCK_BRUSH_COLOURS[] = {RGB(255, 255, 255), RGB(192, 192, 192),
                                            RGB(128, 128, 128), RGB(64, 64, 64), RGB(0, 0, 0)};
constexpr COLORREF STOCK_PEN_COLOURS[] = {RGB(255, 255, 255), RGB(0, 0, 0)};

template <typename T>
std::unique_ptr<Object> StockStroke(COLORREF colour, bool null) {
    auto o = std::make_unique<T>();
    o->color = colour;
    o->null = null;
    return o;
}

std::unique_ptr<Object> StockFont(LONG height, LONG weight, const char* face) {
    auto f = std::make_unique<Font>();
    f->log.lfHeight = height;
    f->log.lfWeight = weight;
    f->log.lfCharSet = DEFAULT_CHARSET;
    std::snprintf(f->log.lfFaceName, sizeof f->log.lfFaceName, "%s", face);
    return f;
}

HGDIOBJ MakeStock(int index) {
    std::unique_ptr<Object> o;
    if (index >= WHITE_BRUSH && index <= NULL_BRUSH) {
        bool null = index == NULL_BRUSH;
        o = StockStroke<Brush>(null ? 0 : STOCK_BRUSH_COLOURS[index - WHITE_BRUSH], null);
    } else if (index >= WHITE_PEN && index <= NULL_PEN) {
        bool null = index == NULL_PEN;
        o = StockStroke<Pen>(null ? 0 : STOCK_PEN_COLOURS[index - WHITE_PEN], null);
    } else if (index == ANSI_VAR_FONT || index == DEFAULT_GUI_FONT) {
        o = StockFont(-11, FW_NORMAL, "MS Sans Serif");  // 8 points at 96 dpi
    } else if (index == SYSTEM_FONT) {
        o = StockFont(16, FW_BOLD, "System");
    } else {
        return nullptr;
    }
    o->stock = true;
    return Register(std::move(o));
}

// The shared 1 x 1 monochrome bitmap every new memory DC starts with.
Bitmap* StockMonoBitmap() {
    static Bitmap* stock = [] {
        auto b = MakeBitmap(1, 1, Fmt::MONO1);
        b->dib = false;
        b->bottomUp = false;
        b->stock = true;
        return AsBitmap(Register(std::move(b)));
    }();
    return stock;
}

HDC NewDC(std::unique_ptr<DC> dc) {
    dc->font = AsFont(GetStockObject(SYSTEM_FONT));
    dc->brush = AsBrush(GetStockObject(WHITE_BRUSH));
    dc->pen = AsPen(GetStockObject(BLACK_PEN));
    DC* raw = dc.get();
    DCs().emplace(raw, std::move(dc));
    return reinterpret_cast<HDC>(raw);
}

}  // namespace

DC* AsDC(HDC dc) {
    auto& all = DCs();
    auto it = all.find(dc);
    return it == all.end() ? nullptr : it->second.get();
}

Object* AsObject(HGDIOBJ h) {
    auto& all = Objects();
    auto it = all.find(h);
    if (it == all.end() || it->second->deletePending) {
        return nullptr;
    }
    return it->second.get();
}

template <typename T>
static T* AsKind(HGDIOBJ h, Kind k) {
    Object* o = AsObject(h);
    return (o != nullptr && o->kind == k) ? static_cast<T*>(o) : nullptr;
}

Bitmap* AsBitmap(HGDIOBJ h) {
    return AsKind<Bitmap>(h, Kind::Bitmap);
}
Font* AsFont(HGDIOBJ h) {
    return AsKind<Font>(h, Kind::Font);
}
Brush* AsBrush(HGDIOBJ h) {
    return AsKind<Brush>(h, Kind::Brush);
}
Pen* AsPen(HGDIOBJ h) {
    return AsKind<Pen>(h, Kind::Pen);
}

HGDIOBJ Register(std::unique_ptr<Object> object) {
    if (!object) {
        return nullptr;
    }
    Object* raw = object.get();
    Objects().emplace(raw, std::move(object));
    return reinterpret_cast<HGDIOBJ>(raw);
}

}  // namespace platform::gdi

using namespace platform::gdi;

namespace platform {

HDC CreateTargetDC(const PixelTarget& target, std::function<void()> onChanged) {
    if (target.pixels == nullptr || target.width <= 0 || target.height <= 0) {
        return nullptr;
    }
    auto dc = std::make_unique<DC>();
    dc->target = target;
    dc->onChanged = std::move(onChanged);
    return NewDC(std::move(dc));
}

void DeleteTargetDC(HDC dc) {
    ::DeleteDC(dc);
}

void SetTargetDCClip(HDC handle, const std::vector<RECT>& visible) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || dc->memory) {
        return;
    }
    dc->clipped = true;
    dc->clip.clear();
    for (const RECT& r : visible) {
        if (r.right > r.left && r.bottom > r.top) {
            dc->clip.push_back({r.left, r.top, r.right, r.bottom});
        }
    }
}

HDC CreateScreenDC() {
    return CreateTargetDC(GdiPage(), [] { MarkGdiPageChanged(); });
}

void DeleteScreenDC(HDC dc) {
    DeleteTargetDC(dc);
}

}  // namespace platform

HDC CreateCompatibleDC(HDC reference) {
    if (reference != nullptr && AsDC(reference) == nullptr) {
        return nullptr;
    }
    auto dc = std::make_unique<DC>();
    dc->memory = true;
    dc->bitmap = StockMonoBitmap();
    return NewDC(std::move(dc));
}

BOOL DeleteDC(HDC handle) {
    DC* dc = AsDC(handle);
    if (dc == nullptr) {
        return FALSE;
    }
    Unselect(dc->bitmap);
    Unselect(dc->font);
    Unselect(dc->brush);
    Unselect(dc->pen);
    DCs().erase(dc);
    return TRUE;
}

int GetDeviceCaps(HDC handle, int index) {
    DC* dc = AsDC(handle);
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        case HORZRES:
            return dc != nullptr ? dc->View().width : platform::SCREEN_WIDTH;
        case VERTRES:
            return dc != nullptr ? dc->View().height : platform::SCREEN_HEIGHT;
        case BITSPIXEL:
            return dc != nullptr ? BitsFor(dc->View().fmt) : 16;
        case PLANES:
            return 1;
        default:
            return 0;
    }
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    DC* dc = AsDC(handle);
    Object* o = AsObject(object);
    if (dc == nullptr || o == nullptr) {
        return nullptr;
    }
    auto swap = [&](auto*& slot, auto* next) -> HGDIOBJ {
        auto* previous = slot;
        if (next == previous) {
            return reinterpret_cast<HGDIOBJ>(previous);
        }
        Select(next);
        slot = next;
        HGDIOBJ result = reinterpret_cast<HGDIOBJ>(previous);
        Unselect(previous);
        return result;
    };
    switch (o->kind) {
        case Kind::Bitmap: {
            auto* b = static_cast<Bitmap*>(o);
            // Bitmaps go only into memory DCs, and into one at a time.
            if (!dc->memory || (b != dc->bitmap && !b->stock && b->selections > 0)) {
                return nullptr;
            }
            return swap(dc->bitmap, b);
        }
        case Kind::Font:
            return swap(dc->font, static_cast<Font*>(o));
        case Kind::Brush:
            return swap(dc->brush, static_cast<Brush*>(o));
        case Kind::Pen:
            return swap(dc->pen, static_cast<Pen*>(o));
    }
    return nullptr;
}

HGDIOBJ SelectObject(HDC dc, HBITMAP o) {
    return SelectObject(dc, reinterpret_cast<HGDIOBJ>(o));
}
HGDIOBJ SelectObject(HDC dc, HFONT o) {
    return SelectObject(dc, reinterpret_cast<HGDIOBJ>(o));
}
HGDIOBJ SelectObject(HDC dc, HBRUSH o) {
    return SelectObject(dc, reinterpret_cast<HGDIOBJ>(o));
}
HGDIOBJ SelectObject(HDC dc, HPEN o) {
    return SelectObject(dc, reinterpret_cast<HGDIOBJ>(o));
}

BOOL DeleteObject(HGDIOBJ object) {
    Object* o = AsObject(object);
    if (o == nullptr) {
        return FALSE;
    }
    if (o->stock) {
        return TRUE;
    }
    if (o->selections > 0) {
        o->deletePending = true;
        return TRUE;
    }
    Destroy(o);
    return TRUE;
}

BOOL DeleteObject(HBITMAP o) {
    return DeleteObject(reinterpret_cast<HGDIOBJ>(o));
}
BOOL DeleteObject(HFONT o) {
    return DeleteObject(reinterpret_cast<HGDIOBJ>(o));
}
BOOL DeleteObject(HBRUSH o) {
    return DeleteObject(reinterpret_cast<HGDIOBJ>(o));
}
BOOL DeleteObject(HPEN o) {
    return DeleteObject(reinterpret_cast<HGDIOBJ>(o));
}

int GetObject(HGDIOBJ object, int size, void* buffer) {
    Object* o = AsObject(object);
    if (o == nullptr || size < 0) {
        return 0;
    }
    if (o->kind == Kind::Bitmap) {
        auto* b = static_cast<Bitmap*>(o);
        if (buffer == nullptr) {
            return int(sizeof(BITMAP));
        }
        BITMAP bm{};
        bm.bmType = 0;
        bm.bmWidth = b->width;
        bm.bmHeight = b->height;
        bm.bmWidthBytes = b->stride;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = WORD(b->bitsPixel);
        bm.bmBits = b->dib ? b->bits.data() : nullptr;
        // A caller built for 32-bit pointers passes a record without the full pointer:
        // fill what fits up to bmBits, never past the buffer.
        size_t n = size >= int(sizeof(BITMAP))             ? sizeof(BITMAP)
                   : size >= int(offsetof(BITMAP, bmBits)) ? offsetof(BITMAP, bmBits)
                                                           : 0;
        std::memcpy(buffer, &bm, n);
        return int(n);
    }
    if (o->kind == Kind::Font) {
        if (buffer == nullptr) {
            return int(sizeof(LOGFONT));
        }
        size_t n = std::min(size_t(size), sizeof(LOGFONT));
        std::memcpy(buffer, &static_cast<Font*>(o)->log, n);
        return int(n);
    }
    return 0;
}

int GetObject(HBITMAP o, int size, void* buffer) {
    return GetObject(reinterpret_cast<HGDIOBJ>(o), size, buffer);
}
int GetObject(HFONT o, int size, void* buffer) {
    return GetObject(reinterpret_cast<HGDIOBJ>(o), size, buffer);
}

HGDIOBJ GetStockObject(int index) {
    static std::unordered_map<int, HGDIOBJ> stock;
    auto it = stock.find(index);
    if (it != stock.end()) {
        return it->second;
    }
    HGDIOBJ h = MakeStock(index);
    if (h != nullptr) {
        stock.emplace(index, h);
    }
    return h;
}

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || width < 0 || height < 0) {
        return nullptr;
    }
    Fmt fmt = Fmt::RGB565;
    const std::vector<uint32_t>* palette = nullptr;
    if (dc->memory && dc->bitmap != nullptr) {
        fmt = dc->bitmap->fmt;
        palette = &dc->bitmap->palette;
    } else {
        fmt = dc->View().fmt;
    }
    if (width == 0 || height == 0) {
        width = height = 1;
        fmt = Fmt::MONO1;
    }
    auto b = MakeBitmap(width, height, fmt);
    if (!b) {
        return nullptr;
    }
    if (fmt == Fmt::PAL8 && palette != nullptr) {
        b->palette = *palette;
    }
    b->bottomUp = false;
    return reinterpret_cast<HBITMAP>(Register(std::move(b)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto b = std::make_unique<Brush>();
    b->color = color & 0x00FFFFFF;
    return reinterpret_cast<HBRUSH>(Register(std::move(b)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto p = std::make_unique<Pen>();
    p->null = style == PS_NULL;
    p->width = std::max(width, 1);
    p->color = color & 0x00FFFFFF;
    return reinterpret_cast<HPEN>(Register(std::move(p)));
}

namespace {

// Sets one of a DC's colours and returns what it was; CLR_INVALID for no DC.
COLORREF SwapColour(HDC handle, COLORREF DC::*field, COLORREF color) {
    DC* dc = AsDC(handle);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    COLORREF old = dc->*field;
    dc->*field = color & 0x00FFFFFF;
    return old;
}

COLORREF ColourOf(HDC handle, COLORREF DC::*field) {
    DC* dc = AsDC(handle);
    return dc != nullptr ? dc->*field : CLR_INVALID;
}

}  // namespace

COLORREF SetTextColor(HDC handle, COLORREF color) {
    return SwapColour(handle, &DC::textColor, color);
}

COLORREF GetTextColor(HDC handle) {
    return ColourOf(handle, &DC::textColor);
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
    return SwapColour(handle, &DC::bkColor, color);
}

COLORREF GetBkColor(HDC handle) {
    return ColourOf(handle, &DC::bkColor);
}

int SetBkMode(HDC handle, int mode) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    int old = dc->bkMode;
    dc->bkMode = mode;
    return old;
}

int GetBkMode(HDC handle) {
    DC* dc = AsDC(handle);
    return dc != nullptr ? dc->bkMode : 0;
}

void OutputDebugString(LPCSTR text) {
    if (text != nullptr) {
        std::fputs(text, stderr);
        std::fflush(stderr);
    }
}
