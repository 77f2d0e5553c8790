// Installed faces through fontconfig: the machine's faces, our own folder registered
// beside them, and fontconfig's closest match for names we don't ship.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/gdi/font_match.h"
#include "platform/gdi/fonts.h"

namespace platform::gdi {

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
        if (SameFamily(reinterpret_cast<const char*>(name), family)) {
            return true;
        }
    }
    return false;
}

void ReadMatch(FcPattern* font, const char* file, const char* family, Match& out) {
    out.file = file;
    FcPatternGetInteger(font, FC_INDEX, 0, &out.index);
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    out.weight = FcWeightToOpenType(weight);
    out.italic = slant != FC_SLANT_ROMAN;
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

}  // namespace platform::gdi

namespace platform {

bool RegisterFontFolder(const std::string& folder) {
    return platform::gdi::FontconfigReady() && platform::gdi::AddFolder(folder);
}

}  // namespace platform
