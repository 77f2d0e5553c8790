// The font matcher under fontconfig configurations of our own. CTest runs each suite with
// FONTCONFIG_FILE set, and VORLA_FONT_ENV naming the configuration; elsewhere they skip.
#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/fonts.h"
#include "platform/gdi/gdi.h"

using platform::FaceSource;

namespace {

bool Under(const char* env) {
    const char* e = std::getenv("VORLA_FONT_ENV");
    return e != nullptr && std::strcmp(e, env) == 0;
}

#define REQUIRE_FONT_ENV(env)                                                  \
    if (!Under(env)) {                                                         \
        GTEST_SKIP() << "runs under the \"" env "\" fontconfig configuration"; \
    }

HFONT Face(const char* name, int height) {
    return CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, name);
}

FaceSource Describe(const char* name, int height) {
    HFONT f = Face(name, height);
    FaceSource s = platform::DescribeFontFace(f);
    DeleteObject(f);
    return s;
}

// The files fontconfig knows for a family ("" for every face).
std::vector<std::string> Files(const char* family) {
    std::vector<std::string> files;
    FcPattern* pattern = FcPatternCreate();
    if (family[0] != '\0') {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    }
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set != nullptr && i < set->nfont; ++i) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch) {
            files.emplace_back(reinterpret_cast<const char*>(file));
        }
    }
    if (set != nullptr) {
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return files;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Catches text that depends on the machine's faces: with fontconfig knowing no face at
// all, the names the program uses still get their faces, and any other name gets the
// dialog face rather than no font.
TEST(OnlyOurFaces, EveryNameGetsAShippedFace) {
    REQUIRE_FONT_ENV("only-ours");
    FaceSource viking = Describe("Viking", 20);
    EXPECT_EQ(viking.kind, FaceSource::SHIPPED);
    EXPECT_EQ(viking.family, "Viking");
    EXPECT_EQ(Describe("Viking", 28).cellHeight, 28);
    FaceSource dialog = Describe("MS Sans Serif", -11);
    EXPECT_EQ(dialog.kind, FaceSource::SHIPPED);
    EXPECT_EQ(dialog.family, platform::DIALOG_FACE_FAMILY);
    FaceSource other = Describe("Courier New", 16);
    EXPECT_EQ(other.kind, FaceSource::SHIPPED);
    EXPECT_EQ(other.family, platform::DIALOG_FACE_FAMILY);
    EXPECT_TRUE(Files("").empty()) << "fontconfig knows a face: the configuration is not in force";
}

// Catches our own face beating a "Viking" the user installed.
TEST(UserFaces, AUserVikingWinsOverOurs) {
    REQUIRE_FONT_ENV("user");
    FaceSource s = Describe("Viking", 20);
    EXPECT_EQ(s.kind, FaceSource::INSTALLED);
    EXPECT_TRUE(EndsWith(s.file, "/viking-user.bdf")) << s.file;
    EXPECT_EQ(s.cellHeight, 16) << "the user's only strike";
}

// Catches a dialog name reaching an installed face of that name before our substitution:
// the templates' layout needs our dialog face, whatever the machine has.
TEST(UserFaces, AnInstalledMsSansSerifDoesNotReplaceOurDialogFace) {
    REQUIRE_FONT_ENV("user");
    FaceSource s = Describe("MS Sans Serif", -11);
    ASSERT_FALSE(Files("MS Sans Serif").empty()) << "the user's face must be visible";
    EXPECT_EQ(s.kind, FaceSource::SHIPPED);
    EXPECT_EQ(s.family, platform::DIALOG_FACE_FAMILY);
}

// Catches our families lost to a rule that refuses bitmap faces, and our own registered
// folder taken for an installed face (which would hide a user's "Viking" behind ours).
TEST(RefusedBitmaps, OurFamiliesPassAndOurFolderIsNotInstalled) {
    REQUIRE_FONT_ENV("no-bitmaps");
    FaceSource before = Describe("Viking", 20);
    EXPECT_EQ(before.kind, FaceSource::INSTALLED) << "a bitmap face of one of our families";
    EXPECT_TRUE(EndsWith(before.file, "/viking-user.bdf")) << before.file;
    EXPECT_TRUE(Files("MS Sans Serif").empty()) << "other bitmap faces stay refused";

    ASSERT_TRUE(platform::RegisterFontFolder(VORLA_SHIPPED_FACES));
    bool listed = false;
    for (const std::string& file : Files(platform::DIALOG_FACE_FAMILY)) {
        listed = listed || EndsWith(file, "/vorla-sans-13.bdf");
    }
    EXPECT_TRUE(listed) << "fontconfig must know the registered folder's faces";

    FaceSource dialog = Describe("MS Sans Serif", -11);
    EXPECT_EQ(dialog.kind, FaceSource::SHIPPED);
    FaceSource after = Describe("Viking", 20);
    EXPECT_EQ(after.kind, FaceSource::INSTALLED);
    EXPECT_TRUE(EndsWith(after.file, "/viking-user.bdf")) << after.file;
    EXPECT_FALSE(platform::RegisterFontFolder(std::string(VORLA_SHIPPED_FACES) + "/none"));
}

}  // namespace
