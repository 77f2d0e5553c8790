#include "platform/host/shown_page.h"

#include <cstddef>
#include <cstring>

#include "platform/host/screen.h"

namespace platform {

bool ShownPage::Update(const uint8_t* pixels, int32_t pitch) {
    constexpr size_t ROW = size_t(SCREEN_WIDTH) * 2;
    page_.resize(ROW * SCREEN_HEIGHT);
    int y = 0;
    if (valid_) {
        while (y < SCREEN_HEIGHT && std::memcmp(page_.data() + ROW * size_t(y),
                                                pixels + ptrdiff_t(y) * pitch, ROW) == 0) {
            ++y;
        }
        if (y == SCREEN_HEIGHT) {
            return false;
        }
    }
    // The rows above the first difference are already equal.
    for (; y < SCREEN_HEIGHT; ++y) {
        std::memcpy(page_.data() + ROW * size_t(y), pixels + ptrdiff_t(y) * pitch, ROW);
    }
    valid_ = true;
    return true;
}

}  // namespace platform
