// The one painter of all classic chrome: 3-D edges, buttons, frames, fields, check marks
// and arrows, in the system colours. Menus, dialogs, controls and message boxes all draw
// through it, so they look alike.
#pragma once

#include "platform/windef.h"

// GetSysColor indices, with Win32's values.
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;

// The classic scheme: grey face (192, 192, 192), white highlight, grey and black shadows,
// navy selection.
COLORREF GetSysColor(int index);

namespace platform {

enum class ButtonLook { Normal, Pressed, Default, DefaultPressed };

// Each paints inside rect (right and bottom exclusive) and nothing outside it.
void PaintRaisedEdge(HDC dc, const RECT& rect);    // two-pixel raised border (buttons, popups)
void PaintSunkenEdge(HDC dc, const RECT& rect);    // two-pixel sunken border (edit fields)
void PaintEtchedFrame(HDC dc, const RECT& rect);   // group boxes and separators
void PaintModalFrame(HDC dc, const RECT& rect);    // a dialog or message box outline
void PaintFace(HDC dc, const RECT& rect);          // fill in COLOR_3DFACE
void PaintButton(HDC dc, const RECT& rect, ButtonLook look, bool focused);
void PaintFocusRect(HDC dc, const RECT& rect);     // dotted rectangle
void PaintSeparator(HDC dc, const RECT& rect);     // a horizontal etched line centred in rect
void PaintCheckMark(HDC dc, const RECT& rect, COLORREF colour);
void PaintSubmenuArrow(HDC dc, const RECT& rect, COLORREF colour);
// The dialog and menu font: 8-point "MS Sans Serif" at 96 dpi through the font matcher
// (11 pixels high), created once and never deleted.
HFONT ChromeFont();

}  // namespace platform
