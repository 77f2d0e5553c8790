#include "sim/world.h"

#include <gtest/gtest.h>

// Catches a reset that forgets the years, a counter, the board or the balance, or that
// touches the rules.
TEST(WorldTest, ResetStopsTheYearsAndClearsTheWorldButNotTheRules) {
    WorldState world;
    int stops = 0;
    world.stopYears = [&] { ++stops; };
    world.rules.birthNeighbours = 5;
    world.year = 17;
    world.balance = 80.0;
    world.stats[1] = {1, 2, 3, 4, 5};
    world.board[10].type = CELL_RED;
    world.board[10].hp = 7;

    world.ResetWorld();

    EXPECT_EQ(stops, 1);
    EXPECT_EQ(world.year, 0);
    EXPECT_EQ(world.balance, 50.0);
    EXPECT_EQ(world.RedShare(), world.balance);
    for (const ClanStats& s : world.stats) {
        EXPECT_EQ(s.killed + s.total + s.died + s.births + s.population, 0);
    }
    for (const Cell& cell : world.board) {
        EXPECT_EQ(cell.type, CELL_EMPTY);
    }
    EXPECT_EQ(world.board[10].hp, 7);  // only the type is cleared
    EXPECT_EQ(world.rules.birthNeighbours, 5);
}

TEST(WorldTest, ResetWithoutAHookStillResets) {
    WorldState world;
    world.year = 3;
    world.ResetWorld();
    EXPECT_EQ(world.year, 0);
    EXPECT_EQ(world.board[0].type, CELL_EMPTY);
}

// Catches integer division or a wrong order of operations in the share.
TEST(WorldTest, RedShareMatchesTheGaugeFormula) {
    WorldState world;
    world.stats[CELL_RED].population = 1;
    EXPECT_DOUBLE_EQ(world.RedShare(), 96.875);
    world.stats[CELL_RED].population = 0;
    world.stats[CELL_BLUE].population = 1;
    EXPECT_DOUBLE_EQ(world.RedShare(), 3.125);
    world.stats[CELL_RED].population = 200;
    world.stats[CELL_BLUE].population = 200;
    EXPECT_DOUBLE_EQ(world.RedShare(), 50.0);
}

// Catches counting a value outside the five types as a clan (a file may bring one).
TEST(WorldTest, RecountCountsOnlyTheTwoClans) {
    WorldState world;
    world.ResetWorld();
    world.board[0].type = CELL_BLUE;
    world.board[1].type = CELL_RED;
    world.board[2].type = CELL_RED;
    world.board[3].type = 9;
    world.board[4].type = -1;
    world.board[5].type = CELL_REMAINS;
    world.RecountPopulations();
    EXPECT_EQ(world.stats[CELL_BLUE].population, 1);
    EXPECT_EQ(world.stats[CELL_RED].population, 2);
}
