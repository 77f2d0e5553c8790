// The default window procedure.
#include "platform/user/window.h"

#include <algorithm>
#include <cstring>

#include "platform/host/host.h"
#include "platform/utf8.h"

namespace platform::user {

void SetHostIconFrom(const Window& w) {
    HICON icon = w.bigIcon ? w.bigIcon : w.smallIcon;
    const platform::HostImage* image = platform::IconImage(icon);
    if (image)
        CurrentHost().SetIcon(*image);
}

}  // namespace platform::user

using namespace platform::user;

namespace {

// WM_SETCURSOR in the client area: the parent decides first, then the class's cursor.
LRESULT OnSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(uintptr_t(lParam)) != HTCLIENT)
        return FALSE;
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    // A child lets its parent decide first.
    if (IsChildStyle(*w) && Find(w->parent) && SendMessage(w->parent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    w = Find(hwnd);
    if (w && w->cls->wc.hCursor) {
        SetCursor(w->cls->wc.hCursor);
        return TRUE;
    }
    return FALSE;
}

// WM_SETICON: the window's big or small icon; the main window's goes to the host.
LRESULT OnSetIcon(HWND hwnd, WPARAM wParam, LPARAM lParam) {
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

LRESULT OnSetText(HWND hwnd, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w)
        return FALSE;
    w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    if (hwnd == MainWindow())
        CurrentHost().SetTitle(w->text);
    return TRUE;
}

LRESULT OnGetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w || wParam == 0 || !lParam)
        return 0;
    // What fits, cut between characters.
    size_t n = platform::utf8::Floor(w->text, wParam - 1);
    std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
    reinterpret_cast<char*>(lParam)[n] = 0;
    return LRESULT(n);
}

}  // namespace

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
        case WM_SETCURSOR:
            return OnSetCursor(hwnd, wParam, lParam);
        case WM_SETICON:
            return OnSetIcon(hwnd, wParam, lParam);
        case WM_SETTEXT:
            return OnSetText(hwnd, lParam);
        case WM_GETTEXT:
            return OnGetText(hwnd, wParam, lParam);
        case WM_MOUSEWHEEL:
            // A child that does not scroll hands the wheel to the window it sits in.
            if (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD)
                return SendMessage(GetParent(hwnd), message, wParam, lParam);
            return 0;
        default:
            return 0;
    }
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, message, wParam, lParam) : 0;
}
