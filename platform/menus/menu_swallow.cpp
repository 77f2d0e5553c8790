// After the menu: the releases of the keys that chose or dismissed it.
#include <string>

#include "platform/menus/menu_internal.h"

namespace platform::menus {
namespace {

// Key releases still to come for presses the menu consumed are kept on the window they
// would reach, as its properties: its own procedure (wrapped until they have arrived),
// and one property for each key still held.
constexpr const char* ORIGINAL_PROP = "MenuSwallowProc";

std::string KeyProp(UINT vk) {
    return "MenuSwallowKey" + std::to_string(vk);
}

bool Held(HWND hwnd, UINT vk) {
    return GetProp(hwnd, KeyProp(vk).c_str()) != nullptr;
}

// Lets go of one key; the window's own procedure comes back with the last.
void Release(HWND hwnd, UINT vk) {
    RemoveProp(hwnd, KeyProp(vk).c_str());
    for (UINT k = 0; k < 256; ++k) {
        if (Held(hwnd, k)) {
            return;
        }
    }
    HANDLE original = RemoveProp(hwnd, ORIGINAL_PROP);
    SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
}

// Whether the wrapped window's message is one the menu already acted on.
bool Swallows(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    UINT vk = UINT(wParam);
    bool held = vk < 256 && Held(hwnd, vk);
    if ((message == WM_KEYUP || message == WM_SYSKEYUP) && held) {
        Release(hwnd, vk);
        return true;
    }
    // The auto-repeat of a held key, and the space it types.
    return ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && held &&
            (uintptr_t(lParam) & (1u << 30))) ||
           (message == WM_CHAR && wParam == ' ' && Held(hwnd, VK_SPACE));
}

// Eats the releases (and the typed space) of keys whose presses chose or dismissed the
// menu, so that an action bound to a key's release doesn't run as well.
LRESULT MenuSwallowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetProp(hwnd, ORIGINAL_PROP));
    if (Swallows(hwnd, message, wParam, lParam)) {
        return 0;
    }
    return original ? CallWindowProc(original, hwnd, message, wParam, lParam)
                    : DefWindowProc(hwnd, message, wParam, lParam);
}

}  // namespace

void SwallowReleases(const std::set<UINT>& keys) {
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    WNDPROC current =
        target ? reinterpret_cast<WNDPROC>(GetWindowLongPtr(target, GWLP_WNDPROC)) : nullptr;
    if (current == nullptr) {
        return;
    }
    bool any = false;
    for (UINT vk : keys) {
        if (vk < 256 && (GetKeyState(int(vk)) & 0x8000)) {
            SetProp(target, KeyProp(vk).c_str(), reinterpret_cast<HANDLE>(uintptr_t(1)));
            any = true;
        }
    }
    if (any && current != MenuSwallowProc) {
        SetProp(target, ORIGINAL_PROP, reinterpret_cast<HANDLE>(current));
        SetWindowLongPtr(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuSwallowProc));
    }
}

}  // namespace platform::menus
