// Where windows stand: rectangles, showing and hiding, moving, and which window is at a
// point.
#include "platform/user/window.h"

#include <algorithm>

namespace platform::user {

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

HWND ChildAt(HWND hwnd, POINT screenPt) {
    Window* w = Find(hwnd);
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        Window* c = Find(*it);
        if (c && IsChildStyle(*c) && (c->style & WS_VISIBLE) && Contains(ScreenRect(*c), screenPt))
            return ChildAt(*it, screenPt);
    }
    return hwnd;
}

}  // namespace platform::user

using namespace platform::user;

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
            if (!IsChildStyle(*w))
                InvalidateUncovered(hwnd, w->rect);
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
    if (!IsChildStyle(*w) && (w->style & WS_VISIBLE) && !w->iconic &&
        (x != old.left || y != old.top || cx != old.right - old.left || cy != old.bottom - old.top))
        InvalidateUncovered(hwnd, old);
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
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : UINT(SWP_NOREDRAW)));
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

HWND WindowFromPoint(POINT point) {
    const auto& top = S().topLevel;
    for (auto it = top.rbegin(); it != top.rend(); ++it) {
        Window* w = Find(*it);
        if (w && (w->style & WS_VISIBLE) && !w->iconic && Contains(w->rect, point))
            return ChildAt(*it, point);
    }
    return nullptr;
}
