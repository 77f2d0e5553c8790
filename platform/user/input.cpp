// Input: host events become messages; mouse capture, double clicks, the keyboard state,
// activation and the focus.
#include "platform/user/window.h"

#include <algorithm>
#include <cstdlib>

#include "platform/host/host.h"

namespace platform::user {

WPARAM MouseFlags() {
    UserState& s = S();
    WPARAM f = s.buttons;
    if (s.keys[VK_SHIFT])
        f |= MK_SHIFT;
    if (s.keys[VK_CONTROL])
        f |= MK_CONTROL;
    return f;
}

void QueueInput(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, uint32_t time) {
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = time;
    m.pt = S().cursorPos;
    S().input.push_back(m);
}

UINT ButtonMessage(int button, bool down) {
    switch (button) {
        case 1:
            return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case 2:
            return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case 3:
            return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        default:
            return 0;
    }
}

uint32_t ButtonFlag(int button) {
    switch (button) {
        case 1:
            return MK_LBUTTON;
        case 2:
            return MK_RBUTTON;
        case 3:
            return MK_MBUTTON;
        default:
            return 0;
    }
}

void TranslateMouse(const platform::HostEvent& e) {
    UserState& s = S();
    POINT pt = {e.x, e.y};
    s.cursorPos = pt;
    UINT message = WM_MOUSEMOVE;
    if (e.type != platform::HostEventType::MouseMove) {
        bool down = e.type == platform::HostEventType::MouseButtonDown;
        message = ButtonMessage(e.button, down);
        if (!message)
            return;
        if (down)
            s.buttons |= ButtonFlag(e.button);
        else
            s.buttons &= ~ButtonFlag(e.button);
    }
    HWND target = s.capture;
    if (!target) {
        target = WindowFromPoint(pt);
        // A disabled window (under a modal loop) gets no mouse input.
        if (!target || !IsWindowEnabled(target))
            return;
        SendMessage(target, WM_SETCURSOR, WPARAM(reinterpret_cast<uintptr_t>(target)),
                    MAKELPARAM(HTCLIENT, int(message)));
    }
    Window* w = Find(target);
    if (!w)
        return;
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        ClickState& c = s.click;
        bool dbl = (w->cls->wc.style & CS_DBLCLKS) && c.message == message && c.hwnd == target &&
                   e.timeMs - c.time <= DOUBLE_CLICK_MS &&
                   std::abs(pt.x - c.pt.x) < DOUBLE_CLICK_SIZE / 2 &&
                   std::abs(pt.y - c.pt.y) < DOUBLE_CLICK_SIZE / 2;
        if (dbl) {
            message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
            c = ClickState{};
        } else {
            c.message = message;
            c.hwnd = target;
            c.time = e.timeMs;
            c.pt = pt;
        }
    }
    POINT client = pt;
    ScreenToClient(target, &client);
    QueueInput(target, message, MouseFlags(), MAKELPARAM(client.x, client.y), e.timeMs);
}

void SetKey(uint32_t vk, bool down) {
    UserState& s = S();
    if (vk < 256)
        s.keys[vk] = down;
    if (vk == VK_LSHIFT || vk == VK_RSHIFT)
        s.keys[VK_SHIFT] = s.keys[VK_LSHIFT] || s.keys[VK_RSHIFT] || down;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL)
        s.keys[VK_CONTROL] = s.keys[VK_LCONTROL] || s.keys[VK_RCONTROL] || down;
    if (vk == VK_LMENU || vk == VK_RMENU)
        s.keys[VK_MENU] = s.keys[VK_LMENU] || s.keys[VK_RMENU] || down;
}

HWND KeyboardTarget() {
    UserState& s = S();
    if (s.focus && Find(s.focus))
        return s.focus;
    if (s.active && Find(s.active))
        return s.active;
    return nullptr;
}

void TranslateKey(const platform::HostEvent& e) {
    bool down = e.type == platform::HostEventType::KeyDown;
    SetKey(e.virtualKey, down);
    HWND target = KeyboardTarget();
    // A release goes where its press went. When that window is gone (a dialog that the
    // press closed), the release is dropped: it must not act a second time on the window
    // beneath, where Escape's release would end the program.
    HWND& pressedIn = S().keyPressedIn[e.virtualKey & 0xFF];
    if (down) {
        pressedIn = target;
    } else if (pressedIn) {
        target = Find(pressedIn) ? pressedIn : nullptr;
        pressedIn = nullptr;
    }
    if (!target)
        return;
    bool sys = S().keys[VK_MENU] || e.virtualKey == VK_F10 || e.virtualKey == VK_MENU ||
               e.virtualKey == VK_LMENU || e.virtualKey == VK_RMENU;
    UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    // Repeat count 1; bit 30 is the previous state, bit 31 the transition (set on release).
    uint32_t lp = 1;
    if (!down || e.repeat)
        lp |= 1u << 30;
    if (!down)
        lp |= 1u << 31;
    if (sys && S().keys[VK_MENU])
        lp |= 1u << 29;
    QueueInput(target, message, e.virtualKey, LPARAM(int32_t(lp)), e.timeMs);
}

// Gives slot (the focus or the active window) to hwnd: the window that loses it hears
// first, then hwnd, unless that first message moved the slot on. Returns whether hwnd
// was told it has it.
template <typename Lose, typename Gain>
bool HandOver(HWND& slot, HWND hwnd, Lose lose, Gain gain) {
    HWND previous = slot;
    slot = hwnd;
    if (previous && Find(previous))
        lose(previous);
    if (!hwnd || !Find(hwnd) || slot != hwnd)
        return false;
    gain(previous);
    return true;
}

// The wheel goes where the keys go, with the pointer's place on the screen.
void TranslateWheel(const platform::HostEvent& e) {
    HWND target = KeyboardTarget();
    if (!target || e.wheel == 0)
        return;
    const int delta = std::clamp<int32_t>(e.wheel, INT16_MIN, INT16_MAX);
    const POINT pt = S().cursorPos;
    QueueInput(target, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseFlags()), delta), MAKELPARAM(pt.x, pt.y),
               e.timeMs);
}

void SetIconic(bool iconic) {
    HWND main = MainWindow();
    Window* w = Find(main);
    if (!w || w->iconic == iconic)
        return;
    w->iconic = iconic;
    RECT r{};
    GetClientRect(main, &r);
    SendMessage(main, WM_SIZE, iconic ? SIZE_MINIMIZED : SIZE_RESTORED,
                iconic ? 0 : MAKELPARAM(r.right, r.bottom));
    if (!iconic && Find(main))
        InvalidateRect(main, nullptr, TRUE);
}

void TranslateHostEvent(const platform::HostEvent& e) {
    using T = platform::HostEventType;
    switch (e.type) {
        case T::MouseMove:
        case T::MouseButtonDown:
        case T::MouseButtonUp:
            TranslateMouse(e);
            break;
        case T::KeyDown:
        case T::KeyUp:
            TranslateKey(e);
            break;
        case T::MouseWheel:
            TranslateWheel(e);
            break;
        case T::Text:
            if (HWND target = KeyboardTarget())
                QueueInput(target, WM_CHAR, e.character, 1, e.timeMs);
            break;
        case T::CloseRequested:
            // Inside a modal loop, closing the window would pull it from under the loop:
            // the loops unwind first, and the outermost one ends the program.
            if (platform::InModalLoop())
                PostQuitMessage(0);
            else if (HWND main = MainWindow())
                PostMessage(main, WM_CLOSE, 0, 0);
            break;
        case T::Minimized:
        case T::Restored:
            SetIconic(e.type == T::Minimized);
            break;
    }
}

}  // namespace platform::user

using namespace platform::user;

HWND SetFocus(HWND hwnd) {
    UserState& s = S();
    if (hwnd && !Find(hwnd))
        return nullptr;
    HWND old = s.focus;
    if (old == hwnd)
        return old;
    if (hwnd) {
        HWND top = TopLevelAncestor(hwnd);
        if (s.active != top)
            SetActiveWindow(top);
        if (!Find(hwnd))
            return nullptr;
    }
    // Activation may already have moved the focus.
    if (s.focus != hwnd) {
        HandOver(
            s.focus, hwnd,
            [hwnd](HWND lost) {
                SendMessage(lost, WM_KILLFOCUS, WPARAM(reinterpret_cast<uintptr_t>(hwnd)), 0);
            },
            [hwnd](HWND lost) {
                SendMessage(hwnd, WM_SETFOCUS, WPARAM(reinterpret_cast<uintptr_t>(lost)), 0);
            });
    }
    return old;
}

HWND GetFocus() {
    return S().focus;
}

HWND SetActiveWindow(HWND hwnd) {
    UserState& s = S();
    Window* w = Find(hwnd);
    if (!w || IsChildStyle(*w))
        return nullptr;
    HWND previous = s.active;
    if (previous == hwnd)
        return previous;
    bool gained = HandOver(
        s.active, hwnd,
        [hwnd](HWND lost) {
            SendMessage(lost, WM_ACTIVATE, WA_INACTIVE, LPARAM(reinterpret_cast<intptr_t>(hwnd)));
        },
        [hwnd](HWND lost) {
            SendMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, LPARAM(reinterpret_cast<intptr_t>(lost)));
        });
    if (gained && Find(hwnd) && !(s.focus && TopLevelAncestor(s.focus) == hwnd))
        SetFocus(hwnd);
    return previous;
}

HWND GetActiveWindow() {
    return S().active;
}

namespace {

// Moves the capture to hwnd (null: to no window); the window that loses it hears.
HWND MoveCapture(HWND hwnd) {
    UserState& s = S();
    HWND previous = s.capture;
    s.capture = hwnd;
    CurrentHost().GrabMouse(hwnd != nullptr);
    if (previous && previous != hwnd && Find(previous))
        SendMessage(previous, WM_CAPTURECHANGED, 0, LPARAM(reinterpret_cast<intptr_t>(hwnd)));
    return previous;
}

}  // namespace

HWND SetCapture(HWND hwnd) {
    return Find(hwnd) ? MoveCapture(hwnd) : nullptr;
}

BOOL ReleaseCapture() {
    if (S().capture)
        MoveCapture(nullptr);
    return TRUE;
}

HWND GetCapture() {
    return S().capture;
}

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return S().keys[virtualKey] ? SHORT(0x8000) : 0;
}

SHORT GetAsyncKeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

UINT GetDoubleClickTime() {
    return DOUBLE_CLICK_MS;
}
