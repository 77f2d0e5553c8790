#include "platform/dialogs/dialog.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_internal.h"
#include "platform/gdi/gdi.h"
#include "platform/host/screen.h"
#include "platform/res/resources.h"
#include "platform/user/style_painter.h"

namespace platform::dialog {

DialogState* Find(HWND dialog) {
    return WindowExtraOf<DialogState>(dialog);
}

namespace {

LRESULT CALLBACK_DefDlgClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProc(hwnd, message, wParam, lParam);
}

}  // namespace

void EnsureDialogClass() {
    RegisterClassOnce(DIALOG_CLASS, CALLBACK_DefDlgClassProc);
}

namespace {

// What control wants of the dialog keys; with msg, of that key in particular.
LRESULT DlgCode(HWND control, const MSG* msg = nullptr) {
    return control ? SendMessage(control, WM_GETDLGCODE, msg ? msg->wParam : 0,
                                 LPARAM(reinterpret_cast<intptr_t>(msg)))
                   : 0;
}

bool IsPushButton(HWND control) {
    return (DlgCode(control) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

bool Focusable(HWND control) {
    LONG_PTR style = GetWindowLongPtr(control, GWL_STYLE);
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

}  // namespace

void FocusControl(HWND dialog, HWND control, bool selectAll) {
    if (!control)
        return;
    SetFocus(control);
    if (DialogState* d = Find(dialog))
        d->lastFocus = control;
    if (selectAll && (DlgCode(control) & DLGC_HASSETSEL))
        SendMessage(control, EM_SETSEL, 0, -1);
    // Every push button repaints: which one looks like the default follows the focus.
    if (DialogState* d = Find(dialog))
        for (HWND item : d->items)
            if (IsPushButton(item))
                InvalidateRect(item, nullptr, FALSE);
}

HWND DefaultButton(HWND dialog) {
    DialogState* d = Find(dialog);
    if (!d || d->defId < 0)
        return nullptr;
    return GetDlgItem(dialog, d->defId);
}

void SendCommand(HWND dialog, int id, HWND control) {
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                LPARAM(reinterpret_cast<intptr_t>(control)));
}

bool InTree(HWND hwnd, HWND dialog) {
    while (hwnd) {
        if (hwnd == dialog)
            return true;
        if (!(GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD))
            return false;
        hwnd = GetParent(hwnd);
    }
    return false;
}

namespace {

void PaintDialog(HWND hwnd) {
    PaintScope paint(hwnd);
    HDC dc = paint.dc;
    if (!dc)
        return;
    const RECT& r = paint.client;
    LONG_PTR style = GetWindowLongPtr(hwnd, GWL_STYLE);
    PaintFace(dc, r);
    int frame = 0;
    if (style & (DS_MODALFRAME | WS_DLGFRAME | WS_BORDER)) {
        PaintModalFrame(dc, r);
        frame = DIALOG_FRAME;
    }
    if ((style & WS_CAPTION) == WS_CAPTION) {
        RECT bar = {frame, frame, r.right - frame, frame + DIALOG_CAPTION - 1};
        char text[256];
        GetWindowText(hwnd, text, sizeof(text));
        PaintCaption(dc, bar, text);
    }
}

}  // namespace

}  // namespace platform::dialog

using namespace platform::dialog;

LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
        auto* record = cs ? static_cast<CreateRecord*>(cs->lpCreateParams) : nullptr;
        auto state = std::make_unique<DialogState>();
        if (record) {
            state->proc = record->proc;
            state->font = record->font;
        }
        SetWindowExtra(hwnd, std::move(state));
        return TRUE;
    }
    DialogState* d = Find(hwnd);
    if (d && d->proc) {
        INT_PTR handled = d->proc(hwnd, message, wParam, lParam);
        if (message == WM_INITDIALOG)
            return handled;
        if (handled)
            return handled;
        d = Find(hwnd);
    }
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_PAINT:
            PaintDialog(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_CLOSE:
            SendCommand(hwnd, IDCANCEL, GetDlgItem(hwnd, IDCANCEL));
            return 0;
        case WM_GETFONT:
            return d ? LRESULT(reinterpret_cast<intptr_t>(d->font)) : 0;
        case WM_SETFONT:
            if (d)
                d->font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case DM_GETDEFID:
            if (d && d->defId >= 0)
                return LRESULT(MAKELPARAM(d->defId, DC_HASDEFID));
            return 0;
        case DM_SETDEFID:
            if (d) {
                d->defId = int(wParam);
                for (HWND item : d->items)
                    if (IsPushButton(item))
                        InvalidateRect(item, nullptr, FALSE);
            }
            return TRUE;
        case WM_NEXTDLGCTL: {
            HWND target;
            if (LOWORD(uintptr_t(lParam)))
                target = reinterpret_cast<HWND>(wParam);
            else
                target = GetNextDlgTabItem(hwnd, GetFocus(), wParam ? TRUE : FALSE);
            FocusControl(hwnd, target, true);
            return 0;
        }
        case WM_SETFOCUS:
            if (d) {
                HWND target = d->lastFocus && IsWindow(d->lastFocus)
                                  ? d->lastFocus
                                  : GetNextDlgTabItem(hwnd, nullptr, FALSE);
                if (target)
                    SetFocus(target);
            }
            return 0;
        default:
            return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

BOOL IsDialogMessage(HWND dialog, LPMSG msg) {
    if (!msg || !Find(dialog) || !InTree(msg->hwnd, dialog))
        return FALSE;
    if (msg->message == WM_CHAR &&
        (msg->wParam == '\t' || msg->wParam == '\r' || msg->wParam == 27))
        return TRUE;
    if (msg->message != WM_KEYDOWN)
        return FALSE;
    HWND focus = GetFocus();
    LRESULT code = InTree(focus, dialog) ? DlgCode(focus, msg) : 0;
    switch (msg->wParam) {
        case VK_TAB: {
            if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))
                return FALSE;
            bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            HWND next = GetNextDlgTabItem(dialog, InTree(focus, dialog) ? focus : nullptr,
                                          back ? TRUE : FALSE);
            FocusControl(dialog, next, true);
            return TRUE;
        }
        case VK_RETURN: {
            if (code & DLGC_WANTALLKEYS)
                return FALSE;
            if (focus && focus != dialog && IsPushButton(focus) && IsWindowEnabled(focus)) {
                SendCommand(dialog, GetDlgCtrlID(focus), focus);
                return TRUE;
            }
            HWND def = DefaultButton(dialog);
            if (def) {
                if (IsWindowEnabled(def))
                    SendCommand(dialog, GetDlgCtrlID(def), def);
            } else {
                SendCommand(dialog, IDOK, GetDlgItem(dialog, IDOK));
            }
            return TRUE;
        }
        case VK_ESCAPE:
            if (code & DLGC_WANTALLKEYS)
                return FALSE;
            SendCommand(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL));
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogState* d = Find(dialog);
    if (!d)
        return FALSE;
    d->ended = true;
    d->result = result;
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
    DialogState* d = Find(dialog);
    if (!d)
        return nullptr;
    for (HWND item : d->items)
        if (IsWindow(item) && GetDlgCtrlID(item) == id)
            return item;
    return nullptr;
}

BOOL SetDlgItemText(HWND dialog, int id, LPCSTR text) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, LPSTR buffer, int maxCount) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (buffer && maxCount > 0)
            buffer[0] = 0;
        return 0;
    }
    return UINT(GetWindowText(item, buffer, maxCount));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    char text[16];
    if (isSigned)
        std::snprintf(text, sizeof(text), "%d", int32_t(value));
    else
        std::snprintf(text, sizeof(text), "%u", value);
    return SetDlgItemText(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated)
        *translated = FALSE;
    char text[64];
    if (!GetDlgItemText(dialog, id, text, sizeof(text)))
        return 0;
    const char* p = text;
    while (*p == ' ')
        ++p;
    bool negative = false;
    if (isSigned && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    if (*p < '0' || *p > '9')
        return 0;
    int64_t v = 0;
    while (*p >= '0' && *p <= '9') {
        v = v * 10 + (*p++ - '0');
        if (v > 0xFFFFFFFFll)
            return 0;
    }
    while (*p == ' ')
        ++p;
    if (*p)
        return 0;
    if (negative)
        v = -v;
    if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : v > 0xFFFFFFFFll)
        return 0;
    if (translated)
        *translated = TRUE;
    return UINT(uint32_t(int64_t(v)));
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessage(item, message, wParam, lParam) : 0;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    DialogState* d = Find(dialog);
    if (!d || d->items.empty())
        return nullptr;
    const auto& items = d->items;
    int n = int(items.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (items[size_t(i)] == control)
            start = i;
    if (start < 0)
        start = previous ? 0 : n - 1;
    for (int k = 1; k <= n; ++k) {
        int i = previous ? (start - k + n * 2) % n : (start + k) % n;
        if (Focusable(items[size_t(i)]))
            return items[size_t(i)];
    }
    return nullptr;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    DialogState* d = Find(dialog);
    if (!d || !rect)
        return FALSE;
    LOGFONT lf{};
    LONG base = GetDialogBaseUnits();
    if (d->font && GetObject(d->font, sizeof(lf), &lf)) {
        // The template's point size is what the font was made from: -height at 96 dpi.
        int points = int(std::lround(std::abs(lf.lfHeight) * 72.0 / 96.0));
        base = platform::DialogBaseUnitsFor(points, lf.lfFaceName);
    }
    int bx = LOWORD(uintptr_t(base)), by = HIWORD(uintptr_t(base));
    auto mx = [bx](LONG v) { return LONG(std::lround(double(v) * bx / 4.0)); };
    auto my = [by](LONG v) { return LONG(std::lround(double(v) * by / 8.0)); };
    *rect = {mx(rect->left), my(rect->top), mx(rect->right), my(rect->bottom)};
    return TRUE;
}

LONG GetDialogBaseUnits() {
    return platform::DialogBaseUnitsFor(8, "MS Sans Serif");
}
