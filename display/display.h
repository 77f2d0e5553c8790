// The display device: the whole screen at 640 x 480 x 16, a primary surface with one
// back buffer that flips, and the bookkeeping of which page GDI draws on.
#pragma once

#include "platform/ddraw/ddraw.h"
#include "platform/windef.h"

class CDisplay {
public:
    CDisplay();
    ~CDisplay();
    CDisplay(const CDisplay&) = delete;
    CDisplay& operator=(const CDisplay&) = delete;

    // Takes the screen; 1 on success, 0 on failure. The mode is always 640 x 480 x 16.
    int Init(HWND window, int width, int height, DWORD fillColour);
    HRESULT Flip();
    // Brings the page GDI draws on to the front, so menus and dialogs can be seen.
    HRESULT ShowGdiPage();
    void RestorePrimary();
    HDC GetBackDC();
    HRESULT ReleaseBackDC();
    IDirectDraw* GetDirectDraw() { return directDraw; }
    void Release();

    IDirectDraw* directDraw = nullptr;
    IDirectDrawSurface* primarySurface = nullptr;
    IDirectDrawSurface* backBuffer = nullptr;
    HDC backDC = nullptr;
    int32_t active = 0;
    // GDI always draws on the page that was primary when the chain was made; every
    // successful flip swaps the pages.
    int32_t gdiPageInFront = 1;
};

// The one display device, constructed before the application object.
extern CDisplay g_display;
