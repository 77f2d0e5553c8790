#include <gtest/gtest.h>

#include <climits>

#include "sim/brush.h"
#include "sim/random.h"
#include "sim/world.h"

namespace {

int32_t WildSetting(uint32_t pick) {
    const int32_t values[] = {0,     1, 2, 3, 8, 9, -1, -5, INT32_MAX, INT32_MIN, INT32_MAX - 1,
                              100000};
    return values[pick % (sizeof(values) / sizeof(values[0]))];
}

// Catches overflow, types leaving 0..4, populations out of step with the board, or a
// balance leaving 0..100, under rule settings nobody would choose.
TEST(SoakTest, RandomRulesKeepTheWorldConsistent) {
    for (uint32_t run = 0; run < 120; ++run) {
        SeedRandom(run * 7919u + 1u);
        WorldState world;
        world.ResetWorld();
        Brush brush;
        for (int i = 0; i < 250; ++i) {
            brush.SelectTool(RandomBelow(TOOL_COUNT));
            // Drawn one at a time, so every compiler soaks the same worlds.
            const int32_t row = RandomBelow(BOARD_SIZE);
            const int32_t column = RandomBelow(BOARD_SIZE);
            brush.ApplyBrush(world, column, row);
        }
        world.rules.birthNeighbours = run % 3 == 0 ? WildSetting(run) : int32_t(run % 9);
        world.rules.lonelinessBase = WildSetting(run / 3);
        world.rules.lonelinessRandom = WildSetting(run / 5);
        world.rules.overpopulationBase = WildSetting(run / 7);
        world.rules.overpopulationRandom = WildSetting(run / 11);

        for (int year = 0; year < 25; ++year) {
            world.StepYear();
            int32_t counted[2] = {};
            for (const Cell& cell : world.board) {
                ASSERT_GE(cell.type, CELL_BLUE);
                ASSERT_LE(cell.type, CELL_EMPTY);
                if (cell.type <= CELL_RED) {
                    ++counted[cell.type];
                    ASSERT_GT(cell.hp, 0);
                }
            }
            ASSERT_EQ(counted[0], world.stats[0].population);
            ASSERT_EQ(counted[1], world.stats[1].population);
            ASSERT_GT(world.balance, 0.0);
            ASSERT_LT(world.balance, 100.0);
        }
        EXPECT_EQ(world.year, 25);
    }
}

}  // namespace
