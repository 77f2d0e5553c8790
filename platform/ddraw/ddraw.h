// DirectDraw, first interface versions: the display device, its surfaces, blits, page
// flipping, colour keys and surface loss, with the real structures, flags and codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/windef.h"

constexpr HRESULT MakeDdResult(uint32_t code) {
    return HRESULT(0x88760000u | code);
}
// Result codes.
enum : HRESULT {
    DD_OK = 0,
    DDERR_INVALIDMODE = MakeDdResult(120),
    DDERR_INVALIDPIXELFORMAT = MakeDdResult(145),
    DDERR_INVALIDRECT = MakeDdResult(150),
    DDERR_NOCOLORKEY = MakeDdResult(215),
    DDERR_NODIRECTDRAWSUPPORT = MakeDdResult(222),
    DDERR_NOTFOUND = MakeDdResult(255),
    DDERR_SURFACEBUSY = MakeDdResult(430),
    DDERR_SURFACELOST = MakeDdResult(450),
    DDERR_NOEXCLUSIVEMODE = MakeDdResult(481),
    DDERR_WASSTILLDRAWING = MakeDdResult(540),
    DDERR_PRIMARYSURFACEALREADYEXISTS = MakeDdResult(564),
    DDERR_EXCLUSIVEMODEALREADYSET = MakeDdResult(581),
    DDERR_NOTFLIPPABLE = MakeDdResult(582),
    DDERR_NOTLOCKED = MakeDdResult(584),
    DDERR_NODC = MakeDdResult(586),
    DDERR_WRONGMODE = MakeDdResult(587),
    DDERR_DCALREADYCREATED = MakeDdResult(620),
    DDERR_INVALIDPARAMS = E_INVALIDARG,
    DDERR_UNSUPPORTED = HRESULT(0x80004001u),
    DDERR_OUTOFMEMORY = E_OUTOFMEMORY,
    CLASS_E_NOAGGREGATION = HRESULT(0x80040110u)
};

// SetCooperativeLevel's flags.
enum : DWORD { DDSCL_FULLSCREEN = 0x1, DDSCL_ALLOWREBOOT = 0x2, DDSCL_EXCLUSIVE = 0x10 };

// Which fields of a surface description are valid.
enum : DWORD {
    DDSD_CAPS = 0x1,
    DDSD_HEIGHT = 0x2,
    DDSD_WIDTH = 0x4,
    DDSD_PITCH = 0x8,
    DDSD_BACKBUFFERCOUNT = 0x20,
    DDSD_LPSURFACE = 0x800,
    DDSD_PIXELFORMAT = 0x1000
};

// Surface capabilities.
enum : DWORD {
    DDSCAPS_BACKBUFFER = 0x4,
    DDSCAPS_COMPLEX = 0x8,
    DDSCAPS_FLIP = 0x10,
    DDSCAPS_OFFSCREENPLAIN = 0x40,
    DDSCAPS_PRIMARYSURFACE = 0x200,
    DDSCAPS_SYSTEMMEMORY = 0x800,
    DDSCAPS_FRONTBUFFER = 0x2000,
    DDSCAPS_VIDEOMEMORY = 0x4000
};

constexpr DWORD DDPF_RGB = 0x40;

// The flags of Blt, BltFast, Flip, SetColorKey and Lock.
enum : DWORD { DDBLT_COLORFILL = 0x400, DDBLT_WAIT = 0x1000000 };
enum : DWORD {
    DDBLTFAST_NOCOLORKEY = 0x0,
    DDBLTFAST_SRCCOLORKEY = 0x1,
    DDBLTFAST_DESTCOLORKEY = 0x2,
    DDBLTFAST_WAIT = 0x10
};
constexpr DWORD DDFLIP_WAIT = 0x1;
enum : DWORD { DDCKEY_COLORSPACE = 0x1, DDCKEY_DESTBLT = 0x2, DDCKEY_SRCBLT = 0x8 };
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
