// The contract every implementation of the file-system interface keeps; the code above
// it relies on each of these.
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "platform/fs/fs.h"
#include "platform/fs/path.h"

namespace {

namespace fs = platform::fs;
namespace stdfs = std::filesystem;
using filetest::FsPath;
using filetest::ReadText;
using filetest::TempFolder;
using filetest::WriteText;

class FsTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(dir.Path().empty()); }
    TempFolder dir;
};

// Catches sharing that doesn't conflict across handles, that waits, that outlives Close,
// or a refused opener that is handed a handle anyway.
TEST_F(FsTest, SharingConflictsWithoutWaitingAndEndsWithTheHandle) {
    if (!filetest::FILES_TAKE_LOCKS) {
        GTEST_SKIP() << filetest::NO_LOCKS;
    }
    WriteText(dir / "f", "x");
    fs::Handle one = fs::NO_HANDLE, two = fs::NO_HANDLE, three = fs::NO_HANDLE;
    ASSERT_EQ(fs::Open(dir / "f", fs::OPEN_READ | fs::OPEN_DENY_WRITE, 0, one), 0);
    ASSERT_EQ(fs::Open(dir / "f", fs::OPEN_READ | fs::OPEN_DENY_WRITE, 0, two), 0)
        << "readers share";
    EXPECT_EQ(fs::Open(dir / "f", fs::OPEN_READ | fs::OPEN_DENY_ALL, 0, three), EWOULDBLOCK);
    EXPECT_EQ(three, fs::NO_HANDLE);
    EXPECT_EQ(fs::Close(one), 0);
    EXPECT_EQ(fs::Open(dir / "f", fs::OPEN_WRITE | fs::OPEN_DENY_ALL, 0, three), EWOULDBLOCK)
        << "one reader still holds it";
    EXPECT_EQ(fs::Close(two), 0);
    ASSERT_EQ(fs::Open(dir / "f", fs::OPEN_READ | fs::OPEN_WRITE | fs::OPEN_DENY_ALL, 0, three), 0);
    fs::Handle four = fs::NO_HANDLE;
    EXPECT_EQ(fs::Open(dir / "f", fs::OPEN_READ | fs::OPEN_DENY_WRITE, 0, four), EWOULDBLOCK);
    EXPECT_EQ(fs::Close(three), 0);
    ASSERT_EQ(fs::Open(dir / "f", fs::OPEN_READ | fs::OPEN_DENY_WRITE, 0, four), 0);
    EXPECT_EQ(fs::Close(four), 0);
}

// Catches an exclusive create that takes over a name that exists, a create that
// truncates, a failed open that reports success, and a status that misreads the kind,
// the size or the file's identity.
TEST_F(FsTest, CreateOpenAndStatus) {
    WriteText(dir / "file", "12345");
    stdfs::create_directory(FsPath(dir / "sub"));
    fs::Handle h = fs::NO_HANDLE;
    const uint32_t exclusive = fs::OPEN_WRITE | fs::OPEN_CREATE | fs::OPEN_EXCLUSIVE;
    EXPECT_EQ(fs::Open(dir / "file", exclusive, 0600, h), EEXIST);
    EXPECT_EQ(fs::Open(dir / "sub", exclusive, 0600, h), EEXIST);
    EXPECT_EQ(h, fs::NO_HANDLE);
    EXPECT_EQ(fs::Open(dir / "missing", fs::OPEN_READ, 0, h), ENOENT);
    EXPECT_EQ(fs::Open(dir / "nofolder/x", fs::OPEN_WRITE | fs::OPEN_CREATE, 0666, h), ENOENT);
    EXPECT_EQ(ReadText(dir / "file"), "12345");

    ASSERT_EQ(fs::Open(dir / "file", fs::OPEN_READ | fs::OPEN_WRITE | fs::OPEN_CREATE, 0666, h), 0);
    fs::Status byHandle, byPath, folder;
    ASSERT_EQ(fs::StatusOf(h, byHandle), 0);
    EXPECT_EQ(fs::Close(h), 0);
    ASSERT_EQ(fs::StatusOf(dir / "file", true, byPath), 0);
    ASSERT_EQ(fs::StatusOf(dir / "sub", false, folder), 0);
    EXPECT_EQ(byHandle.kind, fs::Kind::Regular);
    EXPECT_EQ(byHandle.size, 5u) << "opening with OPEN_CREATE must not truncate";
    EXPECT_EQ(byHandle.links, 1u);
    EXPECT_TRUE(fs::SameFile(byHandle, byPath));
    EXPECT_EQ(folder.kind, fs::Kind::Folder);
    EXPECT_FALSE(fs::SameFile(byPath, folder));
    EXPECT_NE(byPath.permissions & 0200, 0u) << "a file we may write says so";
    EXPECT_EQ(fs::StatusOf(dir / "none", false, byPath), ENOENT);
    EXPECT_EQ(fs::CheckWritable(dir / "none"), ENOENT);
    EXPECT_EQ(fs::CheckWritable(dir / "file"), 0);

    // A created file without write permission for anyone is read-only from then on.
    ASSERT_EQ(fs::Open(dir / "ro", exclusive, 0444, h), 0);
    size_t done = 0;
    EXPECT_EQ(fs::Write(h, "ab", 2, done), 0) << "its creator may write";
    EXPECT_EQ(fs::Close(h), 0);
    EXPECT_EQ(fs::StatusOf(dir / "ro", true, byPath), 0);
    EXPECT_EQ(byPath.permissions & 0222, 0u);
    EXPECT_EQ(byPath.size, 2u);
}

// Catches a reservation that changes what is there, a size change that loses data, and
// a rename that does not replace.
TEST_F(FsTest, ReserveSizeSyncAndRename) {
    std::string path = dir / "r";
    WriteText(path, "abc");
    fs::Handle h = fs::NO_HANDLE;
    ASSERT_EQ(fs::Open(path, fs::OPEN_READ | fs::OPEN_WRITE, 0, h), 0);
    int reserved = fs::Reserve(h, 3, 5);
    if (reserved == 0) {
        EXPECT_EQ(ReadText(path), std::string("abc\0\0\0\0\0", 8));
    } else {
        EXPECT_EQ(reserved, EOPNOTSUPP) << "the only failure a file system may give";
        EXPECT_EQ(ReadText(path), "abc") << "an unsupported reservation changes nothing";
    }
    EXPECT_EQ(fs::SetSize(h, 2), 0);
    uint64_t end = 0;
    EXPECT_EQ(fs::Seek(h, 0, fs::SEEK_FROM_END, end), 0);
    EXPECT_EQ(end, 2u);
    EXPECT_EQ(fs::Seek(h, -5, fs::SEEK_FROM_BEGIN, end), EINVAL);
    EXPECT_EQ(fs::Sync(h), 0);
    EXPECT_EQ(fs::Close(h), 0);
    EXPECT_EQ(ReadText(path), "ab");

    WriteText(dir / "s", "new");
    EXPECT_EQ(fs::Rename(dir / "s", path), 0);
    EXPECT_EQ(ReadText(path), "new");
    EXPECT_EQ(fs::Rename(dir / "s", path), ENOENT);
    EXPECT_EQ(ReadText(path), "new") << "a failed rename leaves the target alone";
    EXPECT_EQ(fs::SyncFolder(dir.Path()), 0);
    EXPECT_EQ(fs::SyncFolder(dir / "gone"), ENOENT);
    EXPECT_EQ(fs::Remove(path), 0);
    EXPECT_EQ(fs::Remove(path), ENOENT);
}

// Catches a listing that includes "." or "..", loses dot files, succeeds on what is not a
// folder, and an executable path that is not this program.
TEST_F(FsTest, FolderListingAndTheProgramsOwnPath) {
    WriteText(dir / "a.vrz", "x");
    WriteText(dir / ".hidden", "x");
    stdfs::create_directory(FsPath(dir / "sub"));
    std::vector<std::string> names;
    ASSERT_EQ(fs::ListFolder(dir.Path(), names), 0);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "a.vrz", "sub"}));
    EXPECT_EQ(fs::ListFolder(dir / "missing", names), ENOENT);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(fs::ListFolder(dir / "a.vrz", names), ENOTDIR);

    const std::string self = fs::ExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_TRUE(fs::IsAbsolute(self)) << self;
    EXPECT_EQ(fs::NameOf(self).rfind("platform_file_tests", 0), 0u) << self;
    fs::Status st;
    EXPECT_EQ(fs::StatusOf(self, true, st), 0);
    EXPECT_EQ(st.kind, fs::Kind::Regular);
    EXPECT_TRUE(fs::IsAbsolute(fs::CurrentFolder()));
}

// Catches names outside ASCII mangled on their way to the system: the file made must be
// found again by its name, and listed under it.
TEST_F(FsTest, NamesAreUtf8) {
    const std::string name =
        "sv\xC4\x9Bt \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD.vrz";  // svět žluťoučký
    fs::Handle h = fs::NO_HANDLE;
    ASSERT_EQ(fs::Open(dir / name, fs::OPEN_WRITE | fs::OPEN_CREATE | fs::OPEN_EXCLUSIVE, 0666, h),
              0);
    size_t done = 0;
    EXPECT_EQ(fs::Write(h, "ok", 2, done), 0);
    EXPECT_EQ(fs::Close(h), 0);
    std::vector<std::string> names;
    ASSERT_EQ(fs::ListFolder(dir.Path(), names), 0);
    EXPECT_EQ(names, std::vector<std::string>{name});
    EXPECT_EQ(ReadText(dir / name), "ok");
    fs::Status st;
    EXPECT_EQ(fs::StatusOf(dir / name, true, st), 0);
    EXPECT_EQ(st.size, 2u);
}

// Catches an error text that is not the system's familiar words, which the file-error
// message puts on its second line.
TEST_F(FsTest, ErrorTexts) {
    EXPECT_EQ(fs::ErrorText(ENOENT), "No such file or directory");
    EXPECT_EQ(fs::ErrorText(EACCES), "Permission denied");
    EXPECT_EQ(fs::ErrorText(ENOSPC), "No space left on device");
    for (int err : {EWOULDBLOCK, ELOOP, EOPNOTSUPP, fs::QUOTA_ERROR}) {
        EXPECT_EQ(fs::ErrorText(err).find("Unknown"), std::string::npos) << err;
    }
}

}  // namespace
