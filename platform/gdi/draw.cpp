// Lines and rectangles.
#include <cstdlib>

#include "platform/gdi/gdi_internal.h"

using namespace platform::gdi;

namespace {

bool Reasonable(LONG v) {
    return v > -(1 << 24) && v < (1 << 24);
}

bool ReasonableRect(const RECT& r) {
    return Reasonable(r.left) && Reasonable(r.top) && Reasonable(r.right) && Reasonable(r.bottom);
}

void Plot(const Canvas& c, int32_t x, int32_t y, int width, COLORREF color) {
    if (width <= 1) {
        if (c.Drawable(x, y)) {
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
    for (const Canvas& c : dc->Views()) {
        if (!c.Valid() || dc->pen == nullptr || dc->pen->null) {
            continue;
        }
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
        for (const Canvas& c : dc->Views()) {
            FillBox(c, rect->left, rect->top, rect->right, rect->bottom, brush->color);
        }
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
        for (const Canvas& c : dc->Views()) {
            FillBox(c, r.left, r.top, r.right, r.top + 1, brush->color);
            FillBox(c, r.left, r.bottom - 1, r.right, r.bottom, brush->color);
            FillBox(c, r.left, r.top, r.left + 1, r.bottom, brush->color);
            FillBox(c, r.right - 1, r.top, r.right, r.bottom, brush->color);
        }
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
    bool pen = dc->pen != nullptr && !dc->pen->null;
    int32_t inset = pen ? 1 : 0;
    for (const Canvas& c : dc->Views()) {
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
    }
    dc->Changed();
    return TRUE;
}
