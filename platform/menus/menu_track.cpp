// TrackPopupMenu: the menu's own modal loop, which opens and closes the levels, moves the
// selection by keyboard and mouse, and ends with the chosen command.
#include <algorithm>
#include <cctype>

#include "platform/host/screen.h"
#include "platform/menus/menu_internal.h"

namespace platform::menus {
namespace {

Tracker* g_tracker = nullptr;

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

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
    const LONG screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const LONG screenHeight = GetSystemMetrics(SM_CYSCREEN);
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
        if (left + size.cx > screenWidth) {
            left = at.x - size.cx;
        }
        if (top + size.cy > screenHeight) {
            top = at.y - size.cy;
        }
    } else {
        left = parentItem->right + FRAME - 1;
        top = parentItem->top - FRAME;
        if (left + size.cx > screenWidth) {
            left = parentItem->left - FRAME + 1 - size.cx;
        }
        if (top + size.cy > screenHeight) {
            top = screenHeight - size.cy;
        }
    }
    left = std::max<LONG>(0, std::min<LONG>(left, screenWidth - size.cx));
    top = std::max<LONG>(0, std::min<LONG>(top, screenHeight - size.cy));
    level.rect = {left, top, left + size.cx, top + size.cy};
    for (RECT& r : level.items) {
        r = {r.left + left, r.top + top, r.right + left, r.bottom + top};
    }
    t.levels.push_back(std::move(level));
    HWND window = CreateLevelWindow(t, t.levels.size() - 1);
    t.levels.back().window = window;
    // Shown without taking the activation or the focus from the owner.
    ShowWindow(window, SW_SHOWNA);
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

// Closes the levels from keep on, deepest first; the windows beneath repaint what they
// covered.
void CloseLevelsAfter(Tracker& t, size_t keep) {
    while (t.levels.size() > keep) {
        HWND window = t.levels.back().window;
        t.levels.pop_back();
        DestroyWindow(window);
    }
}

void Repaint(const Level& level) {
    InvalidateRect(level.window, nullptr, FALSE);
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
        Repaint(level);
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
            Repaint(deepest);
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

// Runs until the menu is chosen or dismissed. Whenever the loop is idle the owner hears
// WM_ENTERIDLE (MSGF_MENU, the deepest menu window).
void RunMenuLoop(ModalLoop& loop, Tracker& t) {
    while (!t.done) {
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            PresentIfChanged();
            HWND shown = t.levels.empty() ? nullptr : t.levels.back().window;
            SendMessage(t.owner, WM_ENTERIDLE, MSGF_MENU,
                        LPARAM(reinterpret_cast<intptr_t>(shown)));
            if (t.done || PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                continue;
            }
            WaitMessage();
            continue;
        }
        if (loop.Quits(msg)) {
            t.chosen = 0;
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            HandleMouse(t, msg);
        } else if (IsKeyMessage(msg.message)) {
            HandleKey(t, msg);
        } else {
            DispatchMessage(&msg);
        }
        bool menuGone = !IsWindow(t.owner);
        for (const Level& level : t.levels) {
            menuGone = menuGone || FindMenu(level.menu) == nullptr;
        }
        if (menuGone) {
            t.done = true;
            t.chosen = 0;
        }
    }
}

}  // namespace

}  // namespace platform::menus

namespace platform {

std::vector<RECT> OpenMenuRects() {
    std::vector<RECT> out;
    if (menus::g_tracker != nullptr) {
        for (const menus::Level& l : menus::g_tracker->levels) {
            out.push_back(l.rect);
        }
    }
    return out;
}

}  // namespace platform

using namespace platform::menus;
using platform::FindMenu;

BOOL GetMenuItemRect(HWND, HMENU menu, UINT position, LPRECT rect) {
    if (g_tracker == nullptr || rect == nullptr) {
        return FALSE;
    }
    for (const Level& level : g_tracker->levels) {
        if (level.menu == menu && position < level.items.size()) {
            *rect = level.items[position];
            return TRUE;
        }
    }
    return FALSE;
}

BOOL EndMenu() {
    if (g_tracker == nullptr) {
        return FALSE;
    }
    g_tracker->done = true;
    g_tracker->chosen = 0;
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (FindMenu(menu) == nullptr || !IsWindow(owner) || g_tracker != nullptr) {
        return FALSE;
    }
    platform::ModalLoop loop;
    Tracker t;
    t.flags = flags;
    t.owner = owner;
    g_tracker = &t;
    t.captureWindow = CreateCaptureWindow(owner);
    if (t.captureWindow != nullptr) {
        SetCapture(t.captureWindow);
    }
    OpenLevel(t, menu, 0, {x, y}, nullptr);
    RunMenuLoop(loop, t);

    CloseLevelsAfter(t, 0);
    g_tracker = nullptr;
    if (t.captureWindow != nullptr && IsWindow(t.captureWindow)) {
        if (t.buttonsPressed == 0 && GetCapture() == t.captureWindow) {
            ReleaseCapture();
        }
        if (GetCapture() != t.captureWindow) {
            DestroyWindow(t.captureWindow);
        }
    }
    SwallowReleases(t.keysPressed);
    if (flags & TPM_RETURNCMD) {
        return BOOL(t.chosen);
    }
    if (t.chosen != 0 && IsWindow(owner)) {
        PostMessage(owner, WM_COMMAND, MAKEWPARAM(int(t.chosen), 0), 0);
    }
    return TRUE;
}
