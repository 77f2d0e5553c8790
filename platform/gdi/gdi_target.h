// Device contexts on raw pixel memory: how a DirectDraw surface's GetDC, the screen's DC
// and a window's DC are made.
#pragma once

#include <functional>

#include "platform/host/screen.h"
#include "platform/windef.h"

namespace platform {

// A device context drawing on target. onChanged, when given, runs after every drawing
// call that may have changed pixels.
HDC CreateTargetDC(const PixelTarget& target, std::function<void()> onChanged = {});
void DeleteTargetDC(HDC dc);

// A device context drawing on the whole GDI page (what GetDC(nullptr) gives); release
// with DeleteScreenDC.
HDC CreateScreenDC();
void DeleteScreenDC(HDC dc);

}  // namespace platform
