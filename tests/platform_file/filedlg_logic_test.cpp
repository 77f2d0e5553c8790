#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_test_support.h"
#include "platform/comdlg/filedlg.h"
#include "platform/fs/path.h"

namespace {

using filetest::TempFolder;
using filetest::WriteText;
using platform::FileDialogChoice;

const char APP_FILTER[] = "Vorla Files (*.vrz)|*.vrz| All Files (*.*)|*.*||";

std::vector<std::string> Names(const std::vector<platform::FolderEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.folder ? "[" + e.name + "]" : e.name);
    return out;
}

// Catches a filter conversion that loses the leading blank, an entry, or the end marker.
TEST(FileDialogLogic, FrameworkFilterParsesIntoPairs) {
    std::string system = platform::FrameworkFilterToSystem(APP_FILTER);
    auto filters = platform::ParseFilter(system.c_str());
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, "Vorla Files (*.vrz)");
    EXPECT_EQ(filters[0].pattern, "*.vrz");
    EXPECT_EQ(filters[1].name, " All Files (*.*)");
    EXPECT_EQ(filters[1].pattern, "*.*");

    std::string unterminated = platform::FrameworkFilterToSystem("Text|*.txt");
    ASSERT_EQ(platform::ParseFilter(unterminated.c_str()).size(), 1u) << "read past the end";
    const char dangling[] = "Only a name\0";
    EXPECT_TRUE(platform::ParseFilter(dangling).empty());
    EXPECT_TRUE(platform::ParseFilter(nullptr).empty());
}

// Catches case-sensitive matching, a '?' that eats nothing, and "*.*" missing plain names.
TEST(FileDialogLogic, PatternsMatchLikeTheSystemDialog) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.vrz", "world.vrz", true},
        {"*.vrz", "WORLD.VRZ", true},
        {"*.vrz", "world.vrz.bak", false},
        {"*.vrz", "worldvrz", false},
        {"*.*", "README", true},
        {"*", ".hidden", true},
        {"w?rld.vrz", "world.vrz", true},
        {"w?rld.vrz", "wrld.vrz", false},
        {"*.txt;*.vrz", "a.vrz", true},
        {"*.txt; *.vrz", "a.vrz", true},
        {"a*b*c", "aXXbYYbZc", true},
        {"a*b*c", "aXXbYYbZ", false},
        {"", "a", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::MatchesPattern(c.pattern, c.name), c.match)
            << c.pattern << " vs " << c.name;
}

// Catches folders mixed with files, case-sensitive order, folders hidden by the filter.
TEST(FileDialogLogic, ListingPutsFoldersFirstAndFiltersFiles) {
    TempFolder dir;
    for (const char* f : {"b.vrz", "A.vrz", "c.txt", ".hidden.vrz", "Zed.VRZ"})
        WriteText(dir / f, "x");
    for (const char* d : {"saves", "Archive", "x.vrz.d"})
        std::filesystem::create_directory(filetest::FsPath(dir / d));

    bool ok = false;
    EXPECT_EQ(Names(platform::ListFolder(dir.Path(), "*.vrz", &ok)),
              (std::vector<std::string>{"[..]", "[Archive]", "[saves]", "[x.vrz.d]", "A.vrz",
                                        "b.vrz", "Zed.VRZ"}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Names(platform::ListFolder(dir.Path(), "*.*")).size(), 8u);
    EXPECT_TRUE(platform::ListFolder(dir / "missing", "*.*", &ok).empty());
    EXPECT_FALSE(ok);
    const std::string root = platform::fs::ResolvePath(dir.Path(), "/");
    EXPECT_EQ(Names(platform::ListFolder(root, "*.*")).front() == "[..]", false)
        << "no way up from the root " << root;
}

// Catches the dialog's joins done in another system's conventions than the one it runs
// on: a typed name must land in the dialog's folder with the system's separators.
TEST(FileDialogLogic, PathsJoinAndNormaliseInTheSystemsOwnWay) {
    TempFolder dir;
    EXPECT_EQ(platform::JoinPath(dir.Path(), "sub/../b.vrz"), dir / "b.vrz");
    EXPECT_EQ(platform::JoinPath(dir.Path(), "./c//d/"), dir / "c/d");
    EXPECT_EQ(platform::JoinPath(dir / "a", ".."), dir.Path());
}

// Catches the default extension added to a name that has one, or put on the folder part.
TEST(FileDialogLogic, DefaultExtensionOnlyWhenMissing) {
    EXPECT_EQ(platform::AddDefaultExtension("world", "vrz"), "world.vrz");
    EXPECT_EQ(platform::AddDefaultExtension("world.vrz", "vrz"), "world.vrz");
    EXPECT_EQ(platform::AddDefaultExtension("world.txt", "vrz"), "world.txt");
    EXPECT_EQ(platform::AddDefaultExtension("my.dir/world", "vrz"), "my.dir/world.vrz");
    EXPECT_EQ(platform::AddDefaultExtension("world.", "vrz"), "world") << "trailing dot";
    EXPECT_EQ(platform::AddDefaultExtension("world", ".vrz"), "world.vrz");
    EXPECT_EQ(platform::AddDefaultExtension("world", nullptr), "world");
}

// Catches a save over an existing file without asking, a missing folder accepted
// silently, and a typed folder taken as the answer.
TEST(FileDialogLogic, TypedNamesDecideWhatHappens) {
    TempFolder dir;
    WriteText(dir / "old.vrz", "x");
    std::filesystem::create_directory(filetest::FsPath(dir / "sub"));
    const DWORD APP_FLAGS = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    auto decide = [&](const std::string& typed, DWORD flags, bool save) {
        return platform::DecideFileDialogChoice(dir.Path(), typed, "vrz", flags, save);
    };

    FileDialogChoice c = decide("old", APP_FLAGS, true);
    EXPECT_EQ(c.kind, FileDialogChoice::Confirm);
    EXPECT_EQ(c.path, dir / "old.vrz");
    EXPECT_EQ(c.message, "old.vrz already exists.\nDo you want to replace it?");
    EXPECT_EQ(decide("old", OFN_HIDEREADONLY, true).kind, FileDialogChoice::Accept);

    c = decide("new", APP_FLAGS, true);
    EXPECT_EQ(c.kind, FileDialogChoice::Accept);
    EXPECT_EQ(c.path, dir / "new.vrz");
    EXPECT_EQ(decide("sub/new", APP_FLAGS, true).path, dir / "sub/new.vrz");
    EXPECT_EQ(decide(dir / "sub/abs.vrz", APP_FLAGS, true).path, dir / "sub/abs.vrz");

    c = decide("sub", APP_FLAGS, true);
    EXPECT_EQ(c.kind, FileDialogChoice::Navigate);
    EXPECT_EQ(c.path, dir / "sub");
    EXPECT_EQ(decide("sub/..", APP_FLAGS, false).path, dir.Path());

    c = decide("nowhere/x", APP_FLAGS, true);
    EXPECT_EQ(c.kind, FileDialogChoice::Refuse);
    EXPECT_NE(c.message.find("Path does not exist."), std::string::npos);

    EXPECT_EQ(decide("gone", APP_FLAGS, false).kind, FileDialogChoice::Accept)
        << "without OFN_FILEMUSTEXIST the caller deals with a missing file";
    c = decide("gone", OFN_FILEMUSTEXIST, false);
    EXPECT_EQ(c.kind, FileDialogChoice::Refuse);
    EXPECT_EQ(c.message,
              "gone.vrz\nFile not found.\nPlease verify the correct file name was given.");
    EXPECT_EQ(decide("gone", OFN_CREATEPROMPT, true).kind, FileDialogChoice::Confirm);

    c = decide("*.txt", APP_FLAGS, false);
    EXPECT_EQ(c.kind, FileDialogChoice::SetFilter);
    EXPECT_EQ(c.message, "*.txt");
    EXPECT_EQ(c.path, dir.Path());
    EXPECT_EQ(decide("   ", APP_FLAGS, true).kind, FileDialogChoice::Nothing);
}

}  // namespace
