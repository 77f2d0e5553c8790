// Device contexts on raw pixel memory: how a DirectDraw surface's GetDC and the screen's
// window DC are made.
#pragma once

#include <functional>

#include "platform/screen.h"
#include "platform/windef.h"

namespace platform {

// A device context drawing on target. onChanged, when given, runs after every drawing
// call that may have changed pixels.
HDC CreateTargetDC(const PixelTarget& target, std::function<void()> onChanged = {});
void DeleteTargetDC(HDC dc);

}  // namespace platform
