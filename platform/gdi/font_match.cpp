// How a face name finds its face: the substitution table, the faces embedded in the
// executable, and installed faces through fontconfig (the order is in fonts.h).
#include "platform/gdi/font_match.h"

#include <strings.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "platform/fs/fs.h"
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
    return strcasecmp(a.c_str(), b.c_str()) == 0;
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

namespace {

// Folders of our own faces that fontconfig knows, canonical.
std::vector<std::string>& OwnFolders() {
    static std::vector<std::string> folders;
    return folders;
}

std::string Canonical(const std::filesystem::path& p) {
    std::error_code ec;
    std::filesystem::path c = std::filesystem::weakly_canonical(p, ec);
    return ec ? p.lexically_normal().string() : c.string();
}

bool InOwnFolder(const char* file) {
    const std::string dir = Canonical(std::filesystem::path(file).parent_path());
    return std::find(OwnFolders().begin(), OwnFolders().end(), dir) != OwnFolders().end();
}

bool AddFolder(const std::string& folder) {
    fs::Status st;
    if (folder.empty() || fs::StatusOf(folder, true, st) != 0 || st.kind != fs::Kind::Folder) {
        return false;
    }
    const std::string dir = Canonical(folder);
    if (FcConfigAppFontAddDir(nullptr, reinterpret_cast<const FcChar8*>(dir.c_str())) != FcTrue) {
        return false;
    }
    if (std::find(OwnFolders().begin(), OwnFolders().end(), dir) == OwnFolders().end()) {
        OwnFolders().push_back(dir);
    }
    return true;
}

// Many systems tell fontconfig to refuse bitmap faces (Debian's 70-no-bitmaps.conf). Ours
// are bitmap faces, and a user's own face of one of our families may be one too.
std::string AcceptOurFamilies() {
    std::string xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
        "<fontconfig><selectfont><acceptfont>\n";
    std::vector<std::string> families;
    for (const ShippedStrike& s : ShippedStrikes()) {
        if (std::find(families.begin(), families.end(), s.family) == families.end()) {
            families.push_back(s.family);
            xml += "<pattern><patelt name=\"family\"><string>" + s.family +
                   "</string></patelt></pattern>\n";
        }
    }
    return xml + "</acceptfont></selectfont></fontconfig>\n";
}

// Loads the configuration with our acceptance rule in place before any face is scanned,
// then adds the folder installed with the program. Fontconfig's caches are handed back
// at exit so leak checkers see a clean process.
bool FontconfigReady() {
    static bool ready = [] {
        FcConfig* config = FcInitLoadConfig();
        if (config == nullptr) {
            return false;
        }
        const std::string rules = AcceptOurFamilies();
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(rules.c_str()),
                                       FcFalse);
        if (FcConfigBuildFonts(config) != FcTrue || FcConfigSetCurrent(config) != FcTrue) {
            FcConfigDestroy(config);
            return false;
        }
        FcConfigDestroy(config);  // the current configuration keeps its own reference
        std::atexit([] { FcFini(); });
        AddFolder(ShippedFontFolder());
        return true;
    }();
    return ready;
}

bool HasFamily(FcPattern* font, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (strcasecmp(reinterpret_cast<const char*>(name), family) == 0) {
            return true;
        }
    }
    return false;
}

void ReadMatch(FcPattern* font, const char* file, const char* family, Match& out) {
    out.file = file;
    FcPatternGetInteger(font, FC_INDEX, 0, &out.index);
    FcPatternGetInteger(font, FC_WEIGHT, 0, &out.fcWeight);
    FcPatternGetInteger(font, FC_SLANT, 0, &out.slant);
    out.familyFound = HasFamily(font, family);
}

// What fontconfig is asked for, with its substitutions done; null when fontconfig isn't
// there or can't make one. scalable leaves out bitmap faces.
FcPattern* Request(const char* family, int weight, bool italic, double pixels, bool scalable) {
    FcPattern* pattern = FontconfigReady() ? FcPatternCreate() : nullptr;
    if (pattern == nullptr) {
        return nullptr;
    }
    if (family[0] != '\0') {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixels);
    if (scalable) {
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

}  // namespace

// A face of exactly this family installed on the machine, outside our own folders.
bool FindInstalled(const char* family, int weight, bool italic, double pixels, Match& out) {
    FcPattern* pattern = Request(family, weight, italic, pixels, false);
    if (pattern == nullptr) {
        return false;
    }
    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    bool found = false;
    for (int i = 0; set != nullptr && i < set->nfont && !found; ++i) {
        FcPattern* font = set->fonts[i];
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file != nullptr &&
            HasFamily(font, family) && !InOwnFolder(reinterpret_cast<const char*>(file))) {
            ReadMatch(font, reinterpret_cast<const char*>(file), family, out);
            found = true;
        }
    }
    if (set != nullptr) {
        FcFontSetDestroy(set);
    }
    return found;
}

// Fontconfig's closest match for any other name.
bool MatchFace(const char* family, int weight, bool italic, double pixels, Match& out) {
    FcPattern* pattern = Request(family, weight, italic, pixels, true);
    if (pattern == nullptr) {
        return false;
    }
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return false;
    }
    FcChar8* file = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr;
    if (ok) {
        ReadMatch(match, reinterpret_cast<const char*>(file), family, out);
    }
    FcPatternDestroy(match);
    return ok;
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
        if (strcasecmp(face.c_str(), name) == 0) {
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
    const std::string folder =
        (std::filesystem::path(exe).parent_path().parent_path() / "share/vorla/fonts").string();
    fs::Status st;
    return fs::StatusOf(folder, true, st) == 0 && st.kind == fs::Kind::Folder ? folder : "";
}

bool RegisterFontFolder(const std::string& folder) {
    return platform::gdi::FontconfigReady() && platform::gdi::AddFolder(folder);
}

}  // namespace platform
