// Timers: at most one WM_TIMER pending for each, and only when nothing else waits.
#include "platform/user/window.h"

#include <algorithm>

namespace platform::user {

Timer* FindTimer(HWND hwnd, UINT_PTR id) {
    for (Timer& t : S().timers)
        if (t.hwnd == hwnd && t.id == id)
            return &t;
    return nullptr;
}

void KillWindowTimers(HWND hwnd) {
    auto& timers = S().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [hwnd](const Timer& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

// The timer to fire now, if any: the earliest due that passes the filter.
Timer* DueTimer(HWND filter) {
    Timer* best = nullptr;
    uint32_t now = Now();
    for (Timer& t : S().timers) {
        if (!AtOrAfter(now, t.due))
            continue;
        if (filter && t.hwnd != filter)
            continue;
        if (!best || int32_t(t.due - best->due) < 0 ||
            (t.due == best->due && t.order < best->order))
            best = &t;
    }
    return best;
}

// Milliseconds until the next timer is due (0 when one is due now), or max when none.
uint32_t TimeToNextTimer() {
    uint32_t now = Now();
    uint32_t best = 0xFFFFFFFF;
    for (const Timer& t : S().timers) {
        int32_t left = int32_t(t.due - now);
        uint32_t wait = left <= 0 ? 0 : uint32_t(left);
        best = std::min(best, wait);
    }
    return best;
}

}  // namespace platform::user

using namespace platform::user;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    UserState& s = S();
    if (hwnd && !Find(hwnd))
        return 0;
    UINT interval = std::clamp(elapseMs, MIN_TIMER_MS, MAX_TIMER_MS);
    if (!hwnd) {
        // Thread timers get an id of their own unless an existing one is named.
        if (!id || !FindTimer(nullptr, id)) {
            do {
                id = s.nextThreadTimer--;
                if (s.nextThreadTimer == 0)
                    s.nextThreadTimer = 0x7FFF;
            } while (FindTimer(nullptr, id));
        }
    }
    uint32_t due = Now() + interval;
    if (Timer* t = FindTimer(hwnd, id)) {
        t->interval = interval;
        t->due = due;
        t->proc = proc;
        return hwnd ? (id ? id : 1) : id;
    }
    s.timers.push_back(Timer{hwnd, id, interval, due, proc, s.timerOrder++});
    // An id of 0 is valid for a window timer, but the caller needs non-zero for success.
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto& timers = S().timers;
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            timers.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

DWORD GetTickCount() {
    return Now();
}
