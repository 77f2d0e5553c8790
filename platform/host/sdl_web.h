// The SDL host inside a web page. The program's loops block in the host's wait, which
// Asyncify turns into a return to the browser: the wait sleeps until SDL queues an event
// or the timeout passes, never in steps.
#pragma once

#include <cstdint>

namespace platform::web {

// Makes every event SDL queues from now on end a sleep in progress. Call once SDL's
// events are up.
void WakeOnEvents();
// Gives the browser its turn until an event arrives or timeoutMs passes.
void SleepUntilEvent(uint32_t timeoutMs);
// The width the page gives the picture, in the page's pixels; 0 when it can't be read.
int32_t PictureWidthInPage();

}  // namespace platform::web
