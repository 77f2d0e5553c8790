// Areas of the screen as lists of rectangles that do not overlap: what a window can be
// seen through.
#pragma once

#include <vector>

#include "platform/windef.h"

namespace platform::user {

using Region = std::vector<RECT>;

bool IsEmpty(const RECT& r);
RECT Intersection(const RECT& a, const RECT& b);
// Each rectangle of region cut to clip.
Region Intersect(const Region& region, const RECT& clip);
// region less hole.
Region Subtract(const Region& region, const RECT& hole);
// Every rectangle moved by (dx, dy).
Region Offset(const Region& region, LONG dx, LONG dy);

}  // namespace platform::user
