// The file-system interface's contract where only POSIX systems can show it: links,
// FIFOs, permission bits, hard links.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "platform/fs/fs.h"
#include "posix_test_support.h"

namespace {

namespace fs = platform::fs;
namespace stdfs = std::filesystem;
using filetest::InChild;
using filetest::ReadText;
using filetest::TempFolder;
using filetest::WriteText;

class FsPosixTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir.Path().empty()); }
    TempFolder dir;
};

// Catches an exclusive create that follows a link (and so writes where it leads), or
// takes over a name that exists; and a no-follow open that follows.
TEST_F(FsPosixTest, ExclusiveCreateAndNoFollowNeverGoThroughALink) {
    stdfs::create_symlink(dir / "target", dir / "dangling");
    WriteText(dir / "file", "x");
    stdfs::create_symlink(dir / "file", dir / "link");
    fs::Handle h = fs::NO_HANDLE;
    const uint32_t exclusive = fs::OPEN_WRITE | fs::OPEN_CREATE | fs::OPEN_EXCLUSIVE;
    EXPECT_EQ(fs::Open(dir / "dangling", exclusive, 0600, h), EEXIST);
    EXPECT_FALSE(stdfs::exists(dir / "target"));
    EXPECT_EQ(fs::Open(dir / "file", exclusive, 0600, h), EEXIST);
    EXPECT_EQ(h, fs::NO_HANDLE);
    EXPECT_EQ(fs::Open(dir / "link", fs::OPEN_WRITE | fs::OPEN_NO_FOLLOW, 0, h), ELOOP);
    EXPECT_EQ(fs::Open(dir / "missing", fs::OPEN_READ, 0, h), ENOENT);
    EXPECT_EQ(ReadText(dir / "file"), "x");
}

// Catches an open that waits for the other end of a FIFO. The child's deadline turns a
// hang into a failure.
TEST_F(FsPosixTest, NoWaitOpensOfAFifoReturnAtOnce) {
    std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string outcome = InChild([&] {
        fs::Handle reader = fs::NO_HANDLE, writer = fs::NO_HANDLE;
        int r = fs::Open(fifo, fs::OPEN_READ | fs::OPEN_NO_WAIT, 0, reader);
        fs::Status st;
        fs::StatusOf(reader, st);
        fs::Close(reader);
        int w = fs::Open(fifo, fs::OPEN_WRITE | fs::OPEN_NO_WAIT, 0, writer);
        return std::to_string(r) + " " + std::to_string(int(st.kind)) + " " + std::to_string(w);
    });
    // A writer with no reader is refused, not left waiting.
    EXPECT_EQ(outcome, "0 " + std::to_string(int(fs::Kind::Other)) + " " + std::to_string(ENXIO));
}

// Catches status that follows a link when asked not to, or that misreads the kind, the
// permission bits, the link count or the file's identity.
TEST_F(FsPosixTest, StatusTellsKindsLinksAndIdentity) {
    WriteText(dir / "a", "12345");
    ASSERT_EQ(::chmod((dir / "a").c_str(), 02751), 0);
    ASSERT_EQ(::link((dir / "a").c_str(), (dir / "b").c_str()), 0);
    stdfs::create_symlink("a", dir / "l");
    fs::Status a, b, l, followed, folder;
    ASSERT_EQ(fs::StatusOf(dir / "a", false, a), 0);
    ASSERT_EQ(fs::StatusOf(dir / "b", false, b), 0);
    ASSERT_EQ(fs::StatusOf(dir / "l", false, l), 0);
    ASSERT_EQ(fs::StatusOf(dir / "l", true, followed), 0);
    ASSERT_EQ(fs::StatusOf(dir.Path(), false, folder), 0);
    EXPECT_EQ(a.kind, fs::Kind::Regular);
    EXPECT_EQ(a.size, 5u);
    EXPECT_EQ(a.permissions, 02751u);
    EXPECT_EQ(a.links, 2u);
    EXPECT_TRUE(fs::SameFile(a, b));
    EXPECT_EQ(l.kind, fs::Kind::Link);
    EXPECT_FALSE(fs::SameFile(a, l));
    EXPECT_TRUE(fs::SameFile(a, followed));
    EXPECT_EQ(folder.kind, fs::Kind::Folder);
    std::string target;
    EXPECT_EQ(fs::ReadLink(dir / "l", target), 0);
    EXPECT_EQ(target, "a") << "relative targets stay as written";
    EXPECT_EQ(fs::StatusOf(dir / "none", false, a), ENOENT);
    EXPECT_EQ(fs::CheckWritable(dir / "none"), ENOENT);
    EXPECT_EQ(fs::ErrorText(ENOENT), "No such file or directory");
}

}  // namespace

// Catches a listing that includes "." or "..", loses dot files or links, succeeds on a
// folder that can't be read, or an executable path that is not this program.
TEST_F(FsPosixTest, FolderListingAndTheProgramsOwnPath) {
    WriteText(dir / "a.vrz", "x");
    WriteText(dir / ".hidden", "x");
    stdfs::create_directory(dir / "sub");
    stdfs::create_symlink(dir / "a.vrz", dir / "link");
    std::vector<std::string> names;
    ASSERT_EQ(fs::ListFolder(dir.Path(), names), 0);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.vrz", "link", "sub"}));
    EXPECT_EQ(fs::ListFolder(dir / "missing", names), ENOENT);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(fs::ListFolder(dir / "a.vrz", names), ENOTDIR);

    const std::string self = fs::ExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(stdfs::equivalent(self, "/proc/self/exe"));
}
