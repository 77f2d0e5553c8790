// BUTTON: push buttons, the default button's frame, and group boxes.
#include "platform/controls/control_internal.h"
#include "platform/user/style_painter.h"

namespace platform::controls {
namespace {

bool IsDefaultLook(HWND hwnd) {
    DWORD type = Style(hwnd) & BS_TYPEMASK;
    HWND focus = GetFocus();
    HWND parent = GetParent(hwnd);
    // A focused push button is the one Enter presses, so it wears the default frame;
    // the template's default button wears it while no other button has the focus.
    if (focus == hwnd)
        return true;
    bool otherButtonFocused =
        focus && GetParent(focus) == parent &&
        (SendMessage(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
    if (otherButtonFocused)
        return false;
    LRESULT def = parent ? SendMessage(parent, DM_GETDEFID, 0, 0) : 0;
    if (HIWORD(uintptr_t(def)) == DC_HASDEFID)
        return LOWORD(uintptr_t(def)) == WORD(GetDlgCtrlID(hwnd));
    return type == BS_DEFPUSHBUTTON;
}

void PaintGroupBox(HWND hwnd) {
    ControlPaint p(hwnd);
    if (!p.dc)
        return;
    TEXTMETRIC tm{};
    GetTextMetrics(p.dc, &tm);
    std::string text = Text(hwnd);
    RECT frame = p.client;
    frame.top += tm.tmHeight / 2;
    PaintEtchedFrame(p.dc, frame);
    if (text.empty())
        return;
    SIZE sz{0, 0};
    GetTextExtentPoint32(p.dc, text.c_str(), int(text.size()), &sz);
    RECT gap = {p.client.left + 6, p.client.top, p.client.left + 6 + sz.cx + 4,
                p.client.top + tm.tmHeight};
    gap.right = std::min(gap.right, p.client.right - 2);
    PaintFace(p.dc, gap);
    SetTextColor(p.dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT t = {gap.left + 2, gap.top, gap.right, gap.bottom};
    DrawText(p.dc, text.c_str(), int(text.size()), &t, DT_LEFT | DT_SINGLELINE);
}

void PaintPushButton(HWND hwnd) {
    ControlPaint p(hwnd);
    if (!p.dc)
        return;
    ControlState* s = State(hwnd);
    bool pressed = s && s->pressed;
    bool def = IsDefaultLook(hwnd);
    bool focused = GetFocus() == hwnd;
    ButtonLook look = def ? (pressed ? ButtonLook::DefaultPressed : ButtonLook::Default)
                          : (pressed ? ButtonLook::Pressed : ButtonLook::Normal);
    PaintButton(p.dc, p.client, look, focused);
    std::string text = Text(hwnd);
    RECT t = p.client;
    if (pressed) {
        t.left += 1;
        t.top += 1;
        t.right += 1;
        t.bottom += 1;
    }
    bool enabled = !(Style(hwnd) & WS_DISABLED);
    SetTextColor(p.dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawText(p.dc, text.c_str(), int(text.size()), &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void Click(HWND hwnd) {
    Notify(hwnd, BN_CLICKED);
}

void SetPressed(HWND hwnd, bool pressed) {
    ControlState* s = State(hwnd);
    if (!s || s->pressed == pressed)
        return;
    s->pressed = pressed;
    InvalidateRect(hwnd, nullptr, FALSE);
}

// The mouse pushes the button while it is held over it; releasing over it clicks.
void OnMouse(HWND hwnd, UINT message, LPARAM lParam) {
    ControlState* s = State(hwnd);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (GetFocus() != hwnd)
                SetFocus(hwnd);
            s = State(hwnd);
            if (!s)
                return;
            s->tracking = true;
            SetCapture(hwnd);
            SetPressed(hwnd, true);
            return;
        case WM_MOUSEMOVE:
            if (s->tracking && GetCapture() == hwnd) {
                RECT c;
                GetClientRect(hwnd, &c);
                POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                SetPressed(hwnd,
                           pt.x >= c.left && pt.x < c.right && pt.y >= c.top && pt.y < c.bottom);
            }
            return;
        case WM_LBUTTONUP: {
            if (!s->tracking)
                return;
            s->tracking = false;
            bool inside = s->pressed;
            SetPressed(hwnd, false);
            if (GetCapture() == hwnd)
                ReleaseCapture();
            if (inside)
                Click(hwnd);
            return;
        }
        default:  // WM_CAPTURECHANGED
            if (s->tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
                s->tracking = false;
                SetPressed(hwnd, false);
            }
            return;
    }
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, ControlState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD type = Style(hwnd) & BS_TYPEMASK;
    bool group = type == BS_GROUPBOX;
    switch (message) {
        case WM_PAINT:
            if (group)
                PaintGroupBox(hwnd);
            else
                PaintPushButton(hwnd);
            return 0;
        case WM_GETDLGCODE:
            if (group)
                return DLGC_STATIC;
            return DLGC_BUTTON |
                   (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case WM_SETTEXT: {
            LRESULT res = DefWindowProc(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return res;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (message == WM_KILLFOCUS) {
                s.spaceDown = false;
                if (!s.tracking)
                    SetPressed(hwnd, false);
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case BM_SETSTYLE: {
            DWORD style = (Style(hwnd) & ~BS_TYPEMASK) | (DWORD(wParam) & BS_TYPEMASK);
            SetWindowLongPtr(hwnd, GWL_STYLE, LONG_PTR(style));
            if (lParam)
                InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case BM_GETSTATE:
            return (s.pressed ? BST_PUSHED : BST_UNCHECKED) |
                   (GetFocus() == hwnd ? BST_FOCUS : BST_UNCHECKED);
        case BM_SETSTATE:
            SetPressed(hwnd, wParam != 0);
            return 0;
        case BM_CLICK:
            if (!group && IsWindowEnabled(hwnd))
                Click(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (!group)
                OnMouse(hwnd, message, lParam);
            return 0;
        case WM_KEYDOWN:
            if (!group && wParam == VK_SPACE && !s.tracking) {
                s.spaceDown = true;
                SetPressed(hwnd, true);
            }
            return 0;
        case WM_KEYUP:
            if (!group && wParam == VK_SPACE && s.spaceDown) {
                s.spaceDown = false;
                SetPressed(hwnd, false);
                Click(hwnd);
            }
            return 0;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace platform::controls
