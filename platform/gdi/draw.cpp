// Lines, rectangles and classic 3-D edges.
#include <cstdlib>

#include "platform/gdi/gdi_internal.h"

using namespace platform::gdi;

namespace {

constexpr COLORREF HIGHLIGHT = RGB(255, 255, 255);
constexpr COLORREF LIGHT = RGB(192, 192, 192);
constexpr COLORREF SHADOW = RGB(128, 128, 128);
constexpr COLORREF DARK_SHADOW = RGB(0, 0, 0);
constexpr COLORREF FACE = RGB(192, 192, 192);

bool Reasonable(LONG v) {
    return v > -(1 << 24) && v < (1 << 24);
}

bool ReasonableRect(const RECT& r) {
    return Reasonable(r.left) && Reasonable(r.top) && Reasonable(r.right) && Reasonable(r.bottom);
}

void Plot(const Canvas& c, int32_t x, int32_t y, int width, COLORREF color) {
    if (width <= 1) {
        if (x >= 0 && y >= 0 && x < c.width && y < c.height) {
            c.Put(x, y, color);
        }
        return;
    }
    int32_t half = width / 2;
    FillBox(c, x - half, y - half, x - half + width, y - half + width, color);
}

}  // namespace

BOOL MoveToEx(HDC handle, int x, int y, POINT* previous) {
    DC* dc = AsDC(handle);
    if (dc == nullptr) {
        return FALSE;
    }
    if (previous != nullptr) {
        *previous = dc->pos;
    }
    dc->pos = {x, y};
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || !Reasonable(x) || !Reasonable(y) || !Reasonable(dc->pos.x) ||
        !Reasonable(dc->pos.y)) {
        return FALSE;
    }
    Canvas c = dc->View();
    if (c.Valid() && dc->pen != nullptr && !dc->pen->null) {
        // Bresenham, leaving out the end point as GDI does.
        int32_t x0 = dc->pos.x, y0 = dc->pos.y;
        int32_t dx = std::abs(x - x0), dy = -std::abs(y - y0);
        int32_t sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
        int32_t err = dx + dy;
        while (x0 != x || y0 != y) {
            Plot(c, x0, y0, dc->pen->width, dc->pen->color);
            int32_t e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
        dc->Changed();
    }
    dc->pos = {x, y};
    return TRUE;
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    DC* dc = AsDC(handle);
    Brush* brush = AsBrush(reinterpret_cast<HGDIOBJ>(brushHandle));
    if (dc == nullptr || rect == nullptr || brush == nullptr || !ReasonableRect(*rect)) {
        return 0;
    }
    if (!brush->null) {
        FillBox(dc->View(), rect->left, rect->top, rect->right, rect->bottom, brush->color);
        dc->Changed();
    }
    return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    DC* dc = AsDC(handle);
    Brush* brush = AsBrush(reinterpret_cast<HGDIOBJ>(brushHandle));
    if (dc == nullptr || rect == nullptr || brush == nullptr || !ReasonableRect(*rect)) {
        return 0;
    }
    const RECT& r = *rect;
    if (r.right <= r.left || r.bottom <= r.top) {
        return 0;
    }
    if (!brush->null) {
        Canvas c = dc->View();
        FillBox(c, r.left, r.top, r.right, r.top + 1, brush->color);
        FillBox(c, r.left, r.bottom - 1, r.right, r.bottom, brush->color);
        FillBox(c, r.left, r.top, r.left + 1, r.bottom, brush->color);
        FillBox(c, r.right - 1, r.top, r.right, r.bottom, brush->color);
        dc->Changed();
    }
    return 1;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    DC* dc = AsDC(handle);
    RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right),
           std::max(top, bottom)};
    if (dc == nullptr || !ReasonableRect(r)) {
        return FALSE;
    }
    Canvas c = dc->View();
    bool pen = dc->pen != nullptr && !dc->pen->null;
    int32_t inset = pen ? 1 : 0;
    if (dc->brush != nullptr && !dc->brush->null) {
        FillBox(c, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset,
                dc->brush->color);
    }
    if (pen && r.right > r.left && r.bottom > r.top) {
        int32_t w = std::max(dc->pen->width, 1);
        COLORREF col = dc->pen->color;
        FillBox(c, r.left, r.top, r.right, r.top + w, col);
        FillBox(c, r.left, r.bottom - w, r.right, r.bottom, col);
        FillBox(c, r.left, r.top, r.left + w, r.bottom, col);
        FillBox(c, r.right - w, r.top, r.right, r.bottom, col);
    }
    dc->Changed();
    return TRUE;
}

BOOL DrawEdge(HDC handle, RECT* rect, UINT edge, UINT flags) {
    DC* dc = AsDC(handle);
    if (dc == nullptr || rect == nullptr || !ReasonableRect(*rect)) {
        return FALSE;
    }
    Canvas c = dc->View();
    RECT r = *rect;
    // Each border is one pixel: top-left colour, bottom-right colour.
    struct Border {
        UINT raised, sunken;
        COLORREF raisedTL, raisedBR, sunkenTL, sunkenBR;
    };
    const Border borders[2] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, LIGHT, DARK_SHADOW, SHADOW, HIGHLIGHT},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, HIGHLIGHT, SHADOW, DARK_SHADOW, LIGHT},
    };
    for (const Border& b : borders) {
        bool raised = (edge & b.raised) != 0, sunken = (edge & b.sunken) != 0;
        if (!raised && !sunken) {
            continue;
        }
        COLORREF tl = raised ? b.raisedTL : b.sunkenTL;
        COLORREF br = raised ? b.raisedBR : b.sunkenBR;
        if (flags & BF_MONO) {
            tl = br = DARK_SHADOW;
        } else if (flags & BF_FLAT) {
            tl = br = SHADOW;
        }
        if (flags & BF_TOP) {
            FillBox(c, r.left, r.top, r.right, r.top + 1, tl);
        }
        if (flags & BF_LEFT) {
            FillBox(c, r.left, r.top, r.left + 1, r.bottom, tl);
        }
        if (flags & BF_BOTTOM) {
            FillBox(c, r.left, r.bottom - 1, r.right, r.bottom, br);
        }
        if (flags & BF_RIGHT) {
            FillBox(c, r.right - 1, r.top, r.right, r.bottom, br);
        }
        r.left += (flags & BF_LEFT) ? 1 : 0;
        r.top += (flags & BF_TOP) ? 1 : 0;
        r.right -= (flags & BF_RIGHT) ? 1 : 0;
        r.bottom -= (flags & BF_BOTTOM) ? 1 : 0;
    }
    if (flags & BF_MIDDLE) {
        FillBox(c, r.left, r.top, r.right, r.bottom, (flags & BF_MONO) ? HIGHLIGHT : FACE);
    }
    if (flags & BF_ADJUST) {
        *rect = r;
    }
    dc->Changed();
    return TRUE;
}
