// The file-system interface where only Windows can show it: share modes that bind every
// opener, renames that keep what belongs to the file, devices, drive paths.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "file_test_support.h"
#include "platform/fs/fs.h"
#include "platform/fs/path.h"
#include "win32_test_support.h"

namespace {

namespace fs = platform::fs;
using filetest::ReadText;
using filetest::TempFolder;
using filetest::WriteText;

class FsWin32Test : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir.Path().empty()); }
    TempFolder dir;
};

// Catches sharing that binds only openers who ask for it, as POSIX locks do: here a
// program that shares nothing keeps every other opener out, and one that denies writing
// keeps writers out whatever they asked for.
TEST_F(FsWin32Test, ShareModesBindEveryOpener) {
    const std::string path = dir / "held.vrz";
    WriteText(path, "x");
    fs::Handle h = fs::NO_HANDLE;
    ASSERT_EQ(fs::Open(path, fs::OPEN_READ | fs::OPEN_DENY_WRITE, 0, h), 0);
    fs::Handle other = fs::NO_HANDLE;
    EXPECT_EQ(fs::Open(path, fs::OPEN_WRITE, 0, other), EWOULDBLOCK);
    ASSERT_EQ(fs::Open(path, fs::OPEN_READ, 0, other), 0) << "readers are still let in";
    EXPECT_EQ(fs::Close(other), 0);
    EXPECT_EQ(fs::Close(h), 0);

    intptr_t held = wintest::HoldOpen(path, {});
    ASSERT_NE(held, -1);
    EXPECT_EQ(fs::Open(path, fs::OPEN_READ, 0, h), EWOULDBLOCK);
    wintest::Release(held);
    ASSERT_EQ(fs::Open(path, fs::OPEN_READ, 0, h), 0);
    EXPECT_EQ(fs::Close(h), 0);
}

// Catches a rename that makes the replacement a new file (losing what the user set on the
// old one), and one that goes ahead over a file another program holds.
TEST_F(FsWin32Test, RenameKeepsTheReplacedFilesAttributes) {
    const std::string target = dir / "kept.vrz";
    WriteText(target, "old");
    ASSERT_TRUE(wintest::SetHidden(target));
    WriteText(dir / "new", "new");
    EXPECT_EQ(fs::Rename(dir / "new", target), 0);
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_TRUE(wintest::IsHidden(target)) << "the user's attribute was dropped";

    WriteText(dir / "newer", "newer");
    intptr_t held = wintest::HoldOpen(target, {.read = true, .write = true});
    ASSERT_NE(held, -1);
    EXPECT_NE(fs::Rename(dir / "newer", target), 0);
    wintest::Release(held);
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_EQ(ReadText(dir / "newer"), "newer");
}

// Catches a device taken for a file (loading "NUL" would read nothing for ever), paths
// with a drive and either separator refused, and the executable's path without its drive.
TEST_F(FsWin32Test, DevicesAndDrivePaths) {
    fs::Status st;
    ASSERT_EQ(fs::StatusOf("NUL", true, st), 0);
    EXPECT_EQ(st.kind, fs::Kind::Other);

    std::string forward = dir.Path();
    for (char& c : forward) {
        if (c == '\\')
            c = '/';
    }
    ASSERT_EQ(fs::RootLength(forward), 3u) << forward;
    fs::Handle h = fs::NO_HANDLE;
    ASSERT_EQ(fs::Open(forward + "/f.vrz", fs::OPEN_WRITE | fs::OPEN_CREATE, 0666, h), 0);
    EXPECT_EQ(fs::Close(h), 0);
    EXPECT_EQ(fs::StatusOf(dir / "f.vrz", true, st), 0);
    EXPECT_EQ(st.kind, fs::Kind::Regular);

    WriteText(dir / "plain", "x");
    EXPECT_EQ(fs::Open(dir / "plain/under", fs::OPEN_READ, 0, h), ENOENT);
    EXPECT_EQ(fs::Open(dir.Path(), fs::OPEN_READ, 0, h), EISDIR);
    EXPECT_EQ(fs::Remove(dir.Path()), EISDIR);

    const std::string self = fs::ExecutablePath();
    EXPECT_EQ(fs::RootLength(self), 3u) << self;
    EXPECT_EQ(self.substr(self.size() - 4), ".exe");
}

}  // namespace
