// Hooks: procedures that watch the messages sent to windows.
#include "platform/user/window.h"

namespace platform::user {
namespace {

// The hook installed before the one named, or the newest when none is named.
const Hook* Older(HHOOK than) {
    const std::vector<Hook>& hooks = S().hooks;
    for (size_t i = hooks.size(); i-- > 0;) {
        if (than == nullptr)
            return &hooks[i];
        if (hooks[i].handle == than)
            than = nullptr;
    }
    return nullptr;
}

}  // namespace

void CallSendHooks(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWPSTRUCT cwp = {lParam, wParam, message, hwnd};
    if (const Hook* newest = Older(nullptr))
        newest->proc(HC_ACTION, TRUE, LPARAM(reinterpret_cast<intptr_t>(&cwp)));
}

}  // namespace platform::user

using namespace platform::user;

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
    if (idHook != WH_CALLWNDPROC || proc == nullptr)
        return nullptr;
    HHOOK handle = reinterpret_cast<HHOOK>(S().nextHook++);
    S().hooks.push_back({handle, proc});
    return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    std::vector<Hook>& hooks = S().hooks;
    for (auto it = hooks.begin(); it != hooks.end(); ++it) {
        if (it->handle == hook) {
            hooks.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    const Hook* next = Older(hook);
    return next ? next->proc(code, wParam, lParam) : 0;
}
