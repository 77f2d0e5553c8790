// DirectDraw, first interface versions: the display device, its surfaces, blits, page
// flipping, colour keys and surface loss, with the real structures, flags and codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/windef.h"

constexpr HRESULT DD_OK = 0;

constexpr HRESULT MakeDdResult(uint32_t code) {
    return HRESULT(0x88760000u | code);
}
constexpr HRESULT DDERR_INVALIDMODE = MakeDdResult(120);
constexpr HRESULT DDERR_INVALIDOBJECT = MakeDdResult(130);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDdResult(145);
constexpr HRESULT DDERR_INVALIDRECT = MakeDdResult(150);
constexpr HRESULT DDERR_NOCOLORKEY = MakeDdResult(215);
constexpr HRESULT DDERR_NODIRECTDRAWSUPPORT = MakeDdResult(222);
constexpr HRESULT DDERR_NOTFOUND = MakeDdResult(255);
constexpr HRESULT DDERR_SURFACEBUSY = MakeDdResult(430);
constexpr HRESULT DDERR_SURFACELOST = MakeDdResult(450);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDdResult(481);
constexpr HRESULT DDERR_WASSTILLDRAWING = MakeDdResult(540);
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MakeDdResult(564);
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = MakeDdResult(581);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDdResult(582);
constexpr HRESULT DDERR_NOTLOCKED = MakeDdResult(584);
constexpr HRESULT DDERR_NODC = MakeDdResult(586);
constexpr HRESULT DDERR_WRONGMODE = MakeDdResult(587);
constexpr HRESULT DDERR_DCALREADYCREATED = MakeDdResult(620);
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_UNSUPPORTED = HRESULT(0x80004001u);
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT CLASS_E_NOAGGREGATION = HRESULT(0x80040110u);

constexpr DWORD DDSCL_FULLSCREEN = 0x1;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x2;
constexpr DWORD DDSCL_NORMAL = 0x8;
constexpr DWORD DDSCL_EXCLUSIVE = 0x10;

constexpr DWORD DDSD_CAPS = 0x1;
constexpr DWORD DDSD_HEIGHT = 0x2;
constexpr DWORD DDSD_WIDTH = 0x4;
constexpr DWORD DDSD_PITCH = 0x8;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x20;
constexpr DWORD DDSD_LPSURFACE = 0x800;
constexpr DWORD DDSD_PIXELFORMAT = 0x1000;

constexpr DWORD DDSCAPS_BACKBUFFER = 0x4;
constexpr DWORD DDSCAPS_COMPLEX = 0x8;
constexpr DWORD DDSCAPS_FLIP = 0x10;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x2000;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x4000;

constexpr DWORD DDPF_RGB = 0x40;

constexpr DWORD DDBLT_COLORFILL = 0x400;
constexpr DWORD DDBLT_WAIT = 0x1000000;

constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x0;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x1;
constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x2;
constexpr DWORD DDBLTFAST_WAIT = 0x10;

constexpr DWORD DDFLIP_WAIT = 0x1;

constexpr DWORD DDCKEY_COLORSPACE = 0x1;
constexpr DWORD DDCKEY_DESTBLT = 0x2;
constexpr DWORD DDCKEY_SRCBLT = 0x8;

constexpr DWORD DDLOCK_WAIT = 0x1;

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};

struct DDSCAPS {
    DWORD dwCaps;
};

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};
static_assert(sizeof(DDPIXELFORMAT) == 32);

// The 32-bit layout is 108 bytes; the real lpSurface pointer pads it to 120 here. Callers
// set dwSize to 108 as on the original platform, so every call takes 108 or the true size.
struct DDSURFACEDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwRefreshRate;
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    void* lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS ddsCaps;
};
constexpr DWORD DDSURFACEDESC_SIZE_32BIT = 108;
static_assert(sizeof(void*) != 8 || sizeof(DDSURFACEDESC) == 120);
static_assert(offsetof(DDSURFACEDESC, ddsCaps) + sizeof(DDSCAPS) ==
              DDSURFACEDESC_SIZE_32BIT + (sizeof(void*) == 8 ? 8 : 0));

// Pointer members of the real record (z-buffer and pattern surfaces) are kept as DWORDs;
// nothing here uses them, and the record stays 100 bytes.
struct DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwDDROP;
    DWORD dwRotationAngle;
    DWORD dwZBufferOpCode;
    DWORD dwZBufferLow;
    DWORD dwZBufferHigh;
    DWORD dwZBufferBaseDest;
    DWORD dwZDestConstBitDepth;
    DWORD dwZDestConst;
    DWORD dwZSrcConstBitDepth;
    DWORD dwZSrcConst;
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    DWORD dwAlphaDestConst;
    DWORD dwAlphaSrcConstBitDepth;
    DWORD dwAlphaSrcConst;
    DWORD dwFillColor;
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};
static_assert(sizeof(DDBLTFX) == 100);
static_assert(offsetof(DDBLTFX, dwFillColor) == 80);

class IDirectDrawSurface {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    virtual HRESULT Blt(RECT* destRect, IDirectDrawSurface* src, RECT* srcRect, DWORD flags,
                        DDBLTFX* fx) = 0;
    virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* src, RECT* srcRect,
                            DWORD trans) = 0;
    virtual HRESULT Flip(IDirectDrawSurface* target, DWORD flags) = 0;
    virtual HRESULT GetAttachedSurface(DDSCAPS* caps, IDirectDrawSurface** out) = 0;
    virtual HRESULT IsLost() = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT GetDC(HDC* out) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;
    // Never gives DDERR_WASSTILLDRAWING: there is no blitter running behind our back.
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, DWORD flags, void* event) = 0;
    virtual HRESULT Unlock(void* surfaceData) = 0;
    virtual HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
    virtual HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) = 0;

  protected:
    virtual ~IDirectDrawSurface() = default;
};

class IDirectDraw {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** out, void* outer) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;

  protected:
    virtual ~IDirectDraw() = default;
};

using LPDIRECTDRAW = IDirectDraw*;
using LPDIRECTDRAWSURFACE = IDirectDrawSurface*;
using LPDDSURFACEDESC = DDSURFACEDESC*;

// guid must be null (the default display driver); outer must be null (no aggregation).
HRESULT DirectDrawCreate(GUID* guid, IDirectDraw** out, void* outer);

namespace platform {

// Test controls. While refused, DirectDrawCreate fails as with a display driver that has
// no DirectDraw. AfterBltForTesting runs action once, right after the nth successful
// BltFast from now (1 = the next one), to change the world between two blits, such as
// losing the screen in the middle of a frame; nth 0 drops it.
void RefuseDirectDrawForTesting(bool refuse);
void AfterBltForTesting(int nth, std::function<void()> action);

}  // namespace platform
