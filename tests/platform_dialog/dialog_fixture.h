// A headless screen with a full-screen owner window whose timer runs a script of steps,
// one step per tick, while a modal dialog runs. Each step runs once everything queued
// before it (input, painting) has been handled.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs/dialog.h"
#include "platform/gdi/gdi.h"
#include "platform/host/headless.h"
#include "platform/host/screen.h"
#include "platform/user/user.h"
#include "platform/utf8.h"
#include "tests/support/modal_watch.h"

namespace dialogtest {

constexpr UINT_PTR SCRIPT_TIMER = 77;
constexpr INT_PTR WATCHDOG_RESULT = -77;

struct Script {
    std::deque<std::function<void()>> steps;
    int ownerTimerTicks = 0;
    int ownerPaints = 0;
    uint32_t idleTicks = 0;
};

inline Script& CurrentScript() {
    static Script script;
    return script;
}

inline LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Script& s = CurrentScript();
    if (message == WM_TIMER && wParam == SCRIPT_TIMER) {
        ++s.ownerTimerTicks;
        if (!s.steps.empty()) {
            auto step = std::move(s.steps.front());
            s.steps.pop_front();
            step();
        } else if (++s.idleTicks > 50) {
            // A dialog nobody closes would run for ever: end it and let the test fail.
            HWND active = GetActiveWindow();
            if (active && active != hwnd)
                EndDialog(active, WATCHDOG_RESULT);
        }
        return 0;
    }
    if (message == WM_PAINT) {
        ++s.ownerPaints;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) {
            HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
            RECT r = {0, 0, 640, 480};
            FillRect(dc, &r, teal);
            DeleteObject(teal);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = &platform::InstallHeadlessHost();
        platform::ResetUser();
        CurrentScript() = Script{};
        WNDCLASS wc;
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "DialogTestOwner";
        RegisterClass(&wc);
        owner = CreateWindow("DialogTestOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                             nullptr, nullptr, nullptr, nullptr);
        UpdateWindow(owner);
        SetTimer(owner, SCRIPT_TIMER, 20, nullptr);
    }
    void TearDown() override {
        testsupport::SetMessageBoxHook(nullptr);
        platform::ResetUser();
    }

    void Then(std::function<void()> step) { CurrentScript().steps.push_back(std::move(step)); }

    void Push(platform::HostEventType type, uint32_t vk = 0, uint32_t ch = 0) {
        platform::HostEvent e;
        e.type = type;
        e.virtualKey = vk;
        e.character = ch;
        host->PushEvent(e);
    }
    void Key(uint32_t vk) {
        Push(platform::HostEventType::KeyDown, vk);
        Push(platform::HostEventType::KeyUp, vk);
    }
    void ShiftKey(uint32_t vk) {
        Push(platform::HostEventType::KeyDown, VK_LSHIFT);
        Key(vk);
        Push(platform::HostEventType::KeyUp, VK_LSHIFT);
    }
    void CtrlKey(uint32_t vk) {
        Push(platform::HostEventType::KeyDown, VK_LCONTROL);
        Key(vk);
        Push(platform::HostEventType::KeyUp, VK_LCONTROL);
    }
    // Types UTF-8 text, one Text event per character as the host reports typing.
    void Type(const std::string& text) {
        for (size_t at = 0; at < text.size();) {
            platform::utf8::Char c = platform::utf8::Decode(text, at);
            Push(platform::HostEventType::Text, 0, c.code);
            at += c.length;
        }
    }
    void Wheel(int32_t delta) {
        platform::HostEvent e;
        e.type = platform::HostEventType::MouseWheel;
        e.wheel = delta;
        host->PushEvent(e);
    }
    void Mouse(platform::HostEventType type, int x, int y) {
        platform::HostEvent e;
        e.type = type;
        e.x = x;
        e.y = y;
        e.button = 1;
        host->PushEvent(e);
    }
    void Click(HWND control, int dx = -1, int dy = -1) {
        RECT r;
        GetWindowRect(control, &r);
        int x = dx < 0 ? (r.left + r.right) / 2 : r.left + dx;
        int y = dy < 0 ? (r.top + r.bottom) / 2 : r.top + dy;
        Mouse(platform::HostEventType::MouseMove, x, y);
        Mouse(platform::HostEventType::MouseButtonDown, x, y);
        Mouse(platform::HostEventType::MouseButtonUp, x, y);
    }

    static std::string TextOf(HWND hwnd) {
        char buffer[256];
        GetWindowText(hwnd, buffer, sizeof(buffer));
        return buffer;
    }
    static std::pair<int, int> Sel(HWND edit) {
        DWORD a = 0, b = 0;
        SendMessage(edit, EM_GETSEL, WPARAM(reinterpret_cast<uintptr_t>(&a)),
                    LPARAM(reinterpret_cast<intptr_t>(&b)));
        return {int(a), int(b)};
    }

    platform::HeadlessHost* host = nullptr;
    HWND owner = nullptr;
};

// A dialog procedure that ends the dialog on any command from IDOK or IDCANCEL and
// records the commands it saw.
inline std::vector<int>& Commands() {
    static std::vector<int> commands;
    return commands;
}
inline INT_PTR EndingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) {
        Commands().push_back(LOWORD(wParam));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace dialogtest
