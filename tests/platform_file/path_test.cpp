// Path text for both systems' conventions, whichever system runs the test.
#include <gtest/gtest.h>

#include <string>

#include "platform/fs/path.h"

namespace {

using platform::fs::PathStyle;
namespace fs = platform::fs;

constexpr PathStyle POSIX = PathStyle::Posix;
constexpr PathStyle WIN = PathStyle::Windows;

// Catches a Windows path typed into the file dialog taken as relative (the save then went
// to a folder nobody chose), a UNC share's root climbed over, and '\' taken for a letter.
TEST(Paths, RootsOfEachSystem) {
    struct Case {
        const char* path;
        PathStyle style;
        size_t root;
        bool absolute;
        bool isRoot;
    } cases[] = {
        {"/home/u/a.vrz", POSIX, 1, true, false},
        {"/", POSIX, 1, true, true},
        {"//", POSIX, 1, true, true},
        {"a/b", POSIX, 0, false, false},
        {"C:\\a.vrz", POSIX, 0, false, false},
        {"", POSIX, 0, false, false},
        {"C:\\Users\\u\\a.vrz", WIN, 3, true, false},
        {"c:/users/u", WIN, 3, true, false},
        {"C:\\", WIN, 3, true, true},
        {"Z:", WIN, 2, false, false},
        {"Z:a.vrz", WIN, 2, false, false},
        {"\\tmp\\a.vrz", WIN, 1, false, false},
        {"/tmp/a.vrz", WIN, 1, false, false},
        {"\\", WIN, 1, false, true},
        {"\\\\server\\share\\saves\\a.vrz", WIN, 15, true, false},
        {"\\\\server\\share", WIN, 14, true, true},
        {"\\\\server\\share\\", WIN, 15, true, true},
        {"//server/share/a", WIN, 15, true, false},
        {"\\\\?\\C:\\a.vrz", WIN, 7, true, false},
        {"a.vrz", WIN, 0, false, false},
        {"1:\\a", WIN, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + (c.style == WIN ? " (Windows)" : " (POSIX)"));
        EXPECT_EQ(fs::RootLength(c.path, c.style), c.root);
        EXPECT_EQ(fs::IsAbsolute(c.path, c.style), c.absolute);
        EXPECT_EQ(fs::IsRoot(c.path, c.style), c.isRoot);
    }
}

// Catches the folder of a file at a drive's root given as "C:" (the drive's current
// folder, elsewhere), a name cut at a '\', and joins that double or drop a separator.
TEST(Paths, FolderNameAndJoin) {
    EXPECT_EQ(fs::FolderOf("/a/b/c.vrz", POSIX), "/a/b");
    EXPECT_EQ(fs::FolderOf("/c.vrz", POSIX), "/");
    EXPECT_EQ(fs::FolderOf("c.vrz", POSIX), ".");
    EXPECT_EQ(fs::FolderOf("a\\b.vrz", POSIX), ".") << "'\\' is a letter on POSIX";
    EXPECT_EQ(fs::FolderOf("C:\\saves\\a.vrz", WIN), "C:\\saves");
    EXPECT_EQ(fs::FolderOf("C:\\a.vrz", WIN), "C:\\");
    EXPECT_EQ(fs::FolderOf("C:/a.vrz", WIN), "C:/");
    EXPECT_EQ(fs::FolderOf("C:a.vrz", WIN), "C:");
    EXPECT_EQ(fs::FolderOf("\\\\srv\\share\\a.vrz", WIN), "\\\\srv\\share\\");
    EXPECT_EQ(fs::FolderOf("C:\\", WIN), "C:\\");
    EXPECT_EQ(fs::FolderOf("a.vrz", WIN), ".");

    EXPECT_EQ(fs::NameOf("/a/b/c.vrz", POSIX), "c.vrz");
    EXPECT_EQ(fs::NameOf("a\\b.vrz", POSIX), "a\\b.vrz");
    EXPECT_EQ(fs::NameOf("C:\\saves/a.vrz", WIN), "a.vrz");
    EXPECT_EQ(fs::NameOf("C:a.vrz", WIN), "a.vrz");
    EXPECT_EQ(fs::NameOf("\\\\srv\\share", WIN), "");
    EXPECT_EQ(fs::NameOf("C:\\saves\\", WIN), "");

    EXPECT_EQ(fs::Join("/a", "b", POSIX), "/a/b");
    EXPECT_EQ(fs::Join("/", "b", POSIX), "/b");
    EXPECT_EQ(fs::Join("C:\\a", "b", WIN), "C:\\a\\b");
    EXPECT_EQ(fs::Join("C:\\", "b", WIN), "C:\\b");
    EXPECT_EQ(fs::Join("C:", "b", WIN), "C:b");
    EXPECT_EQ(fs::Join("C:/a/", "b", WIN), "C:/a/b");
    EXPECT_EQ(fs::Join("", "b", WIN), "b");
}

// Catches a relative name that ignores the drive or share of the current folder, or the
// current folder of another drive taken for this one.
TEST(Paths, AbsoluteTakesWhatTheCurrentFolderLacks) {
    EXPECT_EQ(fs::Absolute("/home/u", "a.vrz", POSIX), "/home/u/a.vrz");
    EXPECT_EQ(fs::Absolute("/home/u", "../b/./a.vrz", POSIX), "/home/u/../b/./a.vrz")
        << "only prepends";
    EXPECT_EQ(fs::Absolute("/home/u", "/etc/x", POSIX), "/etc/x");
    EXPECT_EQ(fs::Absolute("C:\\work", "a.vrz", WIN), "C:\\work\\a.vrz");
    EXPECT_EQ(fs::Absolute("C:\\work", "D:\\x.vrz", WIN), "D:\\x.vrz");
    EXPECT_EQ(fs::Absolute("C:\\work", "\\tmp\\x.vrz", WIN), "C:\\tmp\\x.vrz");
    EXPECT_EQ(fs::Absolute("\\\\srv\\share\\w", "\\x.vrz", WIN), "\\\\srv\\share\\x.vrz");
    EXPECT_EQ(fs::Absolute("C:\\work", "c:x.vrz", WIN), "C:\\work\\x.vrz");
    EXPECT_EQ(fs::Absolute("C:\\work", "D:x.vrz", WIN), "D:\\x.vrz");
}

// Catches joined paths with doubled separators, ".." escaping a root, a typed drive path
// joined onto the folder, and relative names taken from elsewhere than the folder given.
TEST(Paths, ResolveFoldsDotsWithinTheRoot) {
    struct Case {
        const char* base;
        const char* typed;
        PathStyle style;
        const char* expected;
    } cases[] = {
        {"/home/u", "a.vrz", POSIX, "/home/u/a.vrz"},
        {"/home/u/", "sub/../b.vrz", POSIX, "/home/u/b.vrz"},
        {"/home/u", "/etc/x", POSIX, "/etc/x"},
        {"/home/u", "..", POSIX, "/home"},
        {"/", "..", POSIX, "/"},
        {"/a", "../../..", POSIX, "/"},
        {"/a/b", "./c//d/", POSIX, "/a/b/c/d"},
        {"/a", "", POSIX, "/a"},
        {"a", "../..", POSIX, ".."},
        {"a", "..", POSIX, "."},
        {"C:\\Users\\u", "a.vrz", WIN, "C:\\Users\\u\\a.vrz"},
        {"C:\\Users\\u", "Z:\\tmp\\w.vrz", WIN, "Z:\\tmp\\w.vrz"},
        {"C:\\Users\\u", "z:/tmp//w.vrz", WIN, "z:\\tmp\\w.vrz"},
        {"C:\\Users\\u", "\\tmp\\w.vrz", WIN, "C:\\tmp\\w.vrz"},
        {"C:\\Users\\u", "..\\..\\..\\..", WIN, "C:\\"},
        {"C:\\", "..", WIN, "C:\\"},
        {"C:\\Users\\u", "sub/../b.vrz", WIN, "C:\\Users\\u\\b.vrz"},
        {"C:\\Users\\u", "Z:", WIN, "Z:\\"},
        {"Z:\\tmp", "z:", WIN, "Z:\\tmp"},
        {"\\\\srv\\share\\saves", "..\\..\\x.vrz", WIN, "\\\\srv\\share\\x.vrz"},
        {"C:\\Users", "\\\\srv\\share", WIN, "\\\\srv\\share"},
        {"\\\\srv\\share", "a", WIN, "\\\\srv\\share\\a"},
        {"C:\\a", "", WIN, "C:\\a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fs::ResolvePath(c.base, c.typed, c.style), c.expected)
            << c.base << " + " << c.typed << (c.style == WIN ? " (Windows)" : " (POSIX)");
    }
}

}  // namespace
