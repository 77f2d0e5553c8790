// Our colour-keyed 19 x 19 tile copy and our 640 x 480 background copy, against SDL2's
// own SDL_BlitSurface on the same RGB565 memory with the same colour key.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <random>

#include "platform/ddraw/ddraw.h"
#include "platform/host/headless.h"

namespace {

constexpr uint16_t MAGENTA_565 = 0xF81F;

// A 60 x 80 sheet of 20 x 20 tiles, about half magenta, like the sprite sheet.
void FillSheet(uint16_t* px, int pitchPixels, int w, int h) {
    std::mt19937 rng(1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[y * pitchPixels + x] =
                ((x + y) % 3 == 0 || x % 20 >= 12) ? MAGENTA_565 : uint16_t(rng() & 0xF7DE);
}

struct OurSurfaces {
    IDirectDraw* dd = nullptr;
    IDirectDrawSurface* back = nullptr;
    IDirectDrawSurface* sheet = nullptr;
    IDirectDrawSurface* background = nullptr;

    OurSurfaces() {
        platform::InstallHeadlessHost();
        DirectDrawCreate(nullptr, &dd, nullptr);
        back = Make(640, 480);
        sheet = Make(60, 80);
        background = Make(640, 480);
        DDSURFACEDESC d{};
        d.dwSize = sizeof(d);
        sheet->Lock(nullptr, &d, 0, nullptr);
        FillSheet(static_cast<uint16_t*>(d.lpSurface), d.lPitch / 2, 60, 80);
        sheet->Unlock(nullptr);
        DDCOLORKEY key{MAGENTA_565, MAGENTA_565};
        sheet->SetColorKey(DDCKEY_SRCBLT, &key);
        background->Lock(nullptr, &d, 0, nullptr);
        FillSheet(static_cast<uint16_t*>(d.lpSurface), d.lPitch / 2, 640, 480);
        background->Unlock(nullptr);
    }
    ~OurSurfaces() {
        sheet->Release();
        background->Release();
        back->Release();
        dd->Release();
    }
    IDirectDrawSurface* Make(int w, int h) {
        DDSURFACEDESC d{};
        d.dwSize = 108;
        d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        d.dwWidth = DWORD(w);
        d.dwHeight = DWORD(h);
        d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        IDirectDrawSurface* s = nullptr;
        dd->CreateSurface(&d, &s, nullptr);
        return s;
    }
};

struct SdlSurfaces {
    SDL_Surface* back = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 60, 80, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* background =
        SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    SdlSurfaces() {
        FillSheet(static_cast<uint16_t*>(sheet->pixels), sheet->pitch / 2, 60, 80);
        FillSheet(static_cast<uint16_t*>(background->pixels), background->pitch / 2, 640, 480);
        SDL_SetColorKey(sheet, SDL_TRUE, MAGENTA_565);
        SDL_SetColorKey(background, SDL_FALSE, 0);
        SDL_SetSurfaceBlendMode(sheet, SDL_BLENDMODE_NONE);
        SDL_SetSurfaceBlendMode(background, SDL_BLENDMODE_NONE);
    }
    ~SdlSurfaces() {
        SDL_FreeSurface(back);
        SDL_FreeSurface(sheet);
        SDL_FreeSurface(background);
    }
};

// 529 tiles per frame; one iteration is one tile, cycling over the board.
void BM_KeyedTile19_Ours(benchmark::State& state) {
    OurSurfaces s;
    int i = 0;
    for (auto _ : state) {
        const int col = i / 23, row = i % 23;
        RECT r{20 * (i % 3), 20 * (i % 2), 20 * (i % 3) + 19, 20 * (i % 2) + 19};
        benchmark::DoNotOptimize(s.back->BltFast(DWORD(11 + 20 * col), DWORD(11 + 20 * row),
                                                 s.sheet, &r,
                                                 DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY));
        i = (i + 1) % 529;
    }
}
BENCHMARK(BM_KeyedTile19_Ours);

void BM_KeyedTile19_Sdl(benchmark::State& state) {
    SdlSurfaces s;
    int i = 0;
    for (auto _ : state) {
        const int col = i / 23, row = i % 23;
        SDL_Rect src{20 * (i % 3), 20 * (i % 2), 19, 19};
        SDL_Rect dst{11 + 20 * col, 11 + 20 * row, 19, 19};
        benchmark::DoNotOptimize(SDL_BlitSurface(s.sheet, &src, s.back, &dst));
        i = (i + 1) % 529;
    }
}
BENCHMARK(BM_KeyedTile19_Sdl);

void BM_Background640x480_Ours(benchmark::State& state) {
    OurSurfaces s;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.back->BltFast(0, 0, s.background, nullptr, DDBLTFAST_WAIT));
    }
}
BENCHMARK(BM_Background640x480_Ours);

void BM_Background640x480_Sdl(benchmark::State& state) {
    SdlSurfaces s;
    for (auto _ : state) {
        SDL_Rect dst{0, 0, 640, 480};
        benchmark::DoNotOptimize(SDL_BlitSurface(s.background, nullptr, s.back, &dst));
    }
}
BENCHMARK(BM_Background640x480_Sdl);

}  // namespace
