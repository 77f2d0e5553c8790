// The two controls of the open/save dialog that the dialog manager has no class for: the
// file list and the closed drop-down of file types.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/comdlg/filedlg_internal.h"
#include "platform/dialogs/dialog.h"
#include "platform/gdi/gdi.h"
#include "platform/user/style_painter.h"

namespace platform::filedlg {

namespace {

constexpr int SCROLL_WIDTH = 16;
constexpr int ITEM_HEIGHT = 16;
constexpr int BORDER = 2;
constexpr UINT VK_F4_KEY = 0x73;

struct ListItem {
    std::string text;
    LPARAM data = 0;
};

struct ListState : WindowExtra {
    std::vector<ListItem> items;
    int sel = -1;
    int top = 0;
    bool dragging = false;
    int dragOffset = 0;  // pointer to thumb top while dragging
};

struct TypeState : WindowExtra {
    std::vector<std::string> items;
    int sel = -1;
};

void Notify(HWND hwnd, WORD code) {
    SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetWindowLongPtr(hwnd, GWLP_ID), code),
                LPARAM(reinterpret_cast<intptr_t>(hwnd)));
}

HFONT FontOf(HWND hwnd) {
    HFONT f = reinterpret_cast<HFONT>(SendMessage(GetParent(hwnd), WM_GETFONT, 0, 0));
    return f ? f : ChromeFont();
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// The classic folder: a yellow body with a tab, outlined in dark yellow.
void PaintFolderGlyph(HDC dc, int x, int y) {
    const COLORREF edge = RGB(128, 128, 0), body = RGB(255, 255, 0);
    PaintFill(dc, {x + 1, y + 3, x + 15, y + 13}, edge);
    PaintFill(dc, {x + 2, y + 4, x + 14, y + 12}, body);
    PaintFill(dc, {x + 2, y + 2, x + 7, y + 3}, edge);
    Line(dc, x + 2, y + 4, x + 14, y + 4, RGB(255, 255, 255));
}

// A page with a folded corner.
void PaintFileGlyph(HDC dc, int x, int y) {
    const COLORREF ink = RGB(0, 0, 0), paper = RGB(255, 255, 255);
    PaintFill(dc, {x + 3, y + 1, x + 13, y + 15}, ink);
    PaintFill(dc, {x + 4, y + 2, x + 12, y + 14}, paper);
    PaintFill(dc, {x + 10, y + 1, x + 13, y + 4}, GetSysColor(COLOR_WINDOW));
    Line(dc, x + 9, y + 1, x + 13, y + 5, ink);
    Line(dc, x + 9, y + 2, x + 9, y + 5, ink);
    Line(dc, x + 9, y + 5, x + 12, y + 5, ink);
    for (int row = 6; row < 13; row += 2)
        Line(dc, x + 5, y + row, x + 11, y + row, RGB(128, 128, 128));
}

// List geometry -------------------------------------------------------------------------

RECT ListInner(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.left + BORDER, r.top + BORDER, r.right - BORDER, r.bottom - BORDER};
}

int VisibleRows(HWND hwnd) {
    RECT in = ListInner(hwnd);
    return std::max(1, int((in.bottom - in.top) / ITEM_HEIGHT));
}

int MaxTop(HWND hwnd, const ListState& s) {
    return std::max(0, int(s.items.size()) - VisibleRows(hwnd));
}

RECT ScrollBar(HWND hwnd) {
    RECT in = ListInner(hwnd);
    return {in.right - SCROLL_WIDTH, in.top, in.right, in.bottom};
}

// The thumb's rectangle in the scroll bar's track; empty when everything fits.
RECT Thumb(HWND hwnd, const ListState& s) {
    RECT bar = ScrollBar(hwnd);
    int track = (bar.bottom - bar.top) - 2 * SCROLL_WIDTH;
    int total = int(s.items.size()), rows = VisibleRows(hwnd);
    if (total <= rows || track < 8)
        return {0, 0, 0, 0};
    int len = std::max(8, track * rows / total);
    int maxTop = MaxTop(hwnd, s);
    int pos = maxTop ? (track - len) * s.top / maxTop : 0;
    int y = bar.top + SCROLL_WIDTH + pos;
    return {bar.left, y, bar.right, y + len};
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
    int rows = VisibleRows(hwnd);
    if (s.sel < s.top)
        ScrollTo(hwnd, s, s.sel);
    else if (s.sel >= s.top + rows)
        ScrollTo(hwnd, s, s.sel - rows + 1);
}

void Select(HWND hwnd, ListState& s, int index, bool notify) {
    if (s.items.empty())
        return;
    index = std::clamp(index, 0, int(s.items.size()) - 1);
    bool changed = index != s.sel;
    s.sel = index;
    EnsureVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, FALSE);
    if (changed && notify)
        Notify(hwnd, LBN_SELCHANGE);
}

void PaintList(HWND hwnd, ListState& s, HDC dc, const RECT&) {
    RECT in = ListInner(hwnd);
    bool scroll = int(s.items.size()) > VisibleRows(hwnd);
    RECT area = in;
    if (scroll)
        area.right -= SCROLL_WIDTH;
    PaintFill(dc, area, GetSysColor(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(dc, FontOf(hwnd));
    SetBkMode(dc, TRANSPARENT);
    bool focused = GetFocus() == hwnd;
    for (int row = 0; row < VisibleRows(hwnd); ++row) {
        int i = s.top + row;
        if (i >= int(s.items.size()))
            break;
        RECT line = {area.left, area.top + row * ITEM_HEIGHT, area.right,
                     area.top + (row + 1) * ITEM_HEIGHT};
        if (line.bottom > area.bottom)
            break;
        bool isFolder = s.items[size_t(i)].data != 0;
        if (isFolder)
            PaintFolderGlyph(dc, line.left + 2, line.top);
        else
            PaintFileGlyph(dc, line.left + 2, line.top);
        RECT text = {line.left + 20, line.top, line.right, line.bottom};
        SIZE extent = {0, 0};
        const std::string& label = s.items[size_t(i)].text;
        GetTextExtentPoint32(dc, label.c_str(), int(label.size()), &extent);
        RECT mark = {text.left - 1, line.top + 1,
                     std::min(area.right, LONG(text.left + extent.cx + 2)), line.bottom - 1};
        if (i == s.sel) {
            PaintFill(dc, mark,
                      focused ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNFACE));
            SetTextColor(
                dc, focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT));
        } else {
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        }
        RECT t = {text.left + 1, text.top, text.right, text.bottom};
        DrawText(dc, label.c_str(), -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (i == s.sel && focused)
            PaintFocusRect(dc, mark);
    }
    SelectObject(dc, oldFont);
    if (scroll) {
        RECT bar = ScrollBar(hwnd);
        RECT up = {bar.left, bar.top, bar.right, bar.top + SCROLL_WIDTH};
        RECT down = {bar.left, bar.bottom - SCROLL_WIDTH, bar.right, bar.bottom};
        RECT track = {bar.left, up.bottom, bar.right, down.top};
        PaintFill(dc, track, GetSysColor(COLOR_3DLIGHT));
        for (int y = int(track.top); y < track.bottom; ++y)
            for (int x = int(track.left) + (y & 1); x < track.right; x += 2)
                SetPixel(dc, x, y, RGB(255, 255, 255));
        PaintButton(dc, up, ButtonLook::Normal, false);
        PaintButton(dc, down, ButtonLook::Normal, false);
        PaintScrollArrow(dc, up, true, GetSysColor(COLOR_BTNTEXT));
        PaintScrollArrow(dc, down, false, GetSysColor(COLOR_BTNTEXT));
        RECT thumb = Thumb(hwnd, s);
        if (thumb.bottom > thumb.top)
            PaintButton(dc, thumb, ButtonLook::Normal, false);
    }
}

int RowAt(HWND hwnd, const ListState& s, int y) {
    RECT in = ListInner(hwnd);
    if (y < in.top)
        return -1;
    int i = s.top + (y - in.top) / ITEM_HEIGHT;
    return i < int(s.items.size()) ? i : -1;
}

bool OnScrollBar(HWND hwnd, const ListState& s, int x, int y) {
    RECT bar = ScrollBar(hwnd);
    return int(s.items.size()) > VisibleRows(hwnd) && x >= bar.left && x < bar.right &&
           y >= bar.top && y < bar.bottom;
}

void ScrollBarPress(HWND hwnd, ListState& s, int y) {
    RECT bar = ScrollBar(hwnd);
    RECT thumb = Thumb(hwnd, s);
    int rows = VisibleRows(hwnd);
    if (y < bar.top + SCROLL_WIDTH)
        ScrollTo(hwnd, s, s.top - 1);
    else if (y >= bar.bottom - SCROLL_WIDTH)
        ScrollTo(hwnd, s, s.top + 1);
    else if (y < thumb.top)
        ScrollTo(hwnd, s, s.top - rows);
    else if (y >= thumb.bottom)
        ScrollTo(hwnd, s, s.top + rows);
    else {
        s.dragging = true;
        s.dragOffset = y - thumb.top;
        SetCapture(hwnd);
    }
}

void ThumbDrag(HWND hwnd, ListState& s, int y) {
    RECT bar = ScrollBar(hwnd);
    RECT thumb = Thumb(hwnd, s);
    int len = thumb.bottom - thumb.top;
    int track = (bar.bottom - bar.top) - 2 * SCROLL_WIDTH;
    int room = track - len;
    if (room <= 0)
        return;
    int pos = y - s.dragOffset - (bar.top + SCROLL_WIDTH);
    ScrollTo(hwnd, s, int((int64_t(pos) * MaxTop(hwnd, s) + room / 2) / room));
}

// Moves the selection to the next item whose name starts with c, after the current one.
void TypeAhead(HWND hwnd, ListState& s, char c) {
    int n = int(s.items.size());
    auto lower = [](char x) { return char(std::tolower(static_cast<unsigned char>(x))); };
    for (int k = 1; k <= n; ++k) {
        int i = (std::max(s.sel, 0) + k) % n;
        const std::string& t = s.items[size_t(i)].text;
        if (!t.empty() && lower(t[0]) == lower(c)) {
            Select(hwnd, s, i, true);
            return;
        }
    }
}

// The list box messages the dialog sends.
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
            if (LRESULT(wParam) < 0 || wParam >= s.items.size()) {
                s.sel = -1;
                InvalidateRect(hwnd, nullptr, FALSE);
                return LB_ERR;
            }
            Select(hwnd, s, int(wParam), false);
            return s.sel;
        case LB_GETTOPINDEX:
            return s.top;
        case LB_SETTOPINDEX:
            ScrollTo(hwnd, s, int(wParam));
            return 0;
        case LB_GETTEXT:
            if (wParam >= s.items.size() || !lParam)
                return LB_ERR;
            std::copy(s.items[wParam].text.begin(), s.items[wParam].text.end(),
                      reinterpret_cast<char*>(lParam));
            reinterpret_cast<char*>(lParam)[s.items[wParam].text.size()] = '\0';
            return LRESULT(s.items[wParam].text.size());
        default:  // LB_GETTEXTLEN
            return wParam < s.items.size() ? LRESULT(s.items[wParam].text.size()) : LB_ERR;
    }
}

// A press selects the row under it (a double click chooses it) or works the scroll bar;
// dragging moves the thumb.
void OnListMouse(HWND hwnd, ListState& s, UINT message, LPARAM lParam) {
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (message == WM_MOUSEMOVE) {
        if (s.dragging)
            ThumbDrag(hwnd, s, y);
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
    if (OnScrollBar(hwnd, s, x, y)) {
        ScrollBarPress(hwnd, s, y);
        return;
    }
    int row = RowAt(hwnd, s, y);
    if (row >= 0) {
        Select(hwnd, s, row, true);
        if (message == WM_LBUTTONDBLCLK)
            Notify(hwnd, LBN_DBLCLK);
    }
}

void OnListKey(HWND hwnd, ListState& s, WPARAM key) {
    int rows = VisibleRows(hwnd);
    switch (key) {
        case VK_UP:
            Select(hwnd, s, s.sel < 0 ? 0 : s.sel - 1, true);
            break;
        case VK_DOWN:
            Select(hwnd, s, s.sel + 1, true);
            break;
        case VK_PRIOR:
            Select(hwnd, s, s.sel - rows + 1, true);
            break;
        case VK_NEXT:
            Select(hwnd, s, std::max(s.sel, 0) + rows - 1, true);
            break;
        case VK_HOME:
            Select(hwnd, s, 0, true);
            break;
        case VK_END:
            Select(hwnd, s, int(s.items.size()) - 1, true);
            break;
        default:
            break;
    }
}

LRESULT ListProc(HWND hwnd, ListState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case LB_RESETCONTENT:
        case LB_ADDSTRING:
        case LB_SETITEMDATA:
        case LB_GETITEMDATA:
        case LB_GETCOUNT:
        case LB_GETCURSEL:
        case LB_SETCURSEL:
        case LB_GETTOPINDEX:
        case LB_SETTOPINDEX:
        case LB_GETTEXT:
        case LB_GETTEXTLEN:
            return OnListMessage(hwnd, s, message, wParam, lParam);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnListMouse(hwnd, s, message, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            s.dragging = false;
            return 0;
        case WM_KEYDOWN:
            OnListKey(hwnd, s, wParam);
            return 0;
        case WM_CHAR:
            if (wParam > ' ' && wParam < 0x100 && !s.items.empty())
                TypeAhead(hwnd, s, char(wParam));
            return 0;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

// The file-type box: a closed drop-down whose arrow, or a click anywhere on it, steps to
// the next type; Up and Down step through them from the keyboard.

void PaintTypeBox(HWND hwnd, TypeState& s, HDC dc, const RECT& r) {
    RECT in = {r.left + BORDER, r.top + BORDER, r.right - BORDER, r.bottom - BORDER};
    RECT button = {in.right - SCROLL_WIDTH, in.top, in.right, in.bottom};
    RECT field = {in.left, in.top, button.left, in.bottom};
    PaintFill(dc, field, GetSysColor(COLOR_WINDOW));
    bool focused = GetFocus() == hwnd;
    HGDIOBJ oldFont = SelectObject(dc, FontOf(hwnd));
    SetBkMode(dc, TRANSPARENT);
    if (s.sel >= 0 && s.sel < int(s.items.size())) {
        RECT mark = {field.left + 1, field.top + 1, field.right - 1, field.bottom - 1};
        if (focused)
            PaintFill(dc, mark, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc,
                     focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT));
        RECT t = {mark.left + 2, mark.top, mark.right, mark.bottom};
        DrawText(dc, s.items[size_t(s.sel)].c_str(), -1, &t,
                 DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (focused)
            PaintFocusRect(dc, mark);
    }
    SelectObject(dc, oldFont);
    PaintButton(dc, button, ButtonLook::Normal, false);
    PaintScrollArrow(dc, button, false, GetSysColor(COLOR_BTNTEXT));
}

void StepType(HWND hwnd, TypeState& s, int delta) {
    int n = int(s.items.size());
    if (n == 0)
        return;
    int next = ((std::max(s.sel, 0) + delta) % n + n) % n;
    if (next == s.sel)
        return;
    s.sel = next;
    InvalidateRect(hwnd, nullptr, FALSE);
    Notify(hwnd, CBN_SELCHANGE);
}

LRESULT TypeBoxProc(HWND hwnd, TypeState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case CB_RESETCONTENT:
            s.items.clear();
            s.sel = -1;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case CB_ADDSTRING:
            s.items.push_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
            InvalidateRect(hwnd, nullptr, FALSE);
            return LRESULT(s.items.size() - 1);
        case CB_GETCOUNT:
            return LRESULT(s.items.size());
        case CB_GETCURSEL:
            return s.sel;
        case CB_SETCURSEL:
            s.sel = wParam < s.items.size() ? int(wParam) : -1;
            InvalidateRect(hwnd, nullptr, FALSE);
            return s.sel < 0 ? CB_ERR : s.sel;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd);
            StepType(hwnd, s, 1);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DOWN || wParam == VK_RIGHT || wParam == VK_F4_KEY)
                StepType(hwnd, s, 1);
            else if (wParam == VK_UP || wParam == VK_LEFT)
                StepType(hwnd, s, -1);
            return 0;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

// Both controls' procedure: their state on the window, painting and the focus, then
// their own messages.
template <typename State, void (*Paint)(HWND, State&, HDC, const RECT&),
          LRESULT (*Own)(HWND, State&, UINT, WPARAM, LPARAM)>
LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    State* state = ClassState<State>(hwnd, message);
    if (state == nullptr || message == WM_NCCREATE)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: {
            // Both are sunken fields.
            PaintScope paint(hwnd);
            if (paint.dc) {
                PaintSunkenEdge(paint.dc, paint.client);
                Paint(hwnd, *state, paint.dc, paint.client);
            }
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        default:
            return Own(hwnd, *state, message, wParam, lParam);
    }
}

}  // namespace

void EnsureFileDialogClasses() {
    RegisterClassOnce(FILE_LIST_CLASS, ControlProc<ListState, PaintList, ListProc>, CS_DBLCLKS);
    RegisterClassOnce(FILE_TYPE_CLASS, ControlProc<TypeState, PaintTypeBox, TypeBoxProc>);
}

}  // namespace platform::filedlg
