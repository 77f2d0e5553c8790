#include "sim/brush.h"

#include <gtest/gtest.h>

#include "sim/random.h"

namespace {

class BrushTest : public ::testing::Test {
protected:
    void SetUp() override {
        SeedRandom(77);
        world.ResetWorld();
    }
    Cell& At(int column, int row) { return world.board[CellIndex(column, row)]; }

    // The next draw of the generator, to tell how many draws an action took.
    static int32_t Peek() { return RandomBelow(32768); }

    WorldState world;
    Brush brush;
};

// Catches the "Nic" tool touching the board or the generator.
TEST_F(BrushTest, NothingToolChangesNothingAndDrawsNothing) {
    brush.SelectTool(TOOL_NOTHING);
    At(3, 3) = Cell{4, 2, CELL_RED, 6, CreatureSprite(CELL_RED, 1)};
    const auto before = world.board;
    SeedRandom(5);
    brush.ApplyBrush(world, 3, 3);
    brush.ApplyBrush(world, 4, 4);
    const int32_t next = Peek();
    SeedRandom(5);
    EXPECT_EQ(next, Peek());
    EXPECT_EQ(world.board, before);
}

// Catches a clan tool that rerolls its own creatures, or counts the victim.
TEST_F(BrushTest, ClanToolKeepsItsOwnCreaturesAndReplacesTheOthers) {
    brush.SelectTool(TOOL_BLUE);
    const Cell blue{3, 2, CELL_BLUE, 9, CreatureSprite(CELL_BLUE, 2)};
    At(1, 1) = blue;
    At(2, 2) = Cell{4, 2, CELL_RED, 6, CreatureSprite(CELL_RED, 1)};
    world.stats[CELL_RED] = {1, 2, 3, 4, 5};

    brush.ApplyBrush(world, 1, 1);
    EXPECT_EQ(At(1, 1), blue);
    EXPECT_EQ(world.stats[CELL_BLUE].total, 0);

    brush.ApplyBrush(world, 2, 2);
    EXPECT_EQ(At(2, 2).type, CELL_BLUE);
    EXPECT_EQ(At(2, 2).age, 0);
    EXPECT_EQ(world.stats[CELL_BLUE].total, 1);
    EXPECT_EQ(world.stats[CELL_RED].died, 3);
    EXPECT_EQ(world.stats[CELL_BLUE].killed, 0);
    EXPECT_EQ(world.stats[CELL_RED].population, 5);  // not recounted until the next year
}

// Catches the newborn's attack formula used for placed creatures, or another draw order.
TEST_F(BrushTest, PlacedCreatureTakesKindHpAndAttackInThatOrder) {
    brush.SelectTool(TOOL_RED);
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        At(0, 0) = Cell{0, 0, CELL_OBSTACLE, 4, SPRITE_ROCK};
        SeedRandom(seed);
        const int32_t kind = RandomBelow(3);
        const int32_t hp = RandomBelow(kind + 3) + kind + 1;
        const int32_t attack = RandomBelow(kind + 2) + kind + 1;
        SeedRandom(seed);
        brush.ApplyBrush(world, 0, 0);
        const Cell& cell = At(0, 0);
        EXPECT_EQ(cell.type, CELL_RED);
        EXPECT_EQ(cell.sprite, CreatureSprite(CELL_RED, kind));
        EXPECT_EQ(cell.hp, hp);
        EXPECT_EQ(cell.attack, attack);
        EXPECT_GE(cell.attack, kind + 1);
        EXPECT_LE(cell.attack, 2 * kind + 2);
    }
    EXPECT_EQ(world.stats[CELL_RED].total, 60);
}

// Catches obstacle templates with a wrong sprite, or an age carried over.
TEST_F(BrushTest, ObstacleToolsCopyAFreshTemplate) {
    const struct {
        int32_t tool;
        SpriteRect sprite;
    } cases[] = {{TOOL_ROCK, SPRITE_ROCK}, {TOOL_TREE, SPRITE_TREE}, {TOOL_WATER, SPRITE_WATER}};
    for (const auto& c : cases) {
        At(6, 6) = Cell{0, 0, CELL_OBSTACLE, 40, c.sprite};
        brush.SelectTool(c.tool);
        brush.ApplyBrush(world, 6, 6);
        EXPECT_EQ(At(6, 6), (Cell{0, 0, CELL_OBSTACLE, 0, c.sprite}));
    }
}

// Catches an erase tool that depends on an earlier obstacle command.
TEST_F(BrushTest, EraseWorksBeforeAnyObstacleAndKeepsTheRestOfTheTemplate) {
    brush.SelectTool(TOOL_ERASE);
    At(8, 8) = Cell{3, 3, CELL_BLUE, 2, CreatureSprite(CELL_BLUE, 0)};
    brush.ApplyBrush(world, 8, 8);
    EXPECT_EQ(At(8, 8).type, CELL_EMPTY);

    brush.SelectTool(TOOL_WATER);
    brush.SelectTool(TOOL_ERASE);
    EXPECT_EQ(brush.templateCell.type, CELL_EMPTY);
    EXPECT_EQ(brush.templateCell.sprite, SPRITE_WATER);
}

// Catches the swapped command ids of rock and tree, or a check on a non-tool item.
TEST(ToolCheckTest, CheckMarkSitsOnTheCurrentToolOnly) {
    EXPECT_TRUE(UpdateToolCheck(TOOL_NOTHING, 32785));
    EXPECT_TRUE(UpdateToolCheck(TOOL_TREE, 32781));
    EXPECT_TRUE(UpdateToolCheck(TOOL_ROCK, 32782));
    EXPECT_FALSE(UpdateToolCheck(TOOL_ROCK, 32781));
    EXPECT_FALSE(UpdateToolCheck(TOOL_BLUE, 32771));
    int checked = 0;
    for (uint32_t id = 32779; id <= 32785; ++id) {
        checked += UpdateToolCheck(TOOL_WATER, id);
    }
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(ToolForCommand(32783), TOOL_WATER);
    EXPECT_EQ(ToolForCommand(32778), -1);
}

TEST(ToolCheckTest, UnknownToolIdKeepsTheCurrentTool) {
    Brush brush;
    brush.SelectTool(TOOL_RED);
    brush.SelectTool(42);
    EXPECT_EQ(brush.tool, TOOL_RED);
}

}  // namespace
