#include "platform/user/style_painter.h"

#include <algorithm>
#include <string>

#include "platform/gdi/gdi.h"

COLORREF GetSysColor(int index) {
    // The standard scheme of the classic look.
    switch (index) {
        case 0:  // COLOR_SCROLLBAR
        case COLOR_MENU:
        case 10:  // COLOR_ACTIVEBORDER
        case 11:  // COLOR_INACTIVEBORDER
        case COLOR_BTNFACE:
        case 19:  // COLOR_INACTIVECAPTIONTEXT
        case COLOR_3DLIGHT:
            return RGB(192, 192, 192);
        case 1:  // COLOR_BACKGROUND
            return RGB(0, 128, 128);
        case 2:  // COLOR_ACTIVECAPTION
        case COLOR_HIGHLIGHT:
            return RGB(0, 0, 128);
        case 3:   // COLOR_INACTIVECAPTION
        case 12:  // COLOR_APPWORKSPACE
        case COLOR_BTNSHADOW:
        case COLOR_GRAYTEXT:
            return RGB(128, 128, 128);
        case COLOR_WINDOW:
        case 9:  // COLOR_CAPTIONTEXT
        case COLOR_HIGHLIGHTTEXT:
        case COLOR_BTNHIGHLIGHT:
            return RGB(255, 255, 255);
        case 24:  // COLOR_INFOBK
            return RGB(255, 255, 225);
        case COLOR_WINDOWFRAME:
        case COLOR_MENUTEXT:
        case COLOR_WINDOWTEXT:
        case COLOR_BTNTEXT:
        case COLOR_3DDKSHADOW:
        default:
            return RGB(0, 0, 0);
    }
}

namespace platform {
namespace {

void Fill(HDC dc, LONG left, LONG top, LONG right, LONG bottom, COLORREF colour) {
    if (right <= left || bottom <= top) {
        return;
    }
    RECT r = {left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// One-pixel border: top and left in tl, bottom and right in br (which owns the two
// corners where they meet, as the classic edges have it).
void Border(HDC dc, const RECT& r, COLORREF tl, COLORREF br) {
    Fill(dc, r.left, r.top, r.right - 1, r.top + 1, tl);
    Fill(dc, r.left, r.top, r.left + 1, r.bottom - 1, tl);
    Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, br);
    Fill(dc, r.right - 1, r.top, r.right, r.bottom, br);
}

RECT Inset(const RECT& r, LONG by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// Draws a glyph of rows (each '#' a pixel) centred in rect.
void PaintGlyph(HDC dc, const RECT& rect, const char* const* rows, int height, COLORREF colour) {
    int width = 0;
    for (int y = 0; y < height; ++y) {
        width = std::max(width, int(std::char_traits<char>::length(rows[y])));
    }
    LONG x0 = rect.left + (rect.right - rect.left - width) / 2;
    LONG y0 = rect.top + (rect.bottom - rect.top - height) / 2;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; rows[y][x]; ++x) {
            LONG px = x0 + x, py = y0 + y;
            if (rows[y][x] == '#' && px >= rect.left && px < rect.right && py >= rect.top &&
                py < rect.bottom) {
                SetPixel(dc, px, py, colour);
            }
        }
    }
}

}  // namespace

void PaintRaisedEdge(HDC dc, const RECT& rect) {
    if (Empty(rect)) {
        return;
    }
    Border(dc, rect, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    RECT inner = Inset(rect, 1);
    if (!Empty(inner)) {
        Border(dc, inner, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW));
    }
}

void PaintSunkenEdge(HDC dc, const RECT& rect) {
    if (Empty(rect)) {
        return;
    }
    Border(dc, rect, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
    RECT inner = Inset(rect, 1);
    if (!Empty(inner)) {
        Border(dc, inner, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    }
}

void PaintEtchedFrame(HDC dc, const RECT& rect) {
    if (Empty(rect)) {
        return;
    }
    Border(dc, rect, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
    RECT inner = Inset(rect, 1);
    if (!Empty(inner)) {
        Border(dc, inner, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW));
    }
}

void PaintModalFrame(HDC dc, const RECT& rect) {
    // A raised window edge and one ring of face: the three-pixel dialog frame.
    PaintRaisedEdge(dc, rect);
    RECT ring = Inset(rect, 2);
    if (!Empty(ring)) {
        Border(dc, ring, GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_3DFACE));
    }
}

void PaintFace(HDC dc, const RECT& rect) {
    Fill(dc, rect.left, rect.top, rect.right, rect.bottom, GetSysColor(COLOR_3DFACE));
}

void PaintButton(HDC dc, const RECT& rect, ButtonLook look, bool focused) {
    if (Empty(rect)) {
        return;
    }
    PaintFace(dc, rect);
    RECT r = rect;
    bool isDefault = look == ButtonLook::Default || look == ButtonLook::DefaultPressed;
    bool pressed = look == ButtonLook::Pressed || look == ButtonLook::DefaultPressed;
    if (isDefault || pressed) {
        COLORREF black = GetSysColor(COLOR_WINDOWFRAME);
        Border(dc, r, black, black);
        r = Inset(r, 1);
    }
    if (Empty(r)) {
        return;
    }
    if (pressed) {
        // A pushed button is flat: one shadow ring, its label moved down and right.
        COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
        Border(dc, r, shadow, shadow);
    } else {
        // Buttons have the soft edge: white outside, light grey inside.
        Border(dc, r, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DDKSHADOW));
        RECT inner = Inset(r, 1);
        if (!Empty(inner)) {
            Border(dc, inner, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DSHADOW));
        }
    }
    if (focused) {
        RECT f = Inset(rect, isDefault || pressed ? 4 : 3);
        if (!Empty(f)) {
            PaintFocusRect(dc, f);
        }
    }
}

void PaintFocusRect(HDC dc, const RECT& rect) {
    if (Empty(rect)) {
        return;
    }
    COLORREF c = GetSysColor(COLOR_WINDOWTEXT);
    // Every other pixel, counted along the screen so adjacent edges line up.
    for (LONG x = rect.left; x < rect.right; ++x) {
        if (((x + rect.top) & 1) == 0) {
            SetPixel(dc, x, rect.top, c);
        }
        if (((x + rect.bottom - 1) & 1) == 0) {
            SetPixel(dc, x, rect.bottom - 1, c);
        }
    }
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        if (((rect.left + y) & 1) == 0) {
            SetPixel(dc, rect.left, y, c);
        }
        if (((rect.right - 1 + y) & 1) == 0) {
            SetPixel(dc, rect.right - 1, y, c);
        }
    }
}

void PaintSeparator(HDC dc, const RECT& rect) {
    if (Empty(rect)) {
        return;
    }
    LONG y = rect.top + (rect.bottom - rect.top - 1) / 2;
    Fill(dc, rect.left, y, rect.right, y + 1, GetSysColor(COLOR_3DSHADOW));
    Fill(dc, rect.left, y + 1, rect.right, std::min(y + 2, rect.bottom),
         GetSysColor(COLOR_3DHILIGHT));
}

void PaintCheckMark(HDC dc, const RECT& rect, COLORREF colour) {
    static const char* const rows[] = {
        "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
    };
    PaintGlyph(dc, rect, rows, 7, colour);
}

void PaintSubmenuArrow(HDC dc, const RECT& rect, COLORREF colour) {
    static const char* const rows[] = {
        "#...", "##..", "###.", "####", "###.", "##..", "#...",
    };
    PaintGlyph(dc, rect, rows, 7, colour);
}

HFONT ChromeFont() {
    static HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    return font;
}

}  // namespace platform
