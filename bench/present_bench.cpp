// Presenting one frame through SDL's software renderer, as the window does: the page
// uploaded, scaled into the picture's rectangle on a 1920x1080 and a 3840x2160 screen
// (1440x1080 and 2880x2160), the bars filled. Sharp scaling against plain nearest pixels;
// SharpOverNearest gives their ratio directly. Also the comparison that lets an unchanged
// frame skip all of it.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdint>
#include <sstream>
#include <vector>

#include "platform/host/sdl_offscreen.h"
#include "platform/host/shown_page.h"
#include "platform/host/viewport.h"

namespace {

// Streams the arguments into one string.
template <typename... Parts>
std::string Text(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

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
    state.SetLabel(Text(v.width, "x", v.height, " on ", w, "x", h));
}

void BM_PresentSharp(benchmark::State& state) {
    Present(state, true);
}
void BM_PresentNearest(benchmark::State& state) {
    Present(state, false);
}

// This thread's processor time in ms: the machine may be shared, and waiting is not work.
double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
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
    double sharpMs = 0;
    double nearestMs = 0;
    int i = 0;
    for (auto _ : state) {
        const double t0 = ThreadMs();
        nearest.Present(Bytes(pages[i]), 1280, v, false);
        const double t1 = ThreadMs();
        sharp.Present(Bytes(pages[i]), 1280, v, true);
        const double t2 = ThreadMs();
        nearestMs += t1 - t0;
        sharpMs += t2 - t1;
        i = 1 - i;
    }
    const double n = double(state.iterations());
    state.counters["sharp_over_nearest"] = nearestMs > 0 ? sharpMs / nearestMs : 0;
    state.counters["nearest_ms"] = nearestMs / n;
    state.counters["sharp_ms"] = sharpMs / n;
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
