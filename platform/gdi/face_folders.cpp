#include "platform/gdi/face_folders.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdlib>

#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "platform/gdi/font_match.h"

namespace platform::gdi {

namespace {

// Faces that are not fonts for text (symbols, dingbats) still open; that is for the
// caller's stand-in list to settle, as it names real text families.
bool ReadFace(FT_Library lib, const std::string& file, int index, FolderFace& out, int* faceCount) {
    FT_Face face = nullptr;
    if (FT_New_Face(lib, file.c_str(), index, &face) != 0) {
        return false;
    }
    *faceCount = int(face->num_faces);
    const bool usable = face->family_name != nullptr && face->family_name[0] != '\0';
    if (usable) {
        out.file = file;
        out.index = index;
        out.family = face->family_name;
        out.scalable = FT_IS_SCALABLE(face);
        out.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        out.weight = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ? 700 : 400;
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= 1 &&
            os2->usWeightClass <= 1000) {
            out.weight = os2->usWeightClass;
        }
    }
    FT_Done_Face(face);
    return usable;
}

int StyleDistance(const FolderFace& f, int weight, bool italic) {
    return std::abs(f.weight - weight) + (f.italic != italic ? 1000 : 0);
}

void Take(const FolderFace& f, bool familyFound, Match& out) {
    out.file = f.file;
    out.index = f.index;
    out.weight = f.weight;
    out.italic = f.italic;
    out.familyFound = familyFound;
}

}  // namespace

std::vector<FolderFace> ScanFaceFolder(const std::string& folder) {
    std::vector<FolderFace> faces;
    std::vector<std::string> names;
    FT_Library lib = Library();
    if (lib == nullptr || fs::ListFolder(folder, names) != 0) {
        return faces;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string file = fs::Join(folder, name);
        fs::Status st;
        if (fs::StatusOf(file, true, st) != 0 || st.kind != fs::Kind::Regular) {
            continue;
        }
        int count = 1;
        for (int index = 0; index < count && index < 64; ++index) {
            FolderFace f;
            if (ReadFace(lib, file, index, f, &count)) {
                faces.push_back(std::move(f));
            } else if (index == 0) {
                break;
            }
        }
    }
    return faces;
}

bool ChooseFamilyFace(const std::vector<FolderFace>& faces, const std::string& family, int weight,
                      bool italic, Match& out) {
    const FolderFace* best = nullptr;
    for (const FolderFace& f : faces) {
        if (SameFamily(f.family, family) &&
            (best == nullptr ||
             StyleDistance(f, weight, italic) < StyleDistance(*best, weight, italic))) {
            best = &f;
        }
    }
    if (best == nullptr) {
        return false;
    }
    Take(*best, true, out);
    return true;
}

bool ChooseClosestFace(const std::vector<FolderFace>& faces, const std::string& family, int weight,
                       bool italic, const std::vector<std::string>& standIns, Match& out) {
    if (!family.empty() && ChooseFamilyFace(faces, family, weight, italic, out)) {
        return true;
    }
    std::vector<FolderFace> scalable;
    for (const FolderFace& f : faces) {
        if (f.scalable) {
            scalable.push_back(f);
        }
    }
    for (const std::string& standIn : standIns) {
        if (ChooseFamilyFace(scalable, standIn, weight, italic, out)) {
            out.familyFound = false;
            return true;
        }
    }
    if (scalable.empty()) {
        return false;
    }
    Take(scalable.front(), false, out);
    return true;
}

}  // namespace platform::gdi
