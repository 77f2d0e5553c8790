#include "platform/user/style_painter.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <string>

#include "platform/gdi/gdi.h"

COLORREF GetSysColor(int index) {
    // The standard scheme of the classic look, by index from COLOR_SCROLLBAR (0) to
    // COLOR_INFOBK (24); any other index is black.
    constexpr COLORREF GREY = RGB(192, 192, 192), DARK = RGB(128, 128, 128),
                       WHITE = RGB(255, 255, 255), BLACK = RGB(0, 0, 0), NAVY = RGB(0, 0, 128);
    static constexpr COLORREF SCHEME[] = {
        // scroll bar, desktop, active and inactive caption, menu
        GREY, RGB(0, 128, 128), NAVY, DARK, GREY,
        // window, window frame, menu text, window text, caption text
        WHITE, BLACK, BLACK, BLACK, WHITE,
        // active and inactive border, workspace, highlight, highlighted text
        GREY, GREY, DARK, NAVY, WHITE,
        // button face, button shadow, grey text, button text, inactive caption text
        GREY, DARK, DARK, BLACK, GREY,
        // button highlight, 3-D dark shadow, 3-D light, tooltip text and background
        WHITE, BLACK, GREY, BLACK, RGB(255, 255, 225)};
    return index >= 0 && index < int(std::size(SCHEME)) ? SCHEME[index] : BLACK;
}

namespace platform {
namespace {

bool Reasonable(const RECT& r) {
    auto ok = [](LONG v) { return v > -(1 << 24) && v < (1 << 24); };
    return ok(r.left) && ok(r.top) && ok(r.right) && ok(r.bottom);
}

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

// The colour roles of an outer and an inner one-pixel border.
struct Edge {
    int outerTL, outerBR, innerTL, innerBR;
};

void TwoBorders(HDC dc, const RECT& rect, const Edge& e) {
    if (Empty(rect)) {
        return;
    }
    Border(dc, rect, GetSysColor(e.outerTL), GetSysColor(e.outerBR));
    RECT inner = Inset(rect, 1);
    if (!Empty(inner)) {
        Border(dc, inner, GetSysColor(e.innerTL), GetSysColor(e.innerBR));
    }
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

void PaintImage(HDC dc, int x, int y, int width, int height, const uint32_t* argb) {
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            uint32_t p = argb[j * width + i];
            uint32_t a = p >> 24;
            if (a == 0)
                continue;
            BYTE r = BYTE(p >> 16), g = BYTE(p >> 8), b = BYTE(p);
            if (a < 255) {
                COLORREF under = GetPixel(dc, x + i, y + j);
                if (under == CLR_INVALID)
                    continue;
                auto mix = [a](int s, int d) {
                    return BYTE((s * int(a) + d * int(255 - a)) / 255);
                };
                r = mix(r, GetRValue(under));
                g = mix(g, GetGValue(under));
                b = mix(b, GetBValue(under));
            }
            SetPixel(dc, x + i, y + j, RGB(r, g, b));
        }
}

void PaintRaisedEdge(HDC dc, const RECT& rect) {
    TwoBorders(dc, rect, {COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHILIGHT, COLOR_3DSHADOW});
}

void PaintSunkenEdge(HDC dc, const RECT& rect) {
    TwoBorders(dc, rect, {COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT});
}

void PaintEtchedFrame(HDC dc, const RECT& rect) {
    TwoBorders(dc, rect, {COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DHILIGHT, COLOR_3DSHADOW});
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

void PaintFill(HDC dc, const RECT& rect, COLORREF colour) {
    Fill(dc, rect.left, rect.top, rect.right, rect.bottom, colour);
}

void PaintCaption(HDC dc, const RECT& bar, const char* text) {
    Fill(dc, bar.left, bar.top, bar.right, bar.bottom, GetSysColor(COLOR_ACTIVECAPTION));
    static HFONT bold =
        CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, bold);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    RECT t = {bar.left + 3, bar.top, bar.right - 2, bar.bottom};
    DrawText(dc, text, -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

void PaintScrollArrow(HDC dc, const RECT& rect, bool up, COLORREF colour) {
    LONG cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    for (LONG i = 0; i < 4; ++i) {
        LONG y = up ? cy - 2 + i : cy + 1 - i;
        Fill(dc, cx - i, y, cx + i + 1, y + 1, colour);
    }
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

void PaintScrollBar(HDC dc, const RECT& bar, const RECT& thumb) {
    if (Empty(bar)) {
        return;
    }
    const LONG side = bar.right - bar.left;
    RECT up = {bar.left, bar.top, bar.right, std::min(bar.bottom, bar.top + side)};
    RECT down = {bar.left, std::max(up.bottom, bar.bottom - side), bar.right, bar.bottom};
    RECT track = {bar.left, up.bottom, bar.right, down.top};
    // The track is a checker of light grey and white.
    Fill(dc, track.left, track.top, track.right, track.bottom, GetSysColor(COLOR_3DLIGHT));
    for (LONG y = track.top; y < track.bottom; ++y) {
        for (LONG x = track.left + (y & 1); x < track.right; x += 2) {
            SetPixel(dc, x, y, GetSysColor(COLOR_3DHILIGHT));
        }
    }
    PaintButton(dc, up, ButtonLook::Normal, false);
    PaintButton(dc, down, ButtonLook::Normal, false);
    PaintScrollArrow(dc, up, true, GetSysColor(COLOR_BTNTEXT));
    PaintScrollArrow(dc, down, false, GetSysColor(COLOR_BTNTEXT));
    if (!Empty(thumb)) {
        PaintButton(dc, thumb, ButtonLook::Normal, false);
    }
}

void PaintDropButton(HDC dc, const RECT& rect, bool pushed) {
    PaintButton(dc, rect, pushed ? ButtonLook::Pressed : ButtonLook::Normal, false);
    // A pushed button's arrow moves down and to the right, as a pushed label does.
    RECT arrow = pushed ? RECT{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1} : rect;
    PaintScrollArrow(dc, arrow, false, GetSysColor(COLOR_BTNTEXT));
}

void PaintFrame(HDC dc, const RECT& rect, COLORREF colour) {
    if (!Empty(rect)) {
        Border(dc, rect, colour, colour);
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

HFONT DialogFont(int pointSize, const std::string& face) {
    static std::map<std::pair<int, std::string>, HFONT> fonts;
    auto key = std::make_pair(pointSize, face);
    auto it = fonts.find(key);
    if (it != fonts.end())
        return it->second;
    // Points at 96 dpi, rounded as MulDiv does: 8 points is 11 pixels.
    int height = -int(std::lround(pointSize * 96.0 / 72.0));
    HFONT f = CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                         face.empty() ? "MS Sans Serif" : face.c_str());
    fonts[key] = f;
    return f;
}

HFONT ChromeFont() {
    static HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    return font;
}

}  // namespace platform

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
    using platform::Fill;
    if (rect == nullptr || !platform::Reasonable(*rect) || GetTextColor(dc) == CLR_INVALID) {
        return FALSE;
    }
    RECT r = *rect;
    struct Ring {
        UINT raised, sunken;
        int raisedTL, raisedBR, sunkenTL, sunkenBR;
    };
    const Ring rings[2] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DSHADOW,
         COLOR_3DHILIGHT},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, COLOR_3DHILIGHT, COLOR_3DSHADOW, COLOR_3DDKSHADOW,
         COLOR_3DLIGHT},
    };
    for (const Ring& ring : rings) {
        bool raised = (edge & ring.raised) != 0, sunken = (edge & ring.sunken) != 0;
        if (!raised && !sunken) {
            continue;
        }
        COLORREF tl = GetSysColor(raised ? ring.raisedTL : ring.sunkenTL);
        COLORREF br = GetSysColor(raised ? ring.raisedBR : ring.sunkenBR);
        if (flags & BF_MONO) {
            tl = br = GetSysColor(COLOR_3DDKSHADOW);
        } else if (flags & BF_FLAT) {
            tl = br = GetSysColor(COLOR_3DSHADOW);
        }
        if (flags & BF_TOP) {
            Fill(dc, r.left, r.top, r.right, r.top + 1, tl);
        }
        if (flags & BF_LEFT) {
            Fill(dc, r.left, r.top, r.left + 1, r.bottom, tl);
        }
        if (flags & BF_BOTTOM) {
            Fill(dc, r.left, r.bottom - 1, r.right, r.bottom, br);
        }
        if (flags & BF_RIGHT) {
            Fill(dc, r.right - 1, r.top, r.right, r.bottom, br);
        }
        r.left += (flags & BF_LEFT) ? 1 : 0;
        r.top += (flags & BF_TOP) ? 1 : 0;
        r.right -= (flags & BF_RIGHT) ? 1 : 0;
        r.bottom -= (flags & BF_BOTTOM) ? 1 : 0;
    }
    if (flags & BF_MIDDLE) {
        Fill(dc, r.left, r.top, r.right, r.bottom,
             GetSysColor((flags & BF_MONO) ? COLOR_3DHILIGHT : COLOR_3DFACE));
    }
    if (flags & BF_ADJUST) {
        *rect = r;
    }
    return TRUE;
}
