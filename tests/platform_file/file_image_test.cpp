#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "platform/afx/file_image.h"

namespace {

namespace stdfs = std::filesystem;
using filetest::InChild;
using filetest::IsRoot;
using filetest::Names;
using filetest::NOBODY;
using filetest::ReadText;
using filetest::StatOf;
using filetest::TempFolder;
using filetest::WriteText;
using platform::FileOp;

const std::string IMAGE = [] {
    std::string image(4853, '\0');
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = char(i * 31 + 7);
    return image;
}();

// "ok", or the text the error's message box would show.
template <typename F>
std::string Outcome(F body) {
    try {
        body();
    } catch (CFileException* e) {
        std::string text = e->GetErrorMessage();
        e->Delete();
        return text;
    }
    return "ok";
}

std::string Save(const std::string& path, const std::string& image = IMAGE) {
    return Outcome([&] { platform::SaveFileImage(path.c_str(), image.data(), image.size()); });
}

std::string Load(const std::string& path, size_t limit = 1 << 20) {
    std::string bytes;
    std::string outcome = Outcome([&] {
        std::vector<uint8_t> got = platform::LoadFileImage(path.c_str(), limit);
        bytes.assign(got.begin(), got.end());
    });
    return outcome == "ok" ? "ok:" + bytes : outcome;
}

std::string Denied(const std::string& path, const std::string& reason) {
    return "Access to " + path + " was denied.\n" + reason;
}
std::string Unexpected(const std::string& path, const std::string& reason) {
    return "An unexpected error occurred while accessing " + path + ".\n" + reason;
}
std::string DiskFull(const std::string& path, const std::string& reason) {
    return "Disk full while accessing " + path + ".\n" + reason;
}
std::string NotFound(const std::string& path) {
    return path + " was not found.\nNo such file or directory";
}

class FileImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir.Path().empty());
        platform::ClearFileFaults();
        platform::SetTemporaryNames({});
        previousMask = ::umask(022);
    }
    void TearDown() override {
        platform::ClearFileFaults();
        platform::SetTemporaryNames({});
        ::umask(previousMask);
        // Folders a test locked down must be emptied again.
        std::error_code ec;
        for (const auto& entry : stdfs::recursive_directory_iterator(dir.Path(), ec))
            if (entry.is_directory(ec) && !entry.is_symlink(ec))
                ::chmod(entry.path().c_str(), 0755);
    }

    // A folder inside the test's folder that NOBODY owns, for saves as NOBODY.
    std::string NobodysFolder() {
        ::chmod(dir.Path().c_str(), 0755);
        std::string folder = dir / "nobody";
        stdfs::create_directory(folder);
        if (IsRoot()) {
            EXPECT_EQ(::chown(folder.c_str(), NOBODY, NOBODY), 0);
        }
        return folder;
    }

    TempFolder dir;
    mode_t previousMask = 0;
};

// Catches a new file left with the temporary's private mode, an incomplete file, or a
// temporary left beside it.
TEST_F(FileImageTest, NewFileIsCompleteWithTheDefaultModeAndNothingBeside) {
    ::umask(027);
    std::string path = dir / "w.vrz";
    EXPECT_EQ(Save(path), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"w.vrz"});
}

// Catches a replacement that takes its mode from the umask, or hands the file to whoever
// saved it.
TEST_F(FileImageTest, ReplacementKeepsModeOwnerAndGroup) {
    std::string path = dir / "kept.vrz";
    WriteText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0751), 0);
    if (IsRoot()) {
        ASSERT_EQ(::chown(path.c_str(), NOBODY, NOBODY), 0);
    }
    const struct stat before = StatOf(path);
    EXPECT_EQ(Save(path), "ok");
    const struct stat after = StatOf(path);
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_EQ(after.st_mode & 07777, 0751u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_NE(after.st_ino, before.st_ino) << "a file with one name is replaced whole";
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"kept.vrz"});
}

// Catches a read-only file replaced (by root, whom the system lets through, or by a user
// in a folder they may write) instead of being refused.
TEST_F(FileImageTest, ReadOnlyFileIsRefusedAndKept) {
    std::string path = dir / "ro.vrz";
    WriteText(path, "precious");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(Save(path), Denied(path, "Permission denied"));
    EXPECT_EQ(ReadText(path), "precious");
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0444u);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"ro.vrz"});

    if (!IsRoot())
        GTEST_SKIP() << "a file of another owner needs root to make";
    std::string folder = NobodysFolder();
    std::string theirs = folder + "/theirs.vrz";
    WriteText(theirs, "root's");
    ASSERT_EQ(::chmod(theirs.c_str(), 0644), 0);
    EXPECT_EQ(InChild([&] { return Save(theirs); }, true), Denied(theirs, "Permission denied"));
    EXPECT_EQ(ReadText(theirs), "root's");
    EXPECT_EQ(StatOf(theirs).st_uid, 0u);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"theirs.vrz"});
}

// Catches a link replaced by a regular file, a relative link resolved against the wrong
// folder, and a link loop that hangs or crashes.
TEST_F(FileImageTest, LinksAreFollowedAndKept) {
    stdfs::create_directory(dir / "sub");
    WriteText(dir / "sub/real.vrz", "old");
    stdfs::create_symlink("sub/real.vrz", dir / "link.vrz");
    stdfs::create_symlink("link.vrz", dir / "chain.vrz");
    EXPECT_EQ(Save(dir / "chain.vrz"), "ok");
    EXPECT_TRUE(stdfs::is_symlink(dir / "chain.vrz"));
    EXPECT_TRUE(stdfs::is_symlink(dir / "link.vrz"));
    EXPECT_EQ(ReadText(dir / "sub/real.vrz"), IMAGE);
    EXPECT_EQ(Names(dir / "sub"), std::vector<std::string>{"real.vrz"});

    stdfs::create_symlink(dir / "sub/made.vrz", dir / "dangling.vrz");
    EXPECT_EQ(Save(dir / "dangling.vrz"), "ok");
    EXPECT_TRUE(stdfs::is_symlink(dir / "dangling.vrz"));
    EXPECT_EQ(ReadText(dir / "sub/made.vrz"), IMAGE) << "a link to nothing makes its file";

    stdfs::create_symlink("loop2", dir / "loop1");
    stdfs::create_symlink("loop1", dir / "loop2");
    EXPECT_EQ(Save(dir / "loop1"), Unexpected(dir / "loop1", "Too many levels of symbolic links"));
    EXPECT_TRUE(stdfs::is_symlink(dir / "loop1"));
}

// Catches hard links broken by a replacement, and a stale tail left after a shorter image.
TEST_F(FileImageTest, HardLinkedFileIsWrittenInPlace) {
    std::string a = dir / "a.vrz", b = dir / "b.vrz";
    WriteText(a, std::string(6000, 'x'));
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    ASSERT_EQ(::chmod(a.c_str(), 0604), 0);
    const ino_t node = StatOf(a).st_ino;
    EXPECT_EQ(Save(a), "ok");
    EXPECT_EQ(ReadText(b), IMAGE);
    EXPECT_EQ(StatOf(a).st_ino, node);
    EXPECT_EQ(StatOf(a).st_nlink, 2u);
    EXPECT_EQ(StatOf(a).st_mode & 07777, 0604u);

    const std::string longer = IMAGE + IMAGE;
    EXPECT_EQ(Save(b, longer), "ok");
    EXPECT_EQ(ReadText(a), longer) << "a longer image grows the file";
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"a.vrz", "b.vrz"}));
}

// Catches a save that fails, or makes a file elsewhere, when the folder takes no new
// file but the file itself may be written.
TEST_F(FileImageTest, FolderThatTakesNoNewFileIsWrittenInPlace) {
    std::string folder = NobodysFolder();
    std::string path = folder + "/mine.vrz";
    WriteText(path, "old");
    if (IsRoot()) {
        ASSERT_EQ(::chown(path.c_str(), NOBODY, NOBODY), 0);
        ASSERT_EQ(::chown(folder.c_str(), 0, 0), 0);
    }
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    const ino_t node = StatOf(path).st_ino;
    EXPECT_EQ(InChild([&] { return Save(path); }, true), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_EQ(StatOf(path).st_ino, node);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"mine.vrz"});
}

// Catches a save by another user that quietly takes the file over.
TEST_F(FileImageTest, OwnerThatCannotBeKeptIsWrittenInPlace) {
    if (!IsRoot())
        GTEST_SKIP() << "a file of another owner needs root to make";
    std::string folder = NobodysFolder();
    ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
    std::string path = folder + "/shared.vrz";
    WriteText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const ino_t node = StatOf(path).st_ino;
    EXPECT_EQ(InChild([&] { return Save(path); }, true), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_EQ(StatOf(path).st_uid, 0u);
    EXPECT_EQ(StatOf(path).st_ino, node);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0666u);
    EXPECT_EQ(Names(folder), std::vector<std::string>{"shared.vrz"});
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
        {FileOp::Open, EMFILE, Unexpected(path, "Too many open files")},
        {FileOp::Write, ENOSPC, DiskFull(path, "No space left on device")},
        {FileOp::Write, 0, DiskFull(path, "No space left on device")},
        {FileOp::Flush, EIO, Unexpected(path, "Input/output error")},
        {FileOp::Close, EIO, Unexpected(path, "Input/output error")},
        {FileOp::Rename, EIO, Unexpected(path, "Input/output error")},
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

// Catches a failure to make the file that passes in silence, or a message without the
// full path or the reason.
TEST_F(FileImageTest, FailuresToMakeTheFileNameThePathAndTheReason) {
    WriteText(dir / "plain", "x");
    stdfs::create_directory(dir / "folder.vrz");
    ASSERT_EQ(::mkfifo((dir / "pipe.vrz").c_str(), 0644), 0);
    EXPECT_EQ(Save(dir / "nofolder/x.vrz"), NotFound(dir / "nofolder/x.vrz"));
    EXPECT_EQ(Save(dir / "folder.vrz"), Denied(dir / "folder.vrz", "Is a directory"));
    EXPECT_EQ(Save(dir / "plain/x.vrz"), Unexpected(dir / "plain/x.vrz", "Not a directory"));
    EXPECT_EQ(Save(dir / "pipe.vrz"), Denied(dir / "pipe.vrz", "Not a regular file"));
    EXPECT_EQ(StatOf(dir / "pipe.vrz").st_mode & S_IFMT, unsigned(S_IFIFO));
    platform::InjectFileFault(FileOp::Open, 1, EROFS);
    EXPECT_EQ(Save(dir / "new.vrz"), Denied(dir / "new.vrz", "Read-only file system"));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"folder.vrz", "pipe.vrz", "plain"}));

    std::string folder = NobodysFolder();
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    std::string locked = folder + "/new.vrz";
    EXPECT_EQ(InChild([&] { return Save(locked); }, true), Denied(locked, "Permission denied"));
    EXPECT_TRUE(Names(folder).empty());
}

// Catches a leftover temporary that blocks the save, or one that is written through: a
// link there once made a save overwrite the file it pointed to.
TEST_F(FileImageTest, StaleLeftoversAreSteppedAroundNeverThrough) {
    std::string path = dir / "s.vrz";
    WriteText(path, "old");
    WriteText(dir / "victim", "not yours");
    stdfs::create_symlink(dir / "victim", dir / ".t1");
    stdfs::create_symlink(dir / "victim2", dir / ".t2");
    stdfs::create_directory(dir / ".t3");
    WriteText(dir / ".t4", "held");
    if (IsRoot()) {
        ASSERT_EQ(::chown((dir / ".t4").c_str(), NOBODY, NOBODY), 0);
    }
    int holder = ::open((dir / ".t4").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    ASSERT_EQ(::mkfifo((dir / ".t5").c_str(), 0600), 0);
    platform::SetTemporaryNames({".t1", ".t2", ".t3", ".t4", ".t5", ".t6"});

    EXPECT_EQ(Save(path), "ok");
    ::close(holder);
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_FALSE(stdfs::is_symlink(path));
    EXPECT_EQ(ReadText(dir / "victim"), "not yours");
    EXPECT_FALSE(stdfs::exists(dir / "victim2"));
    EXPECT_TRUE(stdfs::is_symlink(dir / ".t1"));
    EXPECT_TRUE(stdfs::is_directory(dir / ".t3"));
    EXPECT_EQ(ReadText(dir / ".t4"), "held");
    EXPECT_FALSE(stdfs::exists(dir / ".t6")) << "the free name was used and renamed";
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
// browser's storage) was not stored, so the file would be gone after a reload; whether the
// file was replaced or written in place (it has two names).
TEST_F(FileImageTest, AFailedStoreOfTheKeptFolderFailsTheSaveNamingTheFile) {
    std::string path = dir / "w.vrz";
    platform::InjectFileFault(FileOp::Store, 1, EIO);
    EXPECT_EQ(Save(path), Unexpected(path, "Input/output error"));
    EXPECT_EQ(ReadText(path), IMAGE) << "the file itself is written";

    stdfs::create_hard_link(path, dir / "second-name");
    platform::InjectFileFault(FileOp::Store, 1, ENOSPC);
    EXPECT_EQ(Save(path, "in place"), Unexpected(path, "No space left on device"));
    EXPECT_EQ(Save(path), "ok");
}

// Catches a temporary name built by appending to the chosen one: a valid name of 255
// bytes could not be saved.
TEST_F(FileImageTest, LongestNameSaves) {
    std::string path = dir / (std::string(251, 'n') + ".vrz");
    WriteText(path, "old");
    EXPECT_EQ(Save(path), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_EQ(Save(dir / (std::string(252, 'n') + ".vrz")),
              Unexpected(dir / (std::string(252, 'n') + ".vrz"), "File name too long"));
}

// Catches a real full device (a file-size limit) that harms the old file, whether it is
// replaced or written in place; in place, the room must be taken before any byte changes.
TEST_F(FileImageTest, FileSizeLimitKeepsTheOldFile) {
    std::string single = dir / "single.vrz";
    std::string linked = dir / "linked.vrz";
    WriteText(single, std::string(100, 's'));
    WriteText(linked, std::string(100, 'l'));
    ASSERT_EQ(::link(linked.c_str(), (dir / "other.vrz").c_str()), 0);
    std::string outcome = InChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return Save(single) + "|" + Save(linked);
    });
    EXPECT_EQ(outcome,
              DiskFull(single, "File too large") + "|" + DiskFull(linked, "File too large"));
    EXPECT_EQ(ReadText(single), std::string(100, 's'));
    EXPECT_EQ(ReadText(linked), std::string(100, 'l'));
    EXPECT_EQ(Names(dir.Path()),
              (std::vector<std::string>{"linked.vrz", "other.vrz", "single.vrz"}));
}

// Catches a load that waits for ever on a FIFO (in open with no writer, in read with a
// silent one) or reads a device without end. The child's deadline turns a hang into a
// failure.
TEST_F(FileImageTest, LoadRefusesWhatIsNotARegularFileWithoutWaiting) {
    std::string fifo = dir / "pipe.vrz";
    std::string held = dir / "held.vrz";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(held.c_str(), 0644), 0);
    stdfs::create_symlink(fifo, dir / "tofifo.vrz");
    std::string outcome = InChild([&] {
        int silentWriter = ::open(held.c_str(), O_RDWR);
        std::string out = Load(fifo) + "|" + Load(held) + "|" + Load(dir / "tofifo.vrz") + "|" +
                          Load("/dev/zero") + "|" + Load(dir.Path());
        ::close(silentWriter);
        return out;
    });
    EXPECT_EQ(outcome, Denied(fifo, "Not a regular file") + "|" +
                           Denied(held, "Not a regular file") + "|" +
                           Denied(dir / "tofifo.vrz", "Not a regular file") + "|" +
                           Denied("/dev/zero", "Not a regular file") + "|" +
                           Denied(dir.Path(), "Is a directory"));
}

// Catches a load that reads a huge file whole (memory and time), or cuts a small one.
TEST_F(FileImageTest, LoadReadsAtMostTheLimit) {
    std::string huge = dir / "huge.vrz";
    WriteText(huge, "head");
    ASSERT_EQ(::truncate(huge.c_str(), off_t(2) << 30), 0);  // sparse: no real 2 GB
    EXPECT_EQ(Load(huge, 585317), "ok:head" + std::string(585313, '\0'));

    WriteText(dir / "small.vrz", IMAGE);
    stdfs::create_symlink("small.vrz", dir / "link.vrz");
    EXPECT_EQ(Load(dir / "small.vrz", 585317), "ok:" + IMAGE);
    EXPECT_EQ(Load(dir / "link.vrz", 585317), "ok:" + IMAGE);
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
    EXPECT_EQ(Load(path), Unexpected(path, "Input/output error"));
    {
        CFile writer(path.c_str(), CFile::modeReadWrite | CFile::shareExclusive);
        EXPECT_EQ(Load(path), Unexpected(path, "Resource temporarily unavailable"));
    }
    {
        CFile reader(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
        EXPECT_EQ(Load(path), "ok:" + IMAGE) << "readers share";
    }

    std::string folder = NobodysFolder();
    std::string closed = folder + "/closed.vrz";
    WriteText(closed, "secret");
    ASSERT_EQ(::chmod(closed.c_str(), 0), 0);
    EXPECT_EQ(InChild([&] { return Load(closed); }, true), Denied(closed, "Permission denied"));
}

}  // namespace
