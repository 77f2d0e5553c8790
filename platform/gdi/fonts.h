// The faces shipped with the program, and how a logical font finds its face.
//
// A face name resolves in this order: the substitution table (the Windows dialog and
// system names become our dialog face); then a face of exactly that family installed on
// the machine, through fontconfig (so a "Viking" the user installed wins); then our own
// face of that family, embedded in the executable; then fontconfig's closest match; and
// when there is nothing at all, our dialog face.
#pragma once

#include <string>

#include "platform/gdi/gdi.h"

namespace platform {

// Our dialog face's family, and the names that are drawn with it.
inline constexpr const char* DIALOG_FACE_FAMILY = "Vorla Sans";
// The family a face name is drawn with: the name itself unless it is substituted.
std::string SubstituteFaceName(const std::string& face);

// The folder of the faces installed with the program: share/vorla/fonts under the prefix
// the executable lives in (<prefix>/bin/vorla, or <build>/app/vorla). Empty when the
// folder does not exist; the faces embedded in the executable serve then.
std::string ShippedFontFolder();

// Makes the faces in folder known to fontconfig for this process, bitmap faces included,
// and keeps them out of the search for installed faces. Returns false when fontconfig
// cannot add the folder.
bool RegisterFontFolder(const std::string& folder);

// Where a font's face came from, for tests and diagnostics.
struct FaceSource {
    enum Kind { NONE, SHIPPED, INSTALLED };
    Kind kind = NONE;
    std::string family;  // the family of the face found
    std::string file;    // the file of an installed face
    int cellHeight = 0;  // ascent + descent at the size chosen
    int factor = 1;      // a bitmap face's whole-number enlargement
};
FaceSource DescribeFontFace(HFONT font);

}  // namespace platform
