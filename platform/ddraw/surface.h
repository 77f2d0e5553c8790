// What the DirectDraw device and its surfaces share.
#pragma once

#include <cstdint>

#include "platform/ddraw/ddraw.h"
#include "platform/host/screen.h"

namespace platform::ddraw {

constexpr int32_t MAX_SURFACE_SIDE = 16384;

enum class Kind { Offscreen, Primary, BackBuffer };

// A new surface with one reference: its own memory (Offscreen), or a page of the screen.
IDirectDrawSurface* NewSurface(Kind kind, int32_t width, int32_t height, PixelFormat format,
                               DWORD caps);
// Makes primary and back (when there is one) a flip chain; the primary now exists.
void AttachFlipChain(IDirectDrawSurface* primary, IDirectDrawSurface* back);
// True while a primary surface exists: only one chain can use the screen's two pages.
bool PrimaryExists();

bool DescSizeOk(DWORD size);
bool FormatFromDesc(const DDPIXELFORMAT& pf, PixelFormat& out);

}  // namespace platform::ddraw
