// No installed faces: a web page has no fonts of the machine to read, so the faces
// embedded in the program draw every name, stand-ins included.
#include <string>

#include "platform/gdi/font_match.h"
#include "platform/gdi/fonts.h"

namespace platform::gdi {

bool FindInstalled(const char*, int, bool, double, Match&) {
    return false;
}

bool MatchFace(const char*, int, bool, double, Match&) {
    return false;
}

}  // namespace platform::gdi

namespace platform {

bool RegisterFontFolder(const std::string&) {
    return false;
}

}  // namespace platform
