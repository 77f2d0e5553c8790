// How a face name finds its face: the substitution table and the faces embedded in the
// executable (the order is in fonts.h; installed faces are each system's own file).
#include "platform/gdi/font_match.h"

#include <cctype>
#include <map>
#include <string>

#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "platform/gdi/fonts.h"
#include "platform/res/resources.h"

namespace platform::gdi {

// The library lives as long as the process: faces of objects freed at exit still need it.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) {
            lib = nullptr;
        }
        return lib;
    }();
    return library;
}

bool SameFamily(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The embedded faces, each read once; a face a test has hidden is left out.
std::vector<ShippedStrike> ShippedStrikes() {
    static std::map<const uint8_t*, ShippedStrike> known;
    std::vector<ShippedStrike> strikes;
    FT_Library lib = Library();
    if (lib == nullptr) {
        return strikes;
    }
    for (const ResourceData& r : FindResourcesOfType(ExecutableInstance(), ResourceType::Font)) {
        auto it = known.find(r.bytes);
        if (it == known.end()) {
            ShippedStrike s;
            FT_Face face = nullptr;
            if (FT_New_Memory_Face(lib, r.bytes, FT_Long(r.size), 0, &face) == 0) {
                if (face->family_name != nullptr && face->num_fixed_sizes > 0) {
                    s.family = face->family_name;
                    s.cell = face->available_sizes[0].height;
                    s.ppem = int((face->available_sizes[0].y_ppem + 32) >> 6);
                    s.bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
                    s.bytes = r.bytes;
                    s.size = r.size;
                }
                FT_Done_Face(face);
            }
            it = known.emplace(r.bytes, s).first;
        }
        if (it->second.bytes != nullptr) {
            strikes.push_back(it->second);
        }
    }
    return strikes;
}

bool IsShippedFamily(const std::string& family) {
    for (const ShippedStrike& s : ShippedStrikes()) {
        if (SameFamily(s.family, family)) {
            return true;
        }
    }
    return false;
}

namespace {

// Bitmap strikes are enlarged only by whole factors, as GDI enlarged raster fonts.
constexpr int MAX_FACTOR = 8;

}  // namespace

// The strike, and whole factor, that comes closest to target without exceeding it; the
// smallest strike when every one exceeds it. sizes are cell heights or em heights.
StrikeChoice ChooseStrike(const std::vector<int>& sizes, int64_t target) {
    StrikeChoice best;
    int64_t bestSize = -1;
    for (size_t i = 0; i < sizes.size(); ++i) {
        for (int k = 1; k <= MAX_FACTOR && int64_t(sizes[i]) * k <= target; ++k) {
            int64_t v = int64_t(sizes[i]) * k;
            if (v > bestSize || (v == bestSize && k < best.factor)) {
                best = {i, k};
                bestSize = v;
            }
        }
    }
    if (bestSize < 0) {
        for (size_t i = 0; i < sizes.size(); ++i) {
            if (sizes[i] < sizes[best.index]) {
                best.index = i;
            }
        }
        best.factor = 1;
    }
    return best;
}

// A byte that is no part of well-formed UTF-8, as Windows-1252 reads it: its printable
// characters in 0x80..0x9F, and Latin-1 for the rest.
uint32_t CodePoint(uint8_t c) {
    static const uint16_t CP1252[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (c >= 0x80 && c < 0xA0) {
        return CP1252[c - 0x80];
    }
    return c;
}

}  // namespace platform::gdi

namespace platform {

std::string SubstituteFaceName(const std::string& face) {
    // The names Windows resolves to its dialog face, and its system font. Our dialog face
    // has the metrics the dialog templates were laid out for, on every machine.
    for (const char* name :
         {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "System"}) {
        if (platform::gdi::SameFamily(face, name)) {
            return DIALOG_FACE_FAMILY;
        }
    }
    return face;
}

std::string ShippedFontFolder() {
    const std::string exe = fs::ExecutablePath();
    if (exe.empty()) {
        return "";
    }
    const std::string prefix = fs::FolderOf(fs::FolderOf(exe));
    const std::string folder = fs::Join(fs::Join(fs::Join(prefix, "share"), "vorla"), "fonts");
    fs::Status st;
    return fs::StatusOf(folder, true, st) == 0 && st.kind == fs::Kind::Folder ? folder : "";
}

}  // namespace platform
