// A DirectDraw device on a fresh headless host, and small pixel helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ddraw/ddraw.h"
#include "platform/ddraw/surface_scope.h"
#include "platform/host/headless.h"
#include "platform/host/screen.h"

namespace ddtest {

inline HWND FakeWindow() {
    return reinterpret_cast<HWND>(uintptr_t(0x1000));
}

inline DDPIXELFORMAT Format(platform::PixelFormat f) {
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof(pf);
    pf.dwFlags = DDPF_RGB;
    if (f == platform::PixelFormat::RGB565) {
        pf.dwRGBBitCount = 16, pf.dwRBitMask = 0xF800, pf.dwGBitMask = 0x7E0, pf.dwBBitMask = 0x1F;
    } else if (f == platform::PixelFormat::RGB555) {
        pf.dwRGBBitCount = 16, pf.dwRBitMask = 0x7C00, pf.dwGBitMask = 0x3E0, pf.dwBBitMask = 0x1F;
    } else {
        pf.dwRGBBitCount = 32, pf.dwRBitMask = 0xFF0000, pf.dwGBitMask = 0xFF00,
        pf.dwBBitMask = 0xFF;
    }
    return pf;
}

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = &platform::InstallHeadlessHost();
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    }
    void TearDown() override {
        if (dd) {
            dd->Release();
        }
    }

    // The calls the display device makes at start-up.
    void OpenScreen() {
        ASSERT_EQ(dd->SetCooperativeLevel(FakeWindow(), 0x13), DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(640, 480, 16), DD_OK);
        DDSURFACEDESC d{};
        d.dwSize = 108;
        d.dwFlags = 0x21;
        d.ddsCaps.dwCaps = 0x218;
        d.dwBackBufferCount = 1;
        ASSERT_EQ(dd->CreateSurface(&d, &primary, nullptr), DD_OK);
        DDSCAPS caps{DDSCAPS_BACKBUFFER};
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    }
    void CloseScreen() {
        if (back) {
            back->Release();
            back = nullptr;
        }
        if (primary) {
            primary->Release();
            primary = nullptr;
        }
    }

    IDirectDrawSurface* Make(int w, int h, platform::PixelFormat f = platform::PixelFormat::RGB565,
                             DWORD caps = DDSCAPS_OFFSCREENPLAIN) {
        DDSURFACEDESC d{};
        d.dwSize = 108;
        d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        d.dwWidth = DWORD(w);
        d.dwHeight = DWORD(h);
        d.ddsCaps.dwCaps = caps;
        d.ddpfPixelFormat = Format(f);
        IDirectDrawSurface* s = nullptr;
        EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DD_OK);
        return s;
    }

    platform::HeadlessHost* host = nullptr;
    IDirectDraw* dd = nullptr;
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
};

inline HRESULT Fill(IDirectDrawSurface* s, DWORD value, RECT* r = nullptr) {
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = value;
    return s->Blt(r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

inline uint32_t PixelAt(IDirectDrawSurface* s, int x, int y) {
    platform::SurfaceLock lock(s);
    EXPECT_TRUE(lock.Ok()) << std::hex << lock.Result();
    if (!lock.Ok()) {
        return 0xDEADBEEF;
    }
    const uint8_t* row = lock.Pixels() + ptrdiff_t(y) * lock.Pitch();
    if (lock.Desc().ddpfPixelFormat.dwRGBBitCount == 32) {
        uint32_t v;
        std::memcpy(&v, row + x * 4, 4);
        return v;
    }
    uint16_t v;
    std::memcpy(&v, row + x * 2, 2);
    return v;
}

inline void SetPixelRaw(IDirectDrawSurface* s, int x, int y, uint32_t value) {
    RECT r{x, y, x + 1, y + 1};
    ASSERT_EQ(Fill(s, value, &r), DD_OK);
}

}  // namespace ddtest
