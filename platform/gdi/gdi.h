// GDI-shaped drawing: device contexts, bitmaps, stretch copies, pens, brushes, fonts and
// text, with Win32's names, values and return conventions.
//
// Colour conversion into 16-bit pixels truncates, as GDI does:
//   5-6-5: ((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3)
//   5-5-5: ((r & 0xF8) << 7) | ((g & 0xF8) << 2) | (b >> 3)
// and reading back replicates the high bits (r8 = r5 << 3 | r5 >> 2).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/windef.h"

struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HPEN__;
using HPEN = HPEN__*;

// Raster operations (only these are supported).
enum : DWORD {
    SRCCOPY = 0x00CC0020,
    PATCOPY = 0x00F00021,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062
};

// LoadImage's type and flags.
constexpr UINT IMAGE_BITMAP = 0;
enum : UINT { LR_LOADFROMFILE = 0x0010, LR_CREATEDIBSECTION = 0x2000 };

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// Stock objects.
enum : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    ANSI_VAR_FONT = 12,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17
};

// Pen styles.
enum : int { PS_SOLID = 0, PS_NULL = 5 };

// GetDeviceCaps's indices.
enum : int {
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90
};

// Font weights.
enum : int { FW_EXTRALIGHT = 200, FW_NORMAL = 400, FW_SEMIBOLD = 600, FW_BOLD = 700 };
// The rest of CreateFont's choices, all taken as their defaults.
enum : DWORD {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    OUT_DEFAULT_PRECIS = 0,
    CLIP_DEFAULT_PRECIS = 0,
    DEFAULT_QUALITY = 0,
    PROOF_QUALITY = 2,
    DEFAULT_PITCH = 0,
    FF_DONTCARE = 0
};
constexpr int LF_FACESIZE = 32;

// DrawText's format.
enum : UINT {
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_NOCLIP = 0x0100,
    DT_CALCRECT = 0x0400,
    DT_NOPREFIX = 0x0800
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};
using LOGFONTA = LOGFONT;

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
using TEXTMETRICA = TEXTMETRIC;

// Device contexts. A null reference DC means "compatible with the screen" (5-6-5); a new
// memory DC holds a 1 x 1 monochrome stock bitmap until a bitmap is selected.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);

// Objects. SelectObject returns the previously selected object of the same kind, or null
// on failure (a bitmap can be selected into one memory DC at a time). An object deleted
// while selected goes away once it is no longer selected anywhere. Stock objects are
// never deleted.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ SelectObject(HDC dc, HBITMAP object);
HGDIOBJ SelectObject(HDC dc, HFONT object);
HGDIOBJ SelectObject(HDC dc, HBRUSH object);
HGDIOBJ SelectObject(HDC dc, HPEN object);
BOOL DeleteObject(HGDIOBJ object);
BOOL DeleteObject(HBITMAP object);
BOOL DeleteObject(HFONT object);
BOOL DeleteObject(HBRUSH object);
BOOL DeleteObject(HPEN object);
// Bitmaps fill a BITMAP, fonts a LOGFONT. A null buffer asks for the size. Returns the
// bytes written, 0 on failure.
int GetObject(HGDIOBJ object, int size, void* buffer);
int GetObject(HBITMAP object, int size, void* buffer);
int GetObject(HFONT object, int size, void* buffer);
HGDIOBJ GetStockObject(int index);

// Bitmaps. LoadImage gives a DIB section: 8 bits with a palette for 1-, 4- and 8-bit
// images, 24 bits for 24-bit ones, 32 bits for 32-bit ones. Without LR_LOADFROMFILE the
// name (or MAKEINTRESOURCE id) is looked up in module's embedded resources; with it, the
// name is a file path. cx/cy of 0 keep the image's own extent in that direction.
HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags);
// A bitmap in the DC's format: the screen's for a null or target DC, the selected
// bitmap's for a memory DC (monochrome while the stock bitmap is selected, as in Win32).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);

// Copies. Only the raster operations named above are supported. Stretching samples the
// source pixel under each destination pixel's centre: sx = xSrc + floor((2i + 1) * wSrc
// / (2 * wDest)). A negative width or height mirrors. Destination pixels outside the
// destination, or whose sample falls outside the source, are left alone.
BOOL StretchBlt(HDC dest, int xDest, int yDest, int wDest, int hDest, HDC src, int xSrc, int ySrc,
                int wSrc, int hSrc, DWORD rop);
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop);
// Returns CLR_INVALID outside the DC's bitmap.
COLORREF GetPixel(HDC dc, int x, int y);
// Returns the colour actually stored (after conversion to the DC's format), or
// CLR_INVALID (as -1) outside.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

// Brushes, pens and shapes.
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// Draws from the current position up to, not including, (x, y).
BOOL LineTo(HDC dc, int x, int y);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);

// Text attributes. Each returns the previous value.
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

// Fonts. A negative height asks for that character (em) height in pixels, a positive one
// for that cell height (ascent + descent), 0 for the default size. The face is found by
// name as fonts.h describes: the faces shipped with the program for their own names and
// the Windows dialog names, installed faces through fontconfig for the rest. A bitmap
// face gives its strike nearest below the size asked, enlarged by a whole factor.
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
HFONT CreateFontIndirect(const LOGFONT* font);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
// Text is UTF-8 (see platform/utf8.h); counts are in bytes, and -1 means NUL-terminated
// where noted.
BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, SIZE* size);
// Draws with the top-left of the text cell at (x, y).
BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count);
// count -1: NUL-terminated. Returns the height of the text drawn (with DT_VCENTER or
// DT_BOTTOM: from the top of the box to the bottom of the text), 0 on failure.
// DT_VCENTER and DT_BOTTOM apply only with DT_SINGLELINE. Without DT_NOCLIP the text is
// clipped to the box and drawing stops after the line that crosses its bottom. Without
// DT_NOPREFIX, "&x" underlines x and "&&" is a literal "&".
int DrawText(HDC dc, LPCSTR text, int count, RECT* rect, UINT format);

void OutputDebugString(LPCSTR text);
