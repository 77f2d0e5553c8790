// The table the build generates from res/, and the lookup over any such table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/res/resources.h"

namespace platform {

struct EmbeddedResource {
    ResourceType type;
    const char* name;  // upper case; null for resources known by id
    uint32_t id;
    const uint8_t* bytes;
    size_t size;
};

extern const EmbeddedResource EMBEDDED_RESOURCES[];
extern const size_t EMBEDDED_RESOURCE_COUNT;

// Names compare without regard to case, as resource names do.
const EmbeddedResource* FindInTable(const EmbeddedResource* table, size_t count, LPCSTR name,
                                    ResourceType type);

}  // namespace platform
