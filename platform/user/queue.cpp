// The one message queue: posting and sending, retrieval in the platform's order, the
// message loop, and the modal loops that quit unwinds.
#include "platform/user/window.h"

#include <algorithm>
#include <deque>

#include "platform/host/host.h"
#include "platform/host/screen.h"

namespace platform::user {

uint32_t Now() {
    return CurrentHost().NowMs();
}

// Wrap-safe: true when a is at or after b on the 32-bit clock.
bool AtOrAfter(uint32_t a, uint32_t b) {
    return int32_t(a - b) >= 0;
}

bool Matches(const MSG& m, HWND filter, UINT lo, UINT hi) {
    if (filter == reinterpret_cast<HWND>(intptr_t(-1))) {
        if (m.hwnd)
            return false;
    } else if (filter && !IsSelfOrDescendant(m.hwnd, filter)) {
        return false;
    }
    if (lo == 0 && hi == 0)
        return true;
    return m.message >= lo && m.message <= hi;
}

bool TakeFrom(std::deque<MSG>& queue, MSG& out, HWND filter, UINT lo, UINT hi, bool remove) {
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!Matches(*it, filter, lo, hi))
            continue;
        out = *it;
        if (remove)
            queue.erase(it);
        return true;
    }
    return false;
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m;
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = Now();
    m.pt = S().cursorPos;
    return m;
}

bool InRange(UINT message, UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (message >= lo && message <= hi);
}

// One retrieval step in the platform's order: posted, quit, input, paint, timer.
bool PeekOne(MSG& out, HWND filter, UINT lo, UINT hi, bool remove) {
    UserState& s = S();
    if (TakeFrom(s.posted, out, filter, lo, hi, remove))
        return true;
    if (s.quit) {
        out = MakeMsg(nullptr, WM_QUIT, WPARAM(intptr_t(s.quitCode)), 0);
        if (remove)
            s.quit = false;
        return true;
    }
    if (TakeFrom(s.input, out, filter, lo, hi, remove))
        return true;
    // Host events are translated one at a time, so that what the previous message
    // changed (capture, focus) applies to the next.
    platform::HostEvent e;
    while (s.posted.empty() && !s.quit && CurrentHost().PollEvent(e)) {
        TranslateHostEvent(e);
        if (!s.input.empty())
            break;
    }
    if (!s.posted.empty() || s.quit || !s.input.empty()) {
        if (TakeFrom(s.posted, out, filter, lo, hi, remove))
            return true;
        if (s.quit)
            return PeekOne(out, filter, lo, hi, remove);
        if (TakeFrom(s.input, out, filter, lo, hi, remove))
            return true;
    }
    if (InRange(WM_PAINT, lo, hi)) {
        if (HWND h = PaintCandidate(filter)) {
            out = MakeMsg(h, WM_PAINT, 0, 0);
            return true;
        }
    }
    // Timers fire only when nothing else is waiting.
    if (!s.posted.empty() || !s.input.empty())
        return false;
    if (InRange(WM_TIMER, lo, hi)) {
        if (Timer* t =
                DueTimer(filter == reinterpret_cast<HWND>(intptr_t(-1)) ? nullptr : filter)) {
            out = MakeMsg(t->hwnd, WM_TIMER, t->id, LPARAM(reinterpret_cast<intptr_t>(t->proc)));
            if (remove) {
                uint32_t now = Now();
                t->due += t->interval;
                // Ticks missed while busy collapse into this one.
                if (AtOrAfter(now, t->due))
                    t->due = now + t->interval;
            }
            return true;
        }
    }
    return false;
}

LRESULT CallProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w)
        return 0;
    WNDPROC proc = w->proc ? w->proc : DefWindowProc;
    return proc(hwnd, message, wParam, lParam);
}

}  // namespace platform::user

using namespace platform::user;

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    MSG m;
    if (!PeekOne(m, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0))
        return FALSE;
    if (msg)
        *msg = m;
    return TRUE;
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg)
        return -1;
    if (hwnd && hwnd != reinterpret_cast<HWND>(intptr_t(-1)) && !Find(hwnd))
        return -1;
    for (;;) {
        if (PeekOne(*msg, hwnd, filterMin, filterMax, true))
            return msg->message == WM_QUIT ? 0 : 1;
        WaitMessage();
    }
}

BOOL WaitMessage() {
    platform::PresentIfChanged();
    uint32_t wait = TimeToNextTimer();
    // With no timer, wake now and then all the same; the host returns early on input.
    CurrentHost().WaitForEvent(std::min<uint32_t>(wait, 1000));
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    UINT vk = UINT(msg->wParam);
    WPARAM ch = 0;
    if (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE)
        ch = vk;
    else if (S().keys[VK_CONTROL] && vk >= 'A' && vk <= 'Z')
        ch = vk - 'A' + 1;
    if (!ch)
        return FALSE;
    MSG c = *msg;
    c.message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    c.wParam = ch;
    S().posted.push_front(c);
    return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        // Only a timer that still exists calls back.
        if (FindTimer(msg->hwnd, msg->wParam))
            proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd || !Find(msg->hwnd))
        return 0;
    return CallProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !Find(hwnd))
        return FALSE;
    S().posted.push_back(MakeMsg(hwnd, message, wParam, lParam));
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!S().hooks.empty())
        CallSendHooks(hwnd, message, wParam, lParam);
    return CallProc(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    S().quit = true;
    S().quitCode = exitCode;
}

namespace platform {

int PumpPendingMessages() {
    int count = 0;
    MSG m;
    for (;;) {
        if (!PeekOne(m, nullptr, 0, 0, false))
            break;
        if (m.message == WM_QUIT)
            break;
        PeekOne(m, nullptr, 0, 0, true);
        TranslateMessage(&m);
        DispatchMessage(&m);
        ++count;
    }
    return count;
}

bool RunMessagesUntil(uint32_t timeMs) {
    for (;;) {
        PumpPendingMessages();
        if (QuitPending(nullptr))
            return false;
        uint32_t now = Now();
        if (AtOrAfter(now, timeMs))
            return true;
        PresentIfChanged();
        CurrentHost().WaitForEvent(std::min(TimeToNextTimer(), timeMs - now));
    }
}

bool QuitPending(int* exitCode) {
    if (!S().quit)
        return false;
    if (exitCode)
        *exitCode = S().quitCode;
    return true;
}

ModalLoop::ModalLoop() {
    ++S().modalLoops;
}

ModalLoop::~ModalLoop() {
    if (S().modalLoops > 0)
        --S().modalLoops;
    if (quit_)
        PostQuitMessage(quitCode_);
}

bool ModalLoop::Quits(const MSG& msg) {
    if (msg.message != WM_QUIT)
        return false;
    quit_ = true;
    quitCode_ = int(msg.wParam);
    return true;
}

bool InModalLoop() {
    return S().modalLoops > 0;
}

}  // namespace platform
