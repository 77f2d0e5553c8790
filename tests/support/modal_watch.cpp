#include "tests/support/modal_watch.h"

#include <set>

#include "platform/dialogs/dialog.h"

namespace testsupport {
namespace {

struct Watch {
    HHOOK hook = nullptr;
    MessageBoxSeen boxSeen;
    std::function<void()> menuIdle;
    std::set<HWND> boxesSeen;
};

Watch& TheWatch() {
    static Watch watch;
    return watch;
}

// The MB_ flags a box shows: its buttons and its system icon.
UINT TypeOf(HWND box) {
    auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    UINT type = MB_OK;
    if (has(IDYES) && has(IDCANCEL))
        type = MB_YESNOCANCEL;
    else if (has(IDYES))
        type = MB_YESNO;
    else if (has(IDABORT))
        type = MB_ABORTRETRYIGNORE;
    else if (has(IDRETRY))
        type = MB_RETRYCANCEL;
    else if (has(IDCANCEL))
        type = MB_OKCANCEL;
    HICON icon = reinterpret_cast<HICON>(
        SendDlgItemMessage(box, platform::MESSAGE_BOX_ICON_ID, STM_GETICON, 0, 0));
    const std::pair<LPCSTR, UINT> icons[] = {{IDI_HAND, MB_ICONHAND},
                                             {IDI_QUESTION, MB_ICONQUESTION},
                                             {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                             {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto& [id, flag] : icons)
        if (icon != nullptr && icon == LoadIcon(nullptr, id))
            type |= flag;
    return type;
}

std::string TextOf(HWND hwnd) {
    char text[1024];
    GetWindowText(hwnd, text, sizeof(text));
    return text;
}

void Idle(WPARAM kind, HWND window) {
    Watch& w = TheWatch();
    if (kind == MSGF_MENU && w.menuIdle) {
        auto idle = w.menuIdle;
        idle();
    } else if (kind == MSGF_DIALOGBOX && w.boxSeen) {
        HWND text = GetDlgItem(window, platform::MESSAGE_BOX_TEXT_ID);
        if (text == nullptr || !w.boxesSeen.insert(window).second)
            return;
        auto seen = w.boxSeen;
        seen(window, TextOf(text), TextOf(window), TypeOf(window));
    }
}

LRESULT CALLBACK_Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp->message == WM_ENTERIDLE)
        Idle(cwp->wParam, reinterpret_cast<HWND>(cwp->lParam));
    return CallNextHookEx(TheWatch().hook, code, wParam, lParam);
}

// The hook goes with the window manager's reset, so each watch installs it afresh.
void Rehook() {
    Watch& w = TheWatch();
    UnhookWindowsHookEx(w.hook);
    w.hook = w.boxSeen || w.menuIdle ? SetWindowsHookEx(WH_CALLWNDPROC, CALLBACK_Watch, nullptr, 0)
                                     : nullptr;
}

}  // namespace

void SetMessageBoxHook(MessageBoxSeen seen) {
    TheWatch().boxSeen = std::move(seen);
    TheWatch().boxesSeen.clear();
    Rehook();
}

void SetMenuIdleHook(std::function<void()> idle) {
    TheWatch().menuIdle = std::move(idle);
    Rehook();
}

}  // namespace testsupport
