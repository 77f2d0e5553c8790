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

constexpr int ICON_ID = 20;
constexpr int TEXT_ID = 0xFFFF;
constexpr int BUTTON_W = 75;
constexpr int BUTTON_H = 23;
constexpr int BUTTON_GAP = 6;
constexpr int MARGIN = 11;
constexpr int ICON_SIZE = 32;
constexpr int MAX_TEXT_W = 400;

using BoxHook =
    std::function<void(HWND box, const std::string& text, const std::string& caption, UINT type)>;

BoxHook& Hook() {
    static BoxHook hook;
    return hook;
}

struct BoxInfo {
    std::string text;
    std::string caption;
    UINT type;
    bool hasCancel;
};

// The icon control of a box draws one of the classic icons.
LRESULT IconProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) {
            RECT r;
            GetClientRect(hwnd, &r);
            PaintFace(dc, r);
            UINT flag = UINT(GetWindowLongPtr(hwnd, GWLP_USERDATA));
            std::vector<uint32_t> icon = MessageBoxIcon(flag);
            if (!icon.empty())
                PaintImage(dc, 0, 0, ICON_SIZE, ICON_SIZE, icon.data());
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

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

void EnsureIconClass() {
    WNDCLASS existing;
    if (GetClassInfo(nullptr, "MsgBoxIcon", &existing))
        return;
    WNDCLASS wc;
    wc.lpfnWndProc = IconProc;
    wc.lpszClassName = "MsgBoxIcon";
    RegisterClass(&wc);
}

// Draws the classic icons into a 32 x 32 image.
struct Canvas32 {
    std::vector<uint32_t> px = std::vector<uint32_t>(ICON_SIZE * ICON_SIZE, 0);
    void Set(int x, int y, uint32_t c) {
        if (x >= 0 && y >= 0 && x < ICON_SIZE && y < ICON_SIZE)
            px[size_t(y * ICON_SIZE + x)] = c;
    }
    void Disc(double cx, double cy, double r, uint32_t c) {
        for (int y = 0; y < ICON_SIZE; ++y)
            for (int x = 0; x < ICON_SIZE; ++x) {
                double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r)
                    Set(x, y, c);
            }
    }
    void Rect(int l, int t, int r, int b, uint32_t c) {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                Set(x, y, c);
    }
    // A glyph from rows of '#'.
    void Glyph(int x0, int y0, const std::vector<const char*>& rows, uint32_t c) {
        for (size_t j = 0; j < rows.size(); ++j)
            for (int i = 0; rows[j][i]; ++i)
                if (rows[j][i] == '#')
                    Set(x0 + i, y0 + int(j), c);
    }
};

constexpr uint32_t BLACK = 0xFF000000;
constexpr uint32_t WHITE = 0xFFFFFFFF;
constexpr uint32_t RED = 0xFFFF0000;
constexpr uint32_t DARK_RED = 0xFF800000;
constexpr uint32_t YELLOW = 0xFFFFFF00;
constexpr uint32_t BLUE = 0xFF0000FF;
constexpr uint32_t NAVY = 0xFF000080;

void Bubble(Canvas32& c) {
    // A white speech bubble with a black outline and a tail at the lower left.
    auto ellipse = [&](double rx, double ry, uint32_t colour) {
        for (int y = 0; y < ICON_SIZE; ++y)
            for (int x = 0; x < ICON_SIZE; ++x) {
                double dx = (x + 0.5 - 16) / rx, dy = (y + 0.5 - 13) / ry;
                if (dx * dx + dy * dy <= 1.0)
                    c.Set(x, y, colour);
            }
    };
    ellipse(15.0, 12.0, BLACK);
    for (int k = 0; k < 7; ++k) {
        c.Rect(7 - k / 2, 22 + k, 12 - k, 23 + k, BLACK);
    }
    ellipse(14.0, 11.0, WHITE);
    for (int k = 0; k < 5; ++k)
        c.Rect(8 - k / 2, 22 + k, 11 - k, 23 + k, WHITE);
}

}  // namespace

std::vector<uint32_t> MessageBoxIcon(UINT iconFlag) {
    Canvas32 c;
    switch (iconFlag & MB_ICONMASK) {
        case MB_ICONHAND: {
            c.Disc(16, 16, 15.5, DARK_RED);
            c.Disc(16, 16, 14.5, RED);
            // A white X of three-pixel strokes.
            for (int i = 0; i < 13; ++i)
                for (int w = -1; w <= 1; ++w) {
                    c.Set(10 + i + w, 10 + i, WHITE);
                    c.Set(22 - i + w, 10 + i, WHITE);
                }
            break;
        }
        case MB_ICONEXCLAMATION: {
            // A yellow triangle with a black outline, apex at the top.
            for (int y = 1; y < 31; ++y) {
                double half = (y - 1) * 15.0 / 29.0;
                int l = int(std::floor(16 - half)), r = int(std::ceil(16 + half));
                c.Rect(l, y, r, y + 1, BLACK);
                if (y > 2 && y < 30)
                    c.Rect(l + 1, y, r - 1, y + 1, YELLOW);
            }
            c.Rect(15, 10, 18, 23, BLACK);
            c.Rect(15, 25, 18, 28, BLACK);
            break;
        }
        case MB_ICONQUESTION:
            Bubble(c);
            c.Glyph(11, 4,
                    {"..#####..", ".##...##.", ".##...##.", "......##.", ".....##..", "....##...",
                     "....##...", "....##...", ".........", "....##...", "....##..."},
                    BLUE);
            break;
        case MB_ICONASTERISK:
            Bubble(c);
            c.Rect(14, 5, 18, 9, NAVY);
            c.Rect(14, 11, 18, 21, NAVY);
            c.Rect(12, 11, 14, 12, NAVY);
            c.Rect(12, 20, 20, 21, NAVY);
            break;
        default:
            return {};
    }
    return c.px;
}

}  // namespace platform::dialog

using namespace platform::dialog;

int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    EnsureIconClass();
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
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT textRect = {0, 0, MAX_TEXT_W, 0};
    DrawText(dc, info.text.c_str(), int(info.text.size()), &textRect,
             DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    int textW = std::max<int>(textRect.right - textRect.left, 1);
    int textH = std::max<int>(textRect.bottom - textRect.top, tm.tmHeight);

    bool hasIcon = (type & MB_ICONMASK) != 0;
    int iconW = hasIcon ? ICON_SIZE + MARGIN + 6 : 0;
    int n = int(buttons.size());
    int rowW = n * BUTTON_W + (n - 1) * BUTTON_GAP;
    int contentW = std::max(iconW + textW, rowW);
    int topH = std::max(hasIcon ? ICON_SIZE : 0, textH);
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
        ItemSpec icon;
        icon.className = "MsgBoxIcon";
        icon.id = ICON_ID;
        icon.style = WS_VISIBLE;
        int iy = oy + MARGIN + (topH - ICON_SIZE) / 2;
        icon.rect = {ox + MARGIN, iy, ox + MARGIN + ICON_SIZE, iy + ICON_SIZE};
        spec.items.push_back(icon);
    }
    ItemSpec label;
    label.className = "STATIC";
    label.text = info.text;
    label.id = TEXT_ID;
    label.style = WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    int tx = ox + MARGIN + iconW, ty = oy + MARGIN + (topH - textH) / 2;
    label.rect = {tx, ty, tx + textW, ty + textH};
    spec.items.push_back(label);

    // The default button takes the focus first.
    if (defIndex > 0)
        std::rotate(spec.items.begin(), spec.items.begin() + defIndex, spec.items.begin() + n);

    INT_PTR result;
    {
        // The icon control learns its icon through its user data once it exists; a
        // watcher sees the box once it has been painted (timers come after painting).
        struct IconSetter {
            static INT_PTR Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
                if (message == WM_INITDIALOG) {
                    BoxInfo* bi = reinterpret_cast<BoxInfo*>(lParam);
                    if (HWND icon = GetDlgItem(hwnd, ICON_ID))
                        SetWindowLongPtr(icon, GWLP_USERDATA, LONG_PTR(bi->type & MB_ICONMASK));
                }
                if (message == WM_TIMER && wParam == 0xB0C5) {
                    KillTimer(hwnd, 0xB0C5);
                    BoxInfo* bi = reinterpret_cast<BoxInfo*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
                    if (bi && Hook())
                        Hook()(hwnd, bi->text, bi->caption, bi->type);
                    return TRUE;
                }
                INT_PTR r = BoxProc(hwnd, message, wParam, lParam);
                if (message == WM_INITDIALOG && Hook())
                    SetTimer(hwnd, 0xB0C5, 10, nullptr);
                return r;
            }
        };
        result = RunModal(nullptr, spec, owner, IconSetter::Proc,
                          LPARAM(reinterpret_cast<intptr_t>(&info)), nullptr);
    }
    return int(result);
}

namespace platform {

void SetMessageBoxHook(
    std::function<void(HWND box, const std::string& text, const std::string& caption, UINT type)>
        hook) {
    Hook() = std::move(hook);
}

}  // namespace platform
