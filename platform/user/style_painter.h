// The one painter of all classic chrome: 3-D edges, buttons, frames, fields, check marks
// and arrows, in the system colours. Menus, dialogs, controls and message boxes all draw
// through it, so they look alike.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windef.h"

// GetSysColor's indices, with Win32's values.
enum : int {
    COLOR_ACTIVECAPTION = 2,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_3DFACE = COLOR_BTNFACE,
    COLOR_BTNSHADOW = 16,
    COLOR_3DSHADOW = COLOR_BTNSHADOW,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22
};

// DrawEdge's edges (the raised or sunken outer and inner borders) and the sides it draws.
enum : UINT {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER
};
enum : UINT {
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000
};

// The classic scheme: grey face (192, 192, 192), white highlight, grey and black shadows,
// navy selection.
COLORREF GetSysColor(int index);
// Classic 3-D edges in the scheme's colours: each border one pixel, the top and left in
// its light colour, the bottom and right (and the corners they share) in its dark one.
BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);

namespace platform {

enum class ButtonLook { Normal, Pressed, Default, DefaultPressed };

// Each paints inside rect (right and bottom exclusive) and nothing outside it.
void PaintRaisedEdge(HDC dc, const RECT& rect);   // two-pixel raised border (buttons, popups)
void PaintSunkenEdge(HDC dc, const RECT& rect);   // two-pixel sunken border (edit fields)
void PaintEtchedFrame(HDC dc, const RECT& rect);  // group boxes and separators
void PaintModalFrame(HDC dc, const RECT& rect);   // a dialog or message box outline
void PaintFace(HDC dc, const RECT& rect);         // fill in COLOR_3DFACE
void PaintFill(HDC dc, const RECT& rect, COLORREF colour);
// A window's caption bar: the active caption colour, and the text in the bold face.
void PaintCaption(HDC dc, const RECT& bar, const char* text);
// A small arrow pointing up or down, centred in rect (scroll bars, drop-downs).
void PaintScrollArrow(HDC dc, const RECT& rect, bool up, COLORREF colour);
void PaintButton(HDC dc, const RECT& rect, ButtonLook look, bool focused);
// A vertical scroll bar filling bar: an arrow button at each end, the dotted track between,
// and the thumb (nothing when thumb is empty).
void PaintScrollBar(HDC dc, const RECT& bar, const RECT& thumb);
// A drop-down's button with its arrow, pushed in while the list is open.
void PaintDropButton(HDC dc, const RECT& rect, bool pushed);
void PaintFrame(HDC dc, const RECT& rect, COLORREF colour);  // one pixel all round
void PaintFocusRect(HDC dc, const RECT& rect);               // dotted rectangle
void PaintSeparator(HDC dc, const RECT& rect);  // a horizontal etched line centred in rect
void PaintCheckMark(HDC dc, const RECT& rect, COLORREF colour);
void PaintSubmenuArrow(HDC dc, const RECT& rect, COLORREF colour);
// The dialog and menu font: 8-point "MS Sans Serif" at 96 dpi through the font matcher
// (11 pixels high), created once and never deleted.
HFONT ChromeFont();
// The font a dialog template names, by point size at 96 dpi and face (cached; never
// deleted).
HFONT DialogFont(int pointSize, const std::string& face);
// Draws a 0xAARRGGBB image at (x, y), blending with what is beneath.
void PaintImage(HDC dc, int x, int y, int width, int height, const uint32_t* argb);

}  // namespace platform
