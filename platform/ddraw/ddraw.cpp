// The DirectDraw device: cooperative level, display mode, and making surfaces.
#include "platform/ddraw/ddraw.h"

#include "platform/ddraw/surface.h"
#include "platform/host/host.h"
#include "platform/host/screen.h"

namespace platform::ddraw {
namespace {

// Only one program may hold the screen.
const void* g_exclusiveOwner = nullptr;
bool g_refuseDirectDraw = false;

class DirectDraw final : public IDirectDraw {
  public:
    ULONG AddRef() override { return ++refs_; }

    ULONG Release() override {
        if (refs_ == 0) {
            return 0;
        }
        const ULONG left = --refs_;
        if (left == 0) {
            DropExclusive();
            delete this;
        }
        return left;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        if (!(flags & DDSCL_EXCLUSIVE)) {
            DropExclusive();
            return DD_OK;
        }
        if (!(flags & DDSCL_FULLSCREEN) || window == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        if (g_exclusiveOwner != nullptr && g_exclusiveOwner != this) {
            return DDERR_EXCLUSIVEMODEALREADYSET;
        }
        if (g_exclusiveOwner != this && !platform::CurrentHost().AcquireScreen(0, 0, 0)) {
            return DDERR_EXCLUSIVEMODEALREADYSET;
        }
        g_exclusiveOwner = this;
        window_ = window;
        return DD_OK;
    }

    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override {
        if (g_exclusiveOwner != this) {
            return DDERR_NOEXCLUSIVEMODE;
        }
        if (width != DWORD(platform::SCREEN_WIDTH) || height != DWORD(platform::SCREEN_HEIGHT) ||
            bitsPerPixel != 16 ||
            !platform::CurrentHost().AcquireScreen(int32_t(width), int32_t(height),
                                                   int32_t(bitsPerPixel))) {
            return DDERR_INVALIDMODE;
        }
        modeSet_ = true;
        return DD_OK;
    }

    HRESULT CreateSurface(DDSURFACEDESC* desc, IDirectDrawSurface** out, void* outer) override {
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        if (desc == nullptr || out == nullptr || !DescSizeOk(desc->dwSize)) {
            return DDERR_INVALIDPARAMS;
        }
        *out = nullptr;
        const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
        if (caps & DDSCAPS_PRIMARYSURFACE) {
            return CreatePrimary(*desc, caps, out);
        }
        if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT) || desc->dwWidth == 0 ||
            desc->dwHeight == 0 || desc->dwWidth > MAX_SURFACE_SIDE ||
            desc->dwHeight > MAX_SURFACE_SIDE || (caps & DDSCAPS_FLIP)) {
            return DDERR_INVALIDPARAMS;
        }
        PixelFormat format = PixelFormat::RGB565;
        if ((desc->dwFlags & DDSD_PIXELFORMAT) && !FormatFromDesc(desc->ddpfPixelFormat, format)) {
            return DDERR_INVALIDPIXELFORMAT;
        }
        DWORD storedCaps = caps | DDSCAPS_OFFSCREENPLAIN;
        if (!(caps & DDSCAPS_SYSTEMMEMORY)) {
            storedCaps |= DDSCAPS_VIDEOMEMORY;
        }
        *out = NewSurface(Kind::Offscreen, int32_t(desc->dwWidth), int32_t(desc->dwHeight), format,
                          storedCaps);
        return DD_OK;
    }

    HRESULT RestoreDisplayMode() override {
        modeSet_ = false;
        return DD_OK;
    }

  private:
    ~DirectDraw() override = default;

    HRESULT CreatePrimary(const DDSURFACEDESC& desc, DWORD caps, IDirectDrawSurface** out) {
        if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) {
            return DDERR_INVALIDPARAMS;
        }
        const bool flip = (caps & DDSCAPS_FLIP) != 0;
        if (flip) {
            if (!(caps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) ||
                desc.dwBackBufferCount == 0) {
                return DDERR_INVALIDPARAMS;
            }
            if (desc.dwBackBufferCount > 1) {
                return DDERR_UNSUPPORTED;
            }
            if (g_exclusiveOwner != this) {
                return DDERR_NOEXCLUSIVEMODE;
            }
        }
        if (PrimaryExists()) {
            return DDERR_PRIMARYSURFACEALREADYEXISTS;
        }
        // GDI keeps drawing on the page that is primary now.
        if (!platform::GdiPageInFront()) {
            platform::SwapPages();
        }
        const DWORD memory = DDSCAPS_VIDEOMEMORY;
        IDirectDrawSurface* primary = NewSurface(
            Kind::Primary, platform::SCREEN_WIDTH, platform::SCREEN_HEIGHT, PixelFormat::RGB565,
            caps | memory | (flip ? DWORD(DDSCAPS_FRONTBUFFER) : 0));
        IDirectDrawSurface* back = nullptr;
        if (flip) {
            back = NewSurface(Kind::BackBuffer, platform::SCREEN_WIDTH, platform::SCREEN_HEIGHT,
                              PixelFormat::RGB565,
                              DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | memory);
        }
        AttachFlipChain(primary, back);
        if (back != nullptr) {
            // The chain holds the back buffer; GetAttachedSurface hands out references.
            back->Release();
        }
        *out = primary;
        return DD_OK;
    }

    void DropExclusive() {
        if (g_exclusiveOwner == this) {
            g_exclusiveOwner = nullptr;
            platform::CurrentHost().ReleaseScreen();
        }
        window_ = nullptr;
        modeSet_ = false;
    }

    ULONG refs_ = 1;
    HWND window_ = nullptr;
    bool modeSet_ = false;
};

}  // namespace
}  // namespace platform::ddraw

using namespace platform::ddraw;

HRESULT DirectDrawCreate(GUID* guid, IDirectDraw** out, void* outer) {
    if (out == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *out = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if (guid != nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (g_refuseDirectDraw) {
        return DDERR_NODIRECTDRAWSUPPORT;
    }
    *out = new DirectDraw();
    return DD_OK;
}

namespace platform {

void RefuseDirectDrawForTesting(bool refuse) {
    ddraw::g_refuseDirectDraw = refuse;
}

}  // namespace platform
