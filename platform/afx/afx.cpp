#include "platform/afx/afx.h"

#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "platform/res/resources.h"

namespace {

CWinApp* g_theApp = nullptr;
// The window object being created: it is attached to its handle at the first message.
CWnd* g_creatingWnd = nullptr;
// The message being handled, for Default().
MSG g_currentMsg;

// The window's property that holds its framework object.
constexpr const char* OBJECT_PROP = "AfxWnd";

std::string ExecutableName() {
    std::string full = platform::fs::ExecutablePath();
    if (full.empty())
        return "app";
    std::string name = platform::fs::NameOf(full);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

}  // namespace

// CCmdTarget -------------------------------------------------------------------------------

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, int nCode, UINT nID) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage != 0; ++e) {
            if (e->nMessage != message)
                continue;
            if (message == WM_COMMAND && (e->nCode != nCode || nID < e->nID || nID > e->nLastID))
                continue;
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, nCode, nID);
    if (!e)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    e->pfn(this, WPARAM(nID), 0, pExtra);
    return TRUE;
}

// CCmdUI -----------------------------------------------------------------------------------

void CCmdUI::Enable(BOOL bOn) {
    m_bEnabled = bOn ? TRUE : FALSE;
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    m_nCheck = nCheck;
}

void CCmdUI::SetText(LPCSTR lpszText) {
    m_strText = lpszText ? lpszText : "";
    m_bTextChanged = TRUE;
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    if (!pTarget || m_nID == 0)
        return TRUE;
    m_bEnableChanged = FALSE;
    BOOL ran = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return ran;
}

// CWnd ---------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd) {
        // Detached first, so the messages of the destruction can't reach a half-destroyed
        // object.
        HWND hwnd = m_hWnd;
        RemoveProp(hwnd, OBJECT_PROP);
        m_hWnd = nullptr;
        if (g_theApp && g_theApp->m_pMainWnd == this)
            g_theApp->m_pMainWnd = nullptr;
        ::DestroyWindow(hwnd);
    }
    if (g_creatingWnd == this)
        g_creatingWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    return static_cast<CWnd*>(GetProp(hwnd, OBJECT_PROP));
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs = {
        lpParam, AfxGetInstanceHandle(), nIDorHMenu,     hWndParent,    nHeight,  nWidth, y,
        x,       LONG(dwStyle),          lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    CWnd* outer = g_creatingWnd;
    g_creatingWnd = this;
    m_creating = true;
    HWND hwnd =
        ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y,
                         cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    m_creating = false;
    if (g_creatingWnd == this)
        g_creatingWnd = outer;
    return hwnd && m_hWnd == hwnd ? TRUE : FALSE;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(uintptr_t(nID)));
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    if (!m_hWnd)
        return 0;
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

std::string CWnd::GetWindowText() const {
    int n = ::GetWindowTextLength(m_hWnd);
    std::string text(size_t(n) + 1, '\0');
    int got = ::GetWindowText(m_hWnd, text.data(), n + 1);
    text.resize(size_t(got));
    return text;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               LPARAM(reinterpret_cast<intptr_t>(hIcon))));
}

LRESULT CWnd::Default() {
    return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr, nullptr);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        // Notifications from controls (non-zero code) are not commands.
        if (HIWORD(wParam) != 0 && lParam != 0)
            return FALSE;
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(message, 0, 0);
    if (!e)
        return FALSE;
    // The handler may destroy the window and delete this object: nothing of it is
    // touched afterwards.
    *pResult = e->pfn(this, wParam, lParam, nullptr);
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandle(hwnd);
    if (!wnd && g_creatingWnd && !g_creatingWnd->m_hWnd) {
        wnd = g_creatingWnd;
        wnd->m_hWnd = hwnd;
        SetProp(hwnd, OBJECT_PROP, wnd);
        g_creatingWnd = nullptr;
    }
    if (!wnd)
        return ::DefWindowProc(hwnd, message, wParam, lParam);

    MSG saved = g_currentMsg;
    g_currentMsg.hwnd = hwnd;
    g_currentMsg.message = message;
    g_currentMsg.wParam = wParam;
    g_currentMsg.lParam = lParam;
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    g_currentMsg = saved;

    if (message == WM_NCDESTROY) {
        RemoveProp(hwnd, OBJECT_PROP);
        wnd->m_hWnd = nullptr;
        if (g_theApp && g_theApp->m_pMainWnd == wnd) {
            g_theApp->m_pMainWnd = nullptr;
            PostQuitMessage(0);
        }
        if (!wnd->m_creating)
            wnd->PostNcDestroy();
    }
    return result;
}

// CFrameWnd -------------------------------------------------------------------------------

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CLOSE()
ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR, DWORD dwExStyle, void* pContext) {
    if (!lpszClassName) {
        WNDCLASS existing;
        if (!GetClassInfo(AfxGetInstanceHandle(), DEFAULT_CLASS, &existing)) {
            WNDCLASS wc;
            wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
            wc.lpfnWndProc = &CWnd::WndProc;
            wc.hInstance = AfxGetInstanceHandle();
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.lpszClassName = DEFAULT_CLASS;
            if (!RegisterClass(&wc))
                return FALSE;
        }
        lpszClassName = DEFAULT_CLASS;
    }
    // The default rectangle is passed as CW_USEDEFAULT throughout, never as a difference
    // of its corners.
    int x = rect.left, y = rect.top;
    int w = CW_USEDEFAULT, h = CW_USEDEFAULT;
    if (!(CRect(rect) == rectDefault)) {
        w = rect.right - rect.left;
        h = rect.bottom - rect.top;
    }
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, w, h,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr, pContext);
}

void CFrameWnd::OnClose() {
    // A close that reaches the main window from inside a modal loop (one queued before
    // the loop began) must not delete it under the loop: it ends the program by the
    // loops unwinding instead, and the outermost one destroys the window.
    if (platform::InModalLoop() && AfxGetMainWnd() == this) {
        PostQuitMessage(0);
        return;
    }
    DestroyWindow();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::UpdateCommandUI(CCmdUI& ui) {
    ui.DoUpdate(this, m_bAutoMenuEnable);
}

// CWinApp ---------------------------------------------------------------------------------

CWinApp::CWinApp(LPCSTR lpszAppName) {
    m_appName = lpszAppName ? lpszAppName : ExecutableName();
    m_pszAppName = m_appName.c_str();
    m_hInstance = platform::ExecutableInstance();
    g_theApp = this;
}

CWinApp::~CWinApp() {
    if (g_theApp == this)
        g_theApp = nullptr;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* wnd = CWnd::FromHandle(h);
        if (wnd && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (!(GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        BOOL got = GetMessage(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    m_msgCur = msg;
    // A quit that came through a modal loop leaves the main window standing: it goes now,
    // as after a close. Forgotten first, so that its destruction posts no second quit.
    CWnd* main = m_pMainWnd;
    if (main && main->m_hWnd) {
        m_pMainWnd = nullptr;
        main->DestroyWindow();
    }
    return ExitInstance();
}

CWinApp* AfxGetApp() {
    return g_theApp;
}

CWnd* AfxGetMainWnd() {
    return g_theApp ? g_theApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_theApp ? g_theApp->m_hInstance : platform::ExecutableInstance();
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    if (!app->InitInstance()) {
        if (CWnd* main = app->m_pMainWnd) {
            if (main->m_hWnd) {
                main->DestroyWindow();
            } else if (main->AutoDeletes()) {
                // A frame whose window never came to be has nothing to delete it.
                app->m_pMainWnd = nullptr;
                delete main;
            }
        }
        int code = app->ExitInstance();
        return code != 0 ? code : 1;
    }
    return app->Run();
}

// CFont -------------------------------------------------------------------------------------

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                       LPCSTR lpszFacename) {
    DeleteObject();
    m_hObject = ::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                             bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                             nQuality, nPitchAndFamily, lpszFacename);
    return m_hObject ? TRUE : FALSE;
}

BOOL CFont::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    HFONT font = m_hObject;
    m_hObject = nullptr;
    return ::DeleteObject(font);
}
