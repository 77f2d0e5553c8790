// EDIT: a single-line field with a caret, a selection, the clipboard and digits-only typing.
// The text is UTF-8; the caret, the selection and every edit move by whole characters,
// and positions (EM_GETSEL, EM_SETSEL) are byte offsets that never fall inside one.
#include <algorithm>

#include "platform/controls/control_internal.h"
#include "platform/host/host.h"
#include "platform/user/style_painter.h"

namespace platform::controls {
namespace {

class Edit {
  public:
    explicit Edit(HWND hwnd) : hwnd_(hwnd), s_(*State(hwnd)), text_(Text(hwnd)) {}

    size_t SelStart() const { return std::min(s_.anchor, s_.caret); }
    size_t SelEnd() const { return std::max(s_.anchor, s_.caret); }

    void SetSel(size_t anchor, size_t caret) {
        s_.anchor = utf8::Floor(text_, anchor);
        s_.caret = utf8::Floor(text_, caret);
        ScrollToCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    // Replaces the selection with s (cut to the limit); returns whether the text changed.
    bool Replace(const std::string& s, bool notify) {
        size_t a = SelStart(), b = SelEnd();
        size_t room = s_.limit > text_.size() - (b - a) ? s_.limit - (text_.size() - (b - a)) : 0;
        std::string insert = s.substr(0, utf8::Floor(s, room));
        if (a == b && insert.empty())
            return false;
        text_.replace(a, b - a, insert);
        DefWindowProc(hwnd_, WM_SETTEXT, 0, LPARAM(reinterpret_cast<intptr_t>(text_.c_str())));
        s_.anchor = s_.caret = a + insert.size();
        ScrollToCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
        if (notify)
            Notify(hwnd_, EN_CHANGE);
        return true;
    }

    void MoveCaret(size_t pos, bool extend) {
        pos = utf8::Floor(text_, pos);
        s_.caret = pos;
        if (!extend)
            s_.anchor = pos;
        ScrollToCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    int TextX(size_t index) const {
        if (index == 0)
            return 0;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, ControlFont(hwnd_));
        SIZE sz{0, 0};
        GetTextExtentPoint32(dc, text_.c_str(), int(std::min(index, text_.size())), &sz);
        SelectObject(dc, old);
        DeleteDC(dc);
        return sz.cx;
    }

    // The character boundary nearest to x (client coordinates).
    size_t HitTest(int x) const {
        int tx = x - TextLeft() + s_.scroll;
        if (tx <= 0)
            return 0;
        int prev = 0;
        for (size_t before = 0; before < text_.size();) {
            size_t after = utf8::Next(text_, before);
            int cur = TextX(after);
            if (tx < cur)
                return (tx - prev) * 2 < (cur - prev) ? before : after;
            prev = cur;
            before = after;
        }
        return text_.size();
    }

    // The boundaries either side of the caret.
    size_t Before(size_t at) const { return at > 0 ? utf8::Previous(text_, at) : 0; }
    size_t After(size_t at) const { return at < text_.size() ? utf8::Next(text_, at) : at; }

    int TextLeft() const { return EDIT_BORDER + EDIT_MARGIN; }
    int VisibleWidth() const {
        RECT r;
        GetClientRect(hwnd_, &r);
        return std::max<int>(1, r.right - 2 * (EDIT_BORDER + EDIT_MARGIN));
    }

    void ScrollToCaret() {
        int x = TextX(s_.caret);
        int w = VisibleWidth();
        if (x < s_.scroll) {
            // Show a little of what lies before, as the classic field does.
            s_.scroll = std::max(0, x - w / 4);
        } else if (x >= s_.scroll + w) {
            s_.scroll = x - w + 1;
        }
        int total = TextX(text_.size());
        if (s_.scroll > 0 && total - s_.scroll < w - 1)
            s_.scroll = std::max(0, total - w + 1);
    }

    const std::string& text() const { return text_; }
    ControlState& state() { return s_; }

  private:
    HWND hwnd_;
    ControlState& s_;
    std::string text_;
};

void PaintEdit(HWND hwnd) {
    ControlPaint p(hwnd);
    if (!p.dc)
        return;
    ControlState* s = State(hwnd);
    if (!s)
        return;
    Edit e(hwnd);
    RECT r = p.client;
    DWORD style = Style(hwnd);
    bool enabled = !(style & WS_DISABLED);
    PaintFill(p.dc, r, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    if (style & WS_BORDER)
        PaintSunkenEdge(p.dc, r);
    int inset = EDIT_BORDER;
    RECT inner = {r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
    TEXTMETRIC tm{};
    GetTextMetrics(p.dc, &tm);
    int y = inner.top + std::max<int>(0, (inner.bottom - inner.top - tm.tmHeight) / 2);
    // Draw through a DC clipped to the inside of the border.
    int x0 = e.TextLeft() - s->scroll;
    bool focused = GetFocus() == hwnd;
    size_t a = e.SelStart(), b = e.SelEnd();
    const std::string& t = e.text();
    auto drawRun = [&](size_t from, size_t to, bool selected) {
        if (from >= to)
            return;
        int left = x0 + e.TextX(from), right = x0 + e.TextX(to);
        RECT box = {std::max<LONG>(left, inner.left), y, std::min<LONG>(right, inner.right),
                    y + tm.tmHeight};
        if (box.right <= box.left)
            return;
        if (selected) {
            PaintFill(p.dc, box, GetSysColor(COLOR_HIGHLIGHT));
        }
        SetTextColor(p.dc, GetSysColor(selected  ? COLOR_HIGHLIGHTTEXT
                                       : enabled ? COLOR_WINDOWTEXT
                                                 : COLOR_GRAYTEXT));
        RECT clip = {std::max<LONG>(left, inner.left), y, std::min<LONG>(right, inner.right),
                     y + tm.tmHeight};
        // DrawText clips to its box; the box starts where the run starts.
        RECT textBox = {left, y, right, y + tm.tmHeight};
        if (left >= inner.left && right <= inner.right) {
            DrawText(p.dc, t.c_str() + from, int(to - from), &textBox,
                     DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        } else {
            // Partly scrolled out: draw character by character inside the field.
            for (size_t i = from, next; i < to; i = next) {
                next = utf8::Next(t, i);
                int cl = x0 + e.TextX(i), cr = x0 + e.TextX(next);
                if (cl < clip.left || cr > clip.right)
                    continue;
                RECT cb = {cl, y, cr, y + tm.tmHeight};
                DrawText(p.dc, t.c_str() + i, int(next - i), &cb,
                         DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
            }
        }
    };
    bool showSel = focused && a != b;
    drawRun(0, showSel ? a : t.size(), false);
    if (showSel) {
        drawRun(a, b, true);
        drawRun(b, t.size(), false);
    }
    if (focused) {
        int cx = x0 + e.TextX(s->caret);
        if (cx >= inner.left && cx < inner.right) {
            RECT caret = {cx, y, cx + 1, y + tm.tmHeight};
            PaintFill(p.dc, caret, GetSysColor(COLOR_WINDOWTEXT));
        }
    }
}

bool CtrlHeld() {
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}
bool ShiftHeld() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

void CopySelection(Edit& e) {
    size_t a = e.SelStart(), b = e.SelEnd();
    if (a == b)
        return;
    CurrentHost().SetClipboardText(e.text().substr(a, b - a));
}

void Paste(Edit& e) {
    std::string s = CurrentHost().GetClipboardText();
    // One line only: a single-line field keeps what comes before the first break.
    size_t br = s.find_first_of("\r\n");
    if (br != std::string::npos)
        s.resize(br);
    e.Replace(s, true);
}

void CutSelection(Edit& e) {
    CopySelection(e);
    e.Replace("", true);
}

// Left or Right: a selection closes up to that side; otherwise the caret moves a letter,
// extending the selection with Shift.
void Step(Edit& e, bool right, bool shift) {
    if (!shift && e.SelStart() != e.SelEnd()) {
        e.MoveCaret(right ? e.SelEnd() : e.SelStart(), false);
        return;
    }
    size_t caret = e.state().caret;
    e.MoveCaret(right ? e.After(caret) : e.Before(caret), shift);
}

// Arrows, Home, End, Delete and the clipboard keys.
void OnKeyDown(HWND hwnd, WPARAM key, bool readOnly) {
    Edit e(hwnd);
    bool shift = ShiftHeld(), ctrl = CtrlHeld();
    size_t caret = e.state().caret;
    bool selection = e.SelStart() != e.SelEnd();
    switch (key) {
        case VK_LEFT:
        case VK_RIGHT:
            Step(e, key == VK_RIGHT, shift);
            return;
        case VK_HOME:
            e.MoveCaret(0, shift);
            return;
        case VK_END:
            e.MoveCaret(e.text().size(), shift);
            return;
        case VK_DELETE:
            if (readOnly)
                return;
            if (shift) {
                CutSelection(e);
                return;
            }
            if (!selection) {
                if (caret >= e.text().size())
                    return;
                e.SetSel(caret, e.After(caret));
            }
            e.Replace("", true);
            return;
        case VK_INSERT:
            if (ctrl)
                CopySelection(e);
            else if (shift && !readOnly)
                Paste(e);
            return;
        default:
            break;
    }
    if (!ctrl)
        return;
    if (key == 'C')
        CopySelection(e);
    else if (key == 'X' && !readOnly)
        CutSelection(e);
    else if (key == 'V' && !readOnly)
        Paste(e);
}

// A typed character: Backspace, or one character given by its code point (digits only
// with ES_NUMBER).
void OnChar(HWND hwnd, unsigned ch, DWORD style) {
    if (style & ES_READONLY)
        return;
    Edit e(hwnd);
    if (ch == VK_BACK) {
        if (e.SelStart() == e.SelEnd()) {
            size_t caret = e.state().caret;
            if (caret == 0)
                return;
            e.SetSel(e.Before(caret), caret);
        }
        e.Replace("", true);
        return;
    }
    // Control characters (Ctrl+letter, Tab, Enter) type nothing.
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0))
        return;
    if ((style & ES_NUMBER) && (ch < '0' || ch > '9')) {
        MessageBeep(0);
        return;
    }
    std::string typed;
    utf8::Append(typed, ch);
    e.Replace(typed, true);
}

// A press places the caret (Shift extends the selection) and drags select.
void OnMouse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ControlState* s = State(hwnd);
    if (message == WM_LBUTTONDOWN) {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        Edit e(hwnd);
        e.MoveCaret(e.HitTest(GET_X_LPARAM(lParam)), (wParam & MK_SHIFT) != 0);
        State(hwnd)->selecting = true;
        SetCapture(hwnd);
    } else if (message == WM_MOUSEMOVE) {
        if (!s->selecting || GetCapture() != hwnd)
            return;
        Edit e(hwnd);
        e.MoveCaret(e.HitTest(GET_X_LPARAM(lParam)), true);
    } else if (s->selecting) {
        s->selecting = false;
        if (GetCapture() == hwnd)
            ReleaseCapture();
    }
}

// EM_GETSEL, EM_SETSEL, EM_REPLACESEL and EM_LIMITTEXT.
LRESULT OnSelectionMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Edit e(hwnd);
    switch (message) {
        case EM_GETSEL:
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = DWORD(e.SelStart());
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = DWORD(e.SelEnd());
            return LRESULT(MAKELPARAM(int(e.SelStart()), int(e.SelEnd())));
        case EM_SETSEL: {
            intptr_t start = intptr_t(wParam), end = lParam;
            size_t n = e.text().size();
            if (int32_t(start) == -1) {
                // -1 removes the selection, leaving the caret where it is.
                e.SetSel(e.state().caret, e.state().caret);
                return 0;
            }
            auto clampPos = [n](intptr_t v) {
                return int32_t(v) < 0 ? n : std::min<size_t>(size_t(uint32_t(v)), n);
            };
            e.SetSel(clampPos(start), clampPos(end));
            return 0;
        }
        case EM_REPLACESEL: {
            LPCSTR s = reinterpret_cast<LPCSTR>(lParam);
            e.Replace(s ? s : "", true);
            return 0;
        }
        default:  // EM_LIMITTEXT
            e.state().limit = wParam ? size_t(wParam) : 0x7FFFFFFE;
            return 0;
    }
}

// WM_COPY, WM_CUT, WM_CLEAR and WM_PASTE; a read-only field only copies.
void OnClipboardMessage(HWND hwnd, UINT message, bool readOnly) {
    Edit e(hwnd);
    if (message == WM_COPY)
        CopySelection(e);
    else if (readOnly)
        return;
    else if (message == WM_CUT)
        CutSelection(e);
    else if (message == WM_CLEAR)
        e.Replace("", true);
    else
        Paste(e);
}

LRESULT OnSetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    LRESULT res = DefWindowProc(hwnd, WM_SETTEXT, wParam, lParam);
    ControlState* s = State(hwnd);
    s->anchor = s->caret = 0;
    s->scroll = 0;
    InvalidateRect(hwnd, nullptr, TRUE);
    Notify(hwnd, EN_CHANGE);
    return res;
}

}  // namespace

LRESULT EditProc(HWND hwnd, ControlState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD style = Style(hwnd);
    switch (message) {
        case WM_PAINT:
            PaintEdit(hwnd);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_SETTEXT:
            return OnSetText(hwnd, wParam, lParam);
        case WM_SETFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            Notify(hwnd, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s.selecting = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            Notify(hwnd, EN_KILLFOCUS);
            return 0;
        case EM_GETSEL:
        case EM_SETSEL:
        case EM_REPLACESEL:
        case EM_LIMITTEXT:
            return OnSelectionMessage(hwnd, message, wParam, lParam);
        case WM_COPY:
        case WM_CUT:
        case WM_CLEAR:
        case WM_PASTE:
            OnClipboardMessage(hwnd, message, (style & ES_READONLY) != 0);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnMouse(hwnd, message, wParam, lParam);
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(hwnd, wParam, (style & ES_READONLY) != 0);
            return 0;
        case WM_CHAR:
            OnChar(hwnd, unsigned(wParam), style);
            return 0;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace platform::controls
