#include "app/hit_areas.h"
#include "tests/app/app_fixture.h"

namespace {

// Catches bounds that are not strict: the outer grid lines belong to no square, and the
// START/STOP area runs from y = 416 to 464.
TEST(HitAreaTest, BoundsAreStrict) {
    EXPECT_FALSE(BoardSquareAt(10, 100).onBoard);
    EXPECT_FALSE(BoardSquareAt(470, 100).onBoard);
    EXPECT_FALSE(BoardSquareAt(100, 10).onBoard);
    EXPECT_FALSE(BoardSquareAt(100, 470).onBoard);
    EXPECT_EQ(BoardSquareAt(11, 11).column, 0);
    EXPECT_EQ(BoardSquareAt(469, 469).column, 22);
    EXPECT_EQ(BoardSquareAt(469, 469).row, 22);
    EXPECT_EQ(BoardSquareAt(30, 50).column, 1);  // the inner grid line joins the next square
    EXPECT_EQ(BoardSquareAt(30, 50).row, 2);
    EXPECT_FALSE(InStartStopButton(500, 415));
    EXPECT_TRUE(InStartStopButton(500, 416));
    EXPECT_TRUE(InStartStopButton(500, 464));
    EXPECT_FALSE(InStartStopButton(500, 465));
    EXPECT_FALSE(InStartStopButton(480, 440));
    EXPECT_FALSE(InStartStopButton(630, 440));
    EXPECT_TRUE(InMenuButton(481, 19));
    EXPECT_FALSE(InMenuButton(481, 18));
    EXPECT_FALSE(InMenuButton(481, 67));
}

}  // namespace
