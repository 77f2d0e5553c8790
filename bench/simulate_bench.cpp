// "vorla simulate" as a user runs it: a world file in, years stepped, a world file out and
// the statistics printed. Reported as years per second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "app/simulate.h"
#include "app/world_files.h"
#include "bench/busy_world.h"

namespace {

namespace fs = std::filesystem;

void BM_SimulateYears(benchmark::State& state, RuleSettings rules) {
    const fs::path folder =
        fs::temp_directory_path() / ("vorla-simulate-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    SaveWorldFile((folder / "busy.vrz").string(), PaintBusyWorld());
    SimulateOptions options;
    options.inPath = (folder / "busy.vrz").string();
    options.outPath = (folder / "out.vrz").string();
    options.years = uint32_t(state.range(0));
    options.seed = 7;
    options.rules = rules;
    std::ostringstream out, err;
    for (auto _ : state) {
        out.str("");
        if (RunSimulate(options, out, err) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    // How busy the board still was at the end of the last run.
    WorldState end;
    LoadWorldFile(options.outPath, end);
    state.counters["blue"] = end.stats[0].population;
    state.counters["red"] = end.stats[1].population;
    fs::remove_all(folder);
}

// Under the program's rules the painted board thins out and settles.
BENCHMARK_CAPTURE(BM_SimulateYears, default_rules, RuleSettings{})
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// Births on two neighbours and no death alone keep the board full: every year has the
// most work to do.
RuleSettings Crowded() {
    RuleSettings rules;
    rules.birthNeighbours = 2;
    rules.lonelinessBase = 0;
    rules.overpopulationBase = 8;
    return rules;
}
BENCHMARK_CAPTURE(BM_SimulateYears, crowded_rules, Crowded())
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
