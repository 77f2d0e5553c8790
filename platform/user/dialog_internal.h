// Shared between the dialog manager, the controls and the message box.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/user/dialog.h"

namespace platform::dialog {

constexpr const char* DIALOG_CLASS = "#32770";

// Registers STATIC, EDIT and BUTTON (after a reset of the window manager too).
void EnsureControlClasses();

// One control to make, in pixels relative to the dialog window.
struct ItemSpec {
    std::string className;
    std::string text;
    int id = -1;
    DWORD style = 0;
    RECT rect = {0, 0, 0, 0};
};

struct DialogSpec {
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string caption;
    RECT rect = {0, 0, 0, 0};  // screen pixels, frame included
    HFONT font = nullptr;
    std::vector<ItemSpec> items;
};

// Creates the dialog window and its controls, sends WM_INITDIALOG, runs the modal loop,
// and tears it all down. Returns the EndDialog value, or -1 when it could not be made.
INT_PTR RunModal(HINSTANCE instance, const DialogSpec& spec, HWND owner, DLGPROC proc,
                 LPARAM initParam, const DialogWindowFactory& factory);

// Text helpers: the host clipboard speaks UTF-8, controls hold Latin-1.
std::string Latin1ToUtf8(const std::string& s);
std::string Utf8ToLatin1(const std::string& s);

// Draws a 0xAARRGGBB image at (x, y), blending with what is beneath.
void DrawArgb(HDC dc, int x, int y, int width, int height, const uint32_t* argb);

// The font a control draws with: the one set by WM_SETFONT, else the system dialog font.
HFONT ControlFont(HWND control);

// 32 x 32 classic icons for the message box: MB_ICONHAND, _QUESTION, _EXCLAMATION,
// _ASTERISK.
std::vector<uint32_t> MessageBoxIcon(UINT iconFlag);

}  // namespace platform::dialog
