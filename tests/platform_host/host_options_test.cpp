#include <gtest/gtest.h>

#include "platform/host/host.h"

using platform::ParseScaleMode;
using platform::ScaleMode;

// Faults: a setting that is not a mode taken as one (or as the other mode), or a rejected
// one changing the mode.
TEST(ParseScaleMode, KnowsTheTwoModesAndNothingElse) {
    ScaleMode mode = ScaleMode::Sharp;
    EXPECT_TRUE(ParseScaleMode("integer", mode));
    EXPECT_EQ(mode, ScaleMode::Integer);
    EXPECT_TRUE(ParseScaleMode("sharp", mode));
    EXPECT_EQ(mode, ScaleMode::Sharp);
    for (const char* bad : {"", "Sharp", "INTEGER", "sharp ", "int", "integers", "nearest"}) {
        mode = ScaleMode::Integer;
        EXPECT_FALSE(ParseScaleMode(bad, mode)) << "'" << bad << "'";
        EXPECT_EQ(mode, ScaleMode::Integer) << "'" << bad << "'";
    }
    EXPECT_EQ(platform::HostOptions{}.scale, ScaleMode::Sharp) << "sharp by default";
    EXPECT_FALSE(platform::HostOptions{}.startInWindow) << "full screen by default";
}
