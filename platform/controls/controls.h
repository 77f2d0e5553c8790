// The standard controls: "STATIC" (text and icons), "EDIT" (single-line fields) and
// "BUTTON" (push buttons and group boxes), each a window class of its own. Names and
// values are Win32's.
#pragma once

#include <string>

#include "platform/user/user.h"

// Edit control messages and notifications.
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;

// Static control messages.
constexpr UINT STM_GETICON = 0x0171;

// Button messages and notifications.
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;
constexpr WORD BN_CLICKED = 0;
constexpr LRESULT BST_PUSHED = 0x0004;
constexpr LRESULT BST_FOCUS = 0x0008;

namespace platform {

// Registers STATIC, EDIT and BUTTON (after a reset of the window manager too).
void EnsureControlClasses();

// The font a control draws with: the one set by WM_SETFONT, else the system dialog font.
HFONT ControlFont(HWND control);

}  // namespace platform
