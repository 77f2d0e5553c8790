// Text drawing cost: the renderer's year string and a whole text pass per frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/gdi_target.h"

namespace {

struct Page {
    Page() : pixels(size_t(640) * 480 * 2, 0) {
        platform::PixelTarget t{pixels.data(), 640 * 2, 640, 480, platform::PixelFormat::RGB565};
        dc = platform::CreateTargetDC(t);
    }
    ~Page() { platform::DeleteTargetDC(dc); }
    std::vector<uint8_t> pixels;
    HDC dc;
};

HFONT Viking(int height) {
    return CreateFont(height, 0, 0, 0, FW_EXTRALIGHT, 0, 0, 0, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY,
                      0, "Viking");
}

void BM_DrawTextYear(benchmark::State& state) {
    Page page;
    HFONT font = Viking(28);
    HGDIOBJ old = SelectObject(page.dc, font);
    SetTextColor(page.dc, RGB(255, 255, 0));
    SetBkMode(page.dc, TRANSPARENT);
    for (auto _ : state) {
        RECT box{495, 352, 620, 384};
        benchmark::DoNotOptimize(DrawText(page.dc, "ROK 123", -1, &box, DT_CENTER | DT_VCENTER));
    }
    SelectObject(page.dc, old);
    DeleteObject(font);
}
BENCHMARK(BM_DrawTextYear);

// Both passes of a frame: three panel numbers in the 20-pixel font, the year in the 28.
void BM_FrameTextPasses(benchmark::State& state) {
    Page page;
    HFONT panel = Viking(20), year = Viking(28);
    for (auto _ : state) {
        SetTextColor(page.dc, RGB(255, 255, 0));
        SetBkMode(page.dc, TRANSPARENT);
        HGDIOBJ old = SelectObject(page.dc, panel);
        RECT hp{590, 200, 620, 220}, at{590, 227, 620, 242}, age{560, 275, 620, 295};
        DrawText(page.dc, "87", -1, &hp, DT_CENTER | DT_VCENTER);
        DrawText(page.dc, "12", -1, &at, DT_CENTER | DT_VCENTER);
        DrawText(page.dc, "105", -1, &age, DT_CENTER | DT_VCENTER);
        SelectObject(page.dc, year);
        RECT box{495, 352, 620, 384};
        DrawText(page.dc, "ROK 123", -1, &box, DT_CENTER | DT_VCENTER);
        SelectObject(page.dc, old);
    }
    DeleteObject(panel);
    DeleteObject(year);
}
BENCHMARK(BM_FrameTextPasses);

}  // namespace
