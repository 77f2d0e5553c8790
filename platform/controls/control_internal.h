// What the three control classes share: their state on the window, the common messages,
// and painting with the control's font.
#pragma once

#include <memory>
#include <string>

#include "platform/controls/controls.h"
#include "platform/gdi/gdi.h"

namespace platform::controls {

constexpr size_t DEFAULT_EDIT_LIMIT = 30000;
constexpr int EDIT_BORDER = 2;
constexpr int EDIT_MARGIN = 1;

struct ControlState : WindowExtra {
    HFONT font = nullptr;
    HINSTANCE instance = nullptr;
    // Edit fields.
    size_t anchor = 0;
    size_t caret = 0;
    int scroll = 0;  // pixels of text scrolled out on the left
    size_t limit = DEFAULT_EDIT_LIMIT;
    bool selecting = false;
    // Buttons.
    bool pressed = false;   // drawn pushed in
    bool tracking = false;  // the mouse went down on it and is held
    bool spaceDown = false;
    // Icons.
    HICON icon = nullptr;
};

ControlState* State(HWND hwnd);
DWORD Style(HWND hwnd);
std::string Text(HWND hwnd);
// Sends code to the parent as WM_COMMAND from this control.
void Notify(HWND control, WORD code);
// Common handling: per-window state, the font, and default processing.
LRESULT CommonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

// One WM_PAINT of a control: its font selected and text drawn transparently.
struct ControlPaint : PaintScope {
    explicit ControlPaint(HWND h) : PaintScope(h) {
        if (dc) {
            oldFont = SelectObject(dc, ControlFont(h));
            SetBkMode(dc, TRANSPARENT);
        }
    }
    ~ControlPaint() {
        if (dc)
            SelectObject(dc, oldFont);
    }
    HGDIOBJ oldFont = nullptr;
};

// Each class's own messages, after CommonProc has had its say.
LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::controls
