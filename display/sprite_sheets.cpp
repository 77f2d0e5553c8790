// The main window's four sprite sheets.
#include "app/mainframe.h"
#include "display/bitmap_surfaces.h"
#include "display/display.h"
#include "platform/user/user.h"

namespace {
struct SheetSlot {
    IDirectDrawSurface* CMainFrame::*field;
    const char* name;
    int width;
    int height;
    bool keyed;
};
constexpr SheetSlot SHEETS[] = {
    {&CMainFrame::surfacePlocha, "IDB_PLOCHA", 640, 480, false},
    {&CMainFrame::surfacePotvory, "IDB_POTVORY", 0, 0, true},
    {&CMainFrame::surfacePotbig, "IDB_POTBIG", 0, 0, false},
    {&CMainFrame::surfaceOkoli, "IDB_OKOLI", 0, 0, true},
};
}  // namespace

BOOL CMainFrame::LoadSpriteSheets() {
    IDirectDraw* directDraw = g_display.GetDirectDraw();
    const HINSTANCE instance = AfxGetInstanceHandle();
    for (const SheetSlot& sheet : SHEETS) {
        IDirectDrawSurface* surface =
            LoadBitmapSurface(directDraw, sheet.name, sheet.width, sheet.height, instance);
        this->*sheet.field = surface;
        if (surface == nullptr) {
            // Closing destroys this window and the object with it: touch nothing after.
            ::SendMessage(m_hWnd, WM_CLOSE, 0, 0);
            return FALSE;
        }
        if (sheet.keyed) {
            SetSurfaceColorKey(surface, SHEET_TRANSPARENT);
        }
    }
    return TRUE;
}

void CMainFrame::RestoreSpriteSheets() {
    const HINSTANCE instance = AfxGetInstanceHandle();
    for (const SheetSlot& sheet : SHEETS) {
        IDirectDrawSurface* surface = this->*sheet.field;
        if (surface == nullptr) {
            continue;
        }
        surface->Restore();
        ReloadBitmapSurface(surface, sheet.name, instance);
        if (sheet.keyed) {
            SetSurfaceColorKey(surface, SHEET_TRANSPARENT);
        }
    }
    g_display.RestorePrimary();
}
