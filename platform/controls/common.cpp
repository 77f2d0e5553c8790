// The control classes' common ground: state, notifications, fonts, registration.
#include "platform/controls/control_internal.h"

#include <algorithm>

#include "platform/user/style_painter.h"

namespace platform::controls {

ControlState* State(HWND hwnd) {
    return WindowExtraOf<ControlState>(hwnd);
}

DWORD Style(HWND hwnd) {
    return DWORD(GetWindowLongPtr(hwnd, GWL_STYLE));
}

std::string Text(HWND hwnd) {
    int n = GetWindowTextLength(hwnd);
    std::string s(size_t(n) + 1, '\0');
    int got = GetWindowText(hwnd, s.data(), n + 1);
    s.resize(size_t(std::max(got, 0)));
    return s;
}

void Notify(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (parent)
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                    LPARAM(reinterpret_cast<intptr_t>(control)));
}

LRESULT CommonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, MakeState make,
                   bool* handled) {
    *handled = true;
    switch (message) {
        case WM_NCCREATE: {
            std::unique_ptr<ControlState> state = make();
            auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
            if (cs)
                state->instance = cs->hInstance;
            SetWindowExtra(hwnd, std::move(state));
            return DefWindowProc(hwnd, message, wParam, lParam);
        }
        case WM_SETFONT:
            if (ControlState* s = State(hwnd))
                s->font = reinterpret_cast<HFONT>(wParam);
            if (lParam)
                InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT: {
            ControlState* s = State(hwnd);
            return s ? LRESULT(reinterpret_cast<intptr_t>(s->font)) : 0;
        }
        case WM_GETTEXTLENGTH:
            return GetWindowTextLength(hwnd);
        case WM_ERASEBKGND:
            return 1;
        default:
            *handled = false;
            return 0;
    }
}

int ScrollBarWidth() {
    return GetSystemMetrics(SM_CXVSCROLL);
}

int FontHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight;
}

int WheelLines(int& remainder, int delta, int perNotch) {
    if ((delta < 0) != (remainder < 0))
        remainder = 0;
    remainder += delta * perNotch;
    int lines = remainder / WHEEL_DELTA;
    remainder -= lines * WHEEL_DELTA;
    return lines;
}

int WheelLinesPerNotch(int rows) {
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return std::clamp(int(lines), 1, std::max(rows, 1));
}

}  // namespace platform::controls

namespace platform {

HFONT ControlFont(HWND control) {
    HFONT f = reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0));
    return f ? f : DialogFont(8, "MS Sans Serif");
}

namespace {

// Every control class's procedure: the common messages first, then the class's own with
// the state the window keeps.
template <typename State, LRESULT (*Own)(HWND, State&, UINT, WPARAM, LPARAM)>
LRESULT ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled;
    LRESULT r = controls::CommonProc(
        hwnd, message, wParam, lParam,
        [] { return std::unique_ptr<controls::ControlState>(new State); }, &handled);
    if (handled)
        return r;
    State* state = WindowExtraOf<State>(hwnd);
    return state ? Own(hwnd, *state, message, wParam, lParam)
                 : DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

void EnsureControlClasses() {
    using controls::ControlState;
    RegisterClassOnce("STATIC", ClassProc<ControlState, controls::StaticProc>);
    RegisterClassOnce("EDIT", ClassProc<ControlState, controls::EditProc>);
    RegisterClassOnce("BUTTON", ClassProc<ControlState, controls::ButtonProc>);
    RegisterClassOnce("LISTBOX", ClassProc<controls::ListState, controls::ListBoxProc>, CS_DBLCLKS);
    RegisterClassOnce("COMBOBOX", ClassProc<controls::ComboState, controls::ComboBoxProc>);
}

}  // namespace platform
