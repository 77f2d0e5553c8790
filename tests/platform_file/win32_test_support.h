// What the Windows file tests ask of the system directly, as another program would. Kept
// in a file of its own: the platform's headers and <windows.h> must never meet.
#pragma once

#include <cstdint>
#include <string>

namespace wintest {

bool SetHidden(const std::string& path);
bool IsHidden(const std::string& path);

// Opens path the way another program might: for reading (and writing), sharing what is
// asked. -1 when the open fails.
struct Sharing {
    bool read = false;
    bool write = false;
    bool remove = false;  // FILE_SHARE_DELETE: lets others rename or delete it
};
intptr_t HoldOpen(const std::string& path, Sharing sharing, bool write = false);
void Release(intptr_t held);

}  // namespace wintest
