#include "platform/user/user.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi_target.h"
#include "platform/gdi/image_codec.h"
#include "platform/host/host.h"
#include "platform/host/screen.h"
#include "platform/res/resources.h"

namespace {

using platform::CurrentHost;

constexpr UINT DOUBLE_CLICK_MS = 500;
constexpr LONG DOUBLE_CLICK_SIZE = 4;
constexpr UINT MIN_TIMER_MS = 10;
constexpr UINT MAX_TIMER_MS = 0x7FFFFFFF;

struct WindowClass {
    WNDCLASS wc;
    std::string name;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {0, 0, 0, 0};  // in the parent's client coordinates (screen for top level)
    HWND parent = nullptr;
    std::vector<HWND> children;  // also owned pop-ups; destroyed with this window
    std::string text;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    bool iconic = false;
    bool destroying = false;
    bool hasUpdate = false;
    bool eraseUpdate = false;
    RECT update = {0, 0, 0, 0};  // bounding box of the update region, client coordinates
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT interval;
    uint32_t due;
    TIMERPROC proc;
    uint64_t order;
};

struct Icon {
    platform::HostImage image;
    bool systemArrow = false;
};

struct Dc {
    bool screen;  // made by CreateScreenDC, else a target DC on part of the page
};

struct ClickState {
    UINT message = 0;
    HWND hwnd = nullptr;
    uint32_t time = 0;
    POINT pt = {0, 0};
};

struct UserState {
    std::map<std::string, std::shared_ptr<WindowClass>> classes;
    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel;  // creation order; later ones lie above
    uintptr_t nextWindow = 0x10000;
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quit = false;
    int quitCode = 0;
    int modalLoops = 0;  // modal loops now on the stack
    std::vector<Timer> timers;
    uint64_t timerOrder = 0;
    UINT_PTR nextThreadTimer = 0x7FFF;
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND active = nullptr;
    std::map<uintptr_t, std::unique_ptr<Icon>> icons;  // handle value -> icon
    std::map<std::pair<uintptr_t, std::string>, HICON> sharedIcons;
    uintptr_t nextIcon = 0x20000;
    HCURSOR cursor = nullptr;
    int cursorCount = 0;
    std::map<HDC, Dc> dcs;
    ClickState click;
    bool keys[256] = {};
    HWND keyPressedIn[256] = {};  // the window that got each key's press
    uint32_t buttons = 0;         // MK_ flags of the mouse buttons held
    POINT cursorPos = {0, 0};
};

UserState& S() {
    static UserState state;
    return state;
}

Window* Find(HWND hwnd) {
    auto it = S().windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == S().windows.end() ? nullptr : it->second.get();
}

bool IsChildStyle(const Window& w) {
    return (w.style & WS_CHILD) != 0;
}

uint32_t Now() {
    return CurrentHost().NowMs();
}

// Wrap-safe: true when a is at or after b on the 32-bit clock.
bool AtOrAfter(uint32_t a, uint32_t b) {
    return int32_t(a - b) >= 0;
}

RECT ScreenRect(const Window& w) {
    RECT r = w.rect;
    const Window* p = IsChildStyle(w) ? Find(w.parent) : nullptr;
    while (p) {
        r.left += p->rect.left;
        r.right += p->rect.left;
        r.top += p->rect.top;
        r.bottom += p->rect.top;
        p = IsChildStyle(*p) ? Find(p->parent) : nullptr;
    }
    return r;
}

bool Contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool EffectivelyVisible(const Window& w) {
    const Window* p = &w;
    while (p) {
        if (!(p->style & WS_VISIBLE))
            return false;
        p = IsChildStyle(*p) ? Find(p->parent) : nullptr;
    }
    return true;
}

HWND MainWindow() {
    for (HWND h : S().topLevel) {
        Window* w = Find(h);
        if (w && !w->destroying)
            return h;
    }
    return nullptr;
}

HWND ChildAt(HWND hwnd, POINT screenPt) {
    Window* w = Find(hwnd);
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        Window* c = Find(*it);
        if (c && IsChildStyle(*c) && (c->style & WS_VISIBLE) && Contains(ScreenRect(*c), screenPt))
            return ChildAt(*it, screenPt);
    }
    return hwnd;
}

HWND TopLevelAncestor(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w && IsChildStyle(*w) && Find(w->parent)) {
        hwnd = w->parent;
        w = Find(hwnd);
    }
    return hwnd;
}

void SetHostIconFrom(const Window& w) {
    HICON icon = w.bigIcon ? w.bigIcon : w.smallIcon;
    const platform::HostImage* image = platform::IconImage(icon);
    if (image)
        CurrentHost().SetIcon(*image);
}

void ApplyCursorToHost(HCURSOR cursor) {
    if (!cursor) {
        // No cursor at all: a fully transparent one hides it.
        static const platform::HostImage blank = [] {
            platform::HostImage b;
            b.width = 1;
            b.height = 1;
            b.argb = {0};
            return b;
        }();
        CurrentHost().SetCursor(&blank);
        return;
    }
    CurrentHost().SetCursor(platform::IconImage(cursor));
}

// Timers ------------------------------------------------------------------------------

Timer* FindTimer(HWND hwnd, UINT_PTR id) {
    for (Timer& t : S().timers)
        if (t.hwnd == hwnd && t.id == id)
            return &t;
    return nullptr;
}

void KillWindowTimers(HWND hwnd) {
    auto& timers = S().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

// The timer to fire now, if any: the earliest due that passes the filter.
Timer* DueTimer(HWND filter) {
    Timer* best = nullptr;
    uint32_t now = Now();
    for (Timer& t : S().timers) {
        if (!AtOrAfter(now, t.due))
            continue;
        if (filter && t.hwnd != filter)
            continue;
        if (!best || int32_t(t.due - best->due) < 0 ||
            (t.due == best->due && t.order < best->order))
            best = &t;
    }
    return best;
}

// Milliseconds until the next timer is due (0 when one is due now), or max when none.
uint32_t TimeToNextTimer() {
    uint32_t now = Now();
    uint32_t best = 0xFFFFFFFF;
    for (const Timer& t : S().timers) {
        int32_t left = int32_t(t.due - now);
        uint32_t wait = left <= 0 ? 0 : uint32_t(left);
        best = std::min(best, wait);
    }
    return best;
}

// Destruction ---------------------------------------------------------------------------

void SendDestroy(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w)
        return;
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    w = Find(hwnd);
    if (!w)
        return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) {
        Window* c = Find(k);
        if (c && IsChildStyle(*c))
            SendDestroy(k);
    }
}

void FreeWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w)
        return;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) {
        Window* c = Find(k);
        if (c && IsChildStyle(*c))
            FreeWindow(k);
    }
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    w = Find(hwnd);
    if (!w)
        return;
    UserState& s = S();
    KillWindowTimers(hwnd);
    if (s.capture == hwnd) {
        s.capture = nullptr;
        CurrentHost().GrabMouse(false);
    }
    if (s.focus == hwnd)
        s.focus = nullptr;
    if (s.active == hwnd)
        s.active = nullptr;
    if (s.click.hwnd == hwnd)
        s.click = ClickState{};
    if (Window* p = Find(w->parent)) {
        auto& pk = p->children;
        pk.erase(std::remove(pk.begin(), pk.end(), hwnd), pk.end());
    }
    s.topLevel.erase(std::remove(s.topLevel.begin(), s.topLevel.end(), hwnd), s.topLevel.end());
    s.windows.erase(reinterpret_cast<uintptr_t>(hwnd));
}

// Input ---------------------------------------------------------------------------------

WPARAM MouseFlags() {
    UserState& s = S();
    WPARAM f = s.buttons;
    if (s.keys[VK_SHIFT])
        f |= MK_SHIFT;
    if (s.keys[VK_CONTROL])
        f |= MK_CONTROL;
    return f;
}

void QueueInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, uint32_t time) {
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = time;
    m.pt = S().cursorPos;
    S().input.push_back(m);
}

UINT ButtonMessage(int button, bool down) {
    switch (button) {
        case 1:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case 2:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case 3:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default:
            return 0;
    }
}

uint32_t ButtonFlag(int button) {
    switch (button) {
        case 1:
            return MK_LBUTTON;
        case 2:
            return MK_RBUTTON;
        case 3:
            return MK_MBUTTON;
        default:
            return 0;
    }
}

void TranslateMouse(const platform::HostEvent& e) {
    UserState& s = S();
    POINT pt = {e.x, e.y};
    s.cursorPos = pt;
    UINT message = WM_MOUSEMOVE;
    if (e.type != platform::HostEventType::MouseMove) {
        bool down = e.type == platform::HostEventType::MouseButtonDown;
        message = ButtonMessage(e.button, down);
        if (!message)
            return;
        if (down)
            s.buttons |= ButtonFlag(e.button);
        else
            s.buttons &= ~ButtonFlag(e.button);
    }
    HWND target = s.capture;
    if (!target) {
        target = WindowFromPoint(pt);
        // A disabled window (under a modal loop) gets no mouse input.
        if (!target || !IsWindowEnabled(target))
            return;
        SendMessage(target, WM_SETCURSOR, WPARAM(reinterpret_cast<uintptr_t>(target)),
                    MAKELPARAM(HTCLIENT, int(message)));
    }
    Window* w = Find(target);
    if (!w)
        return;
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        ClickState& c = s.click;
        bool dbl = (w->cls->wc.style & CS_DBLCLKS) && c.message == message && c.hwnd == target &&
                   e.timeMs - c.time <= DOUBLE_CLICK_MS &&
                   std::abs(pt.x - c.pt.x) < DOUBLE_CLICK_SIZE / 2 &&
                   std::abs(pt.y - c.pt.y) < DOUBLE_CLICK_SIZE / 2;
        if (dbl) {
            message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
            c = ClickState{};
        } else {
            c.message = message;
            c.hwnd = target;
            c.time = e.timeMs;
            c.pt = pt;
        }
    }
    POINT client = pt;
    ScreenToClient(target, &client);
    QueueInput(target, message, MouseFlags(), MAKELPARAM(client.x, client.y), e.timeMs);
}

void SetKey(uint32_t vk, bool down) {
    UserState& s = S();
    if (vk < 256)
        s.keys[vk] = down;
    if (vk == VK_LSHIFT || vk == VK_RSHIFT)
        s.keys[VK_SHIFT] = s.keys[VK_LSHIFT] || s.keys[VK_RSHIFT] || down;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL)
        s.keys[VK_CONTROL] = s.keys[VK_LCONTROL] || s.keys[VK_RCONTROL] || down;
    if (vk == VK_LMENU || vk == VK_RMENU)
        s.keys[VK_MENU] = s.keys[VK_LMENU] || s.keys[VK_RMENU] || down;
}

HWND KeyboardTarget() {
    UserState& s = S();
    if (s.focus && Find(s.focus))
        return s.focus;
    if (s.active && Find(s.active))
        return s.active;
    return nullptr;
}

void TranslateKey(const platform::HostEvent& e) {
    bool down = e.type == platform::HostEventType::KeyDown;
    SetKey(e.virtualKey, down);
    HWND target = KeyboardTarget();
    // A release goes where its press went. When that window is gone (a dialog that the
    // press closed), the release is dropped: it must not act a second time on the window
    // beneath, where Escape's release would end the program.
    HWND& pressedIn = S().keyPressedIn[e.virtualKey & 0xFF];
    if (down) {
        pressedIn = target;
    } else if (pressedIn) {
        target = Find(pressedIn) ? pressedIn : nullptr;
        pressedIn = nullptr;
    }
    if (!target)
        return;
    bool sys = S().keys[VK_MENU] || e.virtualKey == VK_F10 || e.virtualKey == VK_MENU ||
               e.virtualKey == VK_LMENU || e.virtualKey == VK_RMENU;
    UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    // Repeat count 1; bit 30 is the previous state, bit 31 the transition (set on release).
    uint32_t lp = 1;
    if (!down || e.repeat)
        lp |= 1u << 30;
    if (!down)
        lp |= 1u << 31;
    if (sys && S().keys[VK_MENU])
        lp |= 1u << 29;
    QueueInput(target, message, e.virtualKey, LPARAM(int32_t(lp)), e.timeMs);
}

void SetIconic(bool iconic) {
    HWND main = MainWindow();
    Window* w = Find(main);
    if (!w || w->iconic == iconic)
        return;
    w->iconic = iconic;
    RECT r{};
    GetClientRect(main, &r);
    SendMessage(main, WM_SIZE, iconic ? SIZE_MINIMIZED : SIZE_RESTORED,
                iconic ? 0 : MAKELPARAM(r.right, r.bottom));
    if (!iconic && Find(main))
        InvalidateRect(main, nullptr, TRUE);
}

void TranslateHostEvent(const platform::HostEvent& e) {
    using T = platform::HostEventType;
    switch (e.type) {
        case T::MouseMove:
        case T::MouseButtonDown:
        case T::MouseButtonUp:
            TranslateMouse(e);
            break;
        case T::KeyDown:
        case T::KeyUp:
            TranslateKey(e);
            break;
        case T::Text:
            if (HWND target = KeyboardTarget())
                QueueInput(target, WM_CHAR, e.character, 1, e.timeMs);
            break;
        case T::CloseRequested:
            // Inside a modal loop, closing the window would pull it from under the loop:
            // the loops unwind first, and the outermost one ends the program.
            if (platform::InModalLoop())
                PostQuitMessage(0);
            else if (HWND main = MainWindow())
                PostMessage(main, WM_CLOSE, 0, 0);
            break;
        case T::Minimized:
            SetIconic(true);
            break;
        case T::Restored:
            SetIconic(false);
            break;
    }
}

// Retrieval -----------------------------------------------------------------------------

bool IsSelfOrDescendant(HWND hwnd, HWND ancestor) {
    while (hwnd) {
        if (hwnd == ancestor)
            return true;
        Window* w = Find(hwnd);
        if (!w || !IsChildStyle(*w))
            return false;
        hwnd = w->parent;
    }
    return false;
}

bool Matches(const MSG& m, HWND filter, UINT lo, UINT hi) {
    if (filter == reinterpret_cast<HWND>(intptr_t(-1))) {
        if (m.hwnd)
            return false;
    } else if (filter && !IsSelfOrDescendant(m.hwnd, filter)) {
        return false;
    }
    if (lo == 0 && hi == 0)
        return true;
    return m.message >= lo && m.message <= hi;
}

bool TakeFrom(std::deque<MSG>& queue, MSG& out, HWND filter, UINT lo, UINT hi, bool remove) {
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!Matches(*it, filter, lo, hi))
            continue;
        out = *it;
        if (remove)
            queue.erase(it);
        return true;
    }
    return false;
}

// A window with an update region, parents before children, in z-order from the top.
HWND PaintCandidate(HWND filter) {
    for (auto& [key, w] : S().windows) {
        (void)key;
        if (!w->hasUpdate || !EffectivelyVisible(*w))
            continue;
        if (filter && filter != reinterpret_cast<HWND>(intptr_t(-1)) &&
            !IsSelfOrDescendant(w->handle, filter))
            continue;
        return w->handle;
    }
    return nullptr;
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = Now();
    m.pt = S().cursorPos;
    return m;
}

bool InRange(UINT message, UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (message >= lo && message <= hi);
}

// One retrieval step in the platform's order: posted, quit, input, paint, timer.
bool PeekOne(MSG& out, HWND filter, UINT lo, UINT hi, bool remove) {
    UserState& s = S();
    if (TakeFrom(s.posted, out, filter, lo, hi, remove))
        return true;
    if (s.quit) {
        out = MakeMsg(nullptr, WM_QUIT, WPARAM(intptr_t(s.quitCode)), 0);
        if (remove)
            s.quit = false;
        return true;
    }
    if (TakeFrom(s.input, out, filter, lo, hi, remove))
        return true;
    // Host events are translated one at a time, so that what the previous message
    // changed (capture, focus) applies to the next.
    platform::HostEvent e;
    while (s.posted.empty() && !s.quit && CurrentHost().PollEvent(e)) {
        TranslateHostEvent(e);
        if (!s.input.empty())
            break;
    }
    if (!s.posted.empty() || s.quit || !s.input.empty()) {
        if (TakeFrom(s.posted, out, filter, lo, hi, remove))
            return true;
        if (s.quit)
            return PeekOne(out, filter, lo, hi, remove);
        if (TakeFrom(s.input, out, filter, lo, hi, remove))
            return true;
    }
    if (InRange(WM_PAINT, lo, hi)) {
        if (HWND h = PaintCandidate(filter)) {
            out = MakeMsg(h, WM_PAINT, 0, 0);
            return true;
        }
    }
    // Timers fire only when nothing else is waiting.
    if (!s.posted.empty() || !s.input.empty())
        return false;
    if (InRange(WM_TIMER, lo, hi)) {
        if (Timer* t =
                DueTimer(filter == reinterpret_cast<HWND>(intptr_t(-1)) ? nullptr : filter)) {
            out = MakeMsg(t->hwnd, WM_TIMER, t->id, LPARAM(reinterpret_cast<intptr_t>(t->proc)));
            if (remove) {
                uint32_t now = Now();
                t->due += t->interval;
                // Ticks missed while busy collapse into this one.
                if (AtOrAfter(now, t->due))
                    t->due = now + t->interval;
            }
            return true;
        }
    }
    return false;
}

LRESULT CallProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    WNDPROC proc = w->proc ? w->proc : DefWindowProc;
    return proc(hwnd, message, wParam, lParam);
}

void InvalidateWhole(Window& w, bool erase) {
    w.hasUpdate = true;
    w.eraseUpdate = w.eraseUpdate || erase;
    w.update = {0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
}

HDC MakeWindowDC(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w)
        return nullptr;
    RECT r = ScreenRect(*w);
    // A window draws on its own part of the page only, wherever it stands.
    platform::PixelTarget page = platform::GdiPage();
    RECT c = {std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0),
              std::min<LONG>(r.right, page.width), std::min<LONG>(r.bottom, page.height)};
    if (c.right <= c.left || c.bottom <= c.top)
        c = {0, 0, 0, 0};
    int bytes = page.format == platform::PixelFormat::XRGB8888 ? 4 : 2;
    platform::PixelTarget sub = page;
    sub.pixels = page.pixels + c.top * page.pitch + c.left * bytes;
    sub.width = c.right - c.left;
    sub.height = c.bottom - c.top;
    HDC dc = platform::CreateTargetDC(sub, [] { platform::MarkGdiPageChanged(); });
    if (dc)
        S().dcs[dc] = Dc{false};
    return dc;
}

platform::HostImage ToHostImage(const platform::DecodedImage& d) {
    platform::HostImage h;
    h.width = d.width;
    h.height = d.height;
    h.argb = d.argb;
    h.hotX = d.hotX;
    h.hotY = d.hotY;
    return h;
}

HICON AddIcon(std::unique_ptr<Icon> icon) {
    uintptr_t v = S().nextIcon++;
    S().icons[v] = std::move(icon);
    return reinterpret_cast<HICON>(v);
}

// A plain window glyph for the system's application icon.
platform::HostImage ApplicationIconImage() {
    platform::HostImage h;
    h.width = 32;
    h.height = 32;
    h.argb.assign(32 * 32, 0);
    for (int y = 2; y < 30; ++y)
        for (int x = 2; x < 30; ++x) {
            bool edge = x == 2 || x == 29 || y == 2 || y == 29;
            h.argb[y * 32 + x] = edge ? 0xFF000000 : (y < 8 ? 0xFF000080 : 0xFFFFFFFF);
        }
    return h;
}

HICON LoadShared(HINSTANCE instance, LPCSTR name, bool cursor) {
    std::string key = IS_INTRESOURCE(name)
                          ? std::string("#") + std::to_string(reinterpret_cast<uintptr_t>(name))
                          : std::string(name ? name : "");
    key = (cursor ? "C" : "I") + key;
    auto cacheKey = std::make_pair(reinterpret_cast<uintptr_t>(instance), key);
    auto found = S().sharedIcons.find(cacheKey);
    if (found != S().sharedIcons.end())
        return found->second;

    auto icon = std::make_unique<Icon>();
    if (!instance) {
        if (!IS_INTRESOURCE(name) || reinterpret_cast<uintptr_t>(name) != 32512)
            return nullptr;
        if (cursor)
            icon->systemArrow = true;
        else
            icon->image = ApplicationIconImage();
    } else {
        platform::ResourceData data;
        auto type = cursor ? platform::ResourceType::Cursor : platform::ResourceType::Icon;
        if (!platform::FindResourceData(instance, name, type, data))
            return nullptr;
        platform::DecodedImage decoded;
        bool ok = cursor ? platform::DecodeCur(data.bytes, data.size, decoded)
                         : platform::DecodeIco(data.bytes, data.size, GetSystemMetrics(SM_CXICON),
                                               decoded);
        if (!ok)
            return nullptr;
        icon->image = ToHostImage(decoded);
    }
    HICON h = AddIcon(std::move(icon));
    S().sharedIcons[cacheKey] = h;
    return h;
}

}  // namespace

// Classes and windows ---------------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName))
        return 0;
    std::string name = wc->lpszClassName;
    if (S().classes.count(name))
        return 0;
    auto cls = std::make_shared<WindowClass>();
    cls->wc = *wc;
    cls->name = name;
    cls->wc.lpszClassName = cls->name.c_str();
    S().classes[name] = cls;
    return ATOM(0xC000 + S().classes.size());
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE) {
    if (!className || IS_INTRESOURCE(className))
        return FALSE;
    return S().classes.erase(className) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, LPCSTR className, WNDCLASS* out) {
    if (!className || IS_INTRESOURCE(className))
        return FALSE;
    auto it = S().classes.find(className);
    if (it == S().classes.end())
        return FALSE;
    if (out)
        *out = it->second->wc;
    return TRUE;
}

HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param) {
    UserState& s = S();
    if (!className || IS_INTRESOURCE(className))
        return nullptr;
    auto cit = s.classes.find(className);
    if (cit == s.classes.end())
        return nullptr;
    if ((style & WS_CHILD) && !Find(parent))
        return nullptr;
    if (parent && !Find(parent))
        return nullptr;

    auto w = std::make_unique<Window>();
    bool child = (style & WS_CHILD) != 0;
    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : platform::SCREEN_WIDTH;
        height = child ? 0 : platform::SCREEN_HEIGHT;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    HWND hwnd = reinterpret_cast<HWND>(s.nextWindow);
    s.nextWindow += 4;
    w->handle = hwnd;
    w->cls = cit->second;
    w->proc = cit->second->wc.lpfnWndProc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->rect = {x, y, x + width, y + height};
    w->parent = parent;
    w->text = windowName ? windowName : "";
    if (child)
        w->id = LONG_PTR(reinterpret_cast<intptr_t>(menu));
    s.windows[reinterpret_cast<uintptr_t>(hwnd)] = std::move(w);
    if (Window* p = Find(parent))
        p->children.push_back(hwnd);
    if (!child)
        s.topLevel.push_back(hwnd);
    if (!child && hwnd == MainWindow()) {
        if (windowName)
            CurrentHost().SetTitle(windowName);
        if (const platform::HostImage* image = platform::IconImage(cit->second->wc.hIcon))
            CurrentHost().SetIcon(*image);
    }

    CREATESTRUCT cs = {param, instance, menu,        parent,     height,    width,
                       y,     x,        LONG(style), windowName, className, exStyle};
    if (!SendMessage(hwnd, WM_NCCREATE, 0, LPARAM(reinterpret_cast<intptr_t>(&cs))) ||
        SendMessage(hwnd, WM_CREATE, 0, LPARAM(reinterpret_cast<intptr_t>(&cs))) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!Find(hwnd))
        return nullptr;
    SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    if (!Find(hwnd))
        return nullptr;
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return Find(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || w->destroying)
        return FALSE;
    w->destroying = true;
    // Owned pop-ups go first, as whole windows of their own.
    std::vector<HWND> owned;
    for (HWND k : w->children) {
        Window* c = Find(k);
        if (c && !IsChildStyle(*c))
            owned.push_back(k);
    }
    for (HWND k : owned)
        DestroyWindow(k);
    if (Find(hwnd)) {
        Window* self = Find(hwnd);
        if (self->style & WS_VISIBLE) {
            self->style &= ~WS_VISIBLE;
            self->hasUpdate = false;
        }
        if (S().active == hwnd)
            S().active = nullptr;
    }
    SendDestroy(hwnd);
    FreeWindow(hwnd);
    return TRUE;
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SYSKEYDOWN:
            // Alt+F4 closes the top-level window the key went to (a dialog, when the focus
            // is in one), as the Close of its system menu would.
            if (wParam == VK_F4 && (uintptr_t(lParam) & (1u << 29))) {
                HWND top = TopLevelAncestor(hwnd);
                Window* t = Find(top);
                if (t && !(t->cls->wc.style & CS_NOCLOSE))
                    PostMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_SYSCOMMAND:
            if (!IsWindowEnabled(hwnd))
                return 0;
            if ((wParam & 0xFFF0) == SC_CLOSE)
                return SendMessage(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 0;
        case WM_SETCURSOR: {
            if (LOWORD(uintptr_t(lParam)) != HTCLIENT)
                return FALSE;
            Window* w = Find(hwnd);
            if (!w)
                return FALSE;
            // A child lets its parent decide first.
            if (IsChildStyle(*w) && Find(w->parent) &&
                SendMessage(w->parent, WM_SETCURSOR, wParam, lParam))
                return TRUE;
            w = Find(hwnd);
            if (w && w->cls->wc.hCursor) {
                SetCursor(w->cls->wc.hCursor);
                return TRUE;
            }
            return FALSE;
        }
        case WM_SETICON: {
            Window* w = Find(hwnd);
            if (!w)
                return 0;
            HICON icon = reinterpret_cast<HICON>(lParam);
            HICON& slot = wParam == ICON_BIG ? w->bigIcon : w->smallIcon;
            HICON previous = slot;
            slot = icon;
            if (TopLevelAncestor(hwnd) == MainWindow() && !IsChildStyle(*w))
                SetHostIconFrom(*w);
            return LRESULT(reinterpret_cast<intptr_t>(previous));
        }
        case WM_SETTEXT: {
            Window* w = Find(hwnd);
            if (!w)
                return FALSE;
            w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
            if (hwnd == MainWindow())
                CurrentHost().SetTitle(w->text);
            return TRUE;
        }
        case WM_GETTEXT: {
            Window* w = Find(hwnd);
            if (!w || wParam == 0 || !lParam)
                return 0;
            size_t n = std::min<size_t>(w->text.size(), wParam - 1);
            std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
            reinterpret_cast<char*>(lParam)[n] = 0;
            return LRESULT(n);
        }
        default:
            return 0;
    }
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

BOOL ShowWindow(HWND hwnd, int cmdShow) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    bool show = cmdShow != SW_HIDE;
    if (cmdShow == SW_MINIMIZE || cmdShow == SW_SHOWMINIMIZED)
        w->iconic = true;
    if (cmdShow == SW_RESTORE || cmdShow == SW_SHOWNORMAL)
        w->iconic = false;
    if (bool(wasVisible) != show) {
        SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        w = Find(hwnd);
        if (!w)
            return wasVisible;
        if (show) {
            w->style |= WS_VISIBLE;
            InvalidateWhole(*w, true);
        } else {
            w->style &= ~WS_VISIBLE;
            w->hasUpdate = false;
            if (S().capture == hwnd)
                ReleaseCapture();
        }
    }
    bool activate = show && cmdShow != SW_SHOWNA && cmdShow != SW_SHOWNOACTIVATE &&
                    cmdShow != SW_SHOWMINIMIZED && cmdShow != SW_MINIMIZE;
    if (activate && !IsChildStyle(*w) && S().active != hwnd)
        SetActiveWindow(hwnd);
    return wasVisible;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (w->hasUpdate && EffectivelyVisible(*w))
        SendMessage(hwnd, WM_PAINT, 0, 0);
    w = Find(hwnd);
    if (!w)
        return TRUE;
    std::vector<HWND> kids = w->children;
    for (HWND k : kids) {
        Window* c = Find(k);
        if (c && IsChildStyle(*c))
            UpdateWindow(k);
    }
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return Find(hwnd) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && EffectivelyVisible(*w) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && w->iconic ? TRUE : FALSE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = Find(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = Find(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = ScreenRect(*w);
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND, int x, int y, int cx, int cy, UINT flags) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    RECT old = w->rect;
    if (flags & SWP_NOMOVE) {
        x = old.left;
        y = old.top;
    }
    if (flags & SWP_NOSIZE) {
        cx = old.right - old.left;
        cy = old.bottom - old.top;
    }
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    w->rect = {x, y, x + cx, y + cy};
    bool sized = cx != old.right - old.left || cy != old.bottom - old.top;
    if (!(flags & SWP_NOREDRAW) && (sized || x != old.left || y != old.top))
        InvalidateWhole(*w, true);
    if (sized)
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cx, cy));
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    Window* w = Find(hwnd);
    if (!w || !point)
        return FALSE;
    RECT r = ScreenRect(*w);
    point->x += r.left;
    point->y += r.top;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
    Window* w = Find(hwnd);
    if (!w || !point)
        return FALSE;
    RECT r = ScreenRect(*w);
    point->x -= r.left;
    point->y -= r.top;
    return TRUE;
}

HWND GetParent(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->parent : nullptr;
}

HWND WindowFromPoint(POINT point) {
    const auto& top = S().topLevel;
    for (auto it = top.rbegin(); it != top.rend(); ++it) {
        Window* w = Find(*it);
        if (w && (w->style & WS_VISIBLE) && !w->iconic && Contains(w->rect, point))
            return ChildAt(*it, point);
    }
    return nullptr;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (bool(enable) == !wasDisabled)
        return wasDisabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        if (S().focus && IsSelfOrDescendant(S().focus, hwnd))
            SetFocus(nullptr);
        if (S().capture == hwnd)
            ReleaseCapture();
    }
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

HWND SetFocus(HWND hwnd) {
    UserState& s = S();
    if (hwnd && !Find(hwnd))
        return nullptr;
    HWND old = s.focus;
    if (old == hwnd)
        return old;
    if (hwnd) {
        HWND top = TopLevelAncestor(hwnd);
        if (s.active != top)
            SetActiveWindow(top);
        if (!Find(hwnd))
            return nullptr;
    }
    // Activation may already have moved the focus.
    HWND previous = s.focus;
    if (previous == hwnd)
        return old;
    s.focus = hwnd;
    if (previous && Find(previous))
        SendMessage(previous, WM_KILLFOCUS, WPARAM(reinterpret_cast<uintptr_t>(hwnd)), 0);
    if (hwnd && Find(hwnd) && s.focus == hwnd)
        SendMessage(hwnd, WM_SETFOCUS, WPARAM(reinterpret_cast<uintptr_t>(previous)), 0);
    return old;
}

HWND GetFocus() {
    return S().focus;
}

HWND SetActiveWindow(HWND hwnd) {
    UserState& s = S();
    Window* w = Find(hwnd);
    if (!w || IsChildStyle(*w))
        return nullptr;
    HWND previous = s.active;
    if (previous == hwnd)
        return previous;
    s.active = hwnd;
    if (previous && Find(previous))
        SendMessage(previous, WM_ACTIVATE, WA_INACTIVE, LPARAM(reinterpret_cast<intptr_t>(hwnd)));
    if (Find(hwnd) && s.active == hwnd) {
        SendMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, LPARAM(reinterpret_cast<intptr_t>(previous)));
        if (Find(hwnd) && !(s.focus && TopLevelAncestor(s.focus) == hwnd))
            SetFocus(hwnd);
    }
    return previous;
}

HWND GetActiveWindow() {
    return S().active;
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    LONG_PTR previous = 0;
    switch (index) {
        case GWLP_USERDATA:
            previous = w->userData;
            w->userData = value;
            break;
        case GWLP_ID:
            previous = w->id;
            w->id = value;
            break;
        case GWLP_WNDPROC:
            previous = LONG_PTR(reinterpret_cast<intptr_t>(w->proc));
            w->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWL_STYLE:
            previous = LONG_PTR(w->style);
            w->style = DWORD(value);
            break;
        case GWL_EXSTYLE:
            previous = LONG_PTR(w->exStyle);
            w->exStyle = DWORD(value);
            break;
        default:
            return 0;
    }
    return previous;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    switch (index) {
        case GWLP_USERDATA:
            return w->userData;
        case GWLP_ID:
            return w->id;
        case GWLP_WNDPROC:
            return LONG_PTR(reinterpret_cast<intptr_t>(w->proc));
        case GWL_STYLE:
            return LONG_PTR(w->style);
        case GWL_EXSTYLE:
            return LONG_PTR(w->exStyle);
        default:
            return 0;
    }
}

BOOL SetWindowText(HWND hwnd, LPCSTR text) {
    if (!Find(hwnd))
        return FALSE;
    return SendMessage(hwnd, WM_SETTEXT, 0, LPARAM(reinterpret_cast<intptr_t>(text))) ? TRUE
                                                                                      : FALSE;
}

int GetWindowText(HWND hwnd, LPSTR buffer, int maxCount) {
    if (!Find(hwnd) || !buffer || maxCount <= 0)
        return 0;
    return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(maxCount),
                           LPARAM(reinterpret_cast<intptr_t>(buffer))));
}

int GetDlgCtrlID(HWND control) {
    if (!IsWindow(control))
        return 0;
    return int(GetWindowLongPtr(control, GWLP_ID));
}

int GetWindowTextLength(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? int(w->text.size()) : 0;
}

// The queue ------------------------------------------------------------------------------

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    MSG m;
    if (!PeekOne(m, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0))
        return FALSE;
    if (msg)
        *msg = m;
    return TRUE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg)
        return -1;
    if (hwnd && hwnd != reinterpret_cast<HWND>(intptr_t(-1)) && !Find(hwnd))
        return -1;
    for (;;) {
        if (PeekOne(*msg, hwnd, filterMin, filterMax, true))
            return msg->message == WM_QUIT ? 0 : 1;
        WaitMessage();
    }
}

BOOL WaitMessage() {
    platform::PresentIfChanged();
    uint32_t wait = TimeToNextTimer();
    // With no timer, wake now and then all the same; the host returns early on input.
    CurrentHost().WaitForEvent(std::min<uint32_t>(wait, 1000));
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    UINT vk = UINT(msg->wParam);
    WPARAM ch = 0;
    if (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)
        ch = vk;
    else if (S().keys[VK_CONTROL] && vk >= 'A' && vk <= 'Z')
        ch = vk - 'A' + 1;
    if (!ch)
        return FALSE;
    MSG c = *msg;
    c.message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    c.wParam = ch;
    S().posted.push_front(c);
    return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        // Only a timer that still exists calls back.
        if (FindTimer(msg->hwnd, msg->wParam))
            proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd || !Find(msg->hwnd))
        return 0;
    return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !Find(hwnd))
        return FALSE;
    S().posted.push_back(MakeMsg(hwnd, message, wParam, lParam));
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallProc(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    S().quit = true;
    S().quitCode = exitCode;
}

// Timers ----------------------------------------------------------------------------------

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    UserState& s = S();
    if (hwnd && !Find(hwnd))
        return 0;
    UINT interval = std::clamp(elapseMs, MIN_TIMER_MS, MAX_TIMER_MS);
    if (!hwnd) {
        // Thread timers get an id of their own unless an existing one is named.
        if (!id || !FindTimer(nullptr, id)) {
            do {
                id = s.nextThreadTimer--;
                if (s.nextThreadTimer == 0)
                    s.nextThreadTimer = 0x7FFF;
            } while (FindTimer(nullptr, id));
        }
    }
    uint32_t due = Now() + interval;
    if (Timer* t = FindTimer(hwnd, id)) {
        t->interval = interval;
        t->due = due;
        t->proc = proc;
        return hwnd ? (id ? id : 1) : id;
    }
    s.timers.push_back(Timer{hwnd, id, interval, due, proc, s.timerOrder++});
    // An id of 0 is valid for a window timer, but the caller needs non-zero for success.
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = S().timers;
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            timers.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

// Painting --------------------------------------------------------------------------------

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    RECT client = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    RECT r = client;
    if (rect) {
        r = {std::max(rect->left, client.left), std::max(rect->top, client.top),
             std::min(rect->right, client.right), std::min(rect->bottom, client.bottom)};
        if (r.right <= r.left || r.bottom <= r.top)
            return TRUE;
    }
    if (w->hasUpdate) {
        w->update = {std::min(w->update.left, r.left), std::min(w->update.top, r.top),
                     std::max(w->update.right, r.right), std::max(w->update.bottom, r.bottom)};
    } else {
        w->update = r;
        w->hasUpdate = r.right > r.left && r.bottom > r.top;
    }
    if (erase)
        w->eraseUpdate = true;
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (!rect || (rect->left <= w->update.left && rect->top <= w->update.top &&
                  rect->right >= w->update.right && rect->bottom >= w->update.bottom)) {
        w->hasUpdate = false;
        w->eraseUpdate = false;
        w->update = {0, 0, 0, 0};
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (rect)
        *rect = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
    return w->hasUpdate ? TRUE : FALSE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    Window* w = Find(hwnd);
    if (!w || !paint)
        return nullptr;
    std::memset(paint, 0, sizeof(*paint));
    bool erase = w->eraseUpdate;
    paint->rcPaint = w->hasUpdate ? w->update : RECT{0, 0, 0, 0};
    w->hasUpdate = false;
    w->eraseUpdate = false;
    w->update = {0, 0, 0, 0};
    HDC dc = MakeWindowDC(hwnd);
    paint->hdc = dc;
    if (erase && dc)
        paint->fErase = SendMessage(hwnd, WM_ERASEBKGND, WPARAM(reinterpret_cast<uintptr_t>(dc)), 0)
                            ? FALSE
                            : TRUE;
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint && paint->hdc)
        ReleaseDC(hwnd, paint->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd) {
    if (!hwnd) {
        HDC dc = platform::CreateScreenDC();
        if (dc)
            S().dcs[dc] = Dc{true};
        return dc;
    }
    return MakeWindowDC(hwnd);
}

int ReleaseDC(HWND, HDC dc) {
    auto it = S().dcs.find(dc);
    if (it == S().dcs.end())
        return 0;
    bool screen = it->second.screen;
    S().dcs.erase(it);
    if (screen)
        platform::DeleteScreenDC(dc);
    else
        platform::DeleteTargetDC(dc);
    return 1;
}

// Capture ---------------------------------------------------------------------------------

HWND SetCapture(HWND hwnd) {
    UserState& s = S();
    if (!Find(hwnd))
        return nullptr;
    HWND previous = s.capture;
    s.capture = hwnd;
    CurrentHost().GrabMouse(true);
    if (previous && previous != hwnd && Find(previous))
        SendMessage(previous, WM_CAPTURECHANGED, 0, LPARAM(reinterpret_cast<intptr_t>(hwnd)));
    return previous;
}

BOOL ReleaseCapture() {
    UserState& s = S();
    HWND previous = s.capture;
    if (!previous)
        return TRUE;
    s.capture = nullptr;
    CurrentHost().GrabMouse(false);
    if (Find(previous))
        SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    return S().capture;
}

// Cursor and icons ------------------------------------------------------------------------

HICON LoadIcon(HINSTANCE instance, LPCSTR name) {
    return LoadShared(instance, name, false);
}

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
    return LoadShared(instance, name, true);
}

BOOL DestroyIcon(HICON icon) {
    uintptr_t v = reinterpret_cast<uintptr_t>(icon);
    if (!S().icons.count(v))
        return FALSE;
    // Loaded icons are shared and live as long as the program.
    return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) {
    return DestroyIcon(cursor);
}

HCURSOR SetCursor(HCURSOR cursor) {
    UserState& s = S();
    if (cursor && !s.icons.count(reinterpret_cast<uintptr_t>(cursor)))
        return s.cursor;
    HCURSOR previous = s.cursor;
    s.cursor = cursor;
    if (previous != cursor)
        ApplyCursorToHost(cursor);
    return previous;
}

HCURSOR GetCursor() {
    return S().cursor;
}

int ShowCursor(BOOL show) {
    UserState& s = S();
    bool wasShown = s.cursorCount >= 0;
    s.cursorCount += show ? 1 : -1;
    bool shown = s.cursorCount >= 0;
    if (shown != wasShown)
        CurrentHost().ShowCursor(shown);
    return s.cursorCount;
}

BOOL GetCursorPos(POINT* point) {
    if (!point)
        return FALSE;
    *point = S().cursorPos;
    return TRUE;
}

// System values ---------------------------------------------------------------------------

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
            return platform::SCREEN_WIDTH;
        case SM_CYSCREEN:
            return platform::SCREEN_HEIGHT;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXSMICON:
        case SM_CYSMICON:
            return 16;
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return DOUBLE_CLICK_SIZE;
        default:
            return 0;
    }
}

UINT GetDoubleClickTime() {
    return DOUBLE_CLICK_MS;
}

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return S().keys[virtualKey] ? SHORT(0x8000) : 0;
}

SHORT GetAsyncKeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

BOOL MessageBeep(UINT) {
    return TRUE;
}

DWORD GetTickCount() {
    return Now();
}

namespace platform {

int PumpPendingMessages() {
    int count = 0;
    MSG m;
    for (;;) {
        if (!PeekOne(m, nullptr, 0, 0, false))
            break;
        if (m.message == WM_QUIT)
            break;
        PeekOne(m, nullptr, 0, 0, true);
        TranslateMessage(&m);
        DispatchMessage(&m);
        ++count;
    }
    return count;
}

bool RunMessagesUntil(uint32_t timeMs) {
    for (;;) {
        PumpPendingMessages();
        if (QuitPending(nullptr))
            return false;
        uint32_t now = Now();
        if (AtOrAfter(now, timeMs))
            return true;
        PresentIfChanged();
        CurrentHost().WaitForEvent(std::min(TimeToNextTimer(), timeMs - now));
    }
}

bool QuitPending(int* exitCode) {
    if (!S().quit)
        return false;
    if (exitCode)
        *exitCode = S().quitCode;
    return true;
}

ModalLoop::ModalLoop() {
    ++S().modalLoops;
}

ModalLoop::~ModalLoop() {
    if (S().modalLoops > 0)
        --S().modalLoops;
    if (quit_)
        PostQuitMessage(quitCode_);
}

bool ModalLoop::Quits(const MSG& msg) {
    if (msg.message != WM_QUIT)
        return false;
    quit_ = true;
    quitCode_ = int(msg.wParam);
    return true;
}

bool InModalLoop() {
    return S().modalLoops > 0;
}

const HostImage* IconImage(HICON icon) {
    auto it = S().icons.find(reinterpret_cast<uintptr_t>(icon));
    if (it == S().icons.end() || it->second->systemArrow)
        return nullptr;
    return &it->second->image;
}

void ResetUser() {
    UserState& s = S();
    for (auto& [dc, kind] : s.dcs) {
        if (kind.screen)
            DeleteScreenDC(dc);
        else
            DeleteTargetDC(dc);
    }
    s = UserState{};
}

}  // namespace platform
