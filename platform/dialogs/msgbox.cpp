// MessageBox: a captioned box with an icon, wrapped text and a row of buttons, run like
// any other modal dialog.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/dialogs/dialog.h"
#include "platform/dialogs/dialog_internal.h"
#include "platform/gdi/gdi.h"
#include "platform/host/screen.h"
#include "platform/user/style_painter.h"

namespace platform::dialog {
namespace {

constexpr int BUTTON_W = 75;
constexpr int BUTTON_H = 23;
constexpr int BUTTON_GAP = 6;
constexpr int MARGIN = 11;
constexpr int MAX_TEXT_W = 400;

struct BoxInfo {
    std::string text;
    std::string caption;
    UINT type;
    bool hasCancel;
};

INT_PTR BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BoxInfo* info = reinterpret_cast<BoxInfo*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtr(hwnd, GWLP_USERDATA, lParam);
            return TRUE;
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            if (!info)
                return FALSE;
            // Escape (IDCANCEL) ends a box only when it has a way to cancel.
            if (id == IDCANCEL && !info->hasCancel) {
                if (GetDlgItem(hwnd, IDOK) && (info->type & MB_TYPEMASK) == MB_OK)
                    EndDialog(hwnd, IDOK);
                return TRUE;
            }
            if (id >= IDOK && id <= IDNO)
                EndDialog(hwnd, id);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

struct ButtonDef {
    int id;
    const char* text;
};

std::vector<ButtonDef> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
        case MB_YESNOCANCEL:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO:
            return {{IDYES, "&Yes"}, {IDNO, "&No"}};
        case MB_RETRYCANCEL:
            return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
        default:
            return {{IDOK, "OK"}};
    }
}

// The text wrapped to the widest a box allows, at least one line high.
SIZE MeasureText(const std::string& text, HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT textRect = {0, 0, MAX_TEXT_W, 0};
    DrawText(dc, text.c_str(), int(text.size()), &textRect,
             DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {std::max<LONG>(textRect.right - textRect.left, 1),
            std::max<LONG>(textRect.bottom - textRect.top, tm.tmHeight)};
}

}  // namespace

}  // namespace platform::dialog

using namespace platform::dialog;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    BoxInfo info;
    info.text = text ? text : "";
    info.caption = caption ? caption : "Error";
    info.type = type;
    std::vector<ButtonDef> buttons = ButtonsFor(type);
    info.hasCancel = false;
    for (const ButtonDef& b : buttons)
        if (b.id == IDCANCEL)
            info.hasCancel = true;

    HFONT font = platform::DialogFont(8, "MS Sans Serif");
    const SIZE textSize = MeasureText(info.text, font);
    const int textW = textSize.cx, textH = textSize.cy;

    bool hasIcon = (type & MB_ICONMASK) != 0;
    const int iconSize = GetSystemMetrics(SM_CXICON);
    int iconW = hasIcon ? iconSize + MARGIN + 6 : 0;
    int n = int(buttons.size());
    int rowW = n * BUTTON_W + (n - 1) * BUTTON_GAP;
    int contentW = std::max(iconW + textW, rowW);
    int topH = std::max(hasIcon ? iconSize : 0, textH);
    int clientW = contentW + 2 * MARGIN;
    int clientH = MARGIN + topH + MARGIN + BUTTON_H + MARGIN;
    const int frame = platform::DIALOG_FRAME, cap = platform::DIALOG_CAPTION;
    int w = clientW + 2 * frame, h = clientH + 2 * frame + cap;
    int x = (platform::SCREEN_WIDTH - w) / 2, y = (platform::SCREEN_HEIGHT - h) / 2;

    DialogSpec spec;
    spec.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    spec.caption = info.caption;
    spec.rect = {x, y, x + w, y + h};
    spec.font = font;
    int ox = frame, oy = frame + cap;
    int defIndex = int((type & MB_DEFMASK) >> 8);
    if (defIndex >= n)
        defIndex = 0;
    int bx = ox + (clientW - rowW) / 2, by = oy + MARGIN + topH + MARGIN;
    for (int i = 0; i < n; ++i) {
        ItemSpec b;
        b.className = "BUTTON";
        b.text = buttons[size_t(i)].text;
        b.id = buttons[size_t(i)].id;
        b.style = WS_VISIBLE | WS_TABSTOP | (i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        int left = bx + i * (BUTTON_W + BUTTON_GAP);
        b.rect = {left, by, left + BUTTON_W, by + BUTTON_H};
        spec.items.push_back(b);
    }
    if (hasIcon) {
        // One of the system's icons, named by its id as a resource script names icons.
        ItemSpec icon;
        icon.className = "STATIC";
        icon.text = std::to_string(OIC_SAMPLE + ((type & MB_ICONMASK) >> 4));
        icon.id = platform::MESSAGE_BOX_ICON_ID;
        icon.style = WS_VISIBLE | SS_ICON;
        int iy = oy + MARGIN + (topH - iconSize) / 2;
        icon.rect = {ox + MARGIN, iy, ox + MARGIN + iconSize, iy + iconSize};
        spec.items.push_back(icon);
    }
    ItemSpec label;
    label.className = "STATIC";
    label.text = info.text;
    label.id = platform::MESSAGE_BOX_TEXT_ID;
    label.style = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    int tx = ox + MARGIN + iconW, ty = oy + MARGIN + (topH - textH) / 2;
    label.rect = {tx, ty, tx + textW, ty + textH};
    spec.items.push_back(label);

    // The default button takes the focus first.
    if (defIndex > 0)
        std::rotate(spec.items.begin(), spec.items.begin() + defIndex, spec.items.begin() + n);

    INT_PTR result =
        RunModal(nullptr, spec, owner, BoxProc, LPARAM(reinterpret_cast<intptr_t>(&info)), nullptr);
    return int(result);
}
