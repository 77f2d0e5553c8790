// What the control classes share: their state on the window, the common messages,
// painting with the control's font, and the wheel's notches.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/gdi/gdi.h"
#include "platform/utf8.h"

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

// A list box's rows and where it stands.
struct ListItem {
    std::string text;
    LPARAM data = 0;
};
struct ListState : ControlState {
    std::vector<ListItem> items;
    int sel = -1;
    int top = 0;
    int ownerHeight = 0;  // the parent's row height for owner-drawn rows
    HFONT measuredFont = nullptr;
    int fontHeight = 0;
    int wheelRemainder = 0;
    bool dragging = false;  // the thumb, with the pointer this far below its top
    int dragOffset = 0;
    bool openingPress = false;  // a combo's list: the press that opened it is still held
    bool pressedOnRow = false;  // a combo's list: the press went down on a row
};

// A combo box's items and choice, and its list while dropped.
struct ComboState : ControlState {
    std::vector<std::string> items;
    int sel = -1;
    HWND list = nullptr;
    int wheelRemainder = 0;
};

ControlState* State(HWND hwnd);
DWORD Style(HWND hwnd);
std::string Text(HWND hwnd);
// Sends code to the parent as WM_COMMAND from this control.
void Notify(HWND control, WORD code);
// Common handling: per-window state (made by make), the font, and default processing.
using MakeState = std::unique_ptr<ControlState> (*)();
LRESULT CommonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, MakeState make,
                   bool* handled);

// The wheel's turn in lines: a notch moves `perNotch` lines, and parts of a notch add up
// in remainder until they make a line. Turning the other way drops what was left over.
int WheelLines(int& remainder, int delta, int perNotch);
// Lines a notch of the wheel scrolls a list showing `rows` rows: the system's three, or
// fewer when fewer show.
int WheelLinesPerNotch(int rows);

int ScrollBarWidth();  // and the height of its arrow buttons
int FontHeight(HFONT font);
// A combo box opens its list with the press still held: letting go over a row chooses it.
void HoldOpeningPress(HWND list);

// Typing a character in a list: the next of `count` items after `from` (wrapping round;
// from -1 starts at the first) whose text starts with that character, letters matched
// without regard to case; -1 when none does.
template <typename TextAt>
int NextStartingWith(int count, int from, uint32_t code, TextAt textAt) {
    const uint32_t wanted = utf8::FoldCase(code);
    for (int k = 1; k <= count; ++k) {
        int i = (std::max(from, -1) + k) % count;
        const std::string& text = textAt(i);
        if (!text.empty() && utf8::FoldCase(utf8::Decode(text, 0).code) == wanted)
            return i;
    }
    return -1;
}

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

// Each class's own messages, with the window's state, after CommonProc has had its say.
LRESULT StaticProc(HWND hwnd, ControlState& s, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, ControlState& s, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProc(HWND hwnd, ControlState& s, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(HWND hwnd, ListState& s, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND hwnd, ComboState& s, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::controls
