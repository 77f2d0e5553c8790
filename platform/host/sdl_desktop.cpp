#include <SDL.h>

#include <climits>

#include "platform/host/sdl_surroundings.h"

namespace platform::surroundings {

bool InWebPage() {
    return false;
}

void PrepareEventWait() {}

void WaitForEvent(uint32_t timeoutMs) {
    SDL_WaitEventTimeout(nullptr, timeoutMs > uint32_t(INT_MAX) ? INT_MAX : int(timeoutMs));
}

int32_t PictureWidthInPage() {
    return 0;
}

}  // namespace platform::surroundings
