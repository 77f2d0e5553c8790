#include <gtest/gtest.h>

#include "sim/random.h"
#include "sim/world.h"

namespace {

class StepTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SeedRandom(2024);
        world.ResetWorld();
    }

    Cell& At(int column, int row) { return world.board[CellIndex(column, row)]; }

    void Put(int column, int row, int32_t clan, int32_t hp = 5, int32_t attack = 1) {
        At(column, row) = Cell{hp, attack, clan, 0, CreatureSprite(clan, 0)};
    }

    // Rules under which creatures never die of loneliness or crowding.
    void Immortal() {
        world.rules.lonelinessBase = 0;
        world.rules.overpopulationBase = 8;
        world.rules.overpopulationRandom = 0;
    }

    WorldState world;
};

// Catches a step that forgets the year or smooths the balance the wrong way.
TEST_F(StepTest, EmptyBoardAdvancesTheYearAndPullsTheBalanceToFifty) {
    world.balance = 30.0;
    world.StepYear();
    EXPECT_EQ(world.year, 1);
    EXPECT_DOUBLE_EQ(world.balance, 32.0);
    for (const Cell& cell : world.board) {
        EXPECT_EQ(cell.type, CELL_EMPTY);
    }
}

// Catches a wrong remains tile, hp/attack left on remains, a kill credited for a lonely
// death, and remains that outlast one year.
TEST_F(StepTest, LoneCreatureDiesOfLonelinessAndItsSkeletonLastsOneYear) {
    Put(11, 11, CELL_RED);
    world.StepYear();
    const Cell& remains = At(11, 11);
    EXPECT_EQ(remains.type, CELL_REMAINS);
    EXPECT_EQ(remains.sprite, SPRITE_SKELETON);
    EXPECT_EQ(remains.hp, 0);
    EXPECT_EQ(remains.attack, 0);
    EXPECT_EQ(world.stats[CELL_RED].died, 1);
    EXPECT_EQ(world.stats[CELL_RED].killed + world.stats[CELL_BLUE].killed, 0);
    EXPECT_EQ(world.stats[CELL_RED].population, 0);
    EXPECT_DOUBLE_EQ(world.balance, 50.0);
    world.StepYear();
    EXPECT_EQ(At(11, 11).type, CELL_EMPTY);
}

// Catches births that need "at least" rather than exactly the birth number.
TEST_F(StepTest, BirthNeedsExactlyTheBirthNumberOfOneClan) {
    // Square (5, 5): Blue at three neighbours, Red at two.
    Put(4, 4, CELL_BLUE);
    Put(4, 5, CELL_BLUE);
    Put(4, 6, CELL_BLUE);
    Put(6, 4, CELL_RED);
    Put(6, 5, CELL_RED);
    world.StepYear();
    EXPECT_EQ(At(5, 5).type, CELL_BLUE);
    EXPECT_EQ(At(5, 5).age, 0);

    world.ResetWorld();
    // Four Blue neighbours: nobody is born at (5, 5).
    Put(4, 4, CELL_BLUE);
    Put(4, 5, CELL_BLUE);
    Put(4, 6, CELL_BLUE);
    Put(5, 4, CELL_BLUE);
    world.StepYear();
    EXPECT_NE(At(5, 5).type, CELL_BLUE);
}

// Catches a tie decided by anything but one coin drawn at that square, in the order of
// the draws of the year (column by column), with 1 meaning Red.
TEST_F(StepTest, TieOfTwoClansIsDecidedByOneCoinInDrawOrder) {
    int outcomes[2] = {};
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        world.ResetWorld();
        Put(4, 4, CELL_BLUE);
        Put(4, 5, CELL_BLUE);
        Put(4, 6, CELL_BLUE);
        Put(6, 4, CELL_RED);
        Put(6, 5, CELL_RED);
        Put(6, 6, CELL_RED);
        // Column 3 comes first: (3, 5) sees three Blue and gets a newborn (three draws),
        // then (5, 5) draws the coin.
        SeedRandom(seed);
        RandomBelow(3);
        RandomBelow(3);
        RandomBelow(3);
        const int32_t coin = RandomBelow(2);
        SeedRandom(seed);
        world.StepYear();
        EXPECT_EQ(At(3, 5).type, CELL_BLUE);
        EXPECT_EQ(At(5, 5).type, coin == 1 ? CELL_RED : CELL_BLUE) << "seed " << seed;
        ++outcomes[coin];
    }
    EXPECT_GT(outcomes[0], 0);
    EXPECT_GT(outcomes[1], 0);
}

// Catches newborn values outside their kind's ranges, a wrong sprite, or the draws
// taken in another order than kind, hp, attack.
TEST_F(StepTest, NewbornTakesKindHpAndAttackFromThreeDraws) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        world.ResetWorld();
        // (0, 0) in the corner sees exactly three Red creatures and nothing else
        // examined before it is born.
        Put(1, 0, CELL_RED);
        Put(0, 1, CELL_RED);
        Put(1, 1, CELL_RED);
        SeedRandom(seed);
        const int32_t kind = RandomBelow(3);
        const int32_t hp = RandomBelow(kind + 3) + kind + 1;
        const int32_t attack = RandomBelow(kind + 2) + 1;
        SeedRandom(seed);
        world.StepYear();
        const Cell& born = At(0, 0);
        ASSERT_EQ(born.type, CELL_RED);
        EXPECT_EQ(born.sprite, CreatureSprite(CELL_RED, kind));
        EXPECT_EQ(born.hp, hp);
        EXPECT_EQ(born.attack, attack);
        EXPECT_GE(born.hp, kind + 1);
        EXPECT_LE(born.hp, 2 * kind + 3);
        EXPECT_GE(born.attack, 1);
        EXPECT_LE(born.attack, kind + 2);
        EXPECT_EQ(born.age, 0);
        EXPECT_EQ(world.stats[CELL_RED].births, 1);
        EXPECT_EQ(world.stats[CELL_RED].total, 1);
    }
}

// Catches combat that skips strikes from a creature that dies the same year, or that
// strikes before all hp are lowered.
TEST_F(StepTest, EnemiesStrikeEachOtherEvenWhenOneDies) {
    Immortal();
    Put(0, 0, CELL_BLUE, 1, 2);
    Put(1, 0, CELL_RED, 10, 3);
    world.StepYear();
    EXPECT_EQ(At(0, 0).type, CELL_REMAINS);
    EXPECT_EQ(At(0, 0).sprite, SPRITE_SKELETON);  // no Blue neighbour
    EXPECT_EQ(At(1, 0).type, CELL_RED);
    EXPECT_EQ(At(1, 0).hp, 8);
    EXPECT_EQ(At(1, 0).age, 1);
    EXPECT_EQ(world.stats[CELL_BLUE].died, 1);
}

// Catches a kill credit tied to the cause of death instead of the neighbour count.
TEST_F(StepTest, TileAndKillCreditFollowTheOwnClanNeighbourCount) {
    // A Blue line of three; the middle has two Blue neighbours and is struck to death.
    Put(10, 9, CELL_BLUE, 5, 1);
    Put(10, 10, CELL_BLUE, 1, 1);
    Put(10, 11, CELL_BLUE, 5, 1);
    Put(11, 10, CELL_RED, 9, 4);
    world.StepYear();
    EXPECT_EQ(At(10, 10).type, CELL_REMAINS);
    EXPECT_EQ(At(10, 10).sprite, SPRITE_SLAIN);
    EXPECT_EQ(world.stats[CELL_RED].killed, 1);
    EXPECT_EQ(world.stats[CELL_BLUE].killed, 0);

    // Four neighbours and a crowding threshold of 3: a grave, and nobody is credited.
    world.ResetWorld();
    world.rules.overpopulationRandom = 0;
    Put(5, 5, CELL_RED);
    Put(4, 5, CELL_RED);
    Put(6, 5, CELL_RED);
    Put(5, 4, CELL_RED);
    Put(5, 6, CELL_RED);
    world.StepYear();
    EXPECT_EQ(At(5, 5).type, CELL_REMAINS);
    EXPECT_EQ(At(5, 5).sprite, SPRITE_GRAVE);
    EXPECT_EQ(world.stats[CELL_BLUE].killed, 0);
}

// Catches wrapping or off-board neighbours in the count (a full board's corner has 3).
TEST_F(StepTest, CornerCountsOnlyItsThreeNeighbours) {
    for (Cell& cell : world.board) {
        cell = Cell{5, 1, CELL_BLUE, 0, CreatureSprite(CELL_BLUE, 0)};
    }
    world.rules.lonelinessBase = 4;  // dies of loneliness below 4
    world.rules.overpopulationBase = 8;
    world.StepYear();
    EXPECT_EQ(At(0, 0).type, CELL_REMAINS);
    EXPECT_EQ(At(22, 22).type, CELL_REMAINS);
    EXPECT_EQ(At(0, 0).sprite, SPRITE_SLAIN);  // three neighbours
    EXPECT_EQ(At(0, 5).type, CELL_BLUE);       // an edge square has five
    EXPECT_EQ(At(11, 11).type, CELL_BLUE);
}

// Catches obstacles that are struck, born on, or not aged.
TEST_F(StepTest, ObstaclesOnlyAge) {
    Immortal();
    At(5, 5) = Cell{0, 0, CELL_OBSTACLE, 7, SPRITE_TREE};
    Put(4, 4, CELL_BLUE, 5, 3);
    Put(4, 5, CELL_BLUE, 5, 3);
    Put(4, 6, CELL_BLUE, 5, 3);
    world.StepYear();
    world.StepYear();
    EXPECT_EQ(At(5, 5).type, CELL_OBSTACLE);
    EXPECT_EQ(At(5, 5).sprite, SPRITE_TREE);
    EXPECT_EQ(At(5, 5).hp, 0);
    EXPECT_EQ(At(5, 5).age, 9);
}

// Catches a balance that is not smoothed by a tenth of the way.
TEST_F(StepTest, OneSurvivorMovesTheBalanceATenthOfTheWay) {
    Immortal();
    Put(3, 3, CELL_RED);
    world.StepYear();
    EXPECT_DOUBLE_EQ(world.balance, 54.6875);
    world.ResetWorld();
    Put(3, 3, CELL_BLUE);
    world.StepYear();
    EXPECT_DOUBLE_EQ(world.balance, 45.3125);
}

// Catches a square with a type from a damaged file taking part, or surviving the year.
TEST_F(StepTest, UnknownTypesAreEmptiedAndIgnored) {
    Immortal();
    At(7, 7) = Cell{5, 5, 9, 3, {200, 180, 219, 199}};
    Put(7, 8, CELL_RED, 5, 1);
    world.StepYear();
    EXPECT_EQ(At(7, 7).type, CELL_EMPTY);
    EXPECT_EQ(At(7, 8).hp, 5);  // nobody struck it
    world.RecountPopulations();
    EXPECT_EQ(world.stats[CELL_RED].population, 1);
}

// Catches draws taken for creatures that already died of loneliness, or skipped for a
// range of 0: the second pass draws loneliness for each creature and crowding only for
// those that passed.
TEST_F(StepTest, SurvivalDrawsOnlyWhatIsReached) {
    world.rules.lonelinessRandom = 0;
    world.rules.overpopulationRandom = 5;
    Put(2, 2, CELL_BLUE);  // alone: one draw (loneliness), then dies
    SeedRandom(99);
    world.StepYear();
    const int32_t after = RandomBelow(32768);
    SeedRandom(99);
    RandomBelow(0);
    EXPECT_EQ(RandomBelow(32768), after);
}

// Catches overflow when thresholds are formed from rule settings at the int32 limits.
TEST_F(StepTest, ExtremeRulesDoNotOverflow) {
    world.rules.lonelinessBase = INT32_MIN;
    world.rules.lonelinessRandom = INT32_MAX;
    world.rules.overpopulationBase = INT32_MAX;
    world.rules.overpopulationRandom = INT32_MAX;
    Put(5, 5, CELL_RED);
    world.StepYear();
    EXPECT_EQ(At(5, 5).type, CELL_RED);  // neither lonely nor crowded
}

// Catches a counter that overflows (undefined, and negative in the statistics) after a
// long enough run: at the int32 limit every counter stays there.
TEST_F(StepTest, CountersStopAtTheirLargestValue) {
    for (ClanStats& s : world.stats) {
        s.killed = s.total = s.died = s.births = INT32_MAX;
    }
    // A Blue line of three struck to death in the middle, with a birth on each side.
    Put(10, 9, CELL_BLUE, 5, 1);
    Put(10, 10, CELL_BLUE, 1, 1);
    Put(10, 11, CELL_BLUE, 5, 1);
    Put(11, 10, CELL_RED, 9, 4);
    world.StepYear();
    EXPECT_EQ(At(10, 10).sprite, SPRITE_SLAIN);
    EXPECT_EQ(At(9, 10).type, CELL_BLUE);  // born
    EXPECT_EQ(world.stats[CELL_RED].killed, INT32_MAX);
    EXPECT_EQ(world.stats[CELL_BLUE].died, INT32_MAX);
    EXPECT_EQ(world.stats[CELL_BLUE].births, INT32_MAX);
    EXPECT_EQ(world.stats[CELL_BLUE].total, INT32_MAX);
    int32_t below = INT32_MAX - 1;
    CountOne(below);
    EXPECT_EQ(below, INT32_MAX);
}
}  // namespace
