// The menu objects behind HMENU handles, shared by the queries and the tracker.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/windef.h"

namespace platform {

struct MenuItem {
    UINT flags = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP, MF_SEPARATOR
    UINT id = 0;
    std::string text;
    HMENU sub = nullptr;
};

struct MenuObject {
    std::vector<MenuItem> items;
};

std::map<uintptr_t, std::unique_ptr<MenuObject>>& MenuTable();
MenuObject* FindMenu(HMENU menu);

}  // namespace platform
