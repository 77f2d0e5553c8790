// An application framework in the MFC manner: the application object and its message
// loop, windows bound to C++ objects, message maps, command routing and command-update
// handlers, and fonts.
//
// Message maps and default processing. Each class that handles messages declares
// DECLARE_MESSAGE_MAP() and lists its entries between BEGIN_MESSAGE_MAP(Class, Base) and
// END_MESSAGE_MAP(). A message with no entry in the class or any base goes to the
// window's DefWindowProc. A message with an entry goes to its handler only; the base
// handlers in CWnd (CWnd::OnTimer, CWnd::OnLButtonDown, ...) do nothing but Default(),
// which passes the message being handled to DefWindowProc. So a derived handler states
// its default processing by where it calls the base handler:
//   first:  CWnd::OnTimer(id); then its own work
//   last:   its own work; then CWnd::OnLButtonDown(flags, point)
//   only:   nothing but the base call (or no entry at all)
//   none:   its own work, never calling the base
//
// Start-up. The program's main() installs a host and calls AfxWinMain(), which runs the
// one CWinApp object's InitInstance and then its message loop (or AfxMain(), which first
// installs the real SDL2 host).
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/user/user.h"
#include "platform/windef.h"

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int x, int y) : POINT{x, y} {}
    CPoint(POINT p) : POINT(p) {}
    explicit CPoint(LPARAM lParam) : POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)} {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int cx, int cy) : SIZE{cx, cy} {}
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    BOOL PtInRect(POINT p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    CPoint TopLeft() const { return CPoint(left, top); }
    operator LPRECT() { return this; }
    operator const RECT*() const { return this; }
    bool operator==(const RECT& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    // Exact for two CRects, so that C++20's reversed candidate doesn't tie with the above.
    bool operator==(const CRect& o) const { return *this == static_cast<const RECT&>(o); }
};

class CCmdTarget;
class CCmdUI;

// A menu handle as the framework passes it to handlers.
class CMenu {
  public:
    explicit CMenu(HMENU menu = nullptr) : m_hMenu(menu) {}
    HMENU GetSafeHmenu() const { return m_hMenu; }
    HMENU m_hMenu;
};
class CWnd;
class CWinApp;

// Notification codes passed to OnCmdMsg.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// The framework's standard About command, answered by the application object.
constexpr UINT ID_APP_ABOUT = 0xE140;

using AFX_PMSGHANDLER = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, void* extra);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // 0 ends the map
    int nCode;      // for WM_COMMAND entries: CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;       // for WM_COMMAND entries: the first command id
    UINT nLastID;   // and the last
    AFX_PMSGHANDLER pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg when asked only whether a command has a handler.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
};

#define DECLARE_MESSAGE_MAP()                     \
  protected:                                      \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                     \
        using TheBaseClass = baseClass;                 \
        static_assert(sizeof(ThisClass) > 0);           \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, nullptr }                                                                       \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// Each entry calls the handler through a member pointer of the handler's exact MFC
// signature, so a handler declared with the wrong one does not compile.
#define AFX_HANDLER(sig, name) static_cast<sig>(&ThisClass::name)
#define AFX_THIS(t) static_cast<ThisClass*>(t)
#define AFX_ENTRY(msg, body)                                                    \
    {msg, 0, 0, 0, [](CCmdTarget* t_, WPARAM w_, LPARAM l_, void*) -> LRESULT { \
         (void)w_;                                                              \
         (void)l_;                                                              \
         body                                                                   \
     }},

#define ON_WM_CREATE()                                                                          \
    AFX_ENTRY(WM_CREATE,                                                                        \
              return (AFX_THIS(t_)->*AFX_HANDLER(int(ThisClass::*)(LPCREATESTRUCT), OnCreate))( \
                  reinterpret_cast<LPCREATESTRUCT>(l_));)
#define AFX_VOID0(msg, name) \
    AFX_ENTRY(msg, (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(), name))(); return 0;)
#define ON_WM_DESTROY() AFX_VOID0(WM_DESTROY, OnDestroy)
#define ON_WM_NCDESTROY() AFX_VOID0(WM_NCDESTROY, OnNcDestroy)
#define ON_WM_PAINT() AFX_VOID0(WM_PAINT, OnPaint)
#define ON_WM_CLOSE() AFX_VOID0(WM_CLOSE, OnClose)
#define ON_WM_SIZE()                                                                             \
    AFX_ENTRY(WM_SIZE, (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(UINT, int, int), OnSize))( \
                           UINT(w_), LOWORD(l_), HIWORD(l_));                                    \
              return 0;)
#define ON_WM_TIMER()                                                                            \
    AFX_ENTRY(WM_TIMER, (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(UINT_PTR), OnTimer))(w_); \
              return 0;)
#define AFX_KEY(msg, name)                                                                   \
    AFX_ENTRY(msg, (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(UINT, UINT, UINT), name))( \
                       UINT(w_), LOWORD(l_), HIWORD(l_));                                    \
              return 0;)
#define ON_WM_KEYDOWN() AFX_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define AFX_MOUSE(msg, name)                                                             \
    AFX_ENTRY(msg, (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(UINT, CPoint), name))( \
                       UINT(w_), CPoint(l_));                                            \
              return 0;)
#define ON_WM_MOUSEMOVE() AFX_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_SETCURSOR()                                                                        \
    AFX_ENTRY(                                                                                   \
        WM_SETCURSOR,                                                                            \
        return (AFX_THIS(t_)->*AFX_HANDLER(BOOL(ThisClass::*)(CWnd*, UINT, UINT), OnSetCursor))( \
            CWnd::FromHandle(reinterpret_cast<HWND>(w_)), LOWORD(l_), HIWORD(l_));)
#define AFX_WNDARG(msg, name)                                                     \
    AFX_ENTRY(msg, (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(CWnd*), name))( \
                       CWnd::FromHandle(reinterpret_cast<HWND>(w_)));             \
              return 0;)
#define ON_WM_SETFOCUS() AFX_WNDARG(WM_SETFOCUS, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WNDARG(WM_KILLFOCUS, OnKillFocus)
#define ON_WM_CAPTURECHANGED()                                                           \
    AFX_ENTRY(WM_CAPTURECHANGED,                                                         \
              (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(CWnd*), OnCaptureChanged))( \
                  CWnd::FromHandle(reinterpret_cast<HWND>(l_)));                         \
              return 0;)
#define ON_WM_ACTIVATE()                                                                       \
    AFX_ENTRY(WM_ACTIVATE,                                                                     \
              (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(UINT, CWnd*, BOOL), OnActivate))( \
                  LOWORD(w_), CWnd::FromHandle(reinterpret_cast<HWND>(l_)), HIWORD(w_));       \
              return 0;)
#define ON_WM_INITMENUPOPUP()                                                                \
    AFX_ENTRY(WM_INITMENUPOPUP, CMenu menu_(reinterpret_cast<HMENU>(w_));                    \
              (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(CMenu*, UINT, BOOL),            \
                                          OnInitMenuPopup))(&menu_, LOWORD(l_), HIWORD(l_)); \
              return 0;)
#define ON_WM_SHOWWINDOW()                                                                   \
    AFX_ENTRY(WM_SHOWWINDOW, (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(BOOL, UINT),     \
                                                         OnShowWindow))(BOOL(w_), UINT(l_)); \
              return 0;)
// handler: LRESULT OnMessage(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                           \
    AFX_ENTRY(message, return (AFX_THIS(t_)->*AFX_HANDLER(LRESULT(ThisClass::*)(WPARAM, LPARAM), \
                                                          memberFxn))(w_, l_);)
// handler: void OnCommand()
#define ON_COMMAND(id, memberFxn) ON_COMMAND_RANGE_ENTRY(id, id, memberFxn)
#define ON_COMMAND_RANGE_ENTRY(first, last, memberFxn)                    \
    {WM_COMMAND, CN_COMMAND, UINT(first), UINT(last),                     \
     [](CCmdTarget* t_, WPARAM, LPARAM, void*) -> LRESULT {               \
         (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(), memberFxn))(); \
         return 0;                                                        \
     }},
// handler: void OnCommandRange(UINT id)
#define ON_COMMAND_RANGE(first, last, memberFxn)                                      \
    {WM_COMMAND, CN_COMMAND, UINT(first), UINT(last),                                 \
     [](CCmdTarget* t_, WPARAM w_, LPARAM, void*) -> LRESULT {                        \
         (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(UINT), memberFxn))(UINT(w_)); \
         return 0;                                                                    \
     }},
// handler: void OnUpdateX(CCmdUI* pCmdUI)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) ON_UPDATE_COMMAND_UI_RANGE(id, id, memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, memberFxn)                     \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, UINT(first), UINT(last),                \
     [](CCmdTarget* t_, WPARAM, LPARAM, void* e_) -> LRESULT {                 \
         (AFX_THIS(t_)->*AFX_HANDLER(void(ThisClass::*)(CCmdUI*), memberFxn))( \
             static_cast<CCmdUI*>(e_));                                        \
         return 0;                                                             \
     }},

// An object that receives commands through its message map.
class CCmdTarget {
  public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the handler for command id (nCode CN_COMMAND, or CN_UPDATE_COMMAND_UI with a
    // CCmdUI* in pExtra). With pHandlerInfo, only reports whether a handler exists.
    // Returns TRUE when a handler was found.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // The first entry for message (and, for WM_COMMAND, code and id) in this class's map
    // or a base's.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, int nCode, UINT nID) const;

    friend class CWnd;
};

// One user-interface item (a menu item) being brought up to date before it shows. The
// base class records the outcome; a menu reads it back, or overrides the setters.
class CCmdUI {
  public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    void* m_pOther = nullptr;  // the menu or control the item lives in

    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;  // 0 clear, 1 checked, 2 indeterminate
    std::string m_strText;
    BOOL m_bTextChanged = FALSE;
    BOOL m_bEnableChanged = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE) { SetCheck(bOn ? 1 : 0); }
    virtual void SetText(LPCSTR lpszText);

    // Runs the target's update handler for m_nID; when that does not decide the enabled
    // state and bDisableIfNoHandler is set, enables the item exactly when some command
    // handler for m_nID exists. Returns TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

class CWnd : public CCmdTarget {
  public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;

    // The object attached to hwnd, or null when the framework does not own it.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd) { return FromHandle(hwnd); }
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                          HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(const RECT* rect, BOOL bErase = TRUE) {
        ::InvalidateRect(m_hWnd, rect, bErase);
    }
    void ValidateRect(const RECT* rect) { ::ValidateRect(m_hWnd, rect); }
    // 0 without a window: a timer with nowhere to go is not started.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::PostMessage(m_hWnd, message, wParam, lParam);
    }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void SetWindowText(LPCSTR text) { ::SetWindowText(m_hWnd, text); }
    std::string GetWindowText() const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HDC GetDC() { return ::GetDC(m_hWnd); }
    int ReleaseDC(HDC dc) { return ::ReleaseDC(m_hWnd, dc); }
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, w, h, repaint);
    }

    // The message being handled, passed on to DefWindowProc.
    LRESULT Default();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Runs after the window is gone (WM_NCDESTROY); a frame deletes itself here.
    virtual void PostNcDestroy() {}

    // The framework's window procedure: every framework class is registered with it.
    static LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    // True for objects that delete themselves in PostNcDestroy (frames).
    virtual bool AutoDeletes() const { return false; }

    // The base handlers: each does the default processing only.
    int OnCreate(LPCREATESTRUCT) { return int(Default()); }
    void OnDestroy() { Default(); }
    void OnNcDestroy() { Default(); }
    void OnPaint() { Default(); }
    void OnClose() { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
    void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnRButtonDblClk(UINT, CPoint) { Default(); }
    void OnMButtonDown(UINT, CPoint) { Default(); }
    void OnMButtonUp(UINT, CPoint) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return BOOL(Default()); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnCaptureChanged(CWnd*) { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }

    DECLARE_MESSAGE_MAP()

  private:
    // Set while CreateEx runs: a window that fails to be created does not delete its
    // object from under the constructor that is creating it.
    bool m_creating = false;
    friend int AfxWinMain();
};

// A top-level frame window: heap-allocated, it deletes itself when its window is
// destroyed. Closing it destroys it; destroying the application's main window ends the
// message loop.
class CFrameWnd : public CWnd {
  public:
    // The default rectangle: CreateWindowEx's CW_USEDEFAULT, which covers the screen.
    static const CRect rectDefault;
    // The class registered for frames when Create is given no class name.
    static constexpr const char* DEFAULT_CLASS = "AfxFrameOrView";

    // The frame's own Create sits beside the window's, not in place of it.
    using CWnd::Create;
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                LPCSTR lpszMenuName = nullptr, DWORD dwExStyle = 0, void* pContext = nullptr);

    // Routes a command to this frame's map, then to the application's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Brings one item of a menu about to open up to date: its update handler where there
    // is one; enabled exactly when a command handler exists otherwise.
    void UpdateCommandUI(CCmdUI& ui);

    BOOL m_bAutoMenuEnable = TRUE;

  protected:
    void PostNcDestroy() override { delete this; }
    bool AutoDeletes() const override { return true; }
    void OnClose();
    // Brings every command item of the menu up to date through UpdateCommandUI.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    DECLARE_MESSAGE_MAP()
};

// The one application object. Derive from it, override InitInstance, and construct one
// instance as a global.
class CWinApp : public CCmdTarget {
  public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    // The message loop: returns ExitInstance() once WM_QUIT arrives.
    virtual int Run();
    // Returns the exit code of the WM_QUIT that ended the loop.
    virtual int ExitInstance() { return int(m_msgCur.wParam); }
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPCSTR m_pszAppName = nullptr;
    MSG m_msgCur;

  private:
    std::string m_appName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// Runs the application on the installed host: InitInstance, then the message loop.
// Returns the loop's exit code; when InitInstance fails, destroys the main window and
// returns non-zero, so that a failed start does not look like success.
int AfxWinMain();
namespace platform {
struct HostOptions;
}
// Installs the real SDL2 host and runs AfxWinMain; non-zero when no display opens. The
// scale is the options' when scaleGiven, else VORLA_SCALE's ("sharp" or "integer").
int AfxMain(const platform::HostOptions& options, bool scaleGiven);

// A GDI font owned by the object.
class CFont {
  public:
    CFont() = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    ~CFont() { DeleteObject(); }

    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                    BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                    BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                    LPCSTR lpszFacename);
    BOOL DeleteObject();
    HFONT GetSafeHandle() const { return m_hObject; }
    operator HFONT() const { return m_hObject; }

    HFONT m_hObject = nullptr;
};
