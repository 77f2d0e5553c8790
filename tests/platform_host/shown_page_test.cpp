#include "platform/host/shown_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using platform::ShownPage;

namespace {

// A 640 x 480 page of 5-6-5 pixels in rows of `pitch` bytes; the bytes past each row are
// padding and filled with `padding`.
struct Page {
    explicit Page(int32_t pitch = 1280, uint8_t padding = 0)
        : pitch(pitch), bytes(size_t(pitch) * 480, padding) {
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                Set(x, y, uint16_t(x * 31 + y * 7));
            }
        }
    }
    void Set(int x, int y, uint16_t value) {
        std::memcpy(bytes.data() + size_t(y) * size_t(pitch) + size_t(x) * 2, &value, 2);
    }
    int32_t pitch;
    std::vector<uint8_t> bytes;
};

}  // namespace

// Faults: an identical re-render uploaded and presented again (the idle cost), or a changed
// page taken for the shown one, wherever the change is.
TEST(ShownPage, OnlyADifferentPageCountsAsNew) {
    ShownPage shown;
    Page page;
    EXPECT_TRUE(shown.Update(page.bytes.data(), page.pitch)) << "nothing shown yet";
    EXPECT_FALSE(shown.Update(page.bytes.data(), page.pitch));
    for (auto [x, y] : {std::pair{0, 0}, std::pair{639, 479}, std::pair{320, 240}}) {
        page.Set(x, y, 0xFFFF);
        EXPECT_TRUE(shown.Update(page.bytes.data(), page.pitch)) << x << "," << y;
        EXPECT_FALSE(shown.Update(page.bytes.data(), page.pitch)) << x << "," << y;
    }
}

// Fault: after a change, only part of the new page kept (rows from the first difference on,
// or up to it), so that a later return to the old picture looks unchanged and is never shown.
TEST(ShownPage, KeepsTheWholeNewPage) {
    ShownPage shown;
    Page a;
    Page b;
    b.Set(5, 10, 1);
    b.Set(600, 400, 2);
    ASSERT_TRUE(shown.Update(a.bytes.data(), a.pitch));
    ASSERT_TRUE(shown.Update(b.bytes.data(), b.pitch));
    EXPECT_FALSE(shown.Update(b.bytes.data(), b.pitch));
    EXPECT_EQ(std::memcmp(shown.Pixels(), b.bytes.data(), b.bytes.size()), 0);
    Page c = b;
    c.Set(600, 400, 0x1234);  // differs from b only below b's first difference from a
    EXPECT_TRUE(shown.Update(c.bytes.data(), c.pitch));
    EXPECT_TRUE(shown.Update(a.bytes.data(), a.pitch));
    EXPECT_FALSE(shown.Update(a.bytes.data(), a.pitch));
}

// Faults: the padding past a row compared (a page seen as new on every frame) or copied into
// the packed copy; the pitch ignored.
TEST(ShownPage, ComparesPixelsNotPadding) {
    ShownPage shown;
    Page padded(1408, 0xAA);
    ASSERT_TRUE(shown.Update(padded.bytes.data(), padded.pitch));
    Page repadded(1408, 0x55);
    EXPECT_FALSE(shown.Update(repadded.bytes.data(), repadded.pitch));
    Page packed;
    EXPECT_FALSE(shown.Update(packed.bytes.data(), packed.pitch));
    EXPECT_EQ(std::memcmp(shown.Pixels() + 1280 * 479, packed.bytes.data() + 1280 * 479, 1280), 0);
}

// Fault: after the window's copy was lost, the same page skipped, leaving the window empty.
TEST(ShownPage, ForgetMakesTheNextPageNew) {
    ShownPage shown;
    Page page;
    ASSERT_TRUE(shown.Update(page.bytes.data(), page.pitch));
    shown.Forget();
    EXPECT_FALSE(shown.Valid());
    EXPECT_TRUE(shown.Update(page.bytes.data(), page.pitch));
    EXPECT_TRUE(shown.Valid());
}
