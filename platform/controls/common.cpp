// The control classes' common ground: state, notifications, fonts, registration.
#include "platform/controls/control_internal.h"

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

LRESULT CommonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    switch (message) {
        case WM_NCCREATE: {
            auto state = std::make_unique<ControlState>();
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

}  // namespace platform::controls

namespace platform {

HFONT ControlFont(HWND control) {
    HFONT f = reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0));
    return f ? f : DialogFont(8, "MS Sans Serif");
}

namespace {

// Every control class's procedure: the common messages first, then the class's own.
template <LRESULT (*Own)(HWND, UINT, WPARAM, LPARAM)>
LRESULT ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled;
    LRESULT r = controls::CommonProc(hwnd, message, wParam, lParam, &handled);
    return handled ? r : Own(hwnd, message, wParam, lParam);
}

}  // namespace

void EnsureControlClasses() {
    RegisterClassOnce("STATIC", ClassProc<controls::StaticProc>);
    RegisterClassOnce("EDIT", ClassProc<controls::EditProc>);
    RegisterClassOnce("BUTTON", ClassProc<controls::ButtonProc>);
}

}  // namespace platform
