// A window that records its messages, and helpers that feed the headless host while a
// menu is tracked.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/host/headless.h"
#include "platform/menus/menu.h"
#include "platform/res/resources.h"
#include "platform/user/user.h"
#include "res/resource.h"
#include "tests/support/modal_watch.h"

namespace menutest {

struct Logged {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<Logged>& Log() {
    static std::vector<Logged> log;
    return log;
}

// Lets a test act on a message the owner gets (WM_INITMENUPOPUP, WM_TIMER).
inline std::function<void(UINT, WPARAM, LPARAM)>& OnMessage() {
    static std::function<void(UINT, WPARAM, LPARAM)> hook;
    return hook;
}

inline LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Log().push_back({message, wParam, lParam});
    if (OnMessage())
        OnMessage()(message, wParam, lParam);
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

inline int Count(UINT message) {
    int n = 0;
    for (const Logged& l : Log())
        n += l.message == message;
    return n;
}

inline std::vector<UINT> Commands() {
    std::vector<UINT> out;
    for (const Logged& l : Log())
        if (l.message == WM_COMMAND)
            out.push_back(LOWORD(l.wParam));
    return out;
}

// The program's menu, by the names of its items.
constexpr UINT ID_RODY = ID_CLANS, ID_KONEC = ID_EXIT, ID_NACTI = ID_LOAD_WORLD;
constexpr UINT ID_MODRY = ID_TOOL_BLUE, ID_CERVENY = ID_TOOL_RED, ID_STROM = ID_TOOL_TREE;
constexpr UINT ID_NIC = ID_TOOL_NOTHING;

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = &platform::InstallHeadlessHost();
        platform::ResetUser();
        Log().clear();
        OnMessage() = nullptr;
        WNDCLASS wc;
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "MenuOwner";
        ASSERT_NE(RegisterClass(&wc), 0);
        owner = CreateWindowEx(0, "MenuOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                               nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        SetActiveWindow(owner);
        SetFocus(owner);
        UpdateWindow(owner);
        platform::PumpPendingMessages();
        Log().clear();
    }
    void TearDown() override {
        testsupport::SetMenuIdleHook(nullptr);
        OnMessage() = nullptr;
        platform::ResetUser();
    }

    void Key(uint32_t vk) {
        platform::HostEvent e;
        e.type = platform::HostEventType::KeyDown;
        e.virtualKey = vk;
        host->PushEvent(e);
        e.type = platform::HostEventType::KeyUp;
        host->PushEvent(e);
    }
    void KeyDown(uint32_t vk) {
        platform::HostEvent e;
        e.type = platform::HostEventType::KeyDown;
        e.virtualKey = vk;
        host->PushEvent(e);
    }
    void Mouse(platform::HostEventType type, int x, int y, int button = 0) {
        platform::HostEvent e;
        e.type = type;
        e.x = x;
        e.y = y;
        e.button = button;
        host->PushEvent(e);
    }
    void MoveTo(POINT p) { Mouse(platform::HostEventType::MouseMove, p.x, p.y); }
    void Click(POINT p, int button = 1) {
        MoveTo(p);
        Mouse(platform::HostEventType::MouseButtonDown, p.x, p.y, button);
        Mouse(platform::HostEventType::MouseButtonUp, p.x, p.y, button);
    }

    // Tracks the program's menu as the main window does, with whatever input is queued
    // and the idle hook driving it. A menu still open after many idle turns is a hang.
    BOOL Track(int x = 500, int y = 40, UINT flags = TPM_RIGHTBUTTON) {
        HMENU bar = LoadMenu(platform::ExecutableInstance(), MAKEINTRESOURCE(IDR_POPUP_MENU));
        EXPECT_NE(bar, nullptr);
        menu = GetSubMenu(bar, 0);
        int idle = 0;
        auto user = idleHook;
        testsupport::SetMenuIdleHook([&, user] {
            if (user)
                user();
            if (++idle > 200) {
                ADD_FAILURE() << "the menu never closed";
                EndMenu();
            }
        });
        BOOL result = TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
        testsupport::SetMenuIdleHook(nullptr);
        DestroyMenu(bar);
        menu = nullptr;
        return result;
    }

    // The middle of item `position` of an open menu, from the menu's own layout.
    static POINT ItemCentre(HMENU m, int position) {
        RECT r{};
        EXPECT_TRUE(GetMenuItemRect(nullptr, m, UINT(position), &r)) << "item " << position;
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    platform::HeadlessHost* host = nullptr;
    HWND owner = nullptr;
    HMENU menu = nullptr;
    std::function<void()> idleHook;
};

}  // namespace menutest
