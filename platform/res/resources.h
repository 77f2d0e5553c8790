// The resources embedded in the executable, looked up by name or by id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/windef.h"

namespace platform {

// Script: a resource script (res/*.rc), by its file name ("VORLA"), holding menus,
// dialogs and strings. Font: a bitmap face shipped with the program (res/fonts/*.bdf).
enum class ResourceType { Bitmap, Icon, Cursor, Menu, Dialog, String, Script, Font };

struct ResourceData {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    const char* name = nullptr;  // upper case; null for resources known by id
};

// Finds an embedded resource. name is either a string ("IDB_PLOCHA") or an id made with
// MAKEINTRESOURCE (128). module is the application's instance handle (any non-null
// handle names this executable; null means the system's own resources, of which there
// are none). Returns false when there is no such resource.
bool FindResourceData(HINSTANCE module, LPCSTR name, ResourceType type, ResourceData& out);

// Every embedded resource of a type, in name order.
std::vector<ResourceData> FindResourcesOfType(HINSTANCE module, ResourceType type);

// The handle that stands for this executable's resources.
HINSTANCE ExecutableInstance();

// Test controls: a hidden resource is not found, as if it were missing from the
// executable; and every lookup by name is recorded.
void HideResourceForTesting(LPCSTR name, bool hide);
void ClearResourceLookupsForTesting();
std::vector<std::string> ResourceLookupsForTesting();

}  // namespace platform
