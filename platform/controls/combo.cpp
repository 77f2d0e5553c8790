// COMBOBOX of the CBS_DROPDOWNLIST kind: a closed field that shows the chosen item, with a
// button. Its list drops as a pop-up window above every other (a LISTBOX with
// LBS_COMBOBOX) on a click, F4 or Alt+Down; the arrows, the pointer and the wheel move
// through it, Enter or a click chooses, and Escape or a click outside gives it up. The
// owner hears CBN_DROPDOWN, then CBN_SELENDOK or CBN_SELENDCANCEL, CBN_CLOSEUP, and
// CBN_SELCHANGE when the choice changed, as from the keys and the wheel on the closed box.
#include <algorithm>
#include <vector>

#include "platform/controls/control_internal.h"
#include "platform/user/style_painter.h"

namespace platform::controls {
namespace {

constexpr int MOST_ROWS_DROPPED = 8;
constexpr int COMBO_BORDER = 2;

ComboState* ComboOf(HWND hwnd) {
    return dynamic_cast<ComboState*>(State(hwnd));
}

RECT ButtonRect(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    RECT in = {r.left + COMBO_BORDER, r.top + COMBO_BORDER, r.right - COMBO_BORDER,
               r.bottom - COMBO_BORDER};
    return {in.right - ScrollBarWidth(), in.top, in.right, in.bottom};
}

void PaintCombo(HWND hwnd, ComboState& s) {
    ControlPaint p(hwnd);
    if (!p.dc)
        return;
    PaintSunkenEdge(p.dc, p.client);
    RECT button = ButtonRect(hwnd);
    RECT field = {p.client.left + COMBO_BORDER, button.top, button.left, button.bottom};
    PaintFill(p.dc, field, GetSysColor(COLOR_WINDOW));
    bool focused = GetFocus() == hwnd;
    if (s.sel >= 0 && s.sel < int(s.items.size())) {
        RECT mark = {field.left + 1, field.top + 1, field.right - 1, field.bottom - 1};
        if (focused)
            PaintFill(p.dc, mark, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(p.dc, GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT t = {mark.left + 2, mark.top, mark.right, mark.bottom};
        DrawText(p.dc, s.items[size_t(s.sel)].c_str(), -1, &t,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (focused)
            PaintFocusRect(p.dc, mark);
    }
    PaintDropButton(p.dc, button, s.list != nullptr);
}

// Tells the owner; false when that took the combo box away.
bool Tell(HWND hwnd, WORD code) {
    Notify(hwnd, code);
    return ComboOf(hwnd) != nullptr;
}

// The choice shown, also as the window's text.
void SetSel(HWND hwnd, ComboState& s, int index) {
    s.sel = index >= 0 && index < int(s.items.size()) ? index : -1;
    const char* text = s.sel >= 0 ? s.items[size_t(s.sel)].c_str() : "";
    DefWindowProc(hwnd, WM_SETTEXT, 0, LPARAM(reinterpret_cast<intptr_t>(text)));
    InvalidateRect(hwnd, nullptr, FALSE);
}

// A choice from the keys or the wheel on the closed box: it takes effect at once.
void Choose(HWND hwnd, ComboState& s, int index) {
    if (s.items.empty())
        return;
    index = std::clamp(index, 0, int(s.items.size()) - 1);
    if (index == s.sel)
        return;
    SetSel(hwnd, s, index);
    Notify(hwnd, CBN_SELCHANGE);
}

// Where the list drops: under the box, as wide, up to eight rows high; above the box when
// there is no room below it on the screen.
RECT DropRect(HWND hwnd, const ComboState& s) {
    RECT r;
    GetWindowRect(hwnd, &r);
    int rows = std::clamp(int(s.items.size()), 1, MOST_ROWS_DROPPED);
    int height = rows * std::max(1, FontHeight(ControlFont(hwnd))) + 2;
    LONG top = r.bottom + height > GetSystemMetrics(SM_CYSCREEN) ? r.top - height : r.bottom;
    return {r.left, top, r.right, top + height};
}

void Open(HWND hwnd, ComboState& s, bool byPress) {
    if (s.list || !Tell(hwnd, CBN_DROPDOWN))
        return;
    RECT drop = DropRect(hwnd, s);
    HWND list = CreateWindowEx(0, "LISTBOX", "", WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_COMBOBOX,
                               drop.left, drop.top, drop.right - drop.left, drop.bottom - drop.top,
                               hwnd, nullptr, s.instance, nullptr);
    if (!list)
        return;
    SendMessage(list, WM_SETFONT, WPARAM(reinterpret_cast<uintptr_t>(ControlFont(hwnd))), 0);
    for (const std::string& item : s.items)
        SendMessage(list, LB_ADDSTRING, 0, LPARAM(reinterpret_cast<intptr_t>(item.c_str())));
    SendMessage(list, LB_SETCURSEL, WPARAM(s.sel), 0);
    s.list = list;
    ShowWindow(list, SW_SHOWNA);
    SetCapture(list);
    if (byPress)
        HoldOpeningPress(list);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Closes the list, taking the row it shows when choose is set.
void Close(HWND hwnd, ComboState& s, bool choose) {
    HWND list = s.list;
    if (!list)
        return;
    int chosen = choose ? int(SendMessage(list, LB_GETCURSEL, 0, 0)) : s.sel;
    s.list = nullptr;
    DestroyWindow(list);
    InvalidateRect(hwnd, nullptr, FALSE);
    bool changed = chosen >= 0 && chosen != s.sel;
    if (changed)
        SetSel(hwnd, s, chosen);
    if (Tell(hwnd, choose ? CBN_SELENDOK : CBN_SELENDCANCEL) && Tell(hwnd, CBN_CLOSEUP) && changed)
        Notify(hwnd, CBN_SELCHANGE);
}

void Toggle(HWND hwnd, ComboState& s) {
    if (s.list)
        Close(hwnd, s, true);
    else
        Open(hwnd, s, false);
}

bool IsNavigationKey(WPARAM key) {
    switch (key) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            return true;
        default:
            return false;
    }
}

void OnKeyDown(HWND hwnd, ComboState& s, WPARAM key) {
    if (key == VK_F4) {
        Toggle(hwnd, s);
    } else if (s.list) {
        if (key == VK_RETURN || key == VK_ESCAPE)
            Close(hwnd, s, key == VK_RETURN);
        else if (key == VK_LEFT || key == VK_RIGHT)
            SendMessage(s.list, WM_KEYDOWN, key == VK_LEFT ? VK_UP : VK_DOWN, 0);
        else if (IsNavigationKey(key))
            SendMessage(s.list, WM_KEYDOWN, key, 0);
    } else if (IsNavigationKey(key)) {
        int last = int(s.items.size()) - 1;
        int page = MOST_ROWS_DROPPED - 1;
        int at = std::max(s.sel, 0);
        switch (key) {
            case VK_UP:
            case VK_LEFT:
                Choose(hwnd, s, s.sel < 0 ? 0 : s.sel - 1);
                break;
            case VK_PRIOR:
                Choose(hwnd, s, at - page);
                break;
            case VK_NEXT:
                Choose(hwnd, s, at + page);
                break;
            case VK_HOME:
                Choose(hwnd, s, 0);
                break;
            case VK_END:
                Choose(hwnd, s, last);
                break;
            default:  // down and right
                Choose(hwnd, s, s.sel + 1);
                break;
        }
    }
}

// A typed letter goes to the first item after the current one that starts with it.
void OnChar(HWND hwnd, ComboState& s, WPARAM ch) {
    if (ch <= ' ')
        return;
    if (s.list) {
        SendMessage(s.list, WM_CHAR, ch, 0);
        return;
    }
    int i = NextStartingWith(int(s.items.size()), s.sel, uint32_t(ch),
                             [&s](int k) -> const std::string& { return s.items[size_t(k)]; });
    if (i >= 0)
        Choose(hwnd, s, i);
}

// The wheel scrolls the open list, and steps the closed box's choice a notch at a time.
LRESULT OnWheel(HWND hwnd, ComboState& s, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) & (MK_SHIFT | MK_CONTROL))
        return DefWindowProc(hwnd, WM_MOUSEWHEEL, wParam, lParam);
    if (s.list)
        return SendMessage(s.list, WM_MOUSEWHEEL, wParam, lParam);
    int steps = WheelLines(s.wheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam), 1);
    if (steps != 0)
        Choose(hwnd, s, std::max(s.sel, 0) - steps);
    return 0;
}

// Enter and Escape are the open list's, not the dialog's.
LRESULT DialogCode(const ComboState& s, LPARAM lParam) {
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (s.list && msg && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT OnItemMessage(HWND hwnd, ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CB_ADDSTRING:
            s.items.push_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
            return LRESULT(s.items.size() - 1);
        case CB_RESETCONTENT:
            Close(hwnd, s, false);
            if (ComboState* now = ComboOf(hwnd)) {
                now->items.clear();
                SetSel(hwnd, *now, -1);
            }
            return 0;
        case CB_GETCOUNT:
            return LRESULT(s.items.size());
        case CB_GETCURSEL:
            return s.sel;
        case CB_SETCURSEL:
            SetSel(hwnd, s, wParam < s.items.size() ? int(wParam) : -1);
            return s.sel < 0 ? CB_ERR : s.sel;
        case CB_GETLBTEXT:
            if (wParam >= s.items.size() || !lParam)
                return CB_ERR;
            std::copy(s.items[wParam].begin(), s.items[wParam].end(),
                      reinterpret_cast<char*>(lParam));
            reinterpret_cast<char*>(lParam)[s.items[wParam].size()] = '\0';
            return LRESULT(s.items[wParam].size());
        case CB_GETLBTEXTLEN:
            return wParam < s.items.size() ? LRESULT(s.items[wParam].size()) : CB_ERR;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT OnDropMessage(HWND hwnd, ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case CB_SHOWDROPDOWN:
            if (wParam)
                Open(hwnd, s, false);
            else
                Close(hwnd, s, false);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return s.list ? TRUE : FALSE;
        case CB_GETDROPPEDCONTROLRECT:
            if (!lParam)
                return CB_ERR;
            if (!s.list || !GetWindowRect(s.list, reinterpret_cast<RECT*>(lParam)))
                *reinterpret_cast<RECT*>(lParam) = DropRect(hwnd, s);
            return TRUE;
        default:  // from the dropped list: a row chosen, or the list given up
            if (s.list && reinterpret_cast<HWND>(lParam) == s.list)
                Close(hwnd, s, HIWORD(wParam) == LBN_SELCHANGE);
            return 0;
    }
}

}  // namespace

LRESULT ComboBoxProc(HWND hwnd, ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintCombo(hwnd, s);
            return 0;
        case WM_GETDLGCODE:
            return DialogCode(s, lParam);
        case WM_SETFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            Close(hwnd, s, false);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            if (GetFocus() == hwnd && !s.list)
                Open(hwnd, s, true);
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(hwnd, s, wParam);
            return 0;
        case WM_SYSKEYDOWN:
            if ((wParam == VK_DOWN || wParam == VK_UP) && (uintptr_t(lParam) & (1u << 29))) {
                Toggle(hwnd, s);
                return 0;
            }
            return DefWindowProc(hwnd, message, wParam, lParam);
        case WM_CHAR:
            OnChar(hwnd, s, wParam);
            return 0;
        case WM_MOUSEWHEEL:
            return OnWheel(hwnd, s, wParam, lParam);
        case CB_SHOWDROPDOWN:
        case CB_GETDROPPEDSTATE:
        case CB_GETDROPPEDCONTROLRECT:
        case WM_COMMAND:
            return OnDropMessage(hwnd, s, message, wParam, lParam);
        default:
            return OnItemMessage(hwnd, s, message, wParam, lParam);
    }
}

}  // namespace platform::controls
