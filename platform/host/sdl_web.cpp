#include "platform/host/sdl_surroundings.h"

#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <climits>
#include <cmath>

namespace platform::surroundings {
namespace {

// The timer and the wake settle the one promise; whichever comes first clears the other.
// A wake with no sleep in progress does nothing: the next wait finds the event queued.
// clang-format off
EM_ASYNC_JS(void, SleepInBrowser, (int timeoutMs), {
    await new Promise((resolve) => {
        const done = () => {
            clearTimeout(timer);
            Module.vorlaWake = null;
            resolve();
        };
        const timer = setTimeout(done, timeoutMs);
        Module.vorlaWake = done;
    });
});

// Called inside SDL's handler of a browser event, before the event is queued; the sleep
// resumes from the promise's job, once that handler has returned.
EM_JS(void, WakeBrowserSleep, (), {
    if (Module.vorlaWake) {
        Module.vorlaWake();
    }
});
// clang-format on

int SDLCALL OnQueued(void*, SDL_Event*) {
    WakeBrowserSleep();
    return 0;
}

}  // namespace

bool InWebPage() {
    return true;
}

// Every event SDL queues from now on ends a sleep in progress.
void PrepareEventWait() {
    SDL_AddEventWatch(OnQueued, nullptr);
}

void WaitForEvent(uint32_t timeoutMs) {
    SDL_PumpEvents();
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
        return;
    }
    SleepInBrowser(timeoutMs > uint32_t(INT_MAX) ? INT_MAX : int(timeoutMs));
}

int32_t PictureWidthInPage() {
    double width = 0;
    double height = 0;
    if (emscripten_get_element_css_size("#canvas", &width, &height) != EMSCRIPTEN_RESULT_SUCCESS ||
        !(width >= 1 && width <= 1e6)) {
        return 0;
    }
    return int32_t(std::lround(width));
}

}  // namespace platform::surroundings
