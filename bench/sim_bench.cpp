#include <benchmark/benchmark.h>

#include "bench/busy_world.h"
#include "persist/worldfile.h"

namespace {

// The busy board settled for 20 years.
WorldState BusyWorld() {
    WorldState world = PaintBusyWorld();
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
