// Windows: the handle table, classes, the tree, creation and destruction, styles, text
// and the state kept for a window.
#include "platform/user/window.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi_target.h"
#include "platform/host/host.h"
#include "platform/host/screen.h"

namespace platform::user {

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

HWND TopLevelAncestor(HWND hwnd) {
    Window* w = Find(hwnd);
    while (w && IsChildStyle(*w) && Find(w->parent)) {
        hwnd = w->parent;
        w = Find(hwnd);
    }
    return hwnd;
}

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

std::vector<HWND> ChildWindows(HWND hwnd) {
    std::vector<HWND> kids;
    if (const Window* w = Find(hwnd))
        for (HWND k : w->children)
            if (const Window* c = Find(k); c && IsChildStyle(*c))
                kids.push_back(k);
    return kids;
}

void SendDestroy(HWND hwnd) {
    if (!Find(hwnd))
        return;
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    for (HWND k : ChildWindows(hwnd))
        SendDestroy(k);
}

void FreeWindow(HWND hwnd) {
    if (!Find(hwnd))
        return;
    for (HWND k : ChildWindows(hwnd))
        FreeWindow(k);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    Window* w = Find(hwnd);
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

}  // namespace platform::user

using namespace platform::user;

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
            if (!IsChildStyle(*self))
                InvalidateUncovered(hwnd, self->rect);
        }
        if (S().active == hwnd)
            S().active = nullptr;
    }
    SendDestroy(hwnd);
    FreeWindow(hwnd);
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

HWND GetParent(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->parent : nullptr;
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

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data) {
    Window* w = Find(hwnd);
    if (!w || !name || IS_INTRESOURCE(name))
        return FALSE;
    w->props[name] = data;
    return TRUE;
}

HANDLE GetProp(HWND hwnd, LPCSTR name) {
    Window* w = Find(hwnd);
    if (!w || !name || IS_INTRESOURCE(name))
        return nullptr;
    auto it = w->props.find(name);
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND hwnd, LPCSTR name) {
    Window* w = Find(hwnd);
    if (!w || !name || IS_INTRESOURCE(name))
        return nullptr;
    auto it = w->props.find(name);
    if (it == w->props.end())
        return nullptr;
    HANDLE data = it->second;
    w->props.erase(it);
    return data;
}

namespace platform {

bool RegisterClassOnce(LPCSTR name, WNDPROC proc, UINT style, bool arrowCursor) {
    WNDCLASS existing;
    if (GetClassInfo(nullptr, name, &existing))
        return true;
    WNDCLASS wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hCursor = arrowCursor ? LoadCursor(nullptr, IDC_ARROW) : nullptr;
    wc.lpszClassName = name;
    return RegisterClass(&wc) != 0;
}

bool SetWindowExtra(HWND hwnd, std::unique_ptr<WindowExtra> extra) {
    Window* w = Find(hwnd);
    if (!w)
        return false;
    w->extra = std::move(extra);
    return true;
}

WindowExtra* GetWindowExtra(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->extra.get() : nullptr;
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
