// Installed faces found by reading folders of face files with FreeType, for systems where
// no font service answers the question: each face's family, weight and slant, and the
// closest face to a request.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/face_match.h"

namespace platform::gdi {

struct FolderFace {
    std::string file;
    int index = 0;  // the face within a collection
    std::string family;
    int weight = 400;
    bool italic = false;
    bool scalable = false;
};

// Every face FreeType can open in the folder (not its sub-folders), in name order.
std::vector<FolderFace> ScanFaceFolder(const std::string& folder);

// The face of exactly that family whose weight and slant come closest; the earlier face
// wins a tie, so folders listed first are preferred. False when the family is not there.
bool ChooseFamilyFace(const std::vector<FolderFace>& faces, const std::string& family, int weight,
                      bool italic, Match& out);

// The family's face, else one of the stand-in families in their order, else the first
// scalable face; familyFound tells which. False when there is no scalable face at all.
bool ChooseClosestFace(const std::vector<FolderFace>& faces, const std::string& family, int weight,
                       bool italic, const std::vector<std::string>& standIns, Match& out);

}  // namespace platform::gdi
