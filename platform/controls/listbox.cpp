// LISTBOX: rows of text that scroll, with a selection, the keyboard, the wheel and a scroll
// bar of its own; rows the parent draws (LBS_OWNERDRAWFIXED); and, with LBS_COMBOBOX, the
// list a combo box drops, which follows the pointer and tells its combo what was chosen.
#include <algorithm>
#include <vector>

#include "platform/controls/control_internal.h"
#include "platform/user/style_painter.h"

namespace platform::controls {
namespace {

ListState* ListOf(HWND hwnd) {
    return dynamic_cast<ListState*>(State(hwnd));
}

bool InCombo(HWND hwnd) {
    return (Style(hwnd) & LBS_COMBOBOX) != 0;
}

// A child's border is the dialog look's sunken edge; a pop-up's is one dark line.
int BorderWidth(HWND hwnd) {
    DWORD style = Style(hwnd);
    if (!(style & WS_BORDER))
        return 0;
    return (style & WS_CHILD) ? 2 : 1;
}

RECT Inner(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    int b = BorderWidth(hwnd);
    return {r.left + b, r.top + b, r.right - b, r.bottom - b};
}

// Rows are as high as the parent said, else as the font.
int ItemHeight(HWND hwnd, ListState& s) {
    if (s.ownerHeight > 0)
        return s.ownerHeight;
    HFONT font = ControlFont(hwnd);
    if (font != s.measuredFont) {
        s.measuredFont = font;
        s.fontHeight = FontHeight(font);  // measured again only when the font changes
    }
    return std::max(1, s.fontHeight);
}

int VisibleRows(HWND hwnd, ListState& s) {
    RECT in = Inner(hwnd);
    return std::max(1, int((in.bottom - in.top) / ItemHeight(hwnd, s)));
}

int MaxTop(HWND hwnd, ListState& s) {
    return std::max(0, int(s.items.size()) - VisibleRows(hwnd, s));
}

bool ShowsBar(HWND hwnd, ListState& s) {
    return (Style(hwnd) & WS_VSCROLL) && int(s.items.size()) > VisibleRows(hwnd, s);
}

RECT ScrollBar(HWND hwnd) {
    RECT in = Inner(hwnd);
    return {in.right - ScrollBarWidth(), in.top, in.right, in.bottom};
}

// The thumb's rectangle in the scroll bar's track; empty when everything fits.
RECT Thumb(HWND hwnd, ListState& s) {
    RECT bar = ScrollBar(hwnd);
    int track = (bar.bottom - bar.top) - 2 * ScrollBarWidth();
    int total = int(s.items.size()), rows = VisibleRows(hwnd, s);
    if (total <= rows || track < 8)
        return {0, 0, 0, 0};
    int len = std::max(8, track * rows / total);
    int maxTop = MaxTop(hwnd, s);
    int pos = maxTop ? (track - len) * s.top / maxTop : 0;
    int y = bar.top + ScrollBarWidth() + pos;
    return {bar.left, y, bar.right, y + len};
}

// Where row `index` is, in client coordinates, whether or not it shows.
RECT RowRect(HWND hwnd, ListState& s, int index) {
    RECT area = Inner(hwnd);
    if (ShowsBar(hwnd, s))
        area.right -= ScrollBarWidth();
    int h = ItemHeight(hwnd, s);
    LONG y = area.top + LONG(index - s.top) * h;
    return {area.left, y, area.right, y + h};
}

void ScrollTo(HWND hwnd, ListState& s, int top) {
    top = std::clamp(top, 0, MaxTop(hwnd, s));
    if (top != s.top) {
        s.top = top;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void EnsureVisible(HWND hwnd, ListState& s) {
    if (s.sel < 0)
        return;
    int rows = VisibleRows(hwnd, s);
    if (s.sel < s.top)
        ScrollTo(hwnd, s, s.sel);
    else if (s.sel >= s.top + rows)
        ScrollTo(hwnd, s, s.sel - rows + 1);
}

// Selects a row the user went to; the parent hears of a change when it asked to.
void Select(HWND hwnd, ListState& s, int index) {
    if (s.items.empty())
        return;
    index = std::clamp(index, 0, int(s.items.size()) - 1);
    bool changed = index != s.sel;
    s.sel = index;
    EnsureVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
    if (changed && (Style(hwnd) & LBS_NOTIFY) && !InCombo(hwnd))
        Notify(hwnd, LBN_SELCHANGE);
}

void DrawOwnerRow(HWND hwnd, ListState& s, HDC dc, int i, const RECT& line, bool focused) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_LISTBOX;
    d.CtlID = UINT(GetDlgCtrlID(hwnd));
    d.itemID = UINT(i);
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = i == s.sel ? UINT(ODS_SELECTED) : 0u;
    if (i == s.sel && focused)
        d.itemState |= ODS_FOCUS;
    d.hwndItem = hwnd;
    d.hDC = dc;
    d.rcItem = line;
    d.itemData = uintptr_t(s.items[size_t(i)].data);
    SendMessage(GetParent(hwnd), WM_DRAWITEM, d.CtlID, LPARAM(reinterpret_cast<intptr_t>(&d)));
}

void DrawTextRow(ListState& s, HDC dc, int i, const RECT& line, bool focused) {
    bool selected = i == s.sel;
    if (selected)
        PaintFill(dc, line, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT t = {line.left + 2, line.top, line.right, line.bottom};
    DrawText(dc, s.items[size_t(i)].text.c_str(), -1, &t,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (selected && focused)
        PaintFocusRect(dc, line);
}

// Whole rows only: a row the box cuts off is left blank.
void PaintList(HWND hwnd, ListState& s) {
    ControlPaint p(hwnd);
    if (!p.dc)
        return;
    if (BorderWidth(hwnd) == 2)
        PaintSunkenEdge(p.dc, p.client);
    else if (BorderWidth(hwnd) == 1)
        PaintFrame(p.dc, p.client, GetSysColor(COLOR_WINDOWFRAME));
    bool bar = ShowsBar(hwnd, s);
    RECT area = Inner(hwnd);
    if (bar)
        area.right -= ScrollBarWidth();
    PaintFill(p.dc, area, GetSysColor(COLOR_WINDOW));
    bool focused = GetFocus() == hwnd;
    bool ownerDrawn = (Style(hwnd) & LBS_OWNERDRAWFIXED) != 0;
    for (int i = s.top; i < int(s.items.size()); ++i) {
        RECT line = RowRect(hwnd, s, i);
        if (line.bottom > area.bottom)
            break;
        if (ownerDrawn)
            DrawOwnerRow(hwnd, s, p.dc, i, line, focused);
        else
            DrawTextRow(s, p.dc, i, line, focused);
    }
    if (bar)
        PaintScrollBar(p.dc, ScrollBar(hwnd), Thumb(hwnd, s));
}

// The row under a client point, or -1 (above, below the last, or on the scroll bar).
int RowAt(HWND hwnd, ListState& s, POINT pt) {
    RECT in = Inner(hwnd);
    if (pt.y < in.top || pt.y >= in.bottom || pt.x < in.left || pt.x >= in.right)
        return -1;
    if (ShowsBar(hwnd, s) && pt.x >= in.right - ScrollBarWidth())
        return -1;
    int i = s.top + (pt.y - in.top) / ItemHeight(hwnd, s);
    return i < int(s.items.size()) ? i : -1;
}

bool OnScrollBar(HWND hwnd, ListState& s, POINT pt) {
    RECT bar = ScrollBar(hwnd);
    return ShowsBar(hwnd, s) && pt.x >= bar.left && pt.x < bar.right && pt.y >= bar.top &&
           pt.y < bar.bottom;
}

void ScrollBarPress(HWND hwnd, ListState& s, int y) {
    RECT bar = ScrollBar(hwnd);
    RECT thumb = Thumb(hwnd, s);
    int rows = VisibleRows(hwnd, s);
    if (y < bar.top + ScrollBarWidth()) {
        ScrollTo(hwnd, s, s.top - 1);
    } else if (y >= bar.bottom - ScrollBarWidth()) {
        ScrollTo(hwnd, s, s.top + 1);
    } else if (y < thumb.top) {
        ScrollTo(hwnd, s, s.top - rows);
    } else if (y >= thumb.bottom) {
        ScrollTo(hwnd, s, s.top + rows);
    } else {
        s.dragging = true;
        s.dragOffset = y - thumb.top;
        SetCapture(hwnd);
    }
}

void ThumbDrag(HWND hwnd, ListState& s, int y) {
    RECT bar = ScrollBar(hwnd);
    RECT thumb = Thumb(hwnd, s);
    int room = (bar.bottom - bar.top) - 2 * ScrollBarWidth() - (thumb.bottom - thumb.top);
    if (room <= 0)
        return;
    int pos = y - s.dragOffset - (bar.top + ScrollBarWidth());
    ScrollTo(hwnd, s, int((int64_t(pos) * MaxTop(hwnd, s) + room / 2) / room));
}

// A press selects the row under it (a double click chooses it) or works the scroll bar;
// dragging moves the thumb.
void OnMouse(HWND hwnd, ListState& s, UINT message, POINT pt) {
    if (message == WM_MOUSEMOVE) {
        if (s.dragging)
            ThumbDrag(hwnd, s, pt.y);
        return;
    }
    if (message == WM_LBUTTONUP) {
        if (s.dragging) {
            s.dragging = false;
            ReleaseCapture();
        }
        return;
    }
    SetFocus(hwnd);
    if (OnScrollBar(hwnd, s, pt)) {
        ScrollBarPress(hwnd, s, pt.y);
        return;
    }
    int row = RowAt(hwnd, s, pt);
    if (row >= 0) {
        Select(hwnd, s, row);
        if (message == WM_LBUTTONDBLCLK && (Style(hwnd) & LBS_NOTIFY))
            Notify(hwnd, LBN_DBLCLK);
    }
}

// Tells the combo box that dropped this list: LBN_SELCHANGE for a row chosen,
// LBN_SELCANCEL for the list given up.
void TellCombo(HWND hwnd, WORD code) {
    SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(0, code),
                LPARAM(reinterpret_cast<intptr_t>(hwnd)));
}

// A combo's list holds the pointer while it is open: the row under it lights up, a click
// on a row chooses it (so does letting go of the opening press over one), a press
// anywhere else gives the list up, and its scroll bar works as any other.
void OnComboMouse(HWND hwnd, ListState& s, UINT message, POINT pt) {
    if (s.dragging) {
        if (message == WM_MOUSEMOVE)
            ThumbDrag(hwnd, s, pt.y);
        else if (message == WM_LBUTTONUP)
            s.dragging = false;
        return;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    bool inside =
        pt.x >= client.left && pt.x < client.right && pt.y >= client.top && pt.y < client.bottom;
    int row = RowAt(hwnd, s, pt);
    if (row >= 0 && row != s.sel)
        Select(hwnd, s, row);
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        s.openingPress = false;
        s.pressedOnRow = row >= 0;
        if (!inside)
            TellCombo(hwnd, LBN_SELCANCEL);
        else if (OnScrollBar(hwnd, s, pt))
            ScrollBarPress(hwnd, s, pt.y);
    } else if (message == WM_LBUTTONUP) {
        bool chooses = row >= 0 && (s.pressedOnRow || s.openingPress);
        s.openingPress = s.pressedOnRow = false;
        if (chooses)
            TellCombo(hwnd, LBN_SELCHANGE);
    }
}

void OnKey(HWND hwnd, ListState& s, WPARAM key) {
    int rows = VisibleRows(hwnd, s);
    switch (key) {
        case VK_UP:
            Select(hwnd, s, s.sel < 0 ? 0 : s.sel - 1);
            break;
        case VK_DOWN:
            Select(hwnd, s, s.sel + 1);
            break;
        case VK_PRIOR:
            Select(hwnd, s, s.sel - rows + 1);
            break;
        case VK_NEXT:
            Select(hwnd, s, std::max(s.sel, 0) + rows - 1);
            break;
        case VK_HOME:
            Select(hwnd, s, 0);
            break;
        case VK_END:
            Select(hwnd, s, int(s.items.size()) - 1);
            break;
        default:
            break;
    }
}

// The wheel scrolls: three rows a notch, fewer in a short list. With Shift or Ctrl held it
// is the parent's.
LRESULT OnWheel(HWND hwnd, ListState& s, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) & (MK_SHIFT | MK_CONTROL))
        return DefWindowProc(hwnd, WM_MOUSEWHEEL, wParam, lParam);
    int perNotch = WheelLinesPerNotch(VisibleRows(hwnd, s));
    int lines = WheelLines(s.wheelRemainder, GET_WHEEL_DELTA_WPARAM(wParam), perNotch);
    ScrollTo(hwnd, s, s.top - lines);
    return 0;
}

LRESULT TextOf(const ListState& s, WPARAM index, LPARAM buffer) {
    if (index >= s.items.size() || !buffer)
        return LB_ERR;
    const std::string& text = s.items[index].text;
    std::copy(text.begin(), text.end(), reinterpret_cast<char*>(buffer));
    reinterpret_cast<char*>(buffer)[text.size()] = '\0';
    return LRESULT(text.size());
}

// The row under a client point in the low word, and 1 in the high word when the point is
// outside the rows.
LRESULT ItemFromPoint(HWND hwnd, ListState& s, LPARAM lParam) {
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int row = RowAt(hwnd, s, pt);
    if (row >= 0)
        return MAKELPARAM(row, 0);
    int nearest = std::clamp(s.top + int((pt.y - Inner(hwnd).top) / ItemHeight(hwnd, s)), 0,
                             std::max(0, int(s.items.size()) - 1));
    return MAKELPARAM(nearest, 1);
}

// Selects a row as the program asks: no notification; -1 or a row that is not there
// selects none (LB_ERR, as for -1 too).
LRESULT OnSetSel(HWND hwnd, ListState& s, WPARAM index) {
    if (LRESULT(index) < 0 || index >= s.items.size()) {
        s.sel = -1;
        InvalidateRect(hwnd, nullptr, FALSE);
        return LB_ERR;
    }
    s.sel = int(index);
    EnsureVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
    return s.sel;
}

// The list box messages of the program and of the combo box.
LRESULT OnListMessage(HWND hwnd, ListState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case LB_RESETCONTENT:
            s.items.clear();
            s.sel = -1;
            s.top = 0;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case LB_ADDSTRING:
            s.items.push_back({lParam ? reinterpret_cast<const char*>(lParam) : "", 0});
            InvalidateRect(hwnd, nullptr, FALSE);
            return LRESULT(s.items.size() - 1);
        case LB_SETITEMDATA:
            if (wParam >= s.items.size())
                return LB_ERR;
            s.items[wParam].data = lParam;
            return 0;
        case LB_GETITEMDATA:
            return wParam < s.items.size() ? s.items[wParam].data : LB_ERR;
        case LB_GETCOUNT:
            return LRESULT(s.items.size());
        case LB_GETCURSEL:
            return s.sel;
        case LB_SETCURSEL:
            return OnSetSel(hwnd, s, wParam);
        case LB_GETTOPINDEX:
            return s.top;
        case LB_SETTOPINDEX:
            ScrollTo(hwnd, s, int(wParam));
            return 0;
        case LB_GETTEXT:
            return TextOf(s, wParam, lParam);
        case LB_GETTEXTLEN:
            return wParam < s.items.size() ? LRESULT(s.items[wParam].text.size()) : LB_ERR;
        case LB_GETITEMRECT:
            if (wParam >= s.items.size() || !lParam)
                return LB_ERR;
            *reinterpret_cast<RECT*>(lParam) = RowRect(hwnd, s, int(wParam));
            return 1;
        case LB_GETITEMHEIGHT:
            return ItemHeight(hwnd, s);
        case LB_SETITEMHEIGHT:
            if (LOWORD(uintptr_t(lParam)) == 0)
                return LB_ERR;
            s.ownerHeight = LOWORD(uintptr_t(lParam));
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case LB_ITEMFROMPOINT:
            return ItemFromPoint(hwnd, s, lParam);
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

// Owner-drawn rows take the height the parent gives them, once.
void Measure(HWND hwnd, ListState& s) {
    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_LISTBOX;
    m.CtlID = UINT(GetDlgCtrlID(hwnd));
    m.itemHeight = UINT(ItemHeight(hwnd, s));
    SendMessage(GetParent(hwnd), WM_MEASUREITEM, m.CtlID, LPARAM(reinterpret_cast<intptr_t>(&m)));
    s.ownerHeight = int(std::clamp<UINT>(m.itemHeight, 1, 255));
}

LRESULT OnInput(HWND hwnd, ListState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            OnKey(hwnd, s, wParam);
            return 0;
        case WM_CHAR: {
            if (wParam <= ' ')
                return 0;
            int i = NextStartingWith(
                int(s.items.size()), s.sel, uint32_t(wParam),
                [&s](int k) -> const std::string& { return s.items[size_t(k)].text; });
            if (i >= 0)
                Select(hwnd, s, i);
            return 0;
        }
        case WM_MOUSEWHEEL:
            return OnWheel(hwnd, s, wParam, lParam);
        case WM_CAPTURECHANGED:
            s.dragging = false;
            if (InCombo(hwnd) && reinterpret_cast<HWND>(lParam) != hwnd)
                TellCombo(hwnd, LBN_SELCANCEL);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (InCombo(hwnd))
                OnComboMouse(hwnd, s, message, pt);
            else
                OnMouse(hwnd, s, message, pt);
            return 0;
        }
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void HoldOpeningPress(HWND list) {
    if (ListState* s = ListOf(list))
        s->openingPress = true;
}

LRESULT ListBoxProc(HWND hwnd, ListState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (Style(hwnd) & LBS_OWNERDRAWFIXED)
                Measure(hwnd, s);
            return 0;
        case WM_PAINT:
            PaintList(hwnd, s);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        default:
            if (message >= LB_ADDSTRING && message <= LB_ITEMFROMPOINT)
                return OnListMessage(hwnd, s, message, wParam, lParam);
            return OnInput(hwnd, s, message, wParam, lParam);
    }
}

}  // namespace platform::controls
