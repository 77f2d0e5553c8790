// How a logical font finds its face file: FreeType, the faces embedded in the executable,
// and the machine's installed faces (each system's lookup in a file of its own). Shared by
// the gdi/ sources only.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/face_match.h"

namespace platform::gdi {

// The FreeType library; it lives as long as the process.
FT_Library Library();
bool SameFamily(const std::string& a, const std::string& b);

// One strike of a face embedded in the executable.
struct ShippedStrike {
    std::string family;
    int cell = 0;
    int ppem = 0;
    bool bold = false;
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};
// The embedded faces, each read once; a face a test has hidden is left out.
std::vector<ShippedStrike> ShippedStrikes();
bool IsShippedFamily(const std::string& family);

struct StrikeChoice {
    size_t index = 0;
    int factor = 1;
};
// The strike, and whole factor, that comes closest to target without exceeding it; the
// smallest strike when every one exceeds it. sizes are cell heights or em heights.
StrikeChoice ChooseStrike(const std::vector<int>& sizes, int64_t target);

// An installed face of exactly that family that is to win over our shipped face of that
// family (our own folders left out); false when there is none.
bool FindInstalled(const char* family, int weight, bool italic, double pixels, Match& out);
// The installed face closest to the family; false when there is none at all.
bool MatchFace(const char* family, int weight, bool italic, double pixels, Match& out);

// A byte that is no part of well-formed UTF-8, as Windows-1252 reads it: its printable
// characters in 0x80..0x9F, and Latin-1 for the rest.
uint32_t CodePoint(uint8_t c);

}  // namespace platform::gdi
