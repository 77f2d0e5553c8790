// The standard controls: static text and icons, single-line edit fields, push buttons
// and group boxes.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/controls/controls.h"
#include "platform/gdi/gdi.h"
#include "platform/host/host.h"
#include "platform/user/style_painter.h"

namespace platform {
namespace {

std::string Latin1ToUtf8(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Utf8ToLatin1(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out += '?';
            ++i;
            continue;
        }
        if (i + len > s.size()) {
            out += '?';
            break;
        }
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                ok = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        out += ok && cp <= 0xFF ? char(cp) : '?';
        i += ok ? len : 1;
    }
    return out;
}

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

// Common handling: per-window state, the font, and default processing.
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

struct PaintScope {
    HWND hwnd;
    PAINTSTRUCT ps;
    HDC dc;
    HGDIOBJ oldFont = nullptr;
    RECT client;
    explicit PaintScope(HWND h) : hwnd(h) {
        dc = BeginPaint(h, &ps);
        GetClientRect(h, &client);
        if (dc) {
            oldFont = SelectObject(dc, ControlFont(h));
            SetBkMode(dc, TRANSPARENT);
        }
    }
    ~PaintScope() {
        if (dc)
            SelectObject(dc, oldFont);
        EndPaint(hwnd, &ps);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
};

// STATIC ------------------------------------------------------------------------------------

void PaintStatic(HWND hwnd) {
    PaintScope p(hwnd);
    if (!p.dc)
        return;
    PaintFace(p.dc, p.client);
    DWORD style = Style(hwnd);
    ControlState* s = State(hwnd);
    if ((style & SS_TYPEMASK) == SS_ICON) {
        if (s && s->icon)
            if (const HostImage* image = IconImage(s->icon))
                PaintImage(p.dc, 0, 0, image->width, image->height, image->argb.data());
        return;
    }
    UINT format = DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
        case SS_CENTER:
            format |= DT_CENTER;
            break;
        case SS_RIGHT:
            format |= DT_RIGHT;
            break;
        default:
            format |= DT_LEFT;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    SetTextColor(p.dc, GetSysColor((style & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    std::string text = Text(hwnd);
    RECT r = p.client;
    DrawText(p.dc, text.c_str(), int(text.size()), &r, format);
}

LRESULT CALLBACK_StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled;
    LRESULT r = CommonProc(hwnd, message, wParam, lParam, &handled);
    if (handled)
        return r;
    switch (message) {
        case WM_CREATE: {
            ControlState* s = State(hwnd);
            if (s && (Style(hwnd) & SS_TYPEMASK) == SS_ICON) {
                // The text names the icon: a number is a resource id.
                std::string name = Text(hwnd);
                char* end = nullptr;
                long id = std::strtol(name.c_str(), &end, 10);
                bool numeric = !name.empty() && end && *end == 0;
                s->icon = numeric ? LoadIcon(s->instance, MAKEINTRESOURCE(uintptr_t(id)))
                                  : LoadIcon(s->instance, name.c_str());
                // An icon control takes the icon's size.
                if (const HostImage* image = IconImage(s->icon)) {
                    RECT wr;
                    GetWindowRect(hwnd, &wr);
                    POINT tl = {wr.left, wr.top};
                    ScreenToClient(GetParent(hwnd), &tl);
                    MoveWindow(hwnd, tl.x, tl.y, image->width, image->height, FALSE);
                }
            }
            return 0;
        }
        case WM_PAINT:
            PaintStatic(hwnd);
            return 0;
        case WM_SETTEXT: {
            LRESULT res = DefWindowProc(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return res;
        }
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

// EDIT --------------------------------------------------------------------------------------

class Edit {
  public:
    explicit Edit(HWND hwnd) : hwnd_(hwnd), s_(*State(hwnd)), text_(Text(hwnd)) {}

    size_t SelStart() const { return std::min(s_.anchor, s_.caret); }
    size_t SelEnd() const { return std::max(s_.anchor, s_.caret); }

    void SetSel(size_t anchor, size_t caret) {
        s_.anchor = std::min(anchor, text_.size());
        s_.caret = std::min(caret, text_.size());
        ScrollToCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }

    // Replaces the selection with s (cut to the limit); returns whether the text changed.
    bool Replace(const std::string& s, bool notify) {
        size_t a = SelStart(), b = SelEnd();
        size_t room = s_.limit > text_.size() - (b - a) ? s_.limit - (text_.size() - (b - a)) : 0;
        std::string insert = s.substr(0, std::min(s.size(), room));
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
        pos = std::min(pos, text_.size());
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
        for (size_t i = 1; i <= text_.size(); ++i) {
            int cur = TextX(i);
            if (tx < cur)
                return (tx - prev) * 2 < (cur - prev) ? i - 1 : i;
            prev = cur;
        }
        return text_.size();
    }

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
    PaintScope p(hwnd);
    if (!p.dc)
        return;
    ControlState* s = State(hwnd);
    if (!s)
        return;
    Edit e(hwnd);
    RECT r = p.client;
    DWORD style = Style(hwnd);
    bool enabled = !(style & WS_DISABLED);
    HBRUSH back = CreateSolidBrush(GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    FillRect(p.dc, &r, back);
    DeleteObject(back);
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
            HBRUSH hl = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
            FillRect(p.dc, &box, hl);
            DeleteObject(hl);
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
            for (size_t i = from; i < to; ++i) {
                int cl = x0 + e.TextX(i), cr = x0 + e.TextX(i + 1);
                if (cl < clip.left || cr > clip.right)
                    continue;
                RECT cb = {cl, y, cr, y + tm.tmHeight};
                DrawText(p.dc, t.c_str() + i, 1, &cb,
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
            HBRUSH black = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
            FillRect(p.dc, &caret, black);
            DeleteObject(black);
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
    CurrentHost().SetClipboardText(Latin1ToUtf8(e.text().substr(a, b - a)));
}

void Paste(Edit& e) {
    std::string s = Utf8ToLatin1(CurrentHost().GetClipboardText());
    // One line only: a single-line field keeps what comes before the first break.
    size_t br = s.find_first_of("\r\n");
    if (br != std::string::npos)
        s.resize(br);
    e.Replace(s, true);
}

LRESULT CALLBACK_EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled;
    LRESULT r = CommonProc(hwnd, message, wParam, lParam, &handled);
    if (handled)
        return r;
    if (!State(hwnd))
        return DefWindowProc(hwnd, message, wParam, lParam);
    DWORD style = Style(hwnd);
    bool readOnly = (style & ES_READONLY) != 0;
    switch (message) {
        case WM_PAINT:
            PaintEdit(hwnd);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_SETTEXT: {
            LRESULT res = DefWindowProc(hwnd, message, wParam, lParam);
            ControlState* s = State(hwnd);
            s->anchor = s->caret = 0;
            s->scroll = 0;
            InvalidateRect(hwnd, nullptr, TRUE);
            Notify(hwnd, EN_CHANGE);
            return res;
        }
        case WM_SETFOCUS:
            InvalidateRect(hwnd, nullptr, FALSE);
            Notify(hwnd, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS: {
            ControlState* s = State(hwnd);
            s->selecting = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            Notify(hwnd, EN_KILLFOCUS);
            return 0;
        }
        case EM_GETSEL: {
            Edit e(hwnd);
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = DWORD(e.SelStart());
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = DWORD(e.SelEnd());
            return LRESULT(MAKELPARAM(int(e.SelStart()), int(e.SelEnd())));
        }
        case EM_SETSEL: {
            Edit e(hwnd);
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
            Edit e(hwnd);
            LPCSTR s = reinterpret_cast<LPCSTR>(lParam);
            e.Replace(s ? s : "", true);
            return 0;
        }
        case EM_LIMITTEXT: {
            ControlState* s = State(hwnd);
            s->limit = wParam ? size_t(wParam) : 0x7FFFFFFE;
            return 0;
        }
        case WM_COPY: {
            Edit e(hwnd);
            CopySelection(e);
            return 0;
        }
        case WM_CUT: {
            if (readOnly)
                return 0;
            Edit e(hwnd);
            CopySelection(e);
            e.Replace("", true);
            return 0;
        }
        case WM_CLEAR: {
            if (readOnly)
                return 0;
            Edit e(hwnd);
            e.Replace("", true);
            return 0;
        }
        case WM_PASTE: {
            if (readOnly)
                return 0;
            Edit e(hwnd);
            Paste(e);
            return 0;
        }
        case WM_LBUTTONDOWN: {
            if (GetFocus() != hwnd)
                SetFocus(hwnd);
            Edit e(hwnd);
            size_t pos = e.HitTest(GET_X_LPARAM(lParam));
            e.MoveCaret(pos, (wParam & MK_SHIFT) != 0);
            State(hwnd)->selecting = true;
            SetCapture(hwnd);
            return 0;
        }
        case WM_MOUSEMOVE: {
            ControlState* s = State(hwnd);
            if (!s->selecting || GetCapture() != hwnd)
                return 0;
            Edit e(hwnd);
            e.MoveCaret(e.HitTest(GET_X_LPARAM(lParam)), true);
            return 0;
        }
        case WM_LBUTTONUP:
            if (State(hwnd)->selecting) {
                State(hwnd)->selecting = false;
                if (GetCapture() == hwnd)
                    ReleaseCapture();
            }
            return 0;
        case WM_KEYDOWN: {
            Edit e(hwnd);
            bool shift = ShiftHeld(), ctrl = CtrlHeld();
            size_t caret = e.state().caret;
            switch (wParam) {
                case VK_LEFT:
                    if (!shift && e.SelStart() != e.SelEnd())
                        e.MoveCaret(e.SelStart(), false);
                    else
                        e.MoveCaret(caret > 0 ? caret - 1 : 0, shift);
                    return 0;
                case VK_RIGHT:
                    if (!shift && e.SelStart() != e.SelEnd())
                        e.MoveCaret(e.SelEnd(), false);
                    else
                        e.MoveCaret(caret + 1, shift);
                    return 0;
                case VK_HOME:
                    e.MoveCaret(0, shift);
                    return 0;
                case VK_END:
                    e.MoveCaret(e.text().size(), shift);
                    return 0;
                case VK_DELETE:
                    if (readOnly)
                        return 0;
                    if (shift) {
                        CopySelection(e);
                        e.Replace("", true);
                        return 0;
                    }
                    if (e.SelStart() == e.SelEnd()) {
                        if (caret >= e.text().size())
                            return 0;
                        e.SetSel(caret, caret + 1);
                    }
                    e.Replace("", true);
                    return 0;
                case VK_INSERT:
                    if (ctrl)
                        CopySelection(e);
                    else if (shift && !readOnly)
                        Paste(e);
                    return 0;
                default:
                    break;
            }
            if (ctrl) {
                switch (wParam) {
                    case 'C':
                        CopySelection(e);
                        return 0;
                    case 'X':
                        if (!readOnly) {
                            CopySelection(e);
                            e.Replace("", true);
                        }
                        return 0;
                    case 'V':
                        if (!readOnly)
                            Paste(e);
                        return 0;
                    default:
                        break;
                }
            }
            return 0;
        }
        case WM_CHAR: {
            unsigned ch = unsigned(wParam);
            if (readOnly)
                return 0;
            Edit e(hwnd);
            if (ch == VK_BACK) {
                if (e.SelStart() == e.SelEnd()) {
                    size_t caret = e.state().caret;
                    if (caret == 0)
                        return 0;
                    e.SetSel(caret - 1, caret);
                }
                e.Replace("", true);
                return 0;
            }
            // Control characters (Ctrl+letter, Tab, Enter) type nothing.
            if (ch < 0x20 || ch == 0x7F || ch > 0xFF)
                return 0;
            if ((style & ES_NUMBER) && (ch < '0' || ch > '9')) {
                MessageBeep(0);
                return 0;
            }
            e.Replace(std::string(1, char(ch)), true);
            return 0;
        }
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

// BUTTON ------------------------------------------------------------------------------------

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
    PaintScope p(hwnd);
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
    PaintScope p(hwnd);
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

LRESULT CALLBACK_ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled;
    LRESULT r = CommonProc(hwnd, message, wParam, lParam, &handled);
    if (handled)
        return r;
    ControlState* s = State(hwnd);
    if (!s)
        return DefWindowProc(hwnd, message, wParam, lParam);
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
                s->spaceDown = false;
                if (!s->tracking)
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
            return (s->pressed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0);
        case BM_SETSTATE:
            SetPressed(hwnd, wParam != 0);
            return 0;
        case BM_CLICK:
            if (!group && IsWindowEnabled(hwnd))
                Click(hwnd);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (group)
                return 0;
            if (GetFocus() != hwnd)
                SetFocus(hwnd);
            s = State(hwnd);
            if (!s)
                return 0;
            s->tracking = true;
            SetCapture(hwnd);
            SetPressed(hwnd, true);
            return 0;
        case WM_MOUSEMOVE:
            if (s->tracking && GetCapture() == hwnd) {
                RECT c;
                GetClientRect(hwnd, &c);
                POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                SetPressed(hwnd,
                           pt.x >= c.left && pt.x < c.right && pt.y >= c.top && pt.y < c.bottom);
            }
            return 0;
        case WM_LBUTTONUP: {
            if (!s->tracking)
                return 0;
            s->tracking = false;
            bool inside = s->pressed;
            SetPressed(hwnd, false);
            if (GetCapture() == hwnd)
                ReleaseCapture();
            if (inside)
                Click(hwnd);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (s->tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
                s->tracking = false;
                SetPressed(hwnd, false);
            }
            return 0;
        case WM_KEYDOWN:
            if (!group && wParam == VK_SPACE && !s->tracking) {
                s->spaceDown = true;
                SetPressed(hwnd, true);
            }
            return 0;
        case WM_KEYUP:
            if (!group && wParam == VK_SPACE && s->spaceDown) {
                s->spaceDown = false;
                SetPressed(hwnd, false);
                Click(hwnd);
            }
            return 0;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

void Register(const char* name, WNDPROC proc) {
    WNDCLASS existing;
    if (GetClassInfo(nullptr, name, &existing))
        return;
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClass(&wc);
}

}  // namespace

HFONT ControlFont(HWND control) {
    HFONT f = reinterpret_cast<HFONT>(SendMessage(control, WM_GETFONT, 0, 0));
    return f ? f : DialogFont(8, "MS Sans Serif");
}

void EnsureControlClasses() {
    Register("STATIC", CALLBACK_StaticProc);
    Register("EDIT", CALLBACK_EditProc);
    Register("BUTTON", CALLBACK_ButtonProc);
}

}  // namespace platform
