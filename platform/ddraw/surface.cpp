// The surfaces of the DirectDraw device: memory, blits, flips, device contexts, locks,
// colour keys and loss.
#include "platform/ddraw/surface.h"

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "platform/ddraw/blit_kernels.h"
#include "platform/gdi/gdi_target.h"

namespace platform::ddraw {

int32_t BytesPerPixel(PixelFormat f) {
    return f == PixelFormat::XRGB8888 ? 4 : 2;
}

// Each format's bits per pixel and red, green and blue masks.
struct FormatMasks {
    PixelFormat format;
    DWORD bits, red, green, blue;
};
constexpr FormatMasks FORMAT_MASKS[] = {
    {PixelFormat::RGB565, 16, 0xF800, 0x07E0, 0x001F},
    {PixelFormat::RGB555, 16, 0x7C00, 0x03E0, 0x001F},
    {PixelFormat::XRGB8888, 32, 0xFF0000, 0x00FF00, 0x0000FF},
};

DDPIXELFORMAT DescribeFormat(PixelFormat f) {
    DDPIXELFORMAT pf{};
    pf.dwSize = sizeof(DDPIXELFORMAT);
    pf.dwFlags = DDPF_RGB;
    for (const FormatMasks& m : FORMAT_MASKS) {
        if (m.format == f) {
            pf.dwRGBBitCount = m.bits;
            pf.dwRBitMask = m.red;
            pf.dwGBitMask = m.green;
            pf.dwBBitMask = m.blue;
        }
    }
    return pf;
}

bool FormatFromDesc(const DDPIXELFORMAT& pf, PixelFormat& out) {
    if (!(pf.dwFlags & DDPF_RGB)) {
        return false;
    }
    for (PixelFormat f : {PixelFormat::RGB565, PixelFormat::RGB555, PixelFormat::XRGB8888}) {
        const DDPIXELFORMAT d = DescribeFormat(f);
        if (pf.dwRGBBitCount == d.dwRGBBitCount && pf.dwRBitMask == d.dwRBitMask &&
            pf.dwGBitMask == d.dwGBitMask && pf.dwBBitMask == d.dwBBitMask) {
            out = f;
            return true;
        }
    }
    return false;
}

// A rectangle that is non-empty and wholly inside a width x height area.
bool RectInside(const RECT& r, int32_t width, int32_t height) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= width &&
           r.bottom <= height;
}

namespace {

bool g_primaryExists = false;
int g_bltsBeforeAction = 0;

std::function<void()>& AfterBltAction() {
    static std::function<void()> action;
    return action;
}

void CountBltForTesting() {
    if (g_bltsBeforeAction > 0 && --g_bltsBeforeAction == 0) {
        std::function<void()> action = std::move(AfterBltAction());
        AfterBltAction() = nullptr;
        action();
    }
}

struct AlignedFree {
    void operator()(uint8_t* p) const { ::operator delete[](p, std::align_val_t(16)); }
};
using PixelStorage = std::unique_ptr<uint8_t[], AlignedFree>;

class Surface final : public IDirectDrawSurface {
  public:
    Surface(Kind kind, int32_t width, int32_t height, PixelFormat format, DWORD caps)
        : kind_(kind), width_(width), height_(height), format_(format), caps_(caps) {
        lossStamp_ = platform::ScreenLossCount();
        if (kind == Kind::Offscreen) {
            // Rows on 16-byte boundaries, as display memory has them; callers must step
            // by the pitch, and a 32-bit read at any pixel stays inside the row.
            pitch_ = (width * BytesPerPixel(format) + 15) & ~15;
            const size_t bytes = size_t(pitch_) * size_t(height);
            storage_.reset(new (std::align_val_t(16)) uint8_t[bytes]);
            std::memset(storage_.get(), 0, bytes);
        } else {
            pitch_ = platform::GdiPage().pitch;
        }
    }

    ~Surface() override {
        if (dc_ != nullptr) {
            platform::DeleteTargetDC(dc_);
        }
        if (kind_ == Kind::Primary) {
            g_primaryExists = false;
        }
    }

    void Attach(Surface* partner) { partner_ = partner; }

    // DD_OK with the area rect names (null: the whole surface) when the surface can be
    // reached there; the code of the first thing in the way otherwise.
    HRESULT Reachable(const RECT* rect, RECT& out) {
        if (Lost()) {
            return DDERR_SURFACELOST;
        }
        if (Busy()) {
            return DDERR_SURFACEBUSY;
        }
        out = rect ? *rect : RECT{0, 0, width_, height_};
        return RectInside(out, width_, height_) ? DD_OK : DDERR_INVALIDRECT;
    }

    ULONG AddRef() override { return ++refs_; }

    ULONG Release() override {
        if (refs_ == 0) {
            return 0;
        }
        const ULONG left = --refs_;
        if (left > 0) {
            return left;
        }
        // A flip chain is one object: it goes when neither page is referenced.
        if (partner_ != nullptr) {
            if (partner_->refs_ > 0) {
                return 0;
            }
            delete partner_;
        }
        delete this;
        return 0;
    }

    HRESULT Blt(RECT* destRect, IDirectDrawSurface* src, RECT* srcRect, DWORD flags,
                DDBLTFX* fx) override {
        if (flags & DDBLT_COLORFILL) {
            if (fx == nullptr || src != nullptr || fx->dwSize != sizeof(DDBLTFX)) {
                return DDERR_INVALIDPARAMS;
            }
            RECT r;
            if (HRESULT hr = Reachable(destRect, r); hr != DD_OK) {
                return hr;
            }
            PixelTarget t = Target();
            uint8_t* at =
                t.pixels + ptrdiff_t(r.top) * t.pitch + ptrdiff_t(r.left) * BytesPerPixel(format_);
            if (BytesPerPixel(format_) == 2) {
                platform::FillPixels16(at, t.pitch, r.right - r.left, r.bottom - r.top,
                                       uint16_t(fx->dwFillColor));
            } else {
                platform::FillPixels32(at, t.pitch, r.right - r.left, r.bottom - r.top,
                                       fx->dwFillColor);
            }
            Changed();
            return DD_OK;
        }
        if (src == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        // Only the unscaled copy; no caller asks for stretching or effects.
        const RECT dr = destRect ? *destRect : RECT{0, 0, width_, height_};
        auto* s = static_cast<Surface*>(src);
        const RECT sr = srcRect ? *srcRect : RECT{0, 0, s->width_, s->height_};
        if (dr.right - dr.left != sr.right - sr.left || dr.bottom - dr.top != sr.bottom - sr.top ||
            fx != nullptr) {
            return DDERR_UNSUPPORTED;
        }
        const RECT srCopy = sr;
        return BltFast(DWORD(dr.left), DWORD(dr.top), src, const_cast<RECT*>(&srCopy),
                       DDBLTFAST_NOCOLORKEY);
    }

    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* srcInterface, RECT* srcRect,
                    DWORD trans) override {
        if (srcInterface == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        auto* src = static_cast<Surface*>(srcInterface);
        const bool keyed = (trans & DDBLTFAST_SRCCOLORKEY) != 0;
        if (trans & DDBLTFAST_DESTCOLORKEY) {
            return (keyed ? DDERR_INVALIDPARAMS : DDERR_UNSUPPORTED);
        }
        if (Lost() || src->Lost()) {
            return DDERR_SURFACELOST;
        }
        if (Busy() || src->Busy()) {
            return DDERR_SURFACEBUSY;
        }
        const RECT sr = srcRect ? *srcRect : RECT{0, 0, src->width_, src->height_};
        if (!RectInside(sr, src->width_, src->height_)) {
            return DDERR_INVALIDRECT;
        }
        const int64_t w = sr.right - sr.left;
        const int64_t h = sr.bottom - sr.top;
        // The coordinates are unsigned, so a "negative" one is huge and fails here too.
        if (int64_t(x) + w > width_ || int64_t(y) + h > height_) {
            return DDERR_INVALIDRECT;
        }
        if (src->format_ != format_) {
            return DDERR_INVALIDPIXELFORMAT;
        }
        if (keyed && !src->srcKey_) {
            return DDERR_NOCOLORKEY;
        }
        const int32_t bpp = BytesPerPixel(format_);
        PixelTarget st = src->Target();
        const uint8_t* from = st.pixels + ptrdiff_t(sr.top) * st.pitch + ptrdiff_t(sr.left) * bpp;
        int32_t fromPitch = st.pitch;
        std::vector<uint8_t> copy;
        if (src == this) {
            // The areas may overlap; the kernels want them apart.
            copy.resize(size_t(w * h * bpp));
            platform::CopyPixels(copy.data(), int32_t(w * bpp), from, fromPitch, int32_t(w),
                                 int32_t(h), bpp);
            from = copy.data();
            fromPitch = int32_t(w * bpp);
        }
        PixelTarget dt = Target();
        uint8_t* to = dt.pixels + ptrdiff_t(y) * dt.pitch + ptrdiff_t(x) * bpp;
        if (!keyed) {
            platform::CopyPixels(to, dt.pitch, from, fromPitch, int32_t(w), int32_t(h), bpp);
        } else if (bpp == 2) {
            platform::CopyPixelsKeyed16(to, dt.pitch, from, fromPitch, int32_t(w), int32_t(h),
                                        uint16_t(src->srcKey_->dwColorSpaceLowValue),
                                        uint16_t(src->srcKey_->dwColorSpaceHighValue));
        } else {
            platform::CopyPixelsKeyed32(to, dt.pitch, from, fromPitch, int32_t(w), int32_t(h),
                                        src->srcKey_->dwColorSpaceLowValue,
                                        src->srcKey_->dwColorSpaceHighValue);
        }
        Changed();
        CountBltForTesting();
        return DD_OK;
    }

    // The primary always shows the front page and the back buffer the other one, so
    // swapping the screen's pages swaps the memory behind the two objects.
    HRESULT Flip(IDirectDrawSurface* target, DWORD /*flags*/) override {
        if (kind_ != Kind::Primary || partner_ == nullptr) {
            return DDERR_NOTFLIPPABLE;
        }
        if (target != nullptr && target != partner_) {
            return DDERR_INVALIDPARAMS;
        }
        if (Lost() || partner_->Lost()) {
            return DDERR_SURFACELOST;
        }
        if (Busy() || partner_->Busy()) {
            return DDERR_SURFACEBUSY;
        }
        platform::SwapPages();
        return DD_OK;
    }

    HRESULT GetAttachedSurface(DDSCAPS* caps, IDirectDrawSurface** out) override {
        if (caps == nullptr || out == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        *out = nullptr;
        Surface* found = nullptr;
        if (kind_ == Kind::Primary && (caps->dwCaps & (DDSCAPS_BACKBUFFER | DDSCAPS_FLIP))) {
            found = partner_;
        } else if (kind_ == Kind::BackBuffer &&
                   (caps->dwCaps & (DDSCAPS_FRONTBUFFER | DDSCAPS_PRIMARYSURFACE))) {
            found = partner_;
        }
        if (found == nullptr) {
            return DDERR_NOTFOUND;
        }
        found->AddRef();
        *out = found;
        return DD_OK;
    }

    HRESULT IsLost() override { return Lost() ? DDERR_SURFACELOST : DD_OK; }

    HRESULT Restore() override {
        if (!Lost()) {
            return DD_OK;
        }
        if (!platform::ScreenAvailable()) {
            return DDERR_WRONGMODE;
        }
        // The memory comes back, its contents don't: the program redraws.
        for (Surface* s : {this, partner_}) {
            if (s != nullptr) {
                s->lossStamp_ = platform::ScreenLossCount();
                s->Clear();
            }
        }
        return DD_OK;
    }

    HRESULT GetDC(HDC* out) override {
        if (out == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        *out = nullptr;
        if (Lost()) {
            return DDERR_SURFACELOST;
        }
        if (dc_ != nullptr) {
            return DDERR_DCALREADYCREATED;
        }
        if (locked_) {
            return DDERR_SURFACEBUSY;
        }
        std::function<void()> onChanged;
        if (kind_ == Kind::Primary) {
            onChanged = [] { platform::MarkFrontPageChanged(); };
        }
        dc_ = platform::CreateTargetDC(Target(), std::move(onChanged));
        if (dc_ == nullptr) {
            return DDERR_OUTOFMEMORY;
        }
        *out = dc_;
        return DD_OK;
    }

    HRESULT ReleaseDC(HDC dc) override {
        if (dc_ == nullptr) {
            return DDERR_NODC;
        }
        if (dc != dc_) {
            return DDERR_INVALIDPARAMS;
        }
        platform::DeleteTargetDC(dc_);
        dc_ = nullptr;
        return DD_OK;
    }

    HRESULT Lock(RECT* rect, DDSURFACEDESC* desc, DWORD /*flags*/, void* /*event*/) override {
        if (desc == nullptr || !DescSizeOk(desc->dwSize)) {
            return DDERR_INVALIDPARAMS;
        }
        RECT r;
        if (HRESULT hr = Reachable(rect, r); hr != DD_OK) {
            return hr;
        }
        Describe(*desc);
        PixelTarget t = Target();
        desc->dwFlags |= DDSD_LPSURFACE;
        desc->lpSurface =
            t.pixels + ptrdiff_t(r.top) * t.pitch + ptrdiff_t(r.left) * BytesPerPixel(format_);
        locked_ = true;
        return DD_OK;
    }

    HRESULT Unlock(void* /*surfaceData*/) override {
        if (!locked_) {
            return DDERR_NOTLOCKED;
        }
        locked_ = false;
        Changed();
        return DD_OK;
    }

    HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) override {
        std::optional<DDCOLORKEY>* slot = KeyNamed(flags & (DDCKEY_SRCBLT | DDCKEY_DESTBLT));
        if (slot == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        if (key == nullptr) {
            slot->reset();
            return DD_OK;
        }
        DDCOLORKEY stored = *key;
        if (!(flags & DDCKEY_COLORSPACE)) {
            stored.dwColorSpaceHighValue = stored.dwColorSpaceLowValue;
        }
        *slot = stored;
        return DD_OK;
    }

    HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key) override {
        std::optional<DDCOLORKEY>* slot = KeyNamed(flags);
        if (key == nullptr || slot == nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        if (!slot->has_value()) {
            return DDERR_NOCOLORKEY;
        }
        *key = **slot;
        return DD_OK;
    }

    HRESULT GetSurfaceDesc(DDSURFACEDESC* desc) override {
        if (desc == nullptr || !DescSizeOk(desc->dwSize)) {
            return DDERR_INVALIDPARAMS;
        }
        Describe(*desc);
        return DD_OK;
    }

  private:
    bool Lost() const {
        if (caps_ & DDSCAPS_SYSTEMMEMORY) {
            return false;
        }
        return lossStamp_ != platform::ScreenLossCount() || !platform::ScreenAvailable();
    }
    bool Busy() const { return locked_ || dc_ != nullptr; }

    PixelTarget Target() const {
        if (kind_ == Kind::Primary) {
            return platform::FrontPage();
        }
        if (kind_ == Kind::BackBuffer) {
            return platform::BackPage();
        }
        return PixelTarget{storage_.get(), pitch_, width_, height_, format_};
    }

    void Changed() {
        if (kind_ == Kind::Primary) {
            platform::MarkFrontPageChanged();
        }
    }

    void Clear() {
        PixelTarget t = Target();
        for (int32_t y = 0; y < t.height; ++y) {
            std::memset(t.pixels + ptrdiff_t(y) * t.pitch, 0,
                        size_t(t.width * BytesPerPixel(format_)));
        }
        Changed();
    }

    // The source or the destination key, as which names it; null for anything else.
    std::optional<DDCOLORKEY>* KeyNamed(DWORD which) {
        return which == DDCKEY_SRCBLT ? &srcKey_ : which == DDCKEY_DESTBLT ? &destKey_ : nullptr;
    }

    void Describe(DDSURFACEDESC& d) const {
        const DWORD size = d.dwSize;
        d = DDSURFACEDESC{};
        d.dwSize = size;
        d.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
        d.dwWidth = DWORD(width_);
        d.dwHeight = DWORD(height_);
        d.lPitch = pitch_;
        if (kind_ == Kind::Primary && partner_ != nullptr) {
            d.dwFlags |= DDSD_BACKBUFFERCOUNT;
            d.dwBackBufferCount = 1;
        }
        d.ddckCKSrcBlt = srcKey_.value_or(DDCOLORKEY{});
        d.ddckCKDestBlt = destKey_.value_or(DDCOLORKEY{});
        d.ddpfPixelFormat = DescribeFormat(format_);
        d.ddsCaps.dwCaps = caps_;
    }

    Kind kind_;
    int32_t width_;
    int32_t height_;
    PixelFormat format_;
    DWORD caps_;
    int32_t pitch_ = 0;
    PixelStorage storage_;
    Surface* partner_ = nullptr;
    ULONG refs_ = 1;
    uint32_t lossStamp_ = 0;
    bool locked_ = false;
    HDC dc_ = nullptr;
    std::optional<DDCOLORKEY> srcKey_;
    std::optional<DDCOLORKEY> destKey_;
};

}  // namespace

IDirectDrawSurface* NewSurface(Kind kind, int32_t width, int32_t height, PixelFormat format,
                               DWORD caps) {
    return new Surface(kind, width, height, format, caps);
}

void AttachFlipChain(IDirectDrawSurface* primary, IDirectDrawSurface* back) {
    if (back != nullptr) {
        static_cast<Surface*>(primary)->Attach(static_cast<Surface*>(back));
        static_cast<Surface*>(back)->Attach(static_cast<Surface*>(primary));
    }
    g_primaryExists = true;
}

bool PrimaryExists() {
    return g_primaryExists;
}

bool DescSizeOk(DWORD size) {
    return size == DDSURFACEDESC_SIZE_32BIT || size == sizeof(DDSURFACEDESC);
}

}  // namespace platform::ddraw

namespace platform {

void AfterBltForTesting(int nth, std::function<void()> action) {
    ddraw::g_bltsBeforeAction = action ? nth : 0;
    ddraw::AfterBltAction() = ddraw::g_bltsBeforeAction > 0 ? std::move(action) : nullptr;
}

}  // namespace platform
