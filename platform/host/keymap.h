// SDL key codes to Win32 virtual-key codes: the one table at the host's edge. Takes SDL's
// SDL_Keycode values as plain integers so that callers need no SDL header.
#pragma once

#include <cstdint>

namespace platform {

// 0 for keys the program has no code for.
uint32_t VirtualKeyFromSdlKey(int32_t sdlKeycode);

}  // namespace platform
