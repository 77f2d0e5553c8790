// Installed faces found by reading folders (where there is no font service): what a folder
// holds, and which face a request gets.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/fs/path.h"
#include "platform/gdi/face_folders.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::gdi::ChooseClosestFace;
using platform::gdi::ChooseFamilyFace;
using platform::gdi::FolderFace;
using platform::gdi::Match;
using platform::gdi::ScanFaceFolder;

FolderFace Face(const char* file, const char* family, int weight, bool italic, bool scalable) {
    FolderFace f;
    f.file = file;
    f.family = family;
    f.weight = weight;
    f.italic = italic;
    f.scalable = scalable;
    return f;
}

const std::vector<FolderFace> FACES = {
    Face("arial.ttf", "Arial", 400, false, true),
    Face("arialbd.ttf", "Arial", 700, false, true),
    Face("ariali.ttf", "Arial", 400, true, true),
    Face("tahoma.ttf", "Tahoma", 400, false, true),
    Face("vik.fon", "Viking", 400, false, false),
    Face("other/arial.ttf", "Arial", 400, false, true),
};

// Catches a folder scan that loses faces, lists a file that is no face, reads a face's
// family wrongly, or depends on the order the system lists files in.
TEST(FaceFolders, ScanReadsEveryFaceAndNothingElse) {
    const std::filesystem::path dir = testsupport::MakeTempFolder("vorla_faces_");
    ASSERT_FALSE(dir.empty());
    const std::filesystem::path shipped = std::filesystem::path(VORLA_SHIPPED_FACES);
    for (const char* name : {"viking-28.bdf", "vorla-sans-13.bdf", "viking-20.bdf"}) {
        std::filesystem::copy_file(shipped / name, dir / name);
    }
    std::ofstream(dir / "notes.ttf") << "not a face";
    std::filesystem::create_directory(dir / "sub.ttf");
    const std::vector<FolderFace> faces = ScanFaceFolder(dir.string());
    std::filesystem::remove_all(dir);

    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(platform::fs::NameOf(faces[0].file), "viking-20.bdf");
    EXPECT_EQ(platform::fs::NameOf(faces[1].file), "viking-28.bdf");
    EXPECT_EQ(platform::fs::NameOf(faces[2].file), "vorla-sans-13.bdf");
    EXPECT_EQ(faces[0].family, "Viking");
    EXPECT_EQ(faces[0].weight, 700) << "a bold face";
    EXPECT_EQ(faces[2].family, "Vorla Sans");
    EXPECT_EQ(faces[2].weight, 400);
    EXPECT_FALSE(faces[2].scalable);
    EXPECT_FALSE(faces[2].italic);
    EXPECT_TRUE(ScanFaceFolder((dir / "gone").string()).empty());
}

// Catches a family matched with regard to case, the wrong weight or slant chosen among a
// family's faces, and a later folder's face winning over an earlier one's.
TEST(FaceFolders, FamilyFaceClosestInWeightAndSlant) {
    Match m;
    ASSERT_TRUE(ChooseFamilyFace(FACES, "ARIAL", 400, false, m));
    EXPECT_EQ(m.file, "arial.ttf") << "the first of two equal faces";
    EXPECT_TRUE(m.familyFound);
    ASSERT_TRUE(ChooseFamilyFace(FACES, "Arial", 800, false, m));
    EXPECT_EQ(m.file, "arialbd.ttf");
    EXPECT_EQ(m.weight, 700);
    ASSERT_TRUE(ChooseFamilyFace(FACES, "Arial", 700, true, m));
    EXPECT_EQ(m.file, "ariali.ttf") << "slant counts for more than weight";
    EXPECT_TRUE(m.italic);
    EXPECT_FALSE(ChooseFamilyFace(FACES, "Courier New", 400, false, m));
}

// Catches an unknown name that gets no face while faces exist, stand-ins taken out of
// their order or from bitmap faces, and a stand-in reported as the family asked for.
TEST(FaceFolders, ClosestFaceFallsBackThroughTheStandIns) {
    Match m;
    ASSERT_TRUE(ChooseClosestFace(FACES, "Viking", 400, false, {"Tahoma"}, m));
    EXPECT_EQ(m.file, "vik.fon") << "the family itself, bitmap or not";
    EXPECT_TRUE(m.familyFound);
    ASSERT_TRUE(
        ChooseClosestFace(FACES, "Courier New", 400, false, {"Verdana", "Tahoma", "Arial"}, m));
    EXPECT_EQ(m.file, "tahoma.ttf");
    EXPECT_FALSE(m.familyFound);
    ASSERT_TRUE(ChooseClosestFace(FACES, "Courier New", 400, false, {"Verdana"}, m));
    EXPECT_EQ(m.file, "arial.ttf") << "the first scalable face";
    EXPECT_FALSE(ChooseClosestFace({FACES[4]}, "Courier New", 400, false, {"Viking"}, m))
        << "a bitmap face is no stand-in";
    EXPECT_FALSE(ChooseClosestFace({}, "Arial", 400, false, {"Arial"}, m));
}

}  // namespace
