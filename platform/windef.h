// The basic types and handles shared by every part of the platform layer, with the
// names and sizes the Win32 API gives them.
#pragma once

#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using BOOL = int32_t;
using HRESULT = int32_t;
using COLORREF = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using UINT_PTR = uintptr_t;
using LPCSTR = const char*;
using LPSTR = char*;
using LPVOID = void*;
using HANDLE = void*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

// Handles are pointers to distinct incomplete types, so they don't mix silently.
#define VORLA_DECLARE_HANDLE(name) \
    struct name##__;               \
    using name = name##__*
VORLA_DECLARE_HANDLE(HWND);
VORLA_DECLARE_HANDLE(HDC);
VORLA_DECLARE_HANDLE(HGDIOBJ);
VORLA_DECLARE_HANDLE(HBITMAP);
VORLA_DECLARE_HANDLE(HFONT);
VORLA_DECLARE_HANDLE(HICON);
VORLA_DECLARE_HANDLE(HMENU);
VORLA_DECLARE_HANDLE(HINSTANCE);
#undef VORLA_DECLARE_HANDLE
using HCURSOR = HICON;
using HMODULE = HINSTANCE;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return BYTE(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return BYTE((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return BYTE((c >> 16) & 0xFF);
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);

constexpr WORD LOWORD(uintptr_t v) {
    return WORD(v & 0xFFFF);
}
constexpr WORD HIWORD(uintptr_t v) {
    return WORD((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return LPARAM(uint32_t(WORD(lo)) | (uint32_t(WORD(hi)) << 16));
}
// Resource ids passed where a name is expected, as MAKEINTRESOURCE does. An id is an
// address inside a block kept for ids alone, not a number below 64 KiB: no name of the
// program's can lie in the block, whereas in WebAssembly strings do sit at low addresses.
// An id read as a string is empty.
inline char RESOURCE_ID_BLOCK[0x10000];
constexpr LPCSTR MAKEINTRESOURCE(WORD id) {
    return RESOURCE_ID_BLOCK + id;
}
inline bool IS_INTRESOURCE(LPCSTR p) {
    return reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(RESOURCE_ID_BLOCK) <
           sizeof RESOURCE_ID_BLOCK;
}
// The id an IS_INTRESOURCE name stands for.
inline WORD ResourceIdOf(LPCSTR p) {
    return WORD(reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(RESOURCE_ID_BLOCK));
}
