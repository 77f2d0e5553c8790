// USER-shaped windowing on the host: windows and classes, the one message queue,
// timers, painting, mouse capture and double clicks, keyboard, cursor and icons.
//
// Windows have no non-client area: a window's rectangle is its client area. A top-level
// window created with CW_USEDEFAULT for its position or size is placed at the screen
// origin and sized to the whole 640 x 480 screen, which is how the main window comes to
// cover the screen with its client origin at the screen origin.
//
// Typed characters: the host reports text as its own events, and each becomes one
// WM_CHAR carrying the character's Unicode code point; window text is UTF-8 (utf8.h).
// TranslateMessage adds WM_CHAR only for the keys that type control characters the host
// never reports as text (Backspace, Tab, Enter, Escape, Ctrl+letter), so every typed
// character gives exactly one WM_CHAR.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/styles.h"
#include "platform/windef.h"

using ATOM = WORD;
#define VORLA_USER_HANDLE(name) \
    struct name##__;            \
    using name = name##__*
using LONG_PTR = intptr_t;
using SHORT = int16_t;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// Window messages.
enum : UINT {
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_SETCURSOR = 0x0020,
    WM_NEXTDLGCTL = 0x0028,
    WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C,
    WM_SETFONT = 0x0030,
    WM_GETFONT = 0x0031,
    WM_SETICON = 0x0080,
    WM_NCCREATE = 0x0081,
    WM_NCDESTROY = 0x0082,
    WM_GETDLGCODE = 0x0087,
    WM_KEYFIRST = 0x0100,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_KEYLAST = 0x0109,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_INITMENUPOPUP = 0x0117,
    WM_ENTERIDLE = 0x0121,  // to a modal loop's owner (a dialog's, a menu's) when it is idle
    WM_MOUSEFIRST = 0x0200,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_MOUSELAST = 0x020A,
    WM_CAPTURECHANGED = 0x0215,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    WM_USER = 0x0400
};
// WM_ENTERIDLE's wParam: which kind of loop is idle.
enum : WPARAM { MSGF_DIALOGBOX = 0, MSGF_MENU = 2 };
// Asked of a dialog by its push buttons: which one is the default.
enum : UINT { DM_GETDEFID = WM_USER + 0, DM_SETDEFID = WM_USER + 1 };
constexpr WORD DC_HASDEFID = 0x534B;

// WM_GETDLGCODE answers.
enum : LRESULT {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004,
    DLGC_WANTMESSAGE = DLGC_WANTALLKEYS,
    DLGC_HASSETSEL = 0x0008,
    DLGC_DEFPUSHBUTTON = 0x0010,
    DLGC_UNDEFPUSHBUTTON = 0x0020,
    DLGC_WANTCHARS = 0x0080,
    DLGC_STATIC = 0x0100,
    DLGC_BUTTON = 0x2000
};

// The buttons and keys held, in a mouse message's wParam.
enum : WPARAM {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010
};

constexpr int HTCLIENT = 1;

// WM_SYSCOMMAND commands (the low four bits are the system's own).
constexpr WPARAM SC_CLOSE = 0xF060;

// WM_SIZE's, WM_ACTIVATE's and WM_SETICON's wParam.
enum : WPARAM { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1 };
enum : WPARAM { WA_INACTIVE = 0, WA_ACTIVE = 1 };
enum : WPARAM { ICON_SMALL = 0, ICON_BIG = 1 };

// Virtual keys.
enum : UINT {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F4 = 0x73,
    VK_F10 = 0x79,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_LMENU = 0xA4,
    VK_RMENU = 0xA5
};

// Class styles.
enum : UINT { CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_NOCLOSE = 0x0200 };

constexpr int CW_USEDEFAULT = int(0x80000000u);

// ShowWindow's commands.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWNA = 8,
    SW_RESTORE = 9
};

// SetWindowPos's flags.
enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080
};

// What GetWindowLongPtr and SetWindowLongPtr reach.
enum : int {
    GWLP_WNDPROC = -4,
    GWLP_ID = -12,
    GWL_STYLE = -16,
    GWL_EXSTYLE = -20,
    GWLP_USERDATA = -21
};

// PeekMessage's flags.
enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001 };

// GetSystemMetrics's indices.
enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50
};

// The system's own cursor and icons, loaded with a null instance by these names.
enum : uintptr_t {
    OCR_NORMAL = 32512,
    OIC_SAMPLE = 32512,
    OIC_HAND = 32513,
    OIC_QUES = 32514,
    OIC_BANG = 32515,
    OIC_NOTE = 32516
};
inline constexpr LPCSTR IDC_ARROW = MAKEINTRESOURCE(OCR_NORMAL);
inline constexpr LPCSTR IDI_APPLICATION = MAKEINTRESOURCE(OIC_SAMPLE);
inline constexpr LPCSTR IDI_HAND = MAKEINTRESOURCE(OIC_HAND);
inline constexpr LPCSTR IDI_QUESTION = MAKEINTRESOURCE(OIC_QUES);
inline constexpr LPCSTR IDI_EXCLAMATION = MAKEINTRESOURCE(OIC_BANG);
inline constexpr LPCSTR IDI_ASTERISK = MAKEINTRESOURCE(OIC_NOTE);

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    void* hbrBackground = nullptr;  // not painted: windows here draw their whole area
    LPCSTR lpszMenuName = nullptr;
    LPCSTR lpszClassName = nullptr;
};

struct CREATESTRUCT {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
using LPCREATESTRUCT = CREATESTRUCT*;

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt = {0, 0};
};
using LPMSG = MSG*;

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// Signed coordinates from a mouse message's lParam.
constexpr int GET_X_LPARAM(LPARAM lp) {
    return int(int16_t(LOWORD(uintptr_t(lp))));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return int(int16_t(HIWORD(uintptr_t(lp))));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
    return WPARAM(uintptr_t(MAKELPARAM(lo, hi)));
}

// WM_MOUSEWHEEL goes to the focus window, with the wheel's turn in the high word of wParam
// (WHEEL_DELTA a notch, positive away from the user), the MK_ flags in the low word and the
// pointer in screen coordinates in lParam. A window that does not handle it passes it to
// its parent through DefWindowProc.
constexpr int WHEEL_DELTA = 120;
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM wp) {
    return int(int16_t(HIWORD(wp)));
}

// Window classes and windows.
ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* out);
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param);
inline HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                         int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu,
                          instance, param);
}
BOOL DestroyWindow(HWND hwnd);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL UpdateWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
HWND GetParent(HWND hwnd);
HWND WindowFromPoint(POINT point);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
BOOL SetWindowText(HWND hwnd, LPCSTR text);
int GetWindowText(HWND hwnd, LPSTR buffer, int maxCount);
int GetWindowTextLength(HWND hwnd);
// A child window's id (GWLP_ID), 0 for anything else.
int GetDlgCtrlID(HWND control);

// The message queue.
BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL WaitMessage();

// Timers.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Painting.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

// Mouse capture.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();

// Cursor and icons.
HICON LoadIcon(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);
BOOL GetCursorPos(POINT* point);

// System values and input state.
int GetSystemMetrics(int index);
UINT GetDoubleClickTime();
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
BOOL MessageBeep(UINT type);
// Only SPI_GETWHEELSCROLLLINES is known: the lines a list scrolls for a notch of the wheel
// (3) go to *(UINT*)param. FALSE for any other action.
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni);
DWORD GetTickCount();

// Hooks. WH_CALLWNDPROC procedures see each message sent to a window (SendMessage) before
// the window's procedure does, newest first; each passes it on with CallNextHookEx.
VORLA_USER_HANDLE(HHOOK);
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);
constexpr int WH_CALLWNDPROC = 4;
constexpr int HC_ACTION = 0;
struct CWPSTRUCT {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// Window properties: named values kept on the window, gone with it.
BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data);
HANDLE GetProp(HWND hwnd, LPCSTR name);
HANDLE RemoveProp(HWND hwnd, LPCSTR name);

namespace platform {

struct HostImage;

// Registers a class of the system's own (a control, a dialog, a menu) unless it already
// is, with the arrow cursor; after a reset of the window manager it registers again.
bool RegisterClassOnce(LPCSTR name, WNDPROC proc, UINT style = 0, bool arrowCursor = true);

// One WM_PAINT: BeginPaint on the way in, EndPaint on the way out, and the client area.
class PaintScope {
  public:
    explicit PaintScope(HWND hwnd);
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HWND hwnd;
    PAINTSTRUCT ps;
    HDC dc;  // null when there is nothing to paint on
    RECT client;
};

// What a window class keeps for each of its windows (a control's caret, a dialog's
// items), on the window object itself: owned by it and destroyed with it, after
// WM_NCDESTROY.
struct WindowExtra {
    virtual ~WindowExtra() = default;
};
// Gives hwnd its class's state, replacing any it had; false when there is no such window.
bool SetWindowExtra(HWND hwnd, std::unique_ptr<WindowExtra> extra);
WindowExtra* GetWindowExtra(HWND hwnd);
// The state of type T that hwnd keeps, or null.
template <typename T>
T* WindowExtraOf(HWND hwnd) {
    return dynamic_cast<T*>(GetWindowExtra(hwnd));
}
// For a class procedure: gives hwnd a fresh T at WM_NCCREATE, and returns its T (null
// before WM_NCCREATE).
template <typename T>
T* ClassState(HWND hwnd, UINT message) {
    if (message == WM_NCCREATE)
        SetWindowExtra(hwnd, std::make_unique<T>());
    return WindowExtraOf<T>(hwnd);
}

// Dispatches every message that is due now, without waiting; returns how many. Stops
// before WM_QUIT, which stays queued. For tests and for code that must drain the queue.
int PumpPendingMessages();
// Runs the message loop until the host clock reaches timeMs, waiting between messages as
// GetMessage would. Returns false if WM_QUIT came first (it stays queued).
bool RunMessagesUntil(uint32_t timeMs);
// True when WM_QUIT is waiting; its exit code goes to *exitCode.
bool QuitPending(int* exitCode);

// Held by each modal loop (menu tracking, a dialog's or message box's loop) while it
// runs. Meanwhile a close request from the host becomes WM_QUIT rather than WM_CLOSE, so
// that nothing a loop on the stack still uses is destroyed under it. A loop that takes
// WM_QUIT ends as Cancel would, and the quit is posted again when its scope closes, so
// that every enclosing loop unwinds in turn and only the outermost one ends the program.
class ModalLoop {
  public:
    ModalLoop();
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    // True when msg is WM_QUIT: the loop must end now.
    bool Quits(const MSG& msg);

  private:
    bool quit_ = false;
    int quitCode_ = 0;
};
// True while any modal loop runs.
bool InModalLoop();
// The image of an icon or cursor handle, or null (a system cursor has none).
const HostImage* IconImage(HICON icon);
// Forgets every window, class, timer, queued message and input state without sending
// anything: a fresh start for each test.
void ResetUser();

}  // namespace platform
