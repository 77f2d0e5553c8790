#include "app/app.h"

#include <ctime>

#include "app/dialogs.h"
#include "app/mainframe.h"
#include "display/display.h"
#include "sim/random.h"

BEGIN_MESSAGE_MAP(CSimApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

CSimApp::CSimApp() : CWinApp(nullptr) {
    SeedRandom(uint32_t(std::time(nullptr)));
}

BOOL CSimApp::InitInstance() {
    CMainFrame* frame = new CMainFrame;
    m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    if (g_display.Init(frame->m_hWnd, 640, 480, 0) == 0) {
        return FALSE;
    }
    frame->UpdateWindow();
    const HWND window = frame->m_hWnd;
    frame->SendMessage(WM_INIT_SURFACES, 0, 0);
    // A sheet that failed to load has closed the window: a failed start, not a run.
    if (!IsWindow(window)) {
        return FALSE;
    }
    if (!startWorldPath.empty()) {
        frame->OpenWorldAtStart(startWorldPath);
    }
    return IsWindow(window);
}

// The framework's standard About command: the same box, outside the menu's frame.
void CSimApp::OnAppAbout() {
    CAboutDialog dialog;
    dialog.DoModal();
}
