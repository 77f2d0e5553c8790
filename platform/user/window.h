// The window manager's own state, shared by the rooms of user/: the window object behind
// each handle, the classes, the queue, the timers, input and cursor state.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/user/region.h"
#include "platform/user/user.h"

namespace platform::user {

using platform::CurrentHost;

constexpr UINT DOUBLE_CLICK_MS = 500;
constexpr LONG DOUBLE_CLICK_SIZE = 4;
constexpr int SYSTEM_ICON_SIZE = 32;  // the system's icons and cursors, square
constexpr UINT WHEEL_SCROLL_LINES = 3;
constexpr int SCROLL_BAR_WIDTH = 16;
constexpr UINT MIN_TIMER_MS = 10;
constexpr UINT MAX_TIMER_MS = 0x7FFFFFFF;

struct WindowClass {
    WNDCLASS wc;
    std::string name;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {0, 0, 0, 0};  // in the parent's client coordinates (screen for top level)
    HWND parent = nullptr;
    std::vector<HWND> children;  // also owned pop-ups; destroyed with this window
    std::string text;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    bool iconic = false;
    bool destroying = false;
    bool hasUpdate = false;
    bool eraseUpdate = false;
    RECT update = {0, 0, 0, 0};  // bounding box of the update region, client coordinates
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    std::unique_ptr<WindowExtra> extra;   // what the window's class keeps for it
    std::map<std::string, HANDLE> props;  // SetProp's, by name
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT interval;
    uint32_t due;
    TIMERPROC proc;
    uint64_t order;
};

struct Icon {
    HostImage image;
    bool systemArrow = false;
};

struct Dc {
    bool screen;  // made by CreateScreenDC, else a target DC on part of the page
};

struct ClickState {
    UINT message = 0;
    HWND hwnd = nullptr;
    uint32_t time = 0;
    POINT pt = {0, 0};
};

struct Hook {
    HHOOK handle;
    HOOKPROC proc;
};

struct UserState {
    std::map<std::string, std::shared_ptr<WindowClass>> classes;
    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel;  // creation order; later ones lie above
    uintptr_t nextWindow = 0x10000;
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quit = false;
    int quitCode = 0;
    int modalLoops = 0;  // modal loops now on the stack
    std::vector<Timer> timers;
    uint64_t timerOrder = 0;
    UINT_PTR nextThreadTimer = 0x7FFF;
    HWND capture = nullptr;
    HWND focus = nullptr;
    HWND active = nullptr;
    std::map<uintptr_t, std::unique_ptr<Icon>> icons;  // handle value -> icon
    std::map<std::pair<uintptr_t, std::string>, HICON> sharedIcons;
    uintptr_t nextIcon = 0x20000;
    HCURSOR cursor = nullptr;
    int cursorCount = 0;
    std::map<HDC, Dc> dcs;
    ClickState click;
    bool keys[256] = {};
    HWND keyPressedIn[256] = {};  // the window that got each key's press
    uint32_t buttons = 0;         // MK_ flags of the mouse buttons held
    POINT cursorPos = {0, 0};
    std::vector<Hook> hooks;  // WH_CALLWNDPROC, oldest first
    uintptr_t nextHook = 0x30000;
};

UserState& S();
Window* Find(HWND hwnd);
bool IsChildStyle(const Window& w);
bool EffectivelyVisible(const Window& w);
HWND MainWindow();
HWND TopLevelAncestor(HWND hwnd);
bool IsSelfOrDescendant(HWND hwnd, HWND ancestor);
// The window's WS_CHILD children (owned pop-ups left out), in creation order.
std::vector<HWND> ChildWindows(HWND hwnd);
void SendDestroy(HWND hwnd);
void FreeWindow(HWND hwnd);
RECT ScreenRect(const Window& w);
bool Contains(const RECT& r, POINT p);
HWND ChildAt(HWND hwnd, POINT screenPt);
void SetHostIconFrom(const Window& w);
uint32_t Now();
// Wrap-safe: true when a is at or after b on the 32-bit clock.
bool AtOrAfter(uint32_t a, uint32_t b);
MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
Timer* FindTimer(HWND hwnd, UINT_PTR id);
void KillWindowTimers(HWND hwnd);
// The timer to fire now, if any: the earliest due that passes the filter.
Timer* DueTimer(HWND filter);
// Milliseconds until the next timer is due (0 when one is due now), or max when none.
uint32_t TimeToNextTimer();
// A window with an update region, parents before children, in z-order from the top.
HWND PaintCandidate(HWND filter);
void InvalidateWhole(Window& w, bool erase);
// limit, in the window's coordinates, narrows what the DC may draw on.
HDC MakeWindowDC(HWND hwnd, const RECT* limit = nullptr);
// Shows a message about to be sent to the WH_CALLWNDPROC hooks.
void CallSendHooks(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Where w can be seen on the screen: its rectangle within its parents', less the top-level
// windows above it (and its children with WS_CLIPCHILDREN).
Region VisibleRegion(const Window& w);
// A top-level window stopped covering area (screen coordinates): the windows beneath it
// repaint what they had under it.
void InvalidateUncovered(HWND top, const RECT& area);
void InvalidateUnder(HWND hwnd, const Window& w, const RECT& area, BOOL erase);
void TranslateHostEvent(const HostEvent& e);
void ApplyCursorToHost(HCURSOR cursor);
HICON LoadShared(HINSTANCE instance, LPCSTR name, bool cursor);
// The image of a system icon (IDI_APPLICATION, IDI_HAND, ...); false for another id.
bool SystemIconImage(uintptr_t id, HostImage& out);

}  // namespace platform::user
