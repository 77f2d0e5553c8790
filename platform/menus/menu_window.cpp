// The menus' look and their windows: layout in the chrome font, items in the classic look,
// one window (class "#32768") for each open level, and the hidden window that holds the
// capture.
#include <algorithm>
#include <cctype>

#include "platform/gdi/gdi.h"
#include "platform/menus/menu_internal.h"
#include "platform/user/style_painter.h"

namespace platform::menus {
namespace {

constexpr const char* MENU_CLASS = "#32768";

// What a menu window shows: a level of the menu being tracked, or nothing (the window
// that holds the capture).
struct MenuWindowState : WindowExtra {
    const Tracker* tracker = nullptr;
    size_t depth = 0;
};

struct Metrics {
    LONG itemHeight = 17;
};

Metrics MeasureFont(HDC dc) {
    TEXTMETRIC tm{};
    Metrics m;
    if (GetTextMetrics(dc, &tm)) {
        m.itemHeight = std::max<LONG>(tm.tmHeight + 4, 12);
    }
    return m;
}

LONG TextWidth(HDC dc, const std::string& text) {
    if (text.empty()) {
        return 0;
    }
    SIZE size{0, 0};
    GetTextExtentPoint32(dc, text.c_str(), int(text.size()), &size);
    return size.cx;
}

}  // namespace

// The menu's size and its items' places relative to its top-left.
SIZE Layout(HMENU menu, std::vector<RECT>& items) {
    items.clear();
    MenuObject* m = FindMenu(menu);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, ChromeFont());
    Metrics metrics = MeasureFont(dc);
    LONG labelWidth = 0, accelWidth = 0;
    if (m != nullptr) {
        for (const MenuItem& i : m->items) {
            if (i.flags & MF_SEPARATOR) {
                continue;
            }
            labelWidth = std::max(labelWidth, TextWidth(dc, WithoutPrefixes(Label(i.text))));
            accelWidth = std::max(accelWidth, TextWidth(dc, WithoutPrefixes(Accelerator(i.text))));
        }
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    LONG inner =
        CHECK_COLUMN + labelWidth + (accelWidth ? ACCEL_GAP + accelWidth : 0) + ARROW_COLUMN;
    LONG y = FRAME;
    if (m != nullptr) {
        for (const MenuItem& i : m->items) {
            LONG h = (i.flags & MF_SEPARATOR) ? SEPARATOR_HEIGHT : metrics.itemHeight;
            items.push_back({FRAME, y, FRAME + inner, y + h});
            y += h;
        }
    }
    return {inner + 2 * FRAME, y + FRAME};
}

namespace {

void DrawLabel(HDC dc, const std::string& text, RECT r, UINT align, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawText(dc, text.c_str(), int(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE);
}

void DrawItem(HDC dc, const MenuItem& item, const RECT& r, bool selected) {
    if (item.flags & MF_SEPARATOR) {
        PaintSeparator(dc, r);
        return;
    }
    bool grayed = (item.flags & MF_GRAYED) != 0;
    COLORREF text = GetSysColor(COLOR_MENUTEXT);
    if (selected) {
        PaintFill(dc, r, GetSysColor(COLOR_HIGHLIGHT));
        text = GetSysColor(grayed ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT);
    }
    RECT label = {r.left + CHECK_COLUMN, r.top, r.right - ARROW_COLUMN, r.bottom};
    // A greyed item is embossed: a white copy one pixel down and right, grey on top.
    auto draw = [&](LONG dx, COLORREF colour) {
        RECT l = {label.left + dx, label.top + dx, label.right + dx, label.bottom + dx};
        DrawLabel(dc, Label(item.text), l, DT_LEFT, colour);
        std::string accel = Accelerator(item.text);
        if (!accel.empty()) {
            DrawLabel(dc, accel, l, DT_RIGHT, colour);
        }
        if (item.flags & MF_CHECKED) {
            PaintCheckMark(dc, {r.left + dx, r.top + dx, r.left + CHECK_COLUMN + dx, r.bottom + dx},
                           colour);
        }
        if (item.flags & MF_POPUP) {
            PaintSubmenuArrow(
                dc, {r.right - ARROW_COLUMN + dx, r.top + dx, r.right + dx, r.bottom + dx}, colour);
        }
    };
    if (grayed && !selected) {
        draw(1, GetSysColor(COLOR_3DHILIGHT));
        draw(0, GetSysColor(COLOR_GRAYTEXT));
    } else {
        draw(0, text);
    }
}

// Paints the level with its corner at the DC's origin.
void DrawLevel(HDC dc, const Level& screenLevel) {
    Level level = screenLevel;
    const LONG dx = -level.rect.left, dy = -level.rect.top;
    auto move = [dx, dy](RECT& r) { r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; };
    move(level.rect);
    for (RECT& r : level.items) {
        move(r);
    }
    MenuObject* m = FindMenu(level.menu);
    PaintFace(dc, level.rect);
    PaintRaisedEdge(dc, level.rect);
    if (m == nullptr) {
        return;
    }
    for (size_t i = 0; i < m->items.size() && i < level.items.size(); ++i) {
        DrawItem(dc, m->items[i], level.items[i], int(i) == level.selected);
    }
}

void PaintMenuWindow(HWND hwnd) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    const MenuWindowState* s = WindowExtraOf<MenuWindowState>(hwnd);
    if (dc && s && s->depth < s->tracker->levels.size()) {
        HGDIOBJ oldFont = SelectObject(dc, ChromeFont());
        SetBkMode(dc, TRANSPARENT);
        DrawLevel(dc, s->tracker->levels[s->depth]);
        SelectObject(dc, oldFont);
    }
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PaintMenuWindow(hwnd);
        return 0;
    }
    if (message == WM_ERASEBKGND) {
        return 1;
    }
    if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == hwnd) {
            ReleaseCapture();
            PostMessage(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

bool EnsureMenuClass() {
    return RegisterClassOnce(MENU_CLASS, MenuWindowProc, 0, false);
}

}  // namespace

// The text before and after a tab, and without its '&' markers for measuring.
std::string Label(const std::string& text) {
    return text.substr(0, text.find('\t'));
}

std::string Accelerator(const std::string& text) {
    size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

std::string WithoutPrefixes(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (++i >= text.size()) {
                break;
            }
        }
        out += text[i];
    }
    return out;
}

// The mnemonic letter of an item, lower case, or 0.
char Mnemonic(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] != '&') {
                return char(std::tolower(static_cast<unsigned char>(text[i + 1])));
            }
            ++i;
        }
    }
    return 0;
}

HWND CreateLevelWindow(const Tracker& t, size_t depth) {
    if (!EnsureMenuClass()) {
        return nullptr;
    }
    const RECT& r = t.levels[depth].rect;
    HWND hwnd = CreateWindowEx(0, MENU_CLASS, "", WS_POPUP, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, t.owner, nullptr, nullptr, nullptr);
    auto state = std::make_unique<MenuWindowState>();
    state->tracker = &t;
    state->depth = depth;
    SetWindowExtra(hwnd, std::move(state));
    return hwnd;
}

HWND CreateCaptureWindow(HWND owner) {
    if (!EnsureMenuClass()) {
        return nullptr;
    }
    return CreateWindowEx(0, MENU_CLASS, "", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                          GetSystemMetrics(SM_CYSCREEN), owner, nullptr, nullptr, nullptr);
}

}  // namespace platform::menus
