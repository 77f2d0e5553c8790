#include "platform/user/region.h"

#include <algorithm>

namespace platform::user {

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT Intersection(const RECT& a, const RECT& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

Region Intersect(const Region& region, const RECT& clip) {
    Region out;
    for (const RECT& r : region) {
        RECT i = Intersection(r, clip);
        if (!IsEmpty(i)) {
            out.push_back(i);
        }
    }
    return out;
}

Region Subtract(const Region& region, const RECT& hole) {
    Region out;
    for (const RECT& r : region) {
        RECT i = Intersection(r, hole);
        if (IsEmpty(i)) {
            out.push_back(r);
            continue;
        }
        // What is left of r around the hole: the bands above and below it, and the parts
        // beside it in between.
        const RECT parts[4] = {{r.left, r.top, r.right, i.top},
                               {r.left, i.bottom, r.right, r.bottom},
                               {r.left, i.top, i.left, i.bottom},
                               {i.right, i.top, r.right, i.bottom}};
        for (const RECT& p : parts) {
            if (!IsEmpty(p)) {
                out.push_back(p);
            }
        }
    }
    return out;
}

Region Offset(const Region& region, LONG dx, LONG dy) {
    Region out = region;
    for (RECT& r : out) {
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    return out;
}

}  // namespace platform::user
