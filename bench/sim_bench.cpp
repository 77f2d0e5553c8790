#include <benchmark/benchmark.h>

#include "persist/worldfile.h"
#include "sim/brush.h"
#include "sim/random.h"
#include "sim/world.h"

namespace {

// A busy board: both clans and some obstacles, settled for 20 years.
WorldState BusyWorld() {
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
        const int32_t row = RandomBelow(BOARD_SIZE);
        const int32_t column = RandomBelow(BOARD_SIZE);
        brush.ApplyBrush(world, column, row);
    }
    for (int year = 0; year < 20; ++year) {
        world.StepYear();
    }
    return world;
}

void BM_StepYear(benchmark::State& state) {
    const WorldState start = BusyWorld();
    WorldState world = start;
    int years = 0;
    for (auto _ : state) {
        world.StepYear();
        if (++years == 50) {  // keep the board busy rather than let it die out
            state.PauseTiming();
            world = start;
            years = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(world.balance);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StepYear);

void BM_WriteWorldFile(benchmark::State& state) {
    const WorldState world = BusyWorld();
    for (auto _ : state) {
        MemoryWorldStream stream;
        WriteWorldFile(stream, world);
        benchmark::DoNotOptimize(stream.Bytes().data());
    }
}
BENCHMARK(BM_WriteWorldFile);

void BM_ReadWorldFile(benchmark::State& state) {
    MemoryWorldStream saved;
    WriteWorldFile(saved, BusyWorld());
    WorldState world;
    for (auto _ : state) {
        MemoryWorldStream stream(saved.Bytes());
        benchmark::DoNotOptimize(ReadWorldFile(stream, world));
    }
}
BENCHMARK(BM_ReadWorldFile);

}  // namespace
