// The dialog manager: modal dialogs built from templates in dialog units, with the
// standard controls as child windows and keyboard navigation among them, and message
// boxes. Names and values are Win32's.
//
// A dialog window has no non-client area here, as every window: its rectangle includes
// the modal frame (and the caption, when it has one), and its controls are placed inside
// that frame. Coordinates of controls relative to the dialog window therefore include
// the frame width.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls/controls.h"
#include "platform/res/templates.h"
#include "platform/styles.h"
#include "platform/user/style_painter.h"
#include "platform/user/user.h"
#include "platform/windef.h"

using INT_PTR = intptr_t;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// Dialog results and standard control ids.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Message box flags: the buttons, the icon and the default button.
enum : UINT {
    MB_OK = 0x0000,
    MB_OKCANCEL = 0x0001,
    MB_ABORTRETRYIGNORE = 0x0002,
    MB_YESNOCANCEL = 0x0003,
    MB_YESNO = 0x0004,
    MB_RETRYCANCEL = 0x0005,
    MB_TYPEMASK = 0x000F,
    MB_ICONHAND = 0x0010,
    MB_ICONSTOP = MB_ICONHAND,
    MB_ICONQUESTION = 0x0020,
    MB_ICONEXCLAMATION = 0x0030,
    MB_ICONASTERISK = 0x0040,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    MB_ICONMASK = 0x00F0,
    MB_DEFBUTTON2 = 0x0100,
    MB_DEFMASK = 0x0F00
};

// Modal dialogs. Each returns the value given to EndDialog, or -1 when the template can't
// be loaded or the dialog can't be made. The owner is disabled while the dialog runs, its
// timers keep firing, and it gets WM_ENTERIDLE (MSGF_DIALOGBOX, the dialog) whenever the
// dialog's loop has nothing to do; when the dialog has gone, the windows beneath repaint
// what it covered through WM_PAINT. WM_QUIT ends the dialog with IDCANCEL (no command
// reaches it) and is posted again for the loop around it.
INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC dialogProc,
                       LPARAM initParam);
INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const platform::DialogTemplate& dialogTemplate,
                               HWND owner, DLGPROC dialogProc, LPARAM initParam);
inline INT_PTR DialogBox(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc) {
    return DialogBoxParam(instance, templateName, owner, proc, 0);
}
BOOL EndDialog(HWND dialog, INT_PTR result);
// The default processing of a dialog window; a window procedure that stands in front of
// a dialog (the framework's) passes what it does not handle here.
LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Handles the dialog keys (Tab, Shift+Tab, Enter, Escape) of a message meant for dialog
// or one of its controls. Returns TRUE when the message was used up.
BOOL IsDialogMessage(HWND dialog, LPMSG msg);

HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int maxCount);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// The next (or, with previous, the preceding) WS_TABSTOP control after control, in
// template order, wrapping; control may be null for the first.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// Dialog units to pixels, with the dialog's own font.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The base units of the system dialog font: LOWORD horizontal, HIWORD vertical.
LONG GetDialogBaseUnits();

// A message box, centred on the screen, run modally like any dialog (its owner hears
// WM_ENTERIDLE). Its text is the static control MESSAGE_BOX_TEXT_ID and its icon, one of
// the system's (IDI_HAND for MB_ICONHAND, ...), the control MESSAGE_BOX_ICON_ID. A null
// caption gives "Error".
// Returns the id of the button chosen (IDOK, IDCANCEL, IDYES, IDNO, ...), or IDCANCEL when
// WM_QUIT ended it.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace platform {

// The message box's text (a static control) and icon control, as ids of the box.
constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;
constexpr int MESSAGE_BOX_ICON_ID = 20;

// The window the dialog manager makes for a dialog. The framework makes it itself (so
// that its object is attached from the first message) with these arguments; the window
// procedure of its class must pass what it does not handle to DefDlgProc.
struct DialogWindowArgs {
    DWORD exStyle = 0;
    DWORD style = 0;
    const char* caption = "";
    int x = 0, y = 0, width = 0, height = 0;
    HWND owner = nullptr;
    HINSTANCE instance = nullptr;
    void* createParam = nullptr;  // pass on as CreateWindowEx's last argument
};
using DialogWindowFactory = std::function<HWND(const DialogWindowArgs&)>;

// DialogBoxIndirectParam with the dialog window made by factory (null: the dialog
// manager's own class, "#32770").
INT_PTR RunDialogBox(HINSTANCE instance, const DialogTemplate& dialogTemplate, HWND owner,
                     DLGPROC dialogProc, LPARAM initParam, const DialogWindowFactory& factory);

// Dialog units -> pixels for a font given by point size and face, as a template names
// it: LOWORD baseX, HIWORD baseY.
LONG DialogBaseUnitsFor(int pointSize, const std::string& face);

// The width of the frame around a dialog with DS_MODALFRAME, and the caption's height.
constexpr int DIALOG_FRAME = 3;
constexpr int DIALOG_CAPTION = 18;

}  // namespace platform
