// Bitmaps turned into off-screen surfaces in the display's own format, and the colour
// key derived by letting GDI convert the transparent colour on the surface itself.
#pragma once

#include "platform/ddraw/ddraw.h"
#include "platform/windef.h"

// The transparent colour of the sprite sheets.
constexpr COLORREF SHEET_TRANSPARENT = RGB(255, 0, 255);

// A new surface holding the named bitmap (resource first, then a file of that name),
// scaled to width x height when they are not 0. The caller owns the reference.
IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* directDraw, LPCSTR name, int width,
                                      int height, HINSTANCE module);
// Copies the named bitmap again onto an existing surface (after a loss).
HRESULT ReloadBitmapSurface(IDirectDrawSurface* surface, LPCSTR name, HINSTANCE module);
// Stretches the bitmap (from x, y, width x height; 0 = the bitmap's own) onto the whole
// surface through GDI.
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y,
                            int width, int height);
// The raw pixel value GDI gives colour on this surface, or CLR_INVALID.
DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF colour);
HRESULT SetSurfaceColorKey(IDirectDrawSurface* surface, COLORREF colour);
