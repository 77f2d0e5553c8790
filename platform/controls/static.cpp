// STATIC: text in the dialog face, and icons.
#include <cstdlib>

#include "platform/controls/control_internal.h"
#include "platform/host/host.h"
#include "platform/user/style_painter.h"

namespace platform::controls {
namespace {

void PaintStatic(HWND hwnd) {
    ControlPaint p(hwnd);
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

}  // namespace

LRESULT StaticProc(HWND hwnd, ControlState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            if ((Style(hwnd) & SS_TYPEMASK) == SS_ICON) {
                // The text names the icon: a number is a resource id.
                std::string name = Text(hwnd);
                char* end = nullptr;
                long id = std::strtol(name.c_str(), &end, 10);
                bool numeric = !name.empty() && end && *end == 0;
                s.icon = numeric ? LoadIcon(s.instance, MAKEINTRESOURCE(uintptr_t(id)))
                                 : LoadIcon(s.instance, name.c_str());
                // An icon control takes the icon's size.
                if (const HostImage* image = IconImage(s.icon)) {
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
        case STM_GETICON:
            return LRESULT(reinterpret_cast<intptr_t>(s.icon));
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace platform::controls
