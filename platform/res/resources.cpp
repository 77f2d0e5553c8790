#include "platform/res/resources.h"

#include <algorithm>
#include <cctype>

#include "platform/res/resource_table.h"

namespace platform {
namespace {

bool SameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::toupper(static_cast<unsigned char>(*a)) !=
            std::toupper(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

std::vector<std::string>& HiddenNames() {
    static std::vector<std::string> hidden;
    return hidden;
}

std::vector<std::string>& Lookups() {
    static std::vector<std::string> lookups;
    return lookups;
}

bool IsHidden(LPCSTR name) {
    if (IS_INTRESOURCE(name)) {
        return false;
    }
    const auto& hidden = HiddenNames();
    return std::any_of(hidden.begin(), hidden.end(),
                       [&](const std::string& h) { return SameName(h.c_str(), name); });
}

}  // namespace

void HideResourceForTesting(LPCSTR name, bool hide) {
    auto& hidden = HiddenNames();
    hidden.erase(std::remove(hidden.begin(), hidden.end(), std::string(name)), hidden.end());
    if (hide) {
        hidden.emplace_back(name);
    }
}

void ClearResourceLookupsForTesting() {
    Lookups().clear();
}

std::vector<std::string> ResourceLookupsForTesting() {
    return Lookups();
}

const EmbeddedResource* FindInTable(const EmbeddedResource* table, size_t count, LPCSTR name,
                                    ResourceType type) {
    if (name == nullptr) {
        return nullptr;
    }
    const bool byId = IS_INTRESOURCE(name);
    // "#128" names the resource with id 128, as on the original platform.
    uint32_t id = byId ? ResourceIdOf(name) : 0;
    bool numeric = byId;
    if (!byId && name[0] == '#' && name[1] != '\0') {
        numeric = true;
        id = 0;
        for (const char* p = name + 1; *p; ++p) {
            if (*p < '0' || *p > '9' || id > 0xFFFF) {
                return nullptr;
            }
            id = id * 10 + uint32_t(*p - '0');
        }
    }
    for (size_t i = 0; i < count; ++i) {
        const EmbeddedResource& r = table[i];
        if (r.type != type || r.bytes == nullptr) {
            continue;
        }
        if (numeric ? (r.name == nullptr && r.id == id)
                    : (r.name != nullptr && SameName(r.name, name))) {
            return &r;
        }
    }
    return nullptr;
}

bool FindResourceData(HINSTANCE module, LPCSTR name, ResourceType type, ResourceData& out) {
    if (module == nullptr || name == nullptr) {
        return false;
    }
    if (!IS_INTRESOURCE(name)) {
        Lookups().emplace_back(name);
        if (IsHidden(name)) {
            return false;
        }
    }
    const EmbeddedResource* r =
        FindInTable(EMBEDDED_RESOURCES, EMBEDDED_RESOURCE_COUNT, name, type);
    if (r == nullptr) {
        return false;
    }
    out.bytes = r->bytes;
    out.size = r->size;
    out.name = r->name;
    return true;
}

std::vector<ResourceData> FindResourcesOfType(HINSTANCE module, ResourceType type) {
    std::vector<ResourceData> found;
    if (module == nullptr) {
        return found;
    }
    for (size_t i = 0; i < EMBEDDED_RESOURCE_COUNT; ++i) {
        const EmbeddedResource& r = EMBEDDED_RESOURCES[i];
        if (r.type != type || r.bytes == nullptr || (r.name != nullptr && IsHidden(r.name))) {
            continue;
        }
        found.push_back({r.bytes, r.size, r.name});
    }
    std::sort(found.begin(), found.end(), [](const ResourceData& a, const ResourceData& b) {
        return std::string(a.name ? a.name : "") < std::string(b.name ? b.name : "");
    });
    return found;
}

HINSTANCE ExecutableInstance() {
    static char self;
    return reinterpret_cast<HINSTANCE>(&self);
}

}  // namespace platform
