// Installed faces on Windows, where there is no fontconfig: the faces in the system's and
// the user's fonts folders, read once. Our shipped faces come first here: the folders
// serve only names we don't ship, so no installed face replaces ours, and the folders are
// read only when such a name is asked for.
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "platform/gdi/face_folders.h"
#include "platform/gdi/font_match.h"
#include "platform/gdi/fonts.h"

namespace platform::gdi {

namespace {

// What Windows itself draws a name it doesn't know with, roughly in its order.
const std::vector<std::string> STAND_INS = {
    "Arial",   "Microsoft Sans Serif", "Tahoma",         "Segoe UI",
    "Verdana", "DejaVu Sans",          "Liberation Sans"};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

struct Folders {
    std::vector<std::string> registered;  // first, in the order they were registered
    std::vector<FolderFace> faces;
    bool scanned = false;
};

Folders& Known() {
    static Folders folders;
    return folders;
}

std::vector<std::string> SystemFolders() {
    std::vector<std::string> out;
    std::string windows = Environment("WINDIR");
    if (windows.empty()) {
        windows = Environment("SystemRoot");
    }
    if (!windows.empty()) {
        out.push_back(fs::Join(windows, "Fonts"));
    }
    const std::string local = Environment("LOCALAPPDATA");
    if (!local.empty()) {
        out.push_back(fs::Join(fs::Join(fs::Join(local, "Microsoft"), "Windows"), "Fonts"));
    }
    return out;
}

const std::vector<FolderFace>& Faces() {
    Folders& k = Known();
    if (!k.scanned) {
        k.scanned = true;
        std::vector<std::string> folders = k.registered;
        const std::string shipped = ShippedFontFolder();
        if (!shipped.empty()) {
            folders.push_back(shipped);
        }
        for (const std::string& f : SystemFolders()) {
            folders.push_back(f);
        }
        for (const std::string& folder : folders) {
            std::vector<FolderFace> more = ScanFaceFolder(folder);
            k.faces.insert(k.faces.end(), more.begin(), more.end());
        }
    }
    return k.faces;
}

}  // namespace

bool FindInstalled(const char*, int, bool, double, Match&) {
    return false;
}

bool MatchFace(const char* family, int weight, bool italic, double, Match& out) {
    return ChooseClosestFace(Faces(), family, weight, italic, STAND_INS, out);
}

}  // namespace platform::gdi

namespace platform {

bool RegisterFontFolder(const std::string& folder) {
    fs::Status st;
    if (folder.empty() || fs::StatusOf(folder, true, st) != 0 || st.kind != fs::Kind::Folder) {
        return false;
    }
    gdi::Folders& k = gdi::Known();
    k.registered.push_back(folder);
    if (k.scanned) {
        // Registered folders come before the system's: put the new faces in front.
        std::vector<gdi::FolderFace> faces = gdi::ScanFaceFolder(folder);
        faces.insert(faces.end(), k.faces.begin(), k.faces.end());
        k.faces = std::move(faces);
    }
    return true;
}

}  // namespace platform
