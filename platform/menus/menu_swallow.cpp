// After the menu: the releases of the keys that chose or dismissed it.
#include "platform/menus/menu_internal.h"

namespace platform::menus {
namespace {

// Key releases still to come for presses the menu consumed, and the window they would
// reach: its procedure is wrapped until they have arrived.
struct Swallow {
    HWND hwnd = nullptr;
    WNDPROC original = nullptr;
    std::set<UINT> keys;
};
Swallow g_swallow;

// Eats the releases (and the typed space) of keys whose presses chose or dismissed the
// menu, so that an action bound to a key's release doesn't run as well.
LRESULT MenuSwallowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = g_swallow.original;
    if (hwnd == g_swallow.hwnd) {
        UINT vk = UINT(wParam);
        bool held = g_swallow.keys.count(vk) != 0;
        if ((message == WM_KEYUP || message == WM_SYSKEYUP) && held) {
            g_swallow.keys.erase(vk);
            if (g_swallow.keys.empty()) {
                if (reinterpret_cast<WNDPROC>(GetWindowLongPtr(hwnd, GWLP_WNDPROC)) ==
                    MenuSwallowProc) {
                    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
                }
                g_swallow = Swallow{};
            }
            return 0;
        }
        if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && held &&
            (uintptr_t(lParam) & (1u << 30))) {
            return 0;  // auto-repeat of the held key
        }
        if (message == WM_CHAR && wParam == ' ' && g_swallow.keys.count(VK_SPACE)) {
            return 0;
        }
    }
    return original ? CallWindowProc(original, hwnd, message, wParam, lParam)
                    : DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

void SwallowReleases(const std::set<UINT>& keys) {
    std::set<UINT> held;
    for (UINT vk : keys) {
        if (GetKeyState(int(vk)) & 0x8000) {
            held.insert(vk);
        }
    }
    if (held.empty()) {
        return;
    }
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    if (target == nullptr) {
        return;
    }
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtr(target, GWLP_WNDPROC));
    if (current == MenuSwallowProc && g_swallow.hwnd == target) {
        g_swallow.keys.insert(held.begin(), held.end());
        return;
    }
    if (current == MenuSwallowProc || current == nullptr) {
        return;
    }
    g_swallow.hwnd = target;
    g_swallow.original = current;
    g_swallow.keys = held;
    SetWindowLongPtr(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuSwallowProc));
}

}  // namespace platform::menus
