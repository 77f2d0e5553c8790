// Scope-bound Lock/Unlock and GetDC/ReleaseDC, so that no early return keeps a surface
// locked.
#pragma once

#include "platform/ddraw/ddraw.h"

namespace platform {

class SurfaceLock {
  public:
    explicit SurfaceLock(IDirectDrawSurface* surface, RECT* rect = nullptr) : surface_(surface) {
        desc_.dwSize = sizeof(DDSURFACEDESC);
        result_ =
            surface_ ? surface_->Lock(rect, &desc_, DDLOCK_WAIT, nullptr) : DDERR_INVALIDPARAMS;
    }
    ~SurfaceLock() {
        if (result_ == DD_OK) {
            surface_->Unlock(desc_.lpSurface);
        }
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;

    HRESULT Result() const { return result_; }
    bool Ok() const { return result_ == DD_OK; }
    const DDSURFACEDESC& Desc() const { return desc_; }
    uint8_t* Pixels() const { return static_cast<uint8_t*>(desc_.lpSurface); }
    LONG Pitch() const { return desc_.lPitch; }

  private:
    IDirectDrawSurface* surface_;
    DDSURFACEDESC desc_{};
    HRESULT result_;
};

class SurfaceDC {
  public:
    explicit SurfaceDC(IDirectDrawSurface* surface) : surface_(surface) {
        result_ = surface_ ? surface_->GetDC(&dc_) : DDERR_INVALIDPARAMS;
    }
    ~SurfaceDC() {
        if (result_ == DD_OK) {
            surface_->ReleaseDC(dc_);
        }
    }
    SurfaceDC(const SurfaceDC&) = delete;
    SurfaceDC& operator=(const SurfaceDC&) = delete;

    HRESULT Result() const { return result_; }
    bool Ok() const { return result_ == DD_OK; }
    HDC Get() const { return dc_; }

  private:
    IDirectDrawSurface* surface_;
    HDC dc_ = nullptr;
    HRESULT result_;
};

}  // namespace platform
