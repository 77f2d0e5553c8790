// Pop-up menus: loaded from the resource script, tracked in their own modal loop, drawn in
// the classic look.
#pragma once

#include <vector>

#include "platform/windef.h"

// Menu item flags.
enum : UINT {
    MF_STRING = 0x0000,
    MF_ENABLED = 0x0000,
    MF_UNCHECKED = 0x0000,
    MF_BYCOMMAND = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_CHECKED = 0x0008,
    MF_POPUP = 0x0010,
    MF_BYPOSITION = 0x0400,
    MF_SEPARATOR = 0x0800
};

// TrackPopupMenu's flags.
enum : UINT {
    TPM_LEFTBUTTON = 0x0000,
    TPM_LEFTALIGN = 0x0000,
    TPM_TOPALIGN = 0x0000,
    TPM_RIGHTBUTTON = 0x0002,
    TPM_CENTERALIGN = 0x0004,
    TPM_RIGHTALIGN = 0x0008,
    TPM_VCENTERALIGN = 0x0010,
    TPM_BOTTOMALIGN = 0x0020,
    TPM_NONOTIFY = 0x0080,
    TPM_RETURNCMD = 0x0100
};

HMENU LoadMenu(HINSTANCE instance, LPCSTR name);
HMENU CreatePopupMenu();
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);          // 0xFFFFFFFF for a sub-menu
UINT GetMenuState(HMENU menu, UINT item, UINT flags);  // 0xFFFFFFFF when there is none
int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int maxCount, UINT flags);
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);   // previous state, or 0xFFFFFFFF
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);  // previous state, or -1
BOOL DestroyMenu(HMENU menu);
// Shows the menu with its top-left corner at (x, y) (kept inside the screen) and runs
// until an item is chosen or the menu is dismissed. Each open level is a window of its
// own (class "#32768") above the others. The owner gets WM_INITMENUPOPUP before each
// level opens, and WM_ENTERIDLE (MSGF_MENU, the deepest menu window) whenever the loop
// is idle. The chosen command is posted to the owner as WM_COMMAND(id, 0), unless
// TPM_RETURNCMD asks for it as the result. WM_QUIT dismisses the menu with no command and
// is posted again for the loop around it.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* excludeRect);
// The screen rectangle of the item at position of menu while it is shown; FALSE when
// the menu is not open.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, LPRECT rect);
// Ends the menu being tracked, as if dismissed; FALSE when none is.
BOOL EndMenu();

namespace platform {

// The screen rectangle of each open level of the tracked menu, outermost first; empty
// when no menu is tracked.
std::vector<RECT> OpenMenuRects();

}  // namespace platform
