// The picture presented into memory rather than a window, through SDL's software renderer
// and the same presenter the window uses. Tests read its pixels and benchmarks time it;
// neither needs a display.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/host/viewport.h"

namespace platform {

class SdlOffscreen {
  public:
    // An output of width x height pixels in the usual window format (32-bit, no alpha).
    SdlOffscreen(int32_t width, int32_t height);
    ~SdlOffscreen();
    SdlOffscreen(const SdlOffscreen&) = delete;
    SdlOffscreen& operator=(const SdlOffscreen&) = delete;

    // False when SDL could not make the output.
    bool Ready() const;
    // Uploads a 640 x 480 page of 5-6-5 pixels and draws it at v.
    void Present(const uint8_t* pixels, int32_t pitch, const Viewport& v, bool sharp);
    // Draws the picture last uploaded again, at v.
    void Redraw(const Viewport& v, bool sharp);
    // An output pixel as 0xRRGGBB.
    uint32_t Pixel(int32_t x, int32_t y) const;
    // The whole factor of the enlarged picture last used, 0 when none.
    int32_t EnlargedFactor() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
