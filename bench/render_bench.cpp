// A whole frame of the running program: background, 529 keyed tiles, STOP, the panel
// with its numbers, the marker and the year, composed into the back buffer.
#include <benchmark/benchmark.h>

#include <new>

#include "app/app.h"
#include "app/mainframe.h"
#include "display/display.h"
#include "platform/host/headless.h"
#include "platform/user/user.h"
#include "sim/random.h"

namespace {

void BM_RenderFullBoard(benchmark::State& state) {
    platform::InstallHeadlessHost();
    platform::ResetUser();
    // A device made for this host, as a fresh program would have.
    g_display.Release();
    g_display.~CDisplay();
    new (&g_display) CDisplay();
    if (!g_app.InitInstance()) {
        state.SkipWithError(g_display.active == 0 ? "the display did not start"
                                                  : "the sheets did not load");
        return;
    }
    auto* frame = static_cast<CMainFrame*>(g_app.m_pMainWnd);
    SeedRandom(9);
    for (int i = 0; i < BOARD_CELLS; ++i) {
        const int32_t clan = RandomBelow(2);
        frame->world.board[i] = Cell{5, 3, clan, 7, CreatureSprite(clan, RandomBelow(3))};
    }
    frame->hoverColumn = 4;
    frame->hoverRow = 4;
    frame->ToggleYears();
    for (auto _ : state) {
        benchmark::DoNotOptimize(frame->RenderFrame());
    }
    DestroyWindow(frame->m_hWnd);
    g_display.Release();
}
BENCHMARK(BM_RenderFullBoard)->Unit(benchmark::kMicrosecond);

}  // namespace
