// What the SDL host's window lives in, one file for each: a desktop of its own
// (sdl_desktop.cpp), or a canvas in a web page (sdl_web.cpp), where the program's loops
// block in the host's wait and Asyncify turns that wait into a return to the browser.
#pragma once

#include <cstdint>

namespace platform::surroundings {

// True in a web page: the canvas keeps the picture's own size, the page scales it, and
// full screen is the page's to ask for (a browser grants it only in answer to a click or
// a key).
bool InWebPage();
// Readies the wait once SDL's events are up.
void PrepareEventWait();
// Returns when SDL has an event queued or timeoutMs has passed; the event stays queued.
// In a web page the browser has its turn meanwhile, and the sleep is never cut in steps.
void WaitForEvent(uint32_t timeoutMs);
// The width the page gives the picture, in the page's pixels; 0 outside a page or when it
// can't be read.
int32_t PictureWidthInPage();

}  // namespace platform::surroundings
