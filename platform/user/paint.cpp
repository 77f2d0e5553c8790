// Painting: update regions, WM_PAINT, and device contexts on windows and the screen.
#include "platform/user/window.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/gdi_target.h"
#include "platform/host/screen.h"

namespace platform::user {

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

void InvalidateWhole(Window& w, bool erase) {
    w.hasUpdate = true;
    w.eraseUpdate = w.eraseUpdate || erase;
    w.update = {0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
}

HDC MakeWindowDC(HWND hwnd, const RECT* limit) {
    Window* w = Find(hwnd);
    if (!w)
        return nullptr;
    RECT r = ScreenRect(*w);
    Region visible = VisibleRegion(*w);
    if (limit)
        visible = Intersect(visible, RECT{r.left + limit->left, r.top + limit->top,
                                          r.left + limit->right, r.top + limit->bottom});
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
    if (dc) {
        platform::SetTargetDCClip(dc, Offset(visible, -c.left, -c.top));
        S().dcs[dc] = Dc{false};
    }
    return dc;
}

Region VisibleRegion(const Window& w) {
    RECT screen = {0, 0, platform::SCREEN_WIDTH, platform::SCREEN_HEIGHT};
    Region visible = Intersect({ScreenRect(w)}, screen);
    // Children clip within their parents.
    for (const Window* p = IsChildStyle(w) ? Find(w.parent) : nullptr; p;
         p = IsChildStyle(*p) ? Find(p->parent) : nullptr)
        visible = Intersect(visible, ScreenRect(*p));
    // Overlapping top-level windows clip by z-order: later ones lie above.
    const std::vector<HWND>& tops = S().topLevel;
    auto self = std::find(tops.begin(), tops.end(), TopLevelAncestor(w.handle));
    for (auto it = self == tops.end() ? self : self + 1; it != tops.end(); ++it) {
        const Window* t = Find(*it);
        if (t && (t->style & WS_VISIBLE) && !t->iconic)
            visible = Subtract(visible, t->rect);
    }
    if (w.style & WS_CLIPCHILDREN) {
        for (HWND k : w.children) {
            const Window* c = Find(k);
            if (c && IsChildStyle(*c) && (c->style & WS_VISIBLE))
                visible = Subtract(visible, ScreenRect(*c));
        }
    }
    return visible;
}

// Invalidates the part of area (in the coordinates w's rectangle is given in) that w covers.
void InvalidateUnder(HWND hwnd, const Window& w, const RECT& area, BOOL erase) {
    RECT under = Intersection(area, w.rect);
    if (IsEmpty(under))
        return;
    RECT local = {under.left - w.rect.left, under.top - w.rect.top, under.right - w.rect.left,
                  under.bottom - w.rect.top};
    InvalidateRect(hwnd, &local, erase);
}

void InvalidateUncovered(HWND top, const RECT& area) {
    const std::vector<HWND> tops = S().topLevel;
    for (HWND h : tops) {
        if (h == top)
            break;
        const Window* b = Find(h);
        if (b && (b->style & WS_VISIBLE) && !b->iconic)
            InvalidateUnder(h, *b, area, TRUE);
    }
}

}  // namespace platform::user

using namespace platform::user;

BOOL UpdateWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    if (w->hasUpdate && EffectivelyVisible(*w))
        SendMessage(hwnd, WM_PAINT, 0, 0);
    for (HWND k : ChildWindows(hwnd))
        UpdateWindow(k);
    return TRUE;
}

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
    // A parent that does not clip its children paints over them: they paint again after.
    if (!(w->style & WS_CLIPCHILDREN)) {
        for (HWND k : ChildWindows(hwnd)) {
            const Window* c = Find(k);
            if (c && (c->style & WS_VISIBLE))
                InvalidateUnder(k, *c, r, erase);
        }
    }
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
    // As the system does, the paint draws on the update region only: an erase or a paint of
    // the whole window must not wipe what lies outside it, which nothing repaints.
    HDC dc = MakeWindowDC(hwnd, &paint->rcPaint);
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

namespace platform {

PaintScope::PaintScope(HWND h) : hwnd(h) {
    dc = BeginPaint(h, &ps);
    client = {0, 0, 0, 0};
    GetClientRect(h, &client);
}

PaintScope::~PaintScope() {
    EndPaint(hwnd, &ps);
}

}  // namespace platform
