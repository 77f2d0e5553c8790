// The board the benchmarks measure: both clans painted over about two thirds of the
// squares, with some rocks and trees, the same every run.
#pragma once

#include "sim/brush.h"
#include "sim/random.h"
#include "sim/world.h"

inline WorldState PaintBusyWorld() {
    SeedRandom(4242);
    WorldState world;
    world.ResetWorld();
    Brush brush;
    for (int i = 0; i < 700; ++i) {
        const int32_t roll = RandomBelow(10);
        brush.SelectTool(roll < 4    ? TOOL_BLUE
                         : roll < 8  ? TOOL_RED
                         : roll == 8 ? TOOL_ROCK
                                     : TOOL_TREE);
        // Drawn one at a time: the order of a call's arguments is unspecified.
        const int32_t row = RandomBelow(BOARD_SIZE);
        const int32_t column = RandomBelow(BOARD_SIZE);
        brush.ApplyBrush(world, column, row);
    }
    return world;
}
