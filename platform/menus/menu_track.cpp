// TrackPopupMenu: the menu's own modal loop, its layout and drawing on the GDI page.
//
// The levels are composited over a copy of the page as it was without them, so that a
// closing sub-menu uncovers exactly what was there. Whatever the other windows draw
// while the menu is open (their WM_PAINT, timers) goes into that copy, and the menus are
// drawn again on top.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_target.h"
#include "platform/host/screen.h"
#include "platform/menus/menu.h"
#include "platform/menus/menu_store.h"
#include "platform/user/style_painter.h"
#include "platform/user/user.h"

namespace platform {
namespace {

constexpr LONG FRAME = 3;          // raised edge and one pixel of face
constexpr LONG CHECK_COLUMN = 18;  // left of the text: the check mark
constexpr LONG ARROW_COLUMN = 17;  // right of the text: the sub-menu arrow
constexpr LONG ACCEL_GAP = 12;     // between the text and its "\t" accelerator text
constexpr LONG SEPARATOR_HEIGHT = 9;
constexpr const char* MENU_CLASS = "#32768";

struct Level {
    HMENU menu = nullptr;
    RECT rect = {0, 0, 0, 0};  // screen
    std::vector<RECT> items;   // screen
    int selected = -1;
};

struct Tracker {
    UINT flags = 0;
    HWND owner = nullptr;
    HWND window = nullptr;
    std::vector<Level> levels;
    bool done = false;
    UINT chosen = 0;
    RECT covered = {0, 0, 0, 0};
    std::vector<RECT> drawnRects;  // what the last composite covered
    std::vector<uint8_t> background;
    std::vector<uint8_t> shown;
    std::set<UINT> keysPressed;
    uint32_t buttonsPressed = 0;
};

Tracker* g_tracker = nullptr;
std::function<void()> g_idleHook;

// Key releases still to come for presses the menu consumed, and the window they would
// reach: its procedure is wrapped until they have arrived.
struct Swallow {
    HWND hwnd = nullptr;
    WNDPROC original = nullptr;
    std::set<UINT> keys;
};
Swallow g_swallow;

bool Empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT Union(const RECT& a, const RECT& b) {
    if (Empty(a)) {
        return b;
    }
    if (Empty(b)) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

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

// Page pixels ---------------------------------------------------------------------------

int BytesPerPixel(const PixelTarget& page) {
    return page.format == PixelFormat::XRGB8888 ? 4 : 2;
}

void CopyPage(std::vector<uint8_t>& out) {
    PixelTarget page = GdiPage();
    size_t row = size_t(page.width) * size_t(BytesPerPixel(page));
    out.resize(row * size_t(page.height));
    for (int32_t y = 0; y < page.height; ++y) {
        std::memcpy(out.data() + row * size_t(y), page.pixels + ptrdiff_t(y) * page.pitch, row);
    }
}

void RestoreRect(const std::vector<uint8_t>& from, const RECT& r) {
    PixelTarget page = GdiPage();
    int bpp = BytesPerPixel(page);
    size_t row = size_t(page.width) * size_t(bpp);
    LONG left = std::max<LONG>(r.left, 0), right = std::min<LONG>(r.right, page.width);
    LONG top = std::max<LONG>(r.top, 0), bottom = std::min<LONG>(r.bottom, page.height);
    if (right <= left || from.size() < row * size_t(page.height)) {
        return;
    }
    for (LONG y = top; y < bottom; ++y) {
        std::memcpy(page.pixels + ptrdiff_t(y) * page.pitch + left * bpp,
                    from.data() + row * size_t(y) + size_t(left * bpp), size_t(right - left) * bpp);
    }
    MarkGdiPageChanged();
}

// Takes what others drew over the page since the last composite into the background.
bool AbsorbForeignDrawing(Tracker& t) {
    PixelTarget page = GdiPage();
    int bpp = BytesPerPixel(page);
    size_t row = size_t(page.width) * size_t(bpp);
    if (t.shown.size() != row * size_t(page.height) || t.background.size() != t.shown.size()) {
        return false;
    }
    bool changed = false;
    for (int32_t y = 0; y < page.height; ++y) {
        const uint8_t* now = page.pixels + ptrdiff_t(y) * page.pitch;
        uint8_t* was = t.shown.data() + row * size_t(y);
        if (std::memcmp(now, was, row) == 0) {
            continue;
        }
        uint8_t* bg = t.background.data() + row * size_t(y);
        for (size_t x = 0; x < row; x += size_t(bpp)) {
            if (std::memcmp(now + x, was + x, size_t(bpp)) != 0) {
                std::memcpy(bg + x, now + x, size_t(bpp));
                changed = true;
            }
        }
    }
    return changed;
}

// Layout and drawing --------------------------------------------------------------------

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

// The menu's size and its items' places relative to its top-left.
SIZE Layout(HMENU menu, std::vector<RECT>& items) {
    items.clear();
    MenuObject* m = FindMenu(menu);
    HDC dc = CreateScreenDC();
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
    DeleteScreenDC(dc);
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
        HBRUSH bar = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
        FillRect(dc, &r, bar);
        DeleteObject(bar);
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

void DrawLevel(HDC dc, const Level& level) {
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

// Puts the background back where menus were, then draws the open levels over it.
void Composite(Tracker& t) {
    for (const RECT& r : t.drawnRects) {
        RestoreRect(t.background, r);
    }
    t.drawnRects.clear();
    HDC dc = CreateScreenDC();
    HGDIOBJ oldFont = SelectObject(dc, ChromeFont());
    SetBkMode(dc, TRANSPARENT);
    for (const Level& level : t.levels) {
        DrawLevel(dc, level);
        t.drawnRects.push_back(level.rect);
    }
    SelectObject(dc, oldFont);
    DeleteScreenDC(dc);
    MarkGdiPageChanged();
    CopyPage(t.shown);
}

// Opening and closing levels -----------------------------------------------------------

void Notify(Tracker& t, HMENU menu, int position) {
    if (t.flags & TPM_NONOTIFY) {
        return;
    }
    SendMessage(t.owner, WM_INITMENUPOPUP, WPARAM(reinterpret_cast<uintptr_t>(menu)),
                MAKELPARAM(position, 0));
}

// The first level at (x, y) as the flags align it, or beside the item that opens it;
// kept on the screen either way.
void OpenLevel(Tracker& t, HMENU menu, int position, POINT at, const RECT* parentItem) {
    Notify(t, menu, position);
    if (FindMenu(menu) == nullptr || !IsWindow(t.owner)) {
        t.done = true;
        return;
    }
    Level level;
    level.menu = menu;
    SIZE size = Layout(menu, level.items);
    LONG left = at.x, top = at.y;
    if (parentItem == nullptr) {
        if (t.flags & TPM_RIGHTALIGN) {
            left = at.x - size.cx;
        } else if (t.flags & TPM_CENTERALIGN) {
            left = at.x - size.cx / 2;
        }
        if (t.flags & TPM_BOTTOMALIGN) {
            top = at.y - size.cy;
        } else if (t.flags & TPM_VCENTERALIGN) {
            top = at.y - size.cy / 2;
        }
        // Flipped to the other side of the point where it would leave the screen.
        if (left + size.cx > SCREEN_WIDTH) {
            left = at.x - size.cx;
        }
        if (top + size.cy > SCREEN_HEIGHT) {
            top = at.y - size.cy;
        }
    } else {
        left = parentItem->right + FRAME - 1;
        top = parentItem->top - FRAME;
        if (left + size.cx > SCREEN_WIDTH) {
            left = parentItem->left - FRAME + 1 - size.cx;
        }
        if (top + size.cy > SCREEN_HEIGHT) {
            top = SCREEN_HEIGHT - size.cy;
        }
    }
    left = std::max<LONG>(0, std::min<LONG>(left, SCREEN_WIDTH - size.cx));
    top = std::max<LONG>(0, std::min<LONG>(top, SCREEN_HEIGHT - size.cy));
    level.rect = {left, top, left + size.cx, top + size.cy};
    for (RECT& r : level.items) {
        r = {r.left + left, r.top + top, r.right + left, r.bottom + top};
    }
    t.covered = Union(t.covered, level.rect);
    t.levels.push_back(std::move(level));
    Composite(t);
}

MenuItem* SelectedItem(Tracker& t, size_t depth) {
    if (depth >= t.levels.size()) {
        return nullptr;
    }
    Level& level = t.levels[depth];
    MenuObject* m = FindMenu(level.menu);
    if (m == nullptr || level.selected < 0 || size_t(level.selected) >= m->items.size()) {
        return nullptr;
    }
    return &m->items[size_t(level.selected)];
}

void CloseLevelsAfter(Tracker& t, size_t keep) {
    if (t.levels.size() > keep) {
        t.levels.resize(keep);
        Composite(t);
    }
}

// Opens the sub-menu of the selected item of level depth, if it has one and it isn't
// open already.
void OpenSelectedSubmenu(Tracker& t, size_t depth, bool selectFirst);

void Select(Tracker& t, size_t depth, int index) {
    Level& level = t.levels[depth];
    bool changed = level.selected != index;
    level.selected = index;
    if (changed) {
        CloseLevelsAfter(t, depth + 1);
        Composite(t);
    }
}

bool Selectable(const MenuItem& i) {
    return !(i.flags & MF_SEPARATOR);
}

// Moves the selection of the deepest level by step (+1 or -1), skipping separators and
// wrapping; from nothing selected, Down gives the first item and Up the last.
void MoveSelection(Tracker& t, int step) {
    size_t depth = t.levels.size() - 1;
    Level& level = t.levels[depth];
    MenuObject* m = FindMenu(level.menu);
    if (m == nullptr || m->items.empty()) {
        return;
    }
    int n = int(m->items.size());
    int i = level.selected;
    if (i < 0) {
        i = step > 0 ? -1 : n;
    }
    for (int tries = 0; tries < n; ++tries) {
        i = ((i + step) % n + n) % n;
        if (Selectable(m->items[size_t(i)])) {
            Select(t, depth, i);
            return;
        }
    }
}

void SelectEnd(Tracker& t, bool last) {
    size_t depth = t.levels.size() - 1;
    MenuObject* m = FindMenu(t.levels[depth].menu);
    if (m == nullptr) {
        return;
    }
    int n = int(m->items.size());
    for (int k = 0; k < n; ++k) {
        int i = last ? n - 1 - k : k;
        if (Selectable(m->items[size_t(i)])) {
            Select(t, depth, i);
            return;
        }
    }
}

void OpenSelectedSubmenu(Tracker& t, size_t depth, bool selectFirst) {
    MenuItem* item = SelectedItem(t, depth);
    if (item == nullptr || !(item->flags & MF_POPUP) || (item->flags & (MF_GRAYED | MF_DISABLED))) {
        return;
    }
    if (t.levels.size() > depth + 1) {
        return;
    }
    HMENU sub = item->sub;
    RECT itemRect = t.levels[depth].items[size_t(t.levels[depth].selected)];
    OpenLevel(t, sub, t.levels[depth].selected, {itemRect.right, itemRect.top}, &itemRect);
    if (selectFirst && !t.done && t.levels.size() > depth + 1) {
        MoveSelection(t, 1);
    }
}

// Chooses the selected item of the level depth: a command ends the menu, a sub-menu
// opens; greyed and disabled items do nothing.
void Execute(Tracker& t, size_t depth, bool selectFirst) {
    MenuItem* item = SelectedItem(t, depth);
    if (item == nullptr || (item->flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR))) {
        return;
    }
    if (item->flags & MF_POPUP) {
        OpenSelectedSubmenu(t, depth, selectFirst);
        return;
    }
    t.chosen = item->id;
    t.done = true;
}

// Input ----------------------------------------------------------------------------------

// The deepest level under p and its item there (-1 for the frame), or false.
bool HitTest(const Tracker& t, POINT p, size_t& depth, int& index) {
    for (size_t d = t.levels.size(); d-- > 0;) {
        const Level& level = t.levels[d];
        if (!Contains(level.rect, p)) {
            continue;
        }
        depth = d;
        index = -1;
        for (size_t i = 0; i < level.items.size(); ++i) {
            if (Contains(level.items[i], p)) {
                index = int(i);
            }
        }
        return true;
    }
    return false;
}

void HoverAt(Tracker& t, POINT p) {
    size_t depth = 0;
    int index = -1;
    if (!HitTest(t, p, depth, index)) {
        // Off the menus: the deepest level lets go of its selection.
        Level& deepest = t.levels.back();
        if (deepest.selected >= 0) {
            deepest.selected = -1;
            Composite(t);
        }
        return;
    }
    if (index < 0) {
        return;
    }
    MenuObject* m = FindMenu(t.levels[depth].menu);
    if (m == nullptr || !Selectable(m->items[size_t(index)])) {
        return;
    }
    Select(t, depth, index);
    OpenSelectedSubmenu(t, depth, false);
}

UINT ButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            return MK_LBUTTON;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return MK_RBUTTON;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return MK_MBUTTON;
        default:
            return 0;
    }
}

void HandleMouse(Tracker& t, const MSG& msg) {
    POINT p = msg.pt;
    UINT button = ButtonOf(msg.message);
    bool down = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
                msg.message == WM_MBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK ||
                msg.message == WM_RBUTTONDBLCLK || msg.message == WM_MBUTTONDBLCLK;
    if (msg.message == WM_MOUSEMOVE) {
        HoverAt(t, p);
        return;
    }
    if (down) {
        t.buttonsPressed |= button;
        size_t depth = 0;
        int index = -1;
        if (!HitTest(t, p, depth, index)) {
            // A press outside dismisses the menu, and goes no further.
            t.done = true;
            return;
        }
        HoverAt(t, p);
        return;
    }
    t.buttonsPressed &= ~button;
    bool chooses = button == MK_LBUTTON || (button == MK_RBUTTON && (t.flags & TPM_RIGHTBUTTON));
    size_t depth = 0;
    int index = -1;
    if (!chooses || !HitTest(t, p, depth, index) || index < 0) {
        return;
    }
    Select(t, depth, index);
    Execute(t, depth, false);
}

bool IsKeyMessage(UINT m) {
    return m >= WM_KEYFIRST && m <= WM_KEYLAST;
}

void ChooseByMnemonic(Tracker& t, char c) {
    size_t depth = t.levels.size() - 1;
    Level& level = t.levels[depth];
    MenuObject* m = FindMenu(level.menu);
    if (m == nullptr) {
        return;
    }
    c = char(std::tolower(static_cast<unsigned char>(c)));
    std::vector<int> matches;
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (Selectable(m->items[i]) && Mnemonic(m->items[i].text) == c) {
            matches.push_back(int(i));
        }
    }
    if (matches.empty()) {
        return;
    }
    if (matches.size() == 1) {
        Select(t, depth, matches[0]);
        Execute(t, depth, true);
        return;
    }
    // Several items share the letter: each press moves to the next of them.
    int next = matches[0];
    for (int i : matches) {
        if (i > level.selected) {
            next = i;
            break;
        }
    }
    Select(t, depth, next);
}

void HandleKey(Tracker& t, const MSG& msg) {
    UINT vk = UINT(msg.wParam);
    if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
        t.keysPressed.erase(vk);
        return;
    }
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        if (msg.wParam > ' ' && msg.wParam < 0x100) {
            ChooseByMnemonic(t, char(msg.wParam));
        }
        return;
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) {
        return;
    }
    t.keysPressed.insert(vk);
    size_t deepest = t.levels.size() - 1;
    switch (vk) {
        case VK_DOWN:
            MoveSelection(t, 1);
            break;
        case VK_UP:
            MoveSelection(t, -1);
            break;
        case VK_HOME:
            SelectEnd(t, false);
            break;
        case VK_END:
            SelectEnd(t, true);
            break;
        case VK_RIGHT:
            OpenSelectedSubmenu(t, deepest, true);
            break;
        case VK_LEFT:
            if (deepest > 0) {
                CloseLevelsAfter(t, deepest);
            }
            break;
        case VK_ESCAPE:
            if (deepest > 0) {
                CloseLevelsAfter(t, deepest);
            } else {
                t.done = true;
            }
            break;
        case VK_MENU:
        case VK_LMENU:
        case VK_RMENU:
        case VK_F10:
            t.done = true;
            break;
        case VK_RETURN:
        case VK_SPACE:
            Execute(t, deepest, true);
            break;
        default:
            break;
    }
}

// After the menu: releases of the keys it consumed ----------------------------------------

// Eats the releases (and the typed space) of keys whose presses chose or dismissed the
// menu, so that an action bound to a key's release doesn't run as well.
LRESULT MenuSwallowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = g_swallow.original;
    if (hwnd == g_swallow.hwnd) {
        UINT vk = UINT(wParam);
        bool held = g_swallow.keys.count(vk) != 0;
        if ((message == WM_KEYUP || message == WM_SYSKEYUP) && held) {
            g_swallow.keys.erase(vk);
            if (g_swallow.keys.empty()) {
                if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC)) ==
                    MenuSwallowProc) {
                    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
                }
                g_swallow = Swallow{};
            }
            return 0;
        }
        if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && held &&
            (uintptr_t(lParam) & (1u << 30))) {
            return 0;  // auto-repeat of the held key
        }
        if (message == WM_CHAR && wParam == ' ' && g_swallow.keys.count(VK_SPACE)) {
            return 0;
        }
    }
    return original ? CallWindowProc(original, hwnd, message, wParam, lParam)
                    : DefWindowProc(hwnd, message, wParam, lParam);
}

void SwallowReleases(const std::set<UINT>& keys) {
    std::set<UINT> held;
    for (UINT vk : keys) {
        if (GetKeyState(int(vk)) & 0x8000) {
            held.insert(vk);
        }
    }
    if (held.empty()) {
        return;
    }
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    if (target == nullptr) {
        return;
    }
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtr(target, GWLP_WNDPROC));
    if (current == MenuSwallowProc && g_swallow.hwnd == target) {
        g_swallow.keys.insert(held.begin(), held.end());
        return;
    }
    if (current == MenuSwallowProc || current == nullptr) {
        return;
    }
    g_swallow.hwnd = target;
    g_swallow.original = current;
    g_swallow.keys = held;
    SetWindowLongPtr(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuSwallowProc));
}

// The hidden window that holds the capture while the menu runs, and afterwards until
// the buttons pressed on the menu are released, so those releases reach nobody.
LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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

HWND MenuWindow(HWND owner) {
    WNDCLASS existing;
    if (!GetClassInfo(nullptr, MENU_CLASS, &existing)) {
        WNDCLASS wc;
        wc.lpfnWndProc = MenuWindowProc;
        wc.lpszClassName = MENU_CLASS;
        if (!RegisterClass(&wc)) {
            return nullptr;
        }
    }
    return CreateWindowEx(0, MENU_CLASS, "", WS_POPUP, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, owner,
                          nullptr, nullptr, nullptr);
}

}  // namespace

std::vector<RECT> OpenMenuRects() {
    std::vector<RECT> out;
    if (g_tracker != nullptr) {
        for (const Level& l : g_tracker->levels) {
            out.push_back(l.rect);
        }
    }
    return out;
}

void SetMenuIdleHook(std::function<void()> hook) {
    g_idleHook = std::move(hook);
}

}  // namespace platform

using platform::Tracker;

BOOL GetMenuItemRect(HWND, HMENU menu, UINT position, LPRECT rect) {
    if (platform::g_tracker == nullptr || rect == nullptr) {
        return FALSE;
    }
    for (const platform::Level& level : platform::g_tracker->levels) {
        if (level.menu == menu && position < level.items.size()) {
            *rect = level.items[position];
            return TRUE;
        }
    }
    return FALSE;
}

BOOL EndMenu() {
    if (platform::g_tracker == nullptr) {
        return FALSE;
    }
    platform::g_tracker->done = true;
    platform::g_tracker->chosen = 0;
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (platform::FindMenu(menu) == nullptr || !IsWindow(owner) || platform::g_tracker != nullptr) {
        return FALSE;
    }
    platform::ModalLoop loop;
    Tracker t;
    t.flags = flags;
    t.owner = owner;
    platform::g_tracker = &t;
    platform::CopyPage(t.background);
    t.window = platform::MenuWindow(owner);
    if (t.window != nullptr) {
        SetCapture(t.window);
    }
    platform::OpenLevel(t, menu, 0, {x, y}, nullptr);

    while (!t.done) {
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            platform::PresentIfChanged();
            if (platform::g_idleHook) {
                platform::g_idleHook();
                if (t.done) {
                    break;
                }
                if (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                    continue;
                }
            }
            WaitMessage();
            continue;
        }
        if (loop.Quits(msg)) {
            t.chosen = 0;
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            platform::HandleMouse(t, msg);
        } else if (platform::IsKeyMessage(msg.message)) {
            platform::HandleKey(t, msg);
        } else {
            DispatchMessage(&msg);
            if (platform::AbsorbForeignDrawing(t)) {
                platform::Composite(t);
            }
        }
        if (!IsWindow(owner)) {
            t.done = true;
            t.chosen = 0;
        }
        for (const platform::Level& level : t.levels) {
            if (platform::FindMenu(level.menu) == nullptr) {
                t.done = true;
                t.chosen = 0;
            }
        }
    }

    // Uncover the page, and let the windows below paint what the menus covered.
    platform::AbsorbForeignDrawing(t);
    t.levels.clear();
    platform::Composite(t);
    platform::g_tracker = nullptr;
    if (t.window != nullptr && IsWindow(t.window)) {
        if (t.buttonsPressed == 0 && GetCapture() == t.window) {
            ReleaseCapture();
        }
        if (GetCapture() != t.window) {
            DestroyWindow(t.window);
        }
    }
    platform::SwallowReleases(t.keysPressed);
    if (IsWindow(owner) && !platform::Empty(t.covered)) {
        POINT origin = {0, 0};
        ClientToScreen(owner, &origin);
        RECT r = {t.covered.left - origin.x, t.covered.top - origin.y, t.covered.right - origin.x,
                  t.covered.bottom - origin.y};
        InvalidateRect(owner, &r, TRUE);
    }
    if (flags & TPM_RETURNCMD) {
        return BOOL(t.chosen);
    }
    if (t.chosen != 0 && IsWindow(owner)) {
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(int(t.chosen), 0), 0);
    }
    return TRUE;
}
