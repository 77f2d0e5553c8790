// What the menu tracker shares with the framework glue.
#pragma once

#include "platform/windef.h"

namespace platform {

// Brings the items of menu up to date through the owner's command-update handlers when
// the owner is a framework frame; does nothing for other windows.
void UpdateMenuCommandUI(HWND owner, HMENU menu);

}  // namespace platform
