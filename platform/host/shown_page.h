// The page the window shows now, kept so that a frame identical to it costs only a
// comparison: the render timer composes every frame, and an idle board composes the same
// picture again and again.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

class ShownPage {
  public:
    // Takes a 640 x 480 page of 5-6-5 pixels; false when it equals the page shown, true
    // (and it becomes the page shown) when it differs or nothing was shown yet.
    bool Update(const uint8_t* pixels, int32_t pitch);
    // Nothing counts as shown any more (the window's copy was lost); the next page differs.
    void Forget() { valid_ = false; }
    bool Valid() const { return valid_; }
    // The page shown, rows packed (pitch 1280).
    const uint8_t* Pixels() const { return page_.data(); }

  private:
    std::vector<uint8_t> page_;
    bool valid_ = false;
};

}  // namespace platform
