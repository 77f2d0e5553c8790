#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_image_test_support.h"
#include "file_test_support.h"
#include "platform/afx/file_image.h"
#include "posix_test_support.h"

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
using namespace fileimage;

class FileImagePosixTest : public ::testing::Test {
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
TEST_F(FileImagePosixTest, NewFileIsCompleteWithTheDefaultModeAndNothingBeside) {
    ::umask(027);
    std::string path = dir / "w.vrz";
    EXPECT_EQ(Save(path), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
    EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"w.vrz"});
}

// Catches a replacement that takes its mode from the umask, or hands the file to whoever
// saved it.
TEST_F(FileImagePosixTest, ReplacementKeepsModeOwnerAndGroup) {
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

// Catches a file the user may not write replaced by a user in a folder they may write,
// instead of being refused.
TEST_F(FileImagePosixTest, AnotherUsersFileIsRefusedAndKept) {
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
TEST_F(FileImagePosixTest, LinksAreFollowedAndKept) {
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
TEST_F(FileImagePosixTest, HardLinkedFileIsWrittenInPlace) {
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

// Catches a save written in place (the file has two names) that passes for done although
// the kept folder was not stored.
TEST_F(FileImagePosixTest, AFailedStoreOfTheKeptFolderFailsASaveInPlace) {
    std::string path = dir / "w.vrz";
    WriteText(path, "old");
    ASSERT_EQ(::link(path.c_str(), (dir / "second-name").c_str()), 0);
    platform::InjectFileFault(FileOp::Store, 1, ENOSPC);
    EXPECT_EQ(Save(path, "in place"), Unexpected(path, platform::fs::ErrorText(ENOSPC)));
    EXPECT_EQ(ReadText(path), "in place");
}

// Catches a save that fails, or makes a file elsewhere, when the folder takes no new
// file but the file itself may be written.
TEST_F(FileImagePosixTest, FolderThatTakesNoNewFileIsWrittenInPlace) {
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
TEST_F(FileImagePosixTest, OwnerThatCannotBeKeptIsWrittenInPlace) {
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

// Catches a failure to make the file that passes in silence, or a message without the
// full path or the reason.
TEST_F(FileImagePosixTest, FailuresToMakeTheFileNameThePathAndTheReason) {
    WriteText(dir / "plain", "x");
    ASSERT_EQ(::mkfifo((dir / "pipe.vrz").c_str(), 0644), 0);
    EXPECT_EQ(Save(dir / "plain/x.vrz"), Unexpected(dir / "plain/x.vrz", "Not a directory"));
    EXPECT_EQ(Save(dir / "pipe.vrz"), Denied(dir / "pipe.vrz", "Not a regular file"));
    EXPECT_EQ(StatOf(dir / "pipe.vrz").st_mode & S_IFMT, unsigned(S_IFIFO));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"pipe.vrz", "plain"}));

    std::string folder = NobodysFolder();
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    std::string locked = folder + "/new.vrz";
    EXPECT_EQ(InChild([&] { return Save(locked); }, true), Denied(locked, "Permission denied"));
    EXPECT_TRUE(Names(folder).empty());
}

// Catches a leftover temporary that blocks the save, or one that is written through: a
// link there once made a save overwrite the file it pointed to.
TEST_F(FileImagePosixTest, StaleLeftoversAreSteppedAroundNeverThrough) {
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

// Catches a temporary name built by appending to the chosen one: a valid name of 255
// bytes could not be saved.
TEST_F(FileImagePosixTest, LongestNameSaves) {
    std::string path = dir / (std::string(251, 'n') + ".vrz");
    WriteText(path, "old");
    EXPECT_EQ(Save(path), "ok");
    EXPECT_EQ(ReadText(path), IMAGE);
    EXPECT_EQ(Save(dir / (std::string(252, 'n') + ".vrz")),
              Unexpected(dir / (std::string(252, 'n') + ".vrz"), "File name too long"));
}

// Catches a real full device (a file-size limit) that harms the old file, whether it is
// replaced or written in place; in place, the room must be taken before any byte changes.
TEST_F(FileImagePosixTest, FileSizeLimitKeepsTheOldFile) {
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
TEST_F(FileImagePosixTest, LoadRefusesWhatIsNotARegularFileWithoutWaiting) {
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

// Catches a load through a link that reads the link rather than the file.
TEST_F(FileImagePosixTest, LoadFollowsLinks) {
    WriteText(dir / "small.vrz", IMAGE);
    stdfs::create_symlink("small.vrz", dir / "link.vrz");
    EXPECT_EQ(Load(dir / "link.vrz", 585317), "ok:" + IMAGE);
}

// Catches a load of a file its user may not read that passes, or says nothing of why.
TEST_F(FileImagePosixTest, LoadOfAClosedFileIsDenied) {
    std::string folder = NobodysFolder();
    std::string closed = folder + "/closed.vrz";
    WriteText(closed, "secret");
    ASSERT_EQ(::chmod(closed.c_str(), 0), 0);
    EXPECT_EQ(InChild([&] { return Load(closed); }, true), Denied(closed, "Permission denied"));
}

}  // namespace
