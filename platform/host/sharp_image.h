// Enlarging a small ARGB image the way the picture is shown: nearest pixels up to the next
// whole factor, then smoothly down to the size asked for. Used for the cursor, so that it
// keeps the picture's scale and its edges stay crisp.
#pragma once

#include <cstdint>

#include "platform/host/host.h"

namespace platform {

// The image at width x height (each at least 1), with its hot spot moved to the pixel that
// now shows the old one. Colours blend in premultiplied form, so a transparent pixel next
// to an opaque one adds no dark fringe. An empty or short image gives an empty result.
HostImage ScaleImageSharp(const HostImage& image, int32_t width, int32_t height);

// Every pixel made fully opaque (alpha from half up) or fully clear (0). For cursors: X takes
// cursor pixels with premultiplied alpha and SDL 2 hands ours on as they are, so a partly
// clear pixel would show too bright; whole pixels look the same either way.
void HardenAlpha(HostImage& image);

}  // namespace platform
