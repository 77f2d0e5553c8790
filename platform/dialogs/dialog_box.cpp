// Modal dialog boxes: a template laid out in dialog units, made into windows, run in the
// dialog's own loop, and taken down.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string>

#include "platform/dialogs/dialog.h"
#include "platform/dialogs/dialog_internal.h"
#include "platform/gdi/gdi.h"
#include "platform/host/screen.h"
#include "platform/res/resources.h"

namespace platform::dialog {
namespace {

// Makes the dialog window and its controls, in template order; null when it can't be made.
HWND CreateDialogWindow(HINSTANCE instance, const DialogSpec& spec, HWND owner,
                        CreateRecord& record, const DialogWindowFactory& factory) {
    DialogWindowArgs args;
    args.exStyle = spec.exStyle;
    args.style = (spec.style & ~WS_VISIBLE & ~WS_CHILD) | WS_POPUP;
    args.caption = spec.caption.c_str();
    args.x = spec.rect.left;
    args.y = spec.rect.top;
    args.width = spec.rect.right - spec.rect.left;
    args.height = spec.rect.bottom - spec.rect.top;
    args.owner = owner;
    args.instance = instance;
    args.createParam = &record;
    HWND dialog = factory ? factory(args)
                          : CreateWindowEx(args.exStyle, DIALOG_CLASS, args.caption, args.style,
                                           args.x, args.y, args.width, args.height, owner, nullptr,
                                           instance, &record);
    if (dialog && !Find(dialog)) {
        DestroyWindow(dialog);
        return nullptr;
    }
    if (!dialog)
        return nullptr;
    HFONT font = Find(dialog)->font;
    for (const ItemSpec& item : spec.items) {
        DWORD style = item.style | WS_CHILD;
        HWND control = CreateWindowEx(
            0, item.className.c_str(), item.text.c_str(), style, item.rect.left, item.rect.top,
            item.rect.right - item.rect.left, item.rect.bottom - item.rect.top, dialog,
            reinterpret_cast<HMENU>(intptr_t(item.id)), instance, nullptr);
        if (!control)
            continue;
        SendMessage(control, WM_SETFONT, WPARAM(reinterpret_cast<uintptr_t>(font)), 0);
        DialogState* d = Find(dialog);
        if (!d)
            return nullptr;
        d->items.push_back(control);
        if ((item.className == "BUTTON" || item.className == "Button") &&
            (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && d->defId < 0)
            d->defId = item.id;
    }
    return dialog;
}

// WM_INITDIALOG, then the dialog shows with the focus on its first control (or the one
// WM_INITDIALOG chose).
void InitAndShow(HWND dialog, LPARAM initParam) {
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    LRESULT setFocus =
        SendMessage(dialog, WM_INITDIALOG, WPARAM(reinterpret_cast<uintptr_t>(first)), initParam);
    if (Find(dialog) && setFocus && first)
        FocusControl(dialog, first, true);
    if (Find(dialog) && !Find(dialog)->ended)
        ShowWindow(dialog, SW_SHOW);
    if (Find(dialog) && GetFocus() && !InTree(GetFocus(), dialog)) {
        // Activation put the focus on the dialog window itself.
        if (HWND f = Find(dialog)->lastFocus ? Find(dialog)->lastFocus : first)
            SetFocus(f);
    }
}

// The dialog's own loop, until EndDialog, the window's end, or WM_QUIT (as Cancel). The
// owner hears WM_ENTERIDLE each time the loop has nothing to do.
INT_PTR RunLoop(ModalLoop& loop, HWND dialog, HWND owner) {
    for (;;) {
        DialogState* state = Find(dialog);
        if (!state || !IsWindow(dialog))
            return state ? state->result : 0;
        if (state->ended)
            return state->result;
        MSG m;
        if (!PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (owner && IsWindow(owner) && !(GetWindowLongPtr(dialog, GWL_STYLE) & DS_NOIDLEMSG))
                SendMessage(owner, WM_ENTERIDLE, MSGF_DIALOGBOX,
                            LPARAM(reinterpret_cast<intptr_t>(dialog)));
            if (!Find(dialog) || Find(dialog)->ended || PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE))
                continue;
            WaitMessage();
            continue;
        }
        // Ends as Cancel would: no command reaches the dialog, so nothing is written back.
        if (loop.Quits(m))
            return IDCANCEL;
        if (IsDialogMessage(dialog, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessage(&m);
    }
}

// The dialog goes, the owner is enabled and active again, and the focus returns.
void TearDown(HWND dialog, HWND owner, bool ownerWasEnabled, HWND previousFocus) {
    if (ownerWasEnabled && IsWindow(owner))
        EnableWindow(owner, TRUE);
    if (IsWindow(dialog)) {
        ShowWindow(dialog, SW_HIDE);
        DestroyWindow(dialog);
    }
    if (!owner || !IsWindow(owner))
        return;
    if (!(GetWindowLongPtr(owner, GWL_STYLE) & WS_CHILD))
        SetActiveWindow(owner);
    if (previousFocus && IsWindow(previousFocus) && InTree(previousFocus, owner))
        SetFocus(previousFocus);
    else if (!GetFocus() || !IsWindow(GetFocus()))
        SetFocus(owner);
}

}  // namespace

INT_PTR RunModal(HINSTANCE instance, const DialogSpec& spec, HWND owner, DLGPROC proc,
                 LPARAM initParam, const DialogWindowFactory& factory) {
    ModalLoop loop;
    EnsureDialogClass();
    EnsureControlClasses();
    CreateRecord record{proc, spec.font};
    HWND previousFocus = GetFocus();
    HWND dialog = CreateDialogWindow(instance, spec, owner, record, factory);
    if (!dialog)
        return -1;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    InitAndShow(dialog, initParam);
    INT_PTR result = RunLoop(loop, dialog, owner);
    TearDown(dialog, owner, ownerWasEnabled, previousFocus);
    return result;
}

}  // namespace platform::dialog

INT_PTR DialogBoxParam(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC dialogProc,
                       LPARAM initParam) {
    platform::DialogTemplate t;
    if (!platform::LoadDialogTemplate(instance, templateName, t))
        return -1;
    return DialogBoxIndirectParam(instance, t, owner, dialogProc, initParam);
}

INT_PTR DialogBoxIndirectParam(HINSTANCE instance, const platform::DialogTemplate& dialogTemplate,
                               HWND owner, DLGPROC dialogProc, LPARAM initParam) {
    return platform::RunDialogBox(instance, dialogTemplate, owner, dialogProc, initParam, nullptr);
}

namespace platform {

LONG DialogBaseUnitsFor(int pointSize, const std::string& face) {
    // Measured once per font; the dialog fonts live as long as the program.
    static std::map<HFONT, LONG> measured;
    HFONT font = DialogFont(pointSize, face);
    if (auto it = measured.find(font); it != measured.end())
        return it->second;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{0, 0};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    GetTextExtentPoint32(dc, letters, 52, &size);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    // The average of 52 letters, rounded half up.
    int baseX = (size.cx / 26 + 1) / 2;
    int baseY = tm.tmHeight;
    if (baseX <= 0)
        baseX = 6;
    if (baseY <= 0)
        baseY = 13;
    return measured[font] = LONG(MAKELPARAM(baseX, baseY));
}

INT_PTR RunDialogBox(HINSTANCE instance, const DialogTemplate& t, HWND owner, DLGPROC dialogProc,
                     LPARAM initParam, const DialogWindowFactory& factory) {
    dialog::DialogSpec spec;
    int points = t.pointSize > 0 ? t.pointSize : 8;
    std::string face = t.fontFace.empty() ? "MS Sans Serif" : t.fontFace;
    spec.font = DialogFont(points, face);
    LONG base = DialogBaseUnitsFor(points, face);
    int bx = LOWORD(uintptr_t(base)), by = HIWORD(uintptr_t(base));
    auto mx = [bx](int v) { return int(std::lround(double(v) * bx / 4.0)); };
    auto my = [by](int v) { return int(std::lround(double(v) * by / 8.0)); };
    spec.style = t.style;
    spec.exStyle = t.exStyle;
    spec.caption = t.caption;
    int frame = (t.style & (DS_MODALFRAME | WS_DLGFRAME | WS_BORDER)) ? DIALOG_FRAME : 0;
    int caption = (t.style & WS_CAPTION) == WS_CAPTION ? DIALOG_CAPTION : 0;
    int w = mx(t.cx) + 2 * frame;
    int h = my(t.cy) + 2 * frame + caption;
    int x = mx(t.x), y = my(t.y);
    if (t.style & DS_CENTER) {
        x = (SCREEN_WIDTH - w) / 2;
        y = (SCREEN_HEIGHT - h) / 2;
    } else if (owner && !(t.style & DS_ABSALIGN)) {
        POINT p = {x, y};
        ClientToScreen(owner, &p);
        x = p.x;
        y = p.y;
    }
    spec.rect = {x, y, x + w, y + h};
    for (const DialogItemTemplate& it : t.items) {
        dialog::ItemSpec item;
        item.className = it.className;
        for (char& c : item.className)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        item.text = it.text;
        item.id = it.id;
        item.style = it.style;
        int left = frame + mx(it.x), top = frame + caption + my(it.y);
        item.rect = {left, top, left + mx(it.cx), top + my(it.cy)};
        spec.items.push_back(item);
    }
    return dialog::RunModal(instance, spec, owner, dialogProc, initParam, factory);
}

}  // namespace platform
