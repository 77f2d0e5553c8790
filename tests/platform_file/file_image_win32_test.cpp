// Whole-file saves and loads where only Windows can show it: the replaced file's
// attributes, devices, drive paths, and files another program holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_image_test_support.h"
#include "file_test_support.h"
#include "platform/afx/file.h"
#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "win32_test_support.h"

namespace {

namespace fs = platform::fs;
using filetest::Names;
using filetest::ReadText;
using filetest::TempFolder;
using filetest::WriteText;
using namespace fileimage;

class FileImageWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir.Path().empty());
        platform::ClearFileFaults();
    }
    TempFolder dir;
};

// Catches a save that drops what the user set on the file (the temporary taking its place
// as a new file would).
TEST_F(FileImageWin32Test, ReplacementKeepsTheFilesAttributes) {
    const std::string path = dir / "hidden.vrz";
    WriteText(path, "old");
    ASSERT_TRUE(wintest::SetHidden(path));
    EXPECT_EQ(Save(path), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_TRUE(wintest::IsHidden(path));
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"hidden.vrz"});
}

// Catches a device name taken for a file: a save to "NUL" would report success and keep
// nothing, a load would read it for ever.
TEST_F(FileImageWin32Test, DevicesAreRefused) {
    const std::string nul = platform::FullPathOf("NUL");
    EXPECT_EQ(Save("NUL"), Denied(nul, platform::NOT_A_REGULAR_FILE));
    EXPECT_EQ(Load("NUL"), Denied(nul, platform::NOT_A_REGULAR_FILE));
}

// Catches a drive path taken as relative (the save went under the current folder) and a
// path from the root of the current drive that lost its drive in the message.
TEST_F(FileImageWin32Test, DrivePathsSaveAndLoadWhereTheySay) {
    std::string forward = dir / "fwd.vrz";
    for (char& c : forward) {
        if (c == '\\')
            c = '/';
    }
    EXPECT_EQ(Save(forward), "ok");
    EXPECT_EQ(Load(dir / "fwd.vrz"), "ok:" + IMAGE);

    // From the root of the current folder's drive: "\users\...".
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(filetest::FsPath(dir.Path()));
    const std::string rootRelative = dir.Path().substr(2) + "\\rooted.vrz";
    const std::string missing = dir.Path().substr(2) + "\\none\\x.vrz";
    const std::string saveOutcome = Save(rootRelative);
    const std::string loadOutcome = Load(missing);
    std::filesystem::current_path(saved);
    EXPECT_EQ(saveOutcome, "ok");
    EXPECT_EQ(ReadText(dir / "rooted.vrz"), IMAGE);
    EXPECT_EQ(loadOutcome, NotFound(dir / "none/x.vrz")) << "the message names the drive too";
}

// Catches a save over a file another program holds that harms the old file when it fails,
// or leaves anything of its own behind either way. (Windows refuses to replace a file held
// without FILE_SHARE_DELETE; wine lets the holder keep the old file and replaces the name.)
TEST_F(FileImageWin32Test, FileHeldByAnotherProgramIsReplacedWholeOrKept) {
    const std::string path = dir / "held.vrz";
    WriteText(path, "the old world");
    intptr_t held = wintest::HoldOpen(path, {.read = true, .write = true});
    ASSERT_NE(held, -1);
    const std::string outcome = Save(path);
    wintest::Release(held);
    if (outcome == "ok") {
        EXPECT_EQ(ReadText(path), IMAGE);
    } else {
        EXPECT_NE(outcome.find(path), std::string::npos) << outcome;
        EXPECT_EQ(ReadText(path), "the old world");
    }
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"held.vrz"});

    held = wintest::HoldOpen(path, {});
    ASSERT_NE(held, -1);
    EXPECT_EQ(Load(path), Unexpected(path, fs::ErrorText(EWOULDBLOCK)));
    wintest::Release(held);
}

}  // namespace
