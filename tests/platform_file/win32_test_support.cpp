#include "win32_test_support.h"

#include <windows.h>

#include <vector>

namespace wintest {

namespace {

std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

}  // namespace

bool SetHidden(const std::string& path) {
    DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES &&
           SetFileAttributesW(Wide(path).c_str(), a | FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool IsHidden(const std::string& path) {
    DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_HIDDEN) != 0;
}

intptr_t HoldOpen(const std::string& path, Sharing sharing, bool write) {
    DWORD share = (sharing.read ? FILE_SHARE_READ : 0) | (sharing.write ? FILE_SHARE_WRITE : 0) |
                  (sharing.remove ? FILE_SHARE_DELETE : 0);
    DWORD access = GENERIC_READ | (write ? GENERIC_WRITE : 0);
    HANDLE h = CreateFileW(Wide(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(h);
}

void Release(intptr_t held) {
    if (held != -1)
        CloseHandle(reinterpret_cast<HANDLE>(held));
}

}  // namespace wintest
