// A recording window for the USER tests: every message it gets is logged, and the
// default window procedure handles it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/host/headless.h"
#include "platform/user/user.h"

namespace usertest {

struct Logged {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Logged>& Log() {
    static std::vector<Logged> log;
    return log;
}

// Lets a test answer a message itself; returning true skips DefWindowProc.
inline std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>& Hook() {
    static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> hook;
    return hook;
}

inline LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Log().push_back({hwnd, message, wParam, lParam});
    LRESULT result = 0;
    if (Hook() && Hook()(hwnd, message, wParam, lParam, result))
        return result;
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// The messages logged since the last clear, keeping only those listed in `only`.
inline std::vector<UINT> Messages(std::initializer_list<UINT> only = {}) {
    std::vector<UINT> out;
    for (const Logged& l : Log()) {
        if (only.size() == 0) {
            out.push_back(l.message);
            continue;
        }
        for (UINT m : only)
            if (l.message == m)
                out.push_back(l.message);
    }
    return out;
}

class UserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = &platform::InstallHeadlessHost();
        platform::ResetUser();
        Log().clear();
        Hook() = nullptr;
        RegisterTestClass("Plain", 0);
        RegisterTestClass("Dbl", CS_DBLCLKS);
    }
    void TearDown() override {
        Hook() = nullptr;
        platform::ResetUser();
    }

    static void RegisterTestClass(const char* name, UINT style) {
        WNDCLASS wc;
        wc.style = style;
        wc.lpfnWndProc = RecordingProc;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        ASSERT_NE(RegisterClass(&wc), 0);
    }

    // A visible top-level window over the whole screen, its first paint done.
    HWND MakeMain(const char* cls = "Plain") {
        HWND hwnd =
            CreateWindowEx(0, cls, "main", WS_POPUP | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
        EXPECT_NE(hwnd, nullptr);
        UpdateWindow(hwnd);
        platform::PumpPendingMessages();
        Log().clear();
        return hwnd;
    }

    void Mouse(platform::HostEventType type, int x, int y, int button = 0) {
        platform::HostEvent e;
        e.type = type;
        e.x = x;
        e.y = y;
        e.button = button;
        host->PushEvent(e);
    }
    void Key(platform::HostEventType type, uint32_t vk, bool repeat = false) {
        platform::HostEvent e;
        e.type = type;
        e.virtualKey = vk;
        e.repeat = repeat;
        host->PushEvent(e);
    }
    void Click(int x, int y, int button = 1) {
        Mouse(platform::HostEventType::MouseButtonDown, x, y, button);
        Mouse(platform::HostEventType::MouseButtonUp, x, y, button);
    }

    platform::HeadlessHost* host = nullptr;
};

}  // namespace usertest
