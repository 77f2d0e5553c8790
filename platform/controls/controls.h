// The standard controls: "STATIC" (text and icons), "EDIT" (single-line fields),
// "BUTTON" (push buttons and group boxes), "LISTBOX" (lists that scroll) and "COMBOBOX"
// (drop-down lists), each a window class of its own. Names and values are Win32's.
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
    LB_GETITEMRECT = 0x0198,
    LB_GETITEMDATA = 0x0199,
    LB_SETITEMDATA = 0x019A,
    LB_SETITEMHEIGHT = 0x01A0,
    LB_GETITEMHEIGHT = 0x01A1,
    LB_ITEMFROMPOINT = 0x01A9
};
enum : WORD { LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SELCANCEL = 3 };
constexpr LRESULT LB_ERR = -1;

// Combo box messages, notifications and answers.
enum : UINT {
    CB_ADDSTRING = 0x0143,
    CB_GETCOUNT = 0x0146,
    CB_GETCURSEL = 0x0147,
    CB_GETLBTEXT = 0x0148,
    CB_GETLBTEXTLEN = 0x0149,
    CB_RESETCONTENT = 0x014B,
    CB_SETCURSEL = 0x014E,
    CB_SHOWDROPDOWN = 0x014F,
    CB_GETDROPPEDCONTROLRECT = 0x0152,
    CB_GETDROPPEDSTATE = 0x0157
};
enum : WORD {
    CBN_SELCHANGE = 1,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10
};
constexpr LRESULT CB_ERR = -1;

// Owner-drawn items: a list box with LBS_OWNERDRAWFIXED asks its parent for the height of
// its rows once (WM_MEASUREITEM), and has each row it shows drawn by the parent
// (WM_DRAWITEM), on its own device context with its font selected.
enum : UINT { ODT_LISTBOX = 2, ODA_DRAWENTIRE = 0x0001, ODS_SELECTED = 0x0001, ODS_FOCUS = 0x0010 };
struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    uintptr_t itemData;
};
struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    uintptr_t itemData;
};

namespace platform {

// Registers the control classes (after a reset of the window manager too).
void EnsureControlClasses();

// The font a control draws with: the one set by WM_SETFONT, else the system dialog font.
HFONT ControlFont(HWND control);

}  // namespace platform
