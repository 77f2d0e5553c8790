#include "display/display.h"

#include <cstring>

namespace {
void FillSurface(IDirectDrawSurface* surface, DWORD colour) {
    DDBLTFX fx;
    std::memset(&fx, 0, sizeof(fx));
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = colour;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}
}  // namespace

CDisplay::CDisplay() {
    if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) {
        directDraw = nullptr;
    }
}

CDisplay::~CDisplay() { Release(); }

int CDisplay::Init(HWND window, int /*width*/, int /*height*/, DWORD fillColour) {
    if (directDraw == nullptr) {
        return 0;
    }
    active = 0;
    if (directDraw->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT |
                                                    DDSCL_EXCLUSIVE) != DD_OK) {
        return 0;
    }
    if (directDraw->SetDisplayMode(640, 480, 16) != DD_OK) {
        return 0;
    }
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = DDSURFACEDESC_SIZE_32BIT;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (directDraw->CreateSurface(&desc, &primarySurface, nullptr) != DD_OK) {
        return 0;
    }
    FillSurface(primarySurface, fillColour);
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    if (primarySurface->GetAttachedSurface(&caps, &backBuffer) != DD_OK) {
        return 0;
    }
    FillSurface(backBuffer, fillColour);
    active = 1;
    return 1;
}

HRESULT CDisplay::Flip() {
    if (active == 0) {
        return 1;
    }
    const HRESULT result = primarySurface->Flip(nullptr, DDFLIP_WAIT);
    if (result == DDERR_SURFACELOST) {
        RestorePrimary();
        return result;
    }
    if (result == DD_OK) {
        gdiPageInFront = 1 - gdiPageInFront;
    }
    return result;
}

HRESULT CDisplay::ShowGdiPage() {
    if (gdiPageInFront == 0) {
        return Flip();
    }
    return DD_OK;
}

void CDisplay::RestorePrimary() {
    if (active == 1 && primarySurface != nullptr && primarySurface->IsLost() != DD_OK) {
        primarySurface->Restore();
    }
}

HDC CDisplay::GetBackDC() {
    backDC = nullptr;
    if (backBuffer == nullptr || backBuffer->GetDC(&backDC) != DD_OK) {
        backDC = nullptr;
    }
    return backDC;
}

HRESULT CDisplay::ReleaseBackDC() {
    if (backBuffer == nullptr) {
        return DDERR_NODC;
    }
    return backBuffer->ReleaseDC(backDC);
}

void CDisplay::Release() {
    if (backBuffer != nullptr) {
        backBuffer->Release();
        backBuffer = nullptr;
    }
    if (primarySurface != nullptr) {
        primarySurface->Release();
        primarySurface = nullptr;
    }
    if (directDraw != nullptr) {
        directDraw->RestoreDisplayMode();
        directDraw->Release();
        directDraw = nullptr;
    }
    active = 0;
}
