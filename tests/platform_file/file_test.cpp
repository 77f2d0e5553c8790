#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "platform/afx/file.h"
#include "platform/fs/fs.h"
#include "platform/fs/path.h"

namespace {

namespace fs = platform::fs;
using filetest::FsPath;
using filetest::OnWindows;
using filetest::ReadText;
using filetest::TempFolder;
using filetest::WriteText;
using platform::FileOp;

struct Shown {
    std::string text;
    UINT type = 0;
    int count = 0;
};
Shown g_shown;

int CaptureBox(LPCSTR text, UINT type) {
    g_shown.text = text;
    g_shown.type = type;
    ++g_shown.count;
    return 1;
}

class FileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir.Path().empty());
        platform::ClearFileFaults();
        g_shown = {};
        previousBox = platform::SetFileErrorBox(CaptureBox);
    }
    void TearDown() override {
        platform::ClearFileFaults();
        platform::SetFileErrorBox(previousBox);
    }

    // Runs body, expecting it to throw a CFileException*; returns its cause and name.
    template <typename F>
    static std::pair<int, std::string> Thrown(F body) {
        try {
            body();
        } catch (CFileException* e) {
            std::pair<int, std::string> out{e->m_cause, e->m_strFileName};
            e->Delete();
            return out;
        }
        return {-1, ""};
    }

    TempFolder dir;
    platform::FileErrorBoxFn previousBox = nullptr;
};

// Catches a cause table that sends a common errno to the wrong message.
TEST_F(FileTest, ErrnoMapsToTheFrameworksCauses) {
    struct Row {
        int err;
        int cause;
    } rows[] = {
        {ENOENT, CFileException::fileNotFound},
        {ENOTDIR, CFileException::badPath},
        {ENAMETOOLONG, CFileException::badPath},
        {EMFILE, CFileException::tooManyOpenFiles},
        {ENFILE, CFileException::tooManyOpenFiles},
        {EACCES, CFileException::accessDenied},
        {EPERM, CFileException::accessDenied},
        {EROFS, CFileException::accessDenied},
        {EBADF, CFileException::invalidFile},
        {ENOSPC, CFileException::diskFull},
        {EFBIG, CFileException::diskFull},
        {fs::QUOTA_ERROR, CFileException::diskFull},
        {EIO, CFileException::hardIO},
        {EWOULDBLOCK, CFileException::sharingViolation},
        {EINVAL, CFileException::genericException},
        {0, CFileException::genericException},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CFileException::ErrnoToException(r.err), r.cause) << std::strerror(r.err);
    EXPECT_EQ(CFileException::diskFull, 14);
    EXPECT_EQ(CFileException::endOfFile, 15);
}

// Catches an Open that throws, reports success, or names the wrong cause or file.
TEST_F(FileTest, OpenFailuresReturnFalseWithTheCause) {
    WriteText(dir / "plain", "x");
    // Windows says of a file taken for a folder, and of a name longer than a folder entry
    // may be, that the path is not there.
    const int underAFile = OnWindows() ? CFileException::fileNotFound : CFileException::badPath;
    struct Case {
        std::string path;
        UINT flags;
        int cause;
    } cases[] = {
        {dir / "missing.vrz", 0x8000, CFileException::fileNotFound},
        {dir / "plain/under.vrz", 0x8000, underAFile},
        {dir / "plain/under.vrz", 0x9001, underAFile},
        {dir / "nofolder/x.vrz", 0x9001, CFileException::fileNotFound},
        {dir.Path(), 0x8000, CFileException::accessDenied},
        {dir.Path(), 0x9001, CFileException::accessDenied},
        {dir / std::string(300, 'n'), 0x9001, underAFile},
    };
    for (const Case& c : cases) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(c.path.c_str(), c.flags, &error)) << c.path;
        EXPECT_EQ(error.m_cause, c.cause) << c.path;
        EXPECT_EQ(error.m_strFileName, c.path);
        EXPECT_FALSE(file.IsOpen());
    }
    CFile file;
    EXPECT_FALSE(file.Open(dir.Path().c_str(), 0x8000)) << "no error object is needed";
    EXPECT_FALSE(std::filesystem::exists(FsPath(dir / "missing.vrz"))) << "reading must not create";
}

// Catches injected open faults that are ignored or counted over the wrong calls.
TEST_F(FileTest, InjectedOpenFaultsFailTheNthOpen) {
    WriteText(dir / "a", "abc");
    platform::InjectFileFault(FileOp::Open, 2, EACCES);
    CFile first, second, third;
    CFileException error;
    EXPECT_TRUE(first.Open((dir / "a").c_str(), 0x8000 | CFile::shareDenyNone, &error));
    EXPECT_FALSE(second.Open((dir / "a").c_str(), 0x8000 | CFile::shareDenyNone, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_EQ(error.m_lOsError, EACCES);
    EXPECT_TRUE(third.Open((dir / "a").c_str(), 0x8000 | CFile::shareDenyNone, &error));

    platform::InjectFileFault(FileOp::Open, 1, EMFILE);
    CFile fourth;
    EXPECT_FALSE(fourth.Open((dir / "a").c_str(), 0x8000, &error));
    EXPECT_EQ(error.m_cause, CFileException::tooManyOpenFiles);
}

// Catches wrong mode mapping: no truncation on create, or creation when reading.
TEST_F(FileTest, CreateTruncatesUnlessAskedNotTo) {
    std::string path = dir / "w.vrz";
    WriteText(path, "old contents");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), 0x9001));
        file.Write("new", 3);
        file.Close();
    }
    EXPECT_EQ(ReadText(path), "new");
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(),
                              CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        EXPECT_EQ(file.GetLength(), 3u);
        file.SeekToEnd();
        file.Write("er", 2);
    }
    EXPECT_EQ(ReadText(path), "newer");
    {
        CFile file(path.c_str(), 0x8000);
        char buf[16] = {};
        EXPECT_EQ(file.Read(buf, 16), 5u);
        EXPECT_STREQ(buf, "newer");
        EXPECT_EQ(file.GetFilePath(), path);
        EXPECT_EQ(file.GetFileName(), "w.vrz");
        EXPECT_EQ(Thrown([&] { file.Write("x", 1); }).first, CFileException::invalidFile)
            << "a file opened for reading refuses writes";
    }
}

// Catches a relative name kept relative, so the error text would not show the full path.
TEST_F(FileTest, RelativeNamesBecomeFullPaths) {
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(FsPath(dir.Path()));
    const std::string here = fs::CurrentFolder();
    CFile file;
    CFileException error;
    bool opened = file.Open("rel.vrz", 0x9001, &error);
    CFileException missing;
    CFile other;
    other.Open("gone.vrz", 0x8000, &missing);
    std::filesystem::current_path(saved);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(std::filesystem::equivalent(FsPath(here), FsPath(dir.Path())));
    EXPECT_EQ(file.GetFilePath(), fs::Join(here, "rel.vrz"));
    EXPECT_EQ(missing.m_strFileName, fs::Join(here, "gone.vrz"));
    EXPECT_TRUE(fs::IsAbsolute(missing.m_strFileName));
}

// Catches a second opener that gets in, or that truncates the locked file on its way.
TEST_F(FileTest, SharingFollowsTheShareBits) {
    if (!filetest::FILES_TAKE_LOCKS) {
        GTEST_SKIP() << filetest::NO_LOCKS;
    }
    std::string path = dir / "locked.vrz";
    WriteText(path, "keep me");
    CFile holder;
    ASSERT_TRUE(holder.Open(path.c_str(), 0x8000));  // shareCompat: no sharing
    CFile intruder;
    CFileException error;
    EXPECT_FALSE(intruder.Open(path.c_str(), 0x9001, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_FALSE(intruder.Open(path.c_str(), 0x8000, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    holder.Close();
    EXPECT_EQ(ReadText(path), "keep me") << "the refused opener truncated the file";
    EXPECT_TRUE(intruder.Open(path.c_str(), 0x8000)) << "Close must release the lock";
    intruder.Close();

    CFile reader1, reader2, writer, free1, free2;
    ASSERT_TRUE(reader1.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_TRUE(reader2.Open(path.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_FALSE(writer.Open(path.c_str(), CFile::modeWrite | CFile::shareExclusive, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_TRUE(free1.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_TRUE(free2.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
}

// Catches a Read that returns after one short system read, or swallows an I/O error.
TEST_F(FileTest, ReadFillsTheBufferAndThrowsOnError) {
    std::string path = dir / "r.bin";
    std::string content(10000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = char(i * 7);
    WriteText(path, content);
    CFile file(path.c_str(), 0x8000);
    std::vector<char> buf(6000);
    EXPECT_EQ(file.Read(buf.data(), 6000), 6000u);
    EXPECT_EQ(std::string(buf.data(), 6000), content.substr(0, 6000));
    EXPECT_EQ(file.Read(buf.data(), 6000), 4000u) << "fewer only at the end";
    EXPECT_EQ(file.Read(buf.data(), 6000), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.GetPosition(), 0u);

    platform::InjectFileFault(FileOp::Read, 1, EIO);
    auto [cause, name] = Thrown([&] { file.Read(buf.data(), 10); });
    EXPECT_EQ(cause, CFileException::hardIO);
    EXPECT_EQ(name, path);
}

// Catches a failed write reported as success, or the wrong cause for a full device.
TEST_F(FileTest, WriteFailuresThrowWithTheirCause) {
    std::string path = dir / "w.bin";
    CFile file(path.c_str(), 0x9001);
    platform::InjectFileFault(FileOp::Write, 3, ENOSPC);
    file.Write("aa", 2);
    file.Write("bb", 2);
    auto [cause, name] = Thrown([&] { file.Write("cc", 2); });
    EXPECT_EQ(cause, CFileException::diskFull);
    EXPECT_EQ(name, path);

    platform::InjectFileFault(FileOp::Write, 1, EIO);
    EXPECT_EQ(Thrown([&] { file.Write("dd", 2); }).first, CFileException::hardIO);
    file.Write("ee", 2);
    file.Close();
    EXPECT_EQ(ReadText(path), "aabbee");
}

// Catches a short write taken as complete: the rest of the data would be lost silently.
TEST_F(FileTest, ShortWriteIsDiskFullAndKeepsWhatWasStored) {
    std::string path = dir / "short.bin";
    CFile file(path.c_str(), 0x9001);
    file.Write("header", 6);
    platform::InjectFileFault(FileOp::Write, 1, 0);
    EXPECT_EQ(Thrown([&] { file.Write("0123456789", 10); }).first, CFileException::diskFull);
    EXPECT_EQ(Thrown([&] { file.Write("more", 4); }).first, CFileException::diskFull)
        << "a full device stays full";
    file.Close();
    EXPECT_EQ(ReadText(path), "header01234");
}

// Catches Flush and Close errors that are dropped, and a destructor that throws.
TEST_F(FileTest, FlushCloseAndDestructorErrors) {
    std::string path = dir / "f.bin";
    {
        CFile file(path.c_str(), 0x9001);
        file.Write("x", 1);
        file.Flush();
        platform::InjectFileFault(FileOp::Flush, 1, EIO);
        EXPECT_EQ(Thrown([&] { file.Flush(); }).first, CFileException::hardIO);
        platform::InjectFileFault(FileOp::Close, 1, ENOSPC);
        EXPECT_EQ(Thrown([&] { file.Close(); }).first, CFileException::diskFull);
        EXPECT_FALSE(file.IsOpen()) << "a failed Close still lets the descriptor go";
        file.Close();  // closing twice is harmless
    }
    platform::InjectFileFault(FileOp::Close, 1, EIO);
    { CFile file(path.c_str(), 0x8000); }  // the destructor must not throw
    CFile again;
    EXPECT_TRUE(again.Open(path.c_str(), 0x9001)) << "the destructor released the lock";
    again.Abort();
    EXPECT_FALSE(again.IsOpen());
}

// Catches the constructor's failure being silent.
TEST_F(FileTest, ConstructorThrowsWhenOpenFails) {
    auto [cause, name] = Thrown([&] { CFile file((dir / "none").c_str(), 0x8000); });
    EXPECT_EQ(cause, CFileException::fileNotFound);
    EXPECT_EQ(name, dir / "none");
}

// Catches Rename and Remove failures that pass unnoticed, and a folder flush that fails.
TEST_F(FileTest, RenameRemoveAndFolderFlush) {
    WriteText(dir / "a", "A");
    WriteText(dir / "b", "B");
    CFile::Rename((dir / "a").c_str(), (dir / "b").c_str());
    EXPECT_EQ(ReadText(dir / "b"), "A") << "rename replaces the target";
    EXPECT_FALSE(std::filesystem::exists(FsPath(dir / "a")));
    EXPECT_EQ(Thrown([&] { CFile::Rename((dir / "a").c_str(), (dir / "c").c_str()); }).first,
              CFileException::fileNotFound);
    platform::InjectFileFault(FileOp::Rename, 1, EIO);
    EXPECT_EQ(Thrown([&] { CFile::Rename((dir / "b").c_str(), (dir / "c").c_str()); }).first,
              CFileException::hardIO);
    EXPECT_TRUE(std::filesystem::exists(FsPath(dir / "b")));

    EXPECT_EQ(Thrown([&] { CFile::Remove((dir / "zzz").c_str()); }).first,
              CFileException::fileNotFound);
    platform::InjectFileFault(FileOp::Remove, 1, EACCES);
    EXPECT_EQ(Thrown([&] { CFile::Remove((dir / "b").c_str()); }).first,
              CFileException::accessDenied);
    CFile::Remove((dir / "b").c_str());
    EXPECT_FALSE(std::filesystem::exists(FsPath(dir / "b")));

    platform::FlushFolder(dir.Path().c_str());
    EXPECT_EQ(Thrown([&] { platform::FlushFolder((dir / "nowhere").c_str()); }).first,
              CFileException::fileNotFound);
    platform::InjectFileFault(FileOp::FlushFolder, 1, EIO);
    EXPECT_EQ(Thrown([&] { platform::FlushFolder(dir.Path().c_str()); }).first,
              CFileException::hardIO);
    EXPECT_EQ(platform::FolderOf("/a/b/c.vrz"), "/a/b");
    EXPECT_EQ(platform::FolderOf("/c.vrz"), "/");
    EXPECT_EQ(platform::FolderOf("c.vrz"), ".");
}

// Catches the wrong text, an unreplaced %1, or the error box without the stop icon.
TEST_F(FileTest, ErrorMessagesAndReportError) {
    struct Case {
        int cause;
        std::string text;
    } cases[] = {
        {CFileException::diskFull, "Disk full while accessing /tmp/w/a.vrz."},
        {CFileException::fileNotFound, "/tmp/w/a.vrz was not found."},
        {CFileException::accessDenied, "Access to /tmp/w/a.vrz was denied."},
        {CFileException::hardIO, "An unexpected error occurred while accessing /tmp/w/a.vrz."},
        {CFileException::sharingViolation,
         "An unexpected error occurred while accessing /tmp/w/a.vrz."},
        {CFileException::genericException,
         "An unexpected error occurred while accessing /tmp/w/a.vrz."},
    };
    for (const Case& c : cases) {
        CFileException e(c.cause, 0, "/tmp/w/a.vrz");
        EXPECT_EQ(e.GetErrorMessage(), c.text);
        e.ReportError();
        EXPECT_EQ(g_shown.text, c.text);
        EXPECT_EQ(g_shown.type, 0x10u) << "stop icon, OK button";
    }
    CFileException e(CFileException::diskFull, ENOSPC, "/x");
    e.ReportError(0x30);
    EXPECT_EQ(g_shown.type, 0x30u) << "an icon the caller asks for is kept";

    char small[8];
    std::memset(small, 'q', sizeof small);
    EXPECT_TRUE(e.GetErrorMessage(small, sizeof small));
    EXPECT_STREQ(small, "Disk fu") << "truncated and terminated";
    EXPECT_FALSE(e.GetErrorMessage(small, 0));
}

// Catches the framework's catch pattern leaking or double-freeing the exception.
TEST_F(FileTest, CaughtExceptionReportsAndDeletes) {
    platform::InjectFileFault(FileOp::Write, 1, ENOSPC);
    std::string path = dir / "catch.vrz";
    try {
        CFile file(path.c_str(), 0x9001);
        file.Write("x", 1);
        FAIL() << "no exception";
    } catch (CFileException* e) {
        e->ReportError();
        e->Delete();
    }
    EXPECT_EQ(g_shown.count, 1);
    EXPECT_EQ(g_shown.text, "Disk full while accessing " + path + ".\n" + fs::ErrorText(ENOSPC));
}

// Catches the reason line missing, shown for no error, or not overridden by the caller's.
TEST_F(FileTest, MessagesGiveTheReasonOnASecondLine) {
    struct Case {
        int cause;
        LONG osError;
        std::string reason;
        std::string text;
    } cases[] = {
        {CFileException::accessDenied, EACCES, "",
         "Access to /w/a.vrz was denied.\nPermission denied"},
        {CFileException::fileNotFound, ENOENT, "",
         "/w/a.vrz was not found.\nNo such file or directory"},
        {CFileException::accessDenied, EISDIR, "",
         "Access to /w/a.vrz was denied.\nIs a directory"},
        {CFileException::diskFull, fs::QUOTA_ERROR, "",
         "Disk full while accessing /w/a.vrz.\n" + fs::ErrorText(fs::QUOTA_ERROR)},
        {CFileException::genericException, -1, "Not a world file",
         "An unexpected error occurred while accessing /w/a.vrz.\nNot a world file"},
        {CFileException::accessDenied, EACCES, "Mine", "Access to /w/a.vrz was denied.\nMine"},
        {CFileException::hardIO, -1, "", "An unexpected error occurred while accessing /w/a.vrz."},
        {CFileException::hardIO, 0, "", "An unexpected error occurred while accessing /w/a.vrz."},
    };
    for (const Case& c : cases) {
        CFileException e(c.cause, c.osError, "/w/a.vrz");
        e.m_strReason = c.reason;
        EXPECT_EQ(e.GetErrorMessage(), c.text);
    }
}

// Catches an attached handle that is not the one written, a previous handle leaked by
// Attach, and SetLength that neither cuts nor grows.
TEST_F(FileTest, AttachAndSetLength) {
    std::string path = dir / "attached.bin";
    std::string replaced = dir / "replaced.bin";
    WriteText(replaced, "r");
    platform::fs::Handle handle = platform::fs::NO_HANDLE;
    ASSERT_EQ(platform::fs::Open(path, platform::fs::OPEN_WRITE | platform::fs::OPEN_CREATE, 0644,
                                 handle),
              0);
    CFile file(replaced.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    file.Attach(handle, "/shown/name");
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.GetFilePath(), "/shown/name");
    file.Write("abcdef", 6);
    file.SetLength(3);
    EXPECT_EQ(file.GetLength(), 3u);
    file.SetLength(5);
    platform::InjectFileFault(FileOp::Write, 1, EIO);
    EXPECT_EQ(Thrown([&] { file.Write("x", 1); }).second, "/shown/name");
    file.Close();
    EXPECT_EQ(ReadText(path), std::string("abc\0\0", 5));
    CFile other;
    EXPECT_TRUE(other.Open(replaced.c_str(), CFile::modeWrite | CFile::shareExclusive))
        << "Attach closed the reader it replaced, and its sharing with it";
}

}  // namespace
