// Off-screen surfaces: blits, fills, colour keys, locks, device contexts, references.
#include "ddraw_fixture.h"

using namespace ddtest;
using platform::PixelFormat;

namespace {

class SurfaceTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        dst = Make(16, 8);
        src = Make(4, 4);
        ASSERT_EQ(Fill(dst, 0x1111), DD_OK);
        // Source: 4 x 4 of distinct values 0x0100 + index.
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                SetPixelRaw(src, x, y, 0x100 + DWORD(y * 4 + x));
    }
    void TearDown() override {
        src->Release();
        dst->Release();
        DeviceTest::TearDown();
    }
    void ExpectDstUntouched() {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(PixelAt(dst, x, y), 0x1111u) << x << "," << y;
    }
    IDirectDrawSurface* dst = nullptr;
    IDirectDrawSurface* src = nullptr;
};

}  // namespace

// Faults: an off-by-one at the right or bottom edge, a source offset ignored.
TEST_F(SurfaceTest, BltFastCopiesExactlyToEveryEdge) {
    RECT r{1, 1, 4, 4};
    ASSERT_EQ(dst->BltFast(13, 5, src, &r, DDBLTFAST_WAIT), DD_OK);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool in = x >= 13 && y >= 5;
            const uint32_t want = in ? 0x100u + uint32_t((y - 4) * 4 + (x - 12)) : 0x1111u;
            ASSERT_EQ(PixelAt(dst, x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DD_OK) << "null rect = whole";
    EXPECT_EQ(PixelAt(dst, 3, 3), 0x10Fu);
}

// Fault: a blit that clips or draws part of a rectangle that leaves the surface.
TEST_F(SurfaceTest, BltFastRefusesDestinationsLeavingTheSurface) {
    RECT r{0, 0, 4, 4};
    for (auto [x, y] : {std::pair<DWORD, DWORD>{13, 0},
                        {0, 5},
                        {13, 5},
                        {16, 0},
                        {0, 8},
                        {DWORD(-1), 0},
                        {0, DWORD(-1)},
                        {0x80000000u, 0}}) {
        EXPECT_EQ(dst->BltFast(x, y, src, &r, DDBLTFAST_WAIT), DDERR_INVALIDRECT)
            << int(x) << "," << int(y);
    }
    ExpectDstUntouched();
}

// Fault: an empty, inverted, negative or oversized source accepted or half drawn.
TEST_F(SurfaceTest, BltFastRefusesBadSourceRectangles) {
    for (RECT r : {RECT{0, 0, 0, 4}, RECT{0, 0, 4, 0}, RECT{2, 0, 1, 4}, RECT{-1, 0, 3, 4},
                   RECT{0, -1, 4, 3}, RECT{0, 0, 5, 4}, RECT{0, 0, 4, 5}, RECT{4, 4, 5, 5}}) {
        EXPECT_EQ(dst->BltFast(0, 0, src, &r, DDBLTFAST_WAIT), DDERR_INVALIDRECT)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(dst->BltFast(0, 0, nullptr, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDPARAMS);
    ExpectDstUntouched();
}

// Faults: the key ignored, the range end exclusive, the key applied without the flag, a
// missing COLORSPACE flag not collapsing the range.
TEST_F(SurfaceTest, SourceColourKeySkipsKeyedPixelsOnly) {
    DDCOLORKEY key{0x105, 0x106};
    ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT | DDCKEY_COLORSPACE, &key), DD_OK);
    ASSERT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT | DDBLTFAST_SRCCOLORKEY), DD_OK);
    for (int i = 0; i < 16; ++i) {
        const bool keyed = i == 5 || i == 6;
        EXPECT_EQ(PixelAt(dst, i % 4, i / 4), keyed ? 0x1111u : 0x100u + i) << i;
    }
    ASSERT_EQ(dst->BltFast(8, 0, src, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(PixelAt(dst, 8 + 1, 1), 0x105u) << "no flag, no key";

    key = {0x10A, 0x1FFF};
    ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    DDCOLORKEY got{};
    ASSERT_EQ(src->GetColorKey(DDCKEY_SRCBLT, &got), DD_OK);
    EXPECT_EQ(got.dwColorSpaceHighValue, 0x10Au);
    ASSERT_EQ(Fill(dst, 0x1111), DD_OK);
    ASSERT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(PixelAt(dst, 2, 2), 0x1111u);
    EXPECT_EQ(PixelAt(dst, 3, 2), 0x10Bu);
}

// Fault: a keyed blit from a surface without a key silently copying everything.
TEST_F(SurfaceTest, KeyedBlitWithoutKeyFails) {
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DDERR_NOCOLORKEY);
    ExpectDstUntouched();
    DDCOLORKEY k{};
    EXPECT_EQ(src->GetColorKey(DDCKEY_SRCBLT, &k), DDERR_NOCOLORKEY);
}

// Fault: a blit between formats copying raw bits that mean another colour.
TEST_F(SurfaceTest, BltFastRefusesMixedFormats) {
    IDirectDrawSurface* s555 = Make(4, 4, PixelFormat::RGB555);
    EXPECT_EQ(dst->BltFast(0, 0, s555, nullptr, 0), DDERR_INVALIDPIXELFORMAT);
    s555->Release();
}

// Fault: an overlapping copy inside one surface smearing pixels.
TEST_F(SurfaceTest, OverlappingBlitWithinOneSurface) {
    for (int x = 0; x < 16; ++x)
        SetPixelRaw(dst, x, 0, DWORD(x));
    RECT r{0, 0, 12, 1};
    ASSERT_EQ(dst->BltFast(2, 0, dst, &r, 0), DD_OK);
    for (int x = 2; x < 14; ++x)
        EXPECT_EQ(PixelAt(dst, x, 0), uint32_t(x - 2)) << x;
}

// Faults: fill ignoring the rectangle, truncating 32-bit values, accepting bad params.
TEST_F(SurfaceTest, ColourFill) {
    RECT r{2, 3, 5, 4};
    ASSERT_EQ(Fill(dst, 0xABCD, &r), DD_OK);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(PixelAt(dst, x, y), (y == 3 && x >= 2 && x < 5) ? 0xABCDu : 0x1111u);
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    EXPECT_EQ(dst->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dst->Blt(nullptr, src, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS);
    RECT out{10, 0, 17, 1};
    EXPECT_EQ(dst->Blt(&out, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);

    IDirectDrawSurface* s32 = Make(3, 3, PixelFormat::XRGB8888);
    ASSERT_EQ(Fill(s32, 0x12345678), DD_OK);
    EXPECT_EQ(PixelAt(s32, 2, 2), 0x12345678u);
    s32->Release();
}

// Faults: wrong pitch, masks or bit count per format; lpSurface not at the rectangle.
TEST_F(SurfaceTest, LockDescribesMemoryForEachFormat) {
    struct Case {
        PixelFormat f;
        DWORD bits, r, g, b;
    };
    for (Case c : {Case{PixelFormat::RGB565, 16, 0xF800, 0x07E0, 0x001F},
                   Case{PixelFormat::RGB555, 16, 0x7C00, 0x03E0, 0x001F},
                   Case{PixelFormat::XRGB8888, 32, 0xFF0000, 0xFF00, 0xFF}}) {
        IDirectDrawSurface* s = Make(13, 5, c.f);
        DDSURFACEDESC whole{};
        whole.dwSize = 108;
        ASSERT_EQ(s->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr), DD_OK);
        EXPECT_EQ(whole.dwWidth, 13u);
        EXPECT_EQ(whole.dwHeight, 5u);
        EXPECT_GE(whole.lPitch, LONG(13 * c.bits / 8));
        EXPECT_EQ(whole.ddpfPixelFormat.dwSize, 32u);
        EXPECT_EQ(whole.ddpfPixelFormat.dwFlags, DDPF_RGB);
        EXPECT_EQ(whole.ddpfPixelFormat.dwRGBBitCount, c.bits);
        EXPECT_EQ(whole.ddpfPixelFormat.dwRBitMask, c.r);
        EXPECT_EQ(whole.ddpfPixelFormat.dwGBitMask, c.g);
        EXPECT_EQ(whole.ddpfPixelFormat.dwBBitMask, c.b);
        ASSERT_EQ(s->Unlock(whole.lpSurface), DD_OK);

        RECT r{3, 2, 5, 4};
        DDSURFACEDESC part{};
        part.dwSize = sizeof(DDSURFACEDESC);
        ASSERT_EQ(s->Lock(&r, &part, DDLOCK_WAIT, nullptr), DD_OK);
        EXPECT_EQ(static_cast<uint8_t*>(part.lpSurface),
                  static_cast<uint8_t*>(whole.lpSurface) + 2 * whole.lPitch + 3 * c.bits / 8);
        ASSERT_EQ(s->Unlock(nullptr), DD_OK);
        s->Release();
    }
}

// Fault: a record of the wrong size accepted (or the 32-bit layout's 108 refused).
TEST_F(SurfaceTest, DescriptionSizeIs108OrNative) {
    DDSURFACEDESC d{};
    for (DWORD size : {DWORD(108), DWORD(sizeof(DDSURFACEDESC))}) {
        d.dwSize = size;
        ASSERT_EQ(dst->GetSurfaceDesc(&d), DD_OK) << size;
        EXPECT_EQ(d.dwSize, size);
        EXPECT_EQ(d.dwWidth, 16u);
        EXPECT_EQ(d.dwHeight, 8u);
        EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 16u);
    }
    d.dwSize = 100;
    EXPECT_EQ(dst->GetSurfaceDesc(&d), DDERR_INVALIDPARAMS);
    EXPECT_EQ(dst->Lock(nullptr, &d, 0, nullptr), DDERR_INVALIDPARAMS);
    static_assert(sizeof(DDBLTFX) == 100);
}

// Faults: a surface locked twice, unlocked when not locked, or blitted while locked.
TEST_F(SurfaceTest, LockExcludesBlitsAndSecondLock) {
    DDSURFACEDESC d{};
    d.dwSize = 108;
    ASSERT_EQ(src->Lock(nullptr, &d, 0, nullptr), DD_OK);
    EXPECT_EQ(src->Lock(nullptr, &d, 0, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, 0), DDERR_SURFACEBUSY) << "source locked";
    EXPECT_EQ(src->BltFast(0, 0, dst, nullptr, 0), DDERR_SURFACEBUSY) << "destination locked";
    EXPECT_EQ(Fill(src, 0), DDERR_SURFACEBUSY);
    ASSERT_EQ(src->Unlock(nullptr), DD_OK);
    EXPECT_EQ(src->Unlock(nullptr), DDERR_NOTLOCKED);
    {
        platform::SurfaceLock scoped(src);
        ASSERT_TRUE(scoped.Ok());
    }
    EXPECT_EQ(src->Lock(nullptr, &d, 0, nullptr), DD_OK) << "scope lock left it locked";
    src->Unlock(nullptr);
}

// Faults: a second DC handed out, ReleaseDC without a DC succeeding, blits or locks
// allowed while GDI holds the surface.
TEST_F(SurfaceTest, DeviceContextHoldsTheSurface) {
    HDC dc = nullptr;
    ASSERT_EQ(src->GetDC(&dc), DD_OK);
    ASSERT_NE(dc, nullptr);
    HDC second = nullptr;
    EXPECT_EQ(src->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, 0), DDERR_SURFACEBUSY);
    EXPECT_EQ(src->BltFast(0, 0, dst, nullptr, 0), DDERR_SURFACEBUSY);
    DDSURFACEDESC d{};
    d.dwSize = 108;
    EXPECT_EQ(src->Lock(nullptr, &d, 0, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(src->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(src->ReleaseDC(dc), DDERR_NODC);
    EXPECT_EQ(dst->ReleaseDC(nullptr), DDERR_NODC);
    {
        platform::SurfaceDC scoped(src);
        ASSERT_TRUE(scoped.Ok());
    }
    EXPECT_EQ(dst->BltFast(0, 0, src, nullptr, 0), DD_OK) << "scoped DC not released";
}

// Faults: wrong counts, a surface freed while referenced (ASan), or leaked at zero.
TEST_F(SurfaceTest, ReferenceCounting) {
    IDirectDrawSurface* s = Make(2, 2);
    EXPECT_EQ(s->AddRef(), 2u);
    EXPECT_EQ(s->Release(), 1u);
    EXPECT_EQ(Fill(s, 1), DD_OK);
    EXPECT_EQ(s->Release(), 0u);
    EXPECT_EQ(dd->AddRef(), 2u);
    EXPECT_EQ(dd->Release(), 1u);
}

// Fault: bad creation requests accepted, or an unknown pixel format taken as 5-6-5.
TEST_F(SurfaceTest, CreationRefusesBadDescriptions) {
    DDSURFACEDESC d{};
    d.dwSize = 108;
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH;
    d.dwWidth = 4;
    d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* s = reinterpret_cast<IDirectDrawSurface*>(1);
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(s, nullptr);
    d.dwFlags |= DDSD_HEIGHT | DDSD_PIXELFORMAT;
    d.dwHeight = 4;
    d.ddpfPixelFormat = Format(PixelFormat::RGB565);
    d.ddpfPixelFormat.dwRGBBitCount = 24;
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPIXELFORMAT);
    d.dwFlags &= ~DDSD_PIXELFORMAT;
    EXPECT_EQ(dd->CreateSurface(&d, &s, reinterpret_cast<void*>(1)), CLASS_E_NOAGGREGATION);
    d.dwWidth = 1u << 20;
    EXPECT_EQ(dd->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
}
