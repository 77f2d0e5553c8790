// The standard controls: "STATIC" (text and icons), "EDIT" (single-line fields) and
// "BUTTON" (push buttons and group boxes), each a window class of its own. Names and
// values are Win32's.
#pragma once

#include <string>

#include "platform/user/user.h"

// Edit control messages and notifications.
enum : UINT {
    EM_GETSEL = 0x00B0,
    EM_SETSEL = 0x00B1,
    EM_REPLACESEL = 0x00C2,
    EM_LIMITTEXT = 0x00C5
};
enum : WORD { EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300 };

// Static control messages.
constexpr UINT STM_GETICON = 0x0171;

// Button messages, notifications and states.
enum : UINT { BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3, BM_SETSTYLE = 0x00F4, BM_CLICK = 0x00F5 };
constexpr WORD BN_CLICKED = 0;
enum : LRESULT { BST_UNCHECKED = 0x0000, BST_PUSHED = 0x0004, BST_FOCUS = 0x0008 };

// List box messages, notifications and answers.
enum : UINT {
    LB_ADDSTRING = 0x0180,
    LB_RESETCONTENT = 0x0184,
    LB_SETCURSEL = 0x0186,
    LB_GETCURSEL = 0x0188,
    LB_GETTEXT = 0x0189,
    LB_GETTEXTLEN = 0x018A,
    LB_GETCOUNT = 0x018B,
    LB_GETTOPINDEX = 0x018E,
    LB_SETTOPINDEX = 0x0197,
    LB_GETITEMDATA = 0x0199,
    LB_SETITEMDATA = 0x019A
};
enum : WORD { LBN_SELCHANGE = 1, LBN_DBLCLK = 2 };
constexpr LRESULT LB_ERR = -1;

// Combo box messages, notifications and answers.
enum : UINT {
    CB_ADDSTRING = 0x0143,
    CB_GETCOUNT = 0x0146,
    CB_GETCURSEL = 0x0147,
    CB_RESETCONTENT = 0x014B,
    CB_SETCURSEL = 0x014E
};
constexpr WORD CBN_SELCHANGE = 1;
constexpr LRESULT CB_ERR = -1;

namespace platform {

// Registers STATIC, EDIT and BUTTON (after a reset of the window manager too).
void EnsureControlClasses();

// The font a control draws with: the one set by WM_SETFONT, else the system dialog font.
HFONT ControlFont(HWND control);

}  // namespace platform
