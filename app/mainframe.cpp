#include "app/mainframe.h"

#include "app/resource.h"
#include "display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/user/user.h"

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
    ON_WM_TIMER()
    ON_MESSAGE(WM_INIT_SURFACES, OnInitSurfaces)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {
    brush.SelectTool(TOOL_NOTHING);
    world.stopYears = [this] { StopYears(); };

    Create(nullptr, "Vorla - Symulation", WS_POPUP | WS_SYSMENU, rectDefault, nullptr,
           nullptr);

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
