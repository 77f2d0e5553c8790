// How the open/save dialog draws a row of its file list: a folder or a page, and the name,
// marked when selected.
#include <algorithm>
#include <string>

#include "platform/comdlg/filedlg_internal.h"
#include "platform/gdi/gdi.h"
#include "platform/user/style_painter.h"

namespace platform::filedlg {
namespace {

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// The classic folder: a yellow body with a tab, outlined in dark yellow.
void PaintFolderGlyph(HDC dc, int x, int y) {
    const COLORREF edge = RGB(128, 128, 0), body = RGB(255, 255, 0);
    PaintFill(dc, {x + 1, y + 3, x + 15, y + 13}, edge);
    PaintFill(dc, {x + 2, y + 4, x + 14, y + 12}, body);
    PaintFill(dc, {x + 2, y + 2, x + 7, y + 3}, edge);
    Line(dc, x + 2, y + 4, x + 14, y + 4, RGB(255, 255, 255));
}

// A page with a folded corner.
void PaintFileGlyph(HDC dc, int x, int y) {
    const COLORREF ink = RGB(0, 0, 0), paper = RGB(255, 255, 255);
    PaintFill(dc, {x + 3, y + 1, x + 13, y + 15}, ink);
    PaintFill(dc, {x + 4, y + 2, x + 12, y + 14}, paper);
    PaintFill(dc, {x + 10, y + 1, x + 13, y + 4}, GetSysColor(COLOR_WINDOW));
    Line(dc, x + 9, y + 1, x + 13, y + 5, ink);
    Line(dc, x + 9, y + 2, x + 9, y + 5, ink);
    Line(dc, x + 9, y + 5, x + 12, y + 5, ink);
    for (int row = 6; row < 13; row += 2)
        Line(dc, x + 5, y + row, x + 11, y + row, RGB(128, 128, 128));
}

std::string RowText(const DRAWITEMSTRUCT& d) {
    LRESULT n = SendMessage(d.hwndItem, LB_GETTEXTLEN, d.itemID, 0);
    if (n < 0)
        return "";
    std::string text(size_t(n) + 1, '\0');
    SendMessage(d.hwndItem, LB_GETTEXT, d.itemID, LPARAM(reinterpret_cast<intptr_t>(text.data())));
    text.resize(size_t(n));
    return text;
}

}  // namespace

// The mark covers the name only; it is navy with the focus in the list and grey without.
void DrawFileRow(const DRAWITEMSTRUCT& d) {
    HDC dc = d.hDC;
    const RECT& line = d.rcItem;
    if (d.itemData != 0)
        PaintFolderGlyph(dc, line.left + 2, line.top);
    else
        PaintFileGlyph(dc, line.left + 2, line.top);
    const std::string label = RowText(d);
    RECT text = {line.left + 20, line.top, line.right, line.bottom};
    SIZE extent = {0, 0};
    GetTextExtentPoint32(dc, label.c_str(), int(label.size()), &extent);
    RECT mark = {text.left - 1, line.top + 1, std::min(line.right, LONG(text.left + extent.cx + 2)),
                 line.bottom - 1};
    const bool selected = d.itemState & ODS_SELECTED, focused = d.itemState & ODS_FOCUS;
    if (selected)
        PaintFill(dc, mark, GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(selected && focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT t = {text.left + 1, text.top, text.right, text.bottom};
    DrawText(dc, label.c_str(), -1, &t, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (selected && focused)
        PaintFocusRect(dc, mark);
}

}  // namespace platform::filedlg
