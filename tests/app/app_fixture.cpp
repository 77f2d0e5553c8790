#include "tests/app/app_fixture.h"

#include <cstring>
#include <new>

#include "platform/host/screen.h"
#include "platform/user/user.h"
#include "sim/random.h"

void AppTest::SetUp() {
    host = &platform::InstallHeadlessHost();
    platform::ResetUser();
    platform::ResetScreen();
    RecreateDisplay();
    g_app.m_pMainWnd = nullptr;
    SeedRandom(1);
}

void AppTest::TearDown() {
    if (WindowAlive()) {
        DestroyWindow(window);
    }
    g_app.m_pMainWnd = nullptr;
    frame = nullptr;
    g_display.Release();
    platform::RefuseDirectDrawForTesting(false);
    platform::AfterBltForTesting(0, nullptr);
    platform::ResetUser();
}

void AppTest::RecreateDisplay() {
    g_display.Release();
    g_display.~CDisplay();
    new (&g_display) CDisplay();
}

CMainFrame* AppTest::Start() {
    const BOOL started = g_app.InitInstance();
    frame = dynamic_cast<CMainFrame*>(g_app.m_pMainWnd);
    window = frame != nullptr ? frame->m_hWnd : nullptr;
    if (!started || !WindowAlive()) {
        frame = nullptr;
    }
    return frame;
}

void AppTest::RunFor(uint32_t ms) {
    platform::RunMessagesUntil(host->NowMs() + ms);
}

bool AppTest::WindowAlive() const {
    return window != nullptr && IsWindow(window);
}

SurfacePixels ReadSurface(IDirectDrawSurface* surface) {
    SurfacePixels out;
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) {
        return out;
    }
    out.width = int32_t(desc.dwWidth);
    out.height = int32_t(desc.dwHeight);
    const int bytes = int(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    for (int y = 0; y < out.height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(desc.lpSurface) + y * desc.lPitch;
        for (int x = 0; x < out.width; ++x) {
            uint32_t value = 0;
            std::memcpy(&value, row + x * bytes, size_t(bytes));
            out.pixels.push_back(value);
        }
    }
    surface->Unlock(nullptr);
    return out;
}

uint32_t ColourKeyOf(IDirectDrawSurface* surface) {
    DDCOLORKEY key{};
    surface->GetColorKey(DDCKEY_SRCBLT, &key);
    return key.dwColorSpaceLowValue;
}

int CompareBlit(const SurfacePixels& back, int x, int y, const SurfacePixels& sheet,
                const RECT& rect, const SurfacePixels* background, uint32_t key) {
    int mismatches = 0;
    for (int sy = rect.top; sy < rect.bottom; ++sy) {
        for (int sx = rect.left; sx < rect.right; ++sx) {
            const int dx = x + sx - rect.left;
            const int dy = y + sy - rect.top;
            const uint32_t source = sheet.At(sx, sy);
            const uint32_t expected =
                background != nullptr && source == key ? background->At(dx, dy) : source;
            mismatches += back.At(dx, dy) != expected;
        }
    }
    return mismatches;
}
