// Whole-file saves and loads as every system gives them.
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_image_test_support.h"
#include "file_test_support.h"
#include "platform/afx/file.h"
#include "platform/afx/file_image.h"
#include "platform/fs/fs.h"

namespace {

namespace fs = platform::fs;
namespace stdfs = std::filesystem;
using filetest::FsPath;
using filetest::Names;
using filetest::ReadText;
using filetest::TempFolder;
using filetest::WriteText;
using platform::FileOp;
using namespace fileimage;

class FileImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir.Path().empty());
        platform::ClearFileFaults();
        platform::SetTemporaryNames({});
    }
    void TearDown() override {
        platform::ClearFileFaults();
        platform::SetTemporaryNames({});
    }

    TempFolder dir;
};

// Catches an incomplete file, or a temporary left beside it, for a new file and for one
// replaced.
TEST_F(FileImageTest, SavedFileIsCompleteWithNothingBeside) {
    std::string path = dir / "w.vrz";
    EXPECT_EQ(Save(path), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    WriteText(dir / "old.vrz", std::string(9000, 'o'));
    EXPECT_EQ(Save(dir / "old.vrz"), "ok");
    EXPECT_EQ(ReadText(dir / "old.vrz"), IMAGE) << "a shorter image leaves no stale tail";
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"old.vrz", "w.vrz"}));
}

// Catches a read-only file replaced (by a user the system lets through, or by a rename that
// needs only the folder) instead of being refused.
TEST_F(FileImageTest, ReadOnlyFileIsRefusedAndKept) {
    std::string path = dir / "ro.vrz";
    WriteText(path, "precious");
    stdfs::permissions(FsPath(path), stdfs::perms::owner_read | stdfs::perms::group_read |
                                         stdfs::perms::others_read);
    EXPECT_EQ(Save(path), Denied(path, fs::ErrorText(EACCES)));
    EXPECT_EQ(ReadText(path), "precious");
    EXPECT_EQ(stdfs::status(FsPath(path)).permissions() & stdfs::perms::owner_write,
              stdfs::perms::none);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"ro.vrz"});
    stdfs::permissions(FsPath(path), stdfs::perms::owner_write, stdfs::perm_options::add);
}

// Catches a temporary left behind, or the old file harmed, by a failure at any step
// before the rename; and a failure reported as success.
TEST_F(FileImageTest, EveryFailedStepRemovesTheTemporaryAndKeepsTheOldFile) {
    std::string path = dir / "keep.vrz";
    std::string fresh = dir / "fresh.vrz";
    WriteText(path, "the old world");
    struct Case {
        FileOp op;
        int err;
        std::string text;
    } cases[] = {
        {FileOp::Open, EMFILE, Unexpected(path, fs::ErrorText(EMFILE))},
        {FileOp::Write, ENOSPC, DiskFull(path, fs::ErrorText(ENOSPC))},
        {FileOp::Write, 0, DiskFull(path, fs::ErrorText(ENOSPC))},
        {FileOp::Flush, EIO, Unexpected(path, fs::ErrorText(EIO))},
        {FileOp::Close, EIO, Unexpected(path, fs::ErrorText(EIO))},
        {FileOp::Rename, EIO, Unexpected(path, fs::ErrorText(EIO))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.op));
        platform::InjectFileFault(c.op, 1, c.err);
        EXPECT_EQ(Save(path), c.text);
        EXPECT_EQ(ReadText(path), "the old world");
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"keep.vrz"});

        platform::InjectFileFault(c.op, 1, c.err);
        EXPECT_NE(Save(fresh), "ok");
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"keep.vrz"})
            << "a failed new file leaves nothing";
    }
}

// Catches a save reported as failed after the rename, when only the folder flush failed.
TEST_F(FileImageTest, FolderFlushFailureAfterTheRenameIsStillASuccess) {
    std::string path = dir / "w.vrz";
    WriteText(path, "old");
    platform::InjectFileFault(FileOp::FlushFolder, 1, EIO);
    EXPECT_EQ(Save(path), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
}

// Catches a save reported as done although the kept folder (a web page's files in the
// browser's storage) was not stored, so the file would be gone after a reload.
TEST_F(FileImageTest, AFailedStoreOfTheKeptFolderFailsTheSaveNamingTheFile) {
    std::string path = dir / "w.vrz";
    platform::InjectFileFault(FileOp::Store, 1, EIO);
    EXPECT_EQ(Save(path), Unexpected(path, fs::ErrorText(EIO)));
    EXPECT_EQ(ReadText(path), IMAGE) << "the file itself is written";
    EXPECT_EQ(Save(path), "ok");
}

// Catches a failure to make the file that passes in silence, or a message without the
// full path or the reason.
TEST_F(FileImageTest, FailuresToMakeTheFileNameThePathAndTheReason) {
    stdfs::create_directory(FsPath(dir / "folder.vrz"));
    EXPECT_EQ(Save(dir / "nofolder/x.vrz"), NotFound(dir / "nofolder/x.vrz"));
    EXPECT_EQ(Save(dir / "folder.vrz"), Denied(dir / "folder.vrz", fs::ErrorText(EISDIR)));
    platform::InjectFileFault(FileOp::Open, 1, EROFS);
    EXPECT_EQ(Save(dir / "new.vrz"), Denied(dir / "new.vrz", fs::ErrorText(EROFS)));
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"folder.vrz"});
    EXPECT_EQ(Load(dir / "folder.vrz"), Denied(dir / "folder.vrz", fs::ErrorText(EISDIR)));
}

// Catches a load that reads a huge file whole (memory and time), or cuts a small one.
TEST_F(FileImageTest, LoadReadsAtMostTheLimit) {
    if (filetest::HUGE_FILES) {
        std::string huge = dir / "huge.vrz";
        WriteText(huge, "head");
        stdfs::resize_file(FsPath(huge), uintmax_t(2) << 30);  // sparse where it can be
        EXPECT_EQ(Load(huge, 585317), "ok:head" + std::string(585313, '\0'));
        stdfs::remove(FsPath(huge));
    }

    WriteText(dir / "small.vrz", IMAGE);
    EXPECT_EQ(Load(dir / "small.vrz", 585317), "ok:" + IMAGE);
    EXPECT_EQ(Load(dir / "small.vrz", 10), "ok:" + IMAGE.substr(0, 10));
    WriteText(dir / "empty.vrz", "");
    EXPECT_EQ(Load(dir / "empty.vrz"), "ok:");
}

// Catches load failures without the full path or the reason, and a load let in while
// another opener holds the file exclusively (a save writing it in place).
TEST_F(FileImageTest, LoadFailuresNameThePathAndTheReason) {
    EXPECT_EQ(Load(dir / "missing.vrz"), NotFound(dir / "missing.vrz"));
    std::string path = dir / "w.vrz";
    WriteText(path, IMAGE);
    platform::InjectFileFault(FileOp::Read, 1, EIO);
    EXPECT_EQ(Load(path), Unexpected(path, fs::ErrorText(EIO)));
    if (filetest::FILES_TAKE_LOCKS) {
        CFile writer(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive);
        EXPECT_EQ(Load(path), Unexpected(path, fs::ErrorText(EWOULDBLOCK)));
    }
    {
        CFile reader(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
        EXPECT_EQ(Load(path), "ok:" + IMAGE) << "readers share";
    }
}

}  // namespace
