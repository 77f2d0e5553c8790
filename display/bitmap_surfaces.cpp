#include "display/bitmap_surfaces.h"

#include <cstring>

#include "platform/gdi/gdi.h"

namespace {

HBITMAP LoadNamedBitmap(LPCSTR name, int width, int height, HINSTANCE module) {
    HANDLE image = LoadImage(module, name, IMAGE_BITMAP, width, height, LR_CREATEDIBSECTION);
    if (image == nullptr) {
        image = LoadImage(nullptr, name, IMAGE_BITMAP, width, height,
                          LR_CREATEDIBSECTION | LR_LOADFROMFILE);
    }
    return static_cast<HBITMAP>(image);
}

DDSURFACEDESC EmptyDesc(DWORD flags) {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = DDSURFACEDESC_SIZE_32BIT;
    desc.dwFlags = flags;
    return desc;
}

}  // namespace

IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* directDraw, LPCSTR name, int width,
                                      int height, HINSTANCE module) {
    HBITMAP bitmap = LoadNamedBitmap(name, width, height, module);
    if (bitmap == nullptr) {
        return nullptr;
    }
    BITMAP info{};
    GetObject(bitmap, sizeof(info), &info);

    DDSURFACEDESC desc = EmptyDesc(DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH);
    desc.dwWidth = DWORD(info.bmWidth);
    desc.dwHeight = DWORD(info.bmHeight);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface* surface = nullptr;
    if (directDraw == nullptr || directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
        DeleteObject(bitmap);
        return nullptr;
    }
    CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);
    return surface;
}

HRESULT ReloadBitmapSurface(IDirectDrawSurface* surface, LPCSTR name, HINSTANCE module) {
    HBITMAP bitmap = LoadNamedBitmap(name, 0, 0, module);
    if (bitmap == nullptr) {
        OutputDebugString("handle is null\n");
        return E_FAIL;
    }
    const HRESULT result = CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0);
    DeleteObject(bitmap);
    return result;
}

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y,
                            int width, int height) {
    if (bitmap == nullptr || surface == nullptr) {
        return E_FAIL;
    }
    surface->Restore();
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr) {
        OutputDebugString("createcompatible dc failed\n");
    }
    HGDIOBJ previous = memory != nullptr ? SelectObject(memory, bitmap) : nullptr;
    BITMAP info{};
    GetObject(bitmap, sizeof(info), &info);
    if (width == 0) {
        width = info.bmWidth;
    }
    if (height == 0) {
        height = info.bmHeight;
    }
    DDSURFACEDESC desc = EmptyDesc(DDSD_HEIGHT | DDSD_WIDTH);
    surface->GetSurfaceDesc(&desc);

    HDC target = nullptr;
    const HRESULT result = surface->GetDC(&target);
    if (result == DD_OK) {
        if (memory != nullptr) {
            StretchBlt(target, 0, 0, int(desc.dwWidth), int(desc.dwHeight), memory, x, y, width,
                       height, SRCCOPY);
        }
        surface->ReleaseDC(target);
    }
    if (memory != nullptr) {
        // Deselect before the caller deletes the bitmap.
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    return result;
}

DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF colour) {
    DWORD result = CLR_INVALID;
    COLORREF remembered = CLR_INVALID;
    bool wrote = false;
    HDC dc = nullptr;
    if (colour != CLR_INVALID && surface->GetDC(&dc) == DD_OK) {
        remembered = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, colour);
        surface->ReleaseDC(dc);
        wrote = true;
    }

    DDSURFACEDESC desc = EmptyDesc(0);
    HRESULT locked;
    while ((locked = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
    }
    if (locked == DD_OK) {
        // The word at the start of the surface, cut to one pixel's bits; read no more
        // bytes than the pixel has, so a tiny surface is not overrun.
        const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        uint32_t word = 0;
        std::memcpy(&word, desc.lpSurface, bits >= 32 ? 4 : (bits + 7) / 8);
        if (bits < 32) {
            word &= (1u << bits) - 1u;
        }
        result = word;
        surface->Unlock(nullptr);
    }

    if (wrote && surface->GetDC(&dc) == DD_OK) {
        SetPixel(dc, 0, 0, remembered);
        surface->ReleaseDC(dc);
    }
    return result;
}

HRESULT SetSurfaceColorKey(IDirectDrawSurface* surface, COLORREF colour) {
    const DWORD key = MatchSurfaceColor(surface, colour);
    DDCOLORKEY colourKey{key, key};
    surface->SetColorKey(DDCKEY_DESTBLT, &colourKey);
    return surface->SetColorKey(DDCKEY_SRCBLT, &colourKey);
}
