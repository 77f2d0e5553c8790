// Device contexts on raw pixel memory: how a DirectDraw surface's GetDC, the screen's DC
// and a window's DC are made.
#pragma once

#include <functional>
#include <vector>

#include "platform/host/screen.h"
#include "platform/windef.h"

namespace platform {

// A device context drawing on target. onChanged, when given, runs after every drawing
// call that may have changed pixels.
HDC CreateTargetDC(const PixelTarget& target, std::function<void()> onChanged = {});
void DeleteTargetDC(HDC dc);
// From now on the target DC draws only inside these rectangles (its own coordinates,
// not overlapping); an empty list hides everything it draws.
void SetTargetDCClip(HDC dc, const std::vector<RECT>& visible);

// A device context drawing on the whole GDI page (what GetDC(nullptr) gives); release
// with DeleteScreenDC.
HDC CreateScreenDC();
void DeleteScreenDC(HDC dc);

}  // namespace platform
