#include "app/mainframe.h"

#include "app/dialogs.h"
#include "app/hit_areas.h"
#include "display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/menus/menu.h"
#include "platform/user/user.h"
#include "res/resource.h"

namespace {
int g_systemCursorCount = 0;

void CreateVikingFont(CFont& font, int height) {
    font.CreateFont(height, 0, 0, 0, FW_EXTRALIGHT, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, "Viking");
}
}  // namespace

void ShowSystemCursor(int show) {
    if (show == 1) {
        while (g_systemCursorCount < 0) {
            ShowCursor(TRUE);
            ++g_systemCursorCount;
        }
    } else {
        while (g_systemCursorCount >= 0) {
            ShowCursor(FALSE);
            --g_systemCursorCount;
        }
    }
}

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_PAINT()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_TIMER()
ON_WM_SETCURSOR()
ON_MESSAGE(WM_INIT_SURFACES, OnInitSurfaces)
ON_COMMAND(ID_CLANS, OnClans)
ON_COMMAND(ID_EXIT, OnExit)
ON_COMMAND(ID_SETTINGS, OnSettings)
ON_COMMAND(ID_RESET, OnReset)
ON_COMMAND(ID_ABOUT, OnAbout)
ON_COMMAND(ID_LOAD_WORLD, OnLoadWorld)
ON_COMMAND(ID_SAVE_WORLD, OnSaveWorld)
ON_COMMAND(ID_TOOL_BLUE, OnToolBlue)
ON_COMMAND(ID_TOOL_RED, OnToolRed)
ON_COMMAND(ID_TOOL_TREE, OnToolTree)
ON_COMMAND(ID_TOOL_ROCK, OnToolRock)
ON_COMMAND(ID_TOOL_WATER, OnToolWater)
ON_COMMAND(ID_TOOL_ERASE, OnToolErase)
ON_COMMAND(ID_TOOL_NOTHING, OnToolNothing)
ON_UPDATE_COMMAND_UI_RANGE(ID_TOOL_BLUE, ID_TOOL_NOTHING, OnUpdateTool)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {
    brush.SelectTool(TOOL_NOTHING);
    world.stopYears = [this] { StopYears(); };

    Create(nullptr, "Vorla - Symulation", WS_POPUP | WS_SYSMENU, rectDefault, nullptr, nullptr);

    appIcon = LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
    SendMessage(WM_SETICON, ICON_BIG, LPARAM(appIcon));
    SendMessage(WM_SETICON, ICON_SMALL, LPARAM(appIcon));

    appCursor = LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDC_SWORD_CURSOR));
    SetCursor(appCursor);

    renderTimerId = uint32_t(SetTimer(RENDER_TIMER, RENDER_INTERVAL_MS, nullptr));

    CreateVikingFont(yearFont, 28);
    CreateVikingFont(panelFont, 20);
}

CMainFrame::~CMainFrame() {
    IDirectDrawSurface** sheets[] = {&surfacePotvory, &surfacePotbig, &surfacePlocha,
                                     &surfaceOkoli};
    for (IDirectDrawSurface** sheet : sheets) {
        if (*sheet != nullptr) {
            (*sheet)->Release();
            *sheet = nullptr;
        }
    }
    yearFont.DeleteObject();
    panelFont.DeleteObject();
    world.stopYears = nullptr;
}

void CMainFrame::StopYears() {
    if (yearTimerId != 0) {
        KillTimer(yearTimerId);
        yearTimerId = 0;
    }
}

LRESULT CMainFrame::OnInitSurfaces(WPARAM, LPARAM) {
    ShowSystemCursor(1);
    SetCursor(appCursor);
    if (!LoadSpriteSheets()) {
        // The window is gone, and this object with it.
        return 0;
    }
    surfacesReady = 1;
    modalOpen = 0;
    yearTimerId = 0;
    world.ResetWorld();
    return 0;
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
    CFrameWnd::OnTimer(nIDEvent);
    if (modalOpen == 1) {
        return;  // dropped, not deferred
    }
    if (nIDEvent == renderTimerId && !IsIconic() && surfacesReady == 1) {
        if (RenderFrame() == 1) {
            g_display.Flip();
        }
    }
    if (yearTimerId != 0 && nIDEvent == yearTimerId) {
        world.StepYear();
    }
}

// A failed start leaves 0: the years stay paused.
void CMainFrame::StartYears() {
    yearTimerId = uint32_t(SetTimer(YEAR_TIMER, UINT(world.rules.yearLengthMs), nullptr));
}

void CMainFrame::ToggleYears() {
    if (yearTimerId == 0) {
        StartYears();
    } else {
        StopYears();
    }
}

CMainFrame::DialogScope::DialogScope(CMainFrame& frame) : frame_(frame) {
    frame_.modalOpen = 1;
    g_display.ShowGdiPage();
}

CMainFrame::DialogScope::~DialogScope() {
    frame_.modalOpen = 0;
}

void CMainFrame::ShowPopupMenu(int x, int y) {
    g_display.ShowGdiPage();
    modalOpen = 1;
    HMENU menu = LoadMenu(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDR_POPUP_MENU));
    // The window covers the screen from its origin, so client and screen points agree.
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0,
                   m_hWnd, nullptr);
    DestroyMenu(menu);
    modalOpen = 0;
}

void CMainFrame::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    CFrameWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

// Keys act on release, so holding one down still gives one action.
void CMainFrame::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
    CFrameWnd::OnKeyUp(nChar, nRepCnt, nFlags);
    if (nChar == VK_ESCAPE) {
        PostMessage(WM_CLOSE, 0, 0);
    } else if (nChar == VK_SPACE) {
        world.StepYear();
    }
}

void CMainFrame::OnMouseMove(UINT nFlags, CPoint point) {
    const BoardSquare square = BoardSquareAt(point.x, point.y);
    if (square.onBoard) {
        // Paints on every move while the button is held, also on the same square.
        if (::GetCapture() == m_hWnd) {
            brush.ApplyBrush(world, square.column, square.row);
        }
        hoverColumn = square.column;
        hoverRow = square.row;
    } else {
        hoverColumn = -1;
    }
    CFrameWnd::OnMouseMove(nFlags, point);
}

void CMainFrame::OnLButtonDown(UINT nFlags, CPoint point) {
    const BoardSquare square = BoardSquareAt(point.x, point.y);
    if (square.onBoard) {
        brush.ApplyBrush(world, square.column, square.row);
        SetCapture();
    }
    if (InMenuButton(point.x, point.y)) {
        ShowPopupMenu(point.x, point.y);
    }
    if (InStartStopButton(point.x, point.y)) {
        ToggleYears();
    }
    CFrameWnd::OnLButtonDown(nFlags, point);
}

void CMainFrame::OnLButtonUp(UINT nFlags, CPoint point) {
    CFrameWnd::OnLButtonUp(nFlags, point);
    ::ReleaseCapture();
    const BoardSquare square = BoardSquareAt(point.x, point.y);
    if (square.onBoard) {
        brush.ApplyBrush(world, square.column, square.row);
    }
}

// The second press of a double click does nothing.
void CMainFrame::OnLButtonDblClk(UINT nFlags, CPoint point) {
    CFrameWnd::OnLButtonDblClk(nFlags, point);
}

void CMainFrame::OnRButtonDown(UINT nFlags, CPoint point) {
    CFrameWnd::OnRButtonDown(nFlags, point);
}

void CMainFrame::OnRButtonUp(UINT nFlags, CPoint point) {
    CFrameWnd::OnRButtonUp(nFlags, point);
}

BOOL CMainFrame::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(appCursor);
    return TRUE;
}

void CMainFrame::OnClans() {
    DialogScope scope(*this);
    CClansDialog dialog(this);
    dialog.DoModal();
}

// The years, if they run, go on at the length the dialog leaves, whichever way it closed.
void CMainFrame::OnSettings() {
    DialogScope scope(*this);
    {
        CSettingsDialog dialog(this);
        dialog.DoModal();
    }
    if (yearTimerId != 0) {
        KillTimer(yearTimerId);
        StartYears();
    }
}

void CMainFrame::OnAbout() {
    DialogScope scope(*this);
    CAboutDialog dialog;
    dialog.DoModal();
}

void CMainFrame::OnExit() {
    PostMessage(WM_CLOSE, 0, 0);
}
void CMainFrame::OnReset() {
    world.ResetWorld();
}
void CMainFrame::OnToolBlue() {
    brush.SelectTool(TOOL_BLUE);
}
void CMainFrame::OnToolRed() {
    brush.SelectTool(TOOL_RED);
}
void CMainFrame::OnToolTree() {
    brush.SelectTool(TOOL_TREE);
}
void CMainFrame::OnToolRock() {
    brush.SelectTool(TOOL_ROCK);
}
void CMainFrame::OnToolWater() {
    brush.SelectTool(TOOL_WATER);
}
void CMainFrame::OnToolErase() {
    brush.SelectTool(TOOL_ERASE);
}
void CMainFrame::OnToolNothing() {
    brush.SelectTool(TOOL_NOTHING);
}

void CMainFrame::OnUpdateTool(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(UpdateToolCheck(brush.tool, pCmdUI->m_nID) ? 1 : 0);
}
