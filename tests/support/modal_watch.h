// Watching the program's modal loops from a test: each loop tells its owner when it is idle
// (WM_ENTERIDLE), and a WH_CALLWNDPROC hook hears that whichever window the owner is.
#pragma once

#include <functional>
#include <string>

#include "platform/user/user.h"

namespace testsupport {

// Runs seen once for each message box, once it is shown and painted and its loop waits:
// its text, caption, and the MB_ flags of its buttons and icon as read back from it. Null
// stops watching.
using MessageBoxSeen =
    std::function<void(HWND box, const std::string& text, const std::string& caption, UINT type)>;
void SetMessageBoxHook(MessageBoxSeen seen);

// Runs idle each time a tracked menu's loop waits (WM_ENTERIDLE with MSGF_MENU). Null stops
// watching.
void SetMenuIdleHook(std::function<void()> idle);

}  // namespace testsupport
