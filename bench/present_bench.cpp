// Presenting one frame through SDL's software renderer, as the window does: the page
// uploaded, scaled into the picture's rectangle on a 1920x1080 and a 3840x2160 screen
// (1440x1080 and 2880x2160), the bars filled. Sharp scaling against plain nearest pixels;
// SharpOverNearest gives their ratio directly. Also the comparison that lets an unchanged
// frame skip all of it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/host/sdl_offscreen.h"
#include "platform/host/shown_page.h"
#include "platform/host/viewport.h"

namespace {

std::vector<uint16_t> MakePage(int seed) {
    std::vector<uint16_t> page(640 * 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            page[size_t(y) * 640 + size_t(x)] = uint16_t((x / 20 + y / 20 + seed) * 2113 + x * y);
        }
    }
    return page;
}

const uint8_t* Bytes(const std::vector<uint16_t>& page) {
    return reinterpret_cast<const uint8_t*>(page.data());
}

// Two different pages in turn, so that nothing could be skipped as unchanged.
void Present(benchmark::State& state, bool sharp) {
    const int32_t w = int32_t(state.range(0));
    const int32_t h = int32_t(state.range(1));
    platform::SdlOffscreen out(w, h);
    if (!out.Ready()) {
        state.SkipWithError("SDL could not make the output");
        return;
    }
    const platform::Viewport v = platform::FitPicture(w, h, platform::ScaleMode::Sharp);
    const std::vector<uint16_t> pages[2] = {MakePage(0), MakePage(1)};
    int i = 0;
    for (auto _ : state) {
        out.Present(Bytes(pages[i]), 1280, v, sharp);
        i = 1 - i;
    }
    state.SetLabel(std::to_string(v.width) + "x" + std::to_string(v.height) + " on " +
                   std::to_string(w) + "x" + std::to_string(h));
}

void BM_PresentSharp(benchmark::State& state) {
    Present(state, true);
}
void BM_PresentNearest(benchmark::State& state) {
    Present(state, false);
}

// Both ways in each iteration, timed apart; the counter is sharp's time over nearest's.
void BM_SharpOverNearest(benchmark::State& state) {
    const int32_t w = int32_t(state.range(0));
    const int32_t h = int32_t(state.range(1));
    platform::SdlOffscreen sharp(w, h);
    platform::SdlOffscreen nearest(w, h);
    if (!sharp.Ready() || !nearest.Ready()) {
        state.SkipWithError("SDL could not make the output");
        return;
    }
    const platform::Viewport v = platform::FitPicture(w, h, platform::ScaleMode::Sharp);
    const std::vector<uint16_t> pages[2] = {MakePage(0), MakePage(1)};
    using Clock = std::chrono::steady_clock;
    Clock::duration sharpTime{}, nearestTime{};
    int i = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        nearest.Present(Bytes(pages[i]), 1280, v, false);
        const auto t1 = Clock::now();
        sharp.Present(Bytes(pages[i]), 1280, v, true);
        const auto t2 = Clock::now();
        nearestTime += t1 - t0;
        sharpTime += t2 - t1;
        i = 1 - i;
    }
    state.counters["sharp_over_nearest"] =
        nearestTime.count() > 0 ? double(sharpTime.count()) / double(nearestTime.count()) : 0;
    state.counters["nearest_ms"] =
        std::chrono::duration<double, std::milli>(nearestTime).count() / double(state.iterations());
    state.counters["sharp_ms"] =
        std::chrono::duration<double, std::milli>(sharpTime).count() / double(state.iterations());
}

// What an idle board's frame costs the host: the comparison with the page shown.
void BM_UnchangedFrame(benchmark::State& state) {
    platform::ShownPage shown;
    const std::vector<uint16_t> page = MakePage(0);
    shown.Update(Bytes(page), 1280);
    for (auto _ : state) {
        benchmark::DoNotOptimize(shown.Update(Bytes(page), 1280));
    }
}

}  // namespace

BENCHMARK(BM_PresentSharp)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentNearest)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SharpOverNearest)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnchangedFrame)->Unit(benchmark::kMicrosecond);
