// The open/save dialog driven through real input on the headless host.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/golden.h"
#include "tests/support/modal_watch.h"

#include "file_test_support.h"
#include "platform/afx/file.h"
#include "platform/comdlg/filedlg.h"
#include "platform/comdlg/filedlg_internal.h"
#include "platform/fs/fs.h"
#include "platform/host/screen.h"
#include "tests/platform_dialog/dialog_fixture.h"

namespace {

using filetest::TempFolder;
using filetest::WriteText;
using namespace platform::filedlg;

const char APP_FILTER[] = "Vorla Files (*.vrz)|*.vrz| All Files (*.*)|*.*||";

struct Prompt {
    std::string text;
    std::string caption;
    UINT type = 0;
};

class FileDialogTest : public dialogtest::DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_FALSE(dir.Path().empty());
        filter = platform::FrameworkFilterToSystem(APP_FILTER);
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filter.c_str();
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = sizeof buffer;
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = sizeof title;
        ofn.lpstrInitialDir = folder.c_str();
        ofn.lpstrDefExt = "vrz";
        ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
        WriteText(dir / "old.vrz", "x");
        WriteText(dir / "notes.txt", "x");
        std::filesystem::create_directory(filetest::FsPath(dir / "sub"));
        WriteText(dir / "sub/inner.vrz", "x");
    }

    static HWND Dialog() { return GetActiveWindow(); }
    static HWND Item(int id) { return GetDlgItem(Dialog(), id); }
    static std::vector<std::string> Listed() {
        std::vector<std::string> out;
        HWND list = Item(ID_LIST);
        LRESULT n = SendMessage(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            char text[512];
            SendMessage(list, LB_GETTEXT, WPARAM(i), LPARAM(reinterpret_cast<intptr_t>(text)));
            bool folder = SendMessage(list, LB_GETITEMDATA, WPARAM(i), 0) != 0;
            out.push_back(folder ? std::string("[") + text + "]" : std::string(text));
        }
        return out;
    }
    void ClickAt(int x, int y) {
        Mouse(platform::HostEventType::MouseMove, x, y);
        Mouse(platform::HostEventType::MouseButtonDown, x, y);
        Mouse(platform::HostEventType::MouseButtonUp, x, y);
    }
    // Double-clicks the list's row (counted from the top of what is shown).
    void DoubleClickRow(int row) {
        HWND list = Item(ID_LIST);
        Click(list, 40, 2 + row * 16 + 8);
        Click(list, 40, 2 + row * 16 + 8);
    }
    // Answers every message box with the given button, recording what it asked.
    void AnswerPrompts(int button) {
        testsupport::SetMessageBoxHook([this, button](HWND box, const std::string& text,
                                                      const std::string& caption, UINT type) {
            prompts.push_back({text, caption, type});
            if (HWND b = GetDlgItem(box, button))
                Click(b);
            else
                Key(VK_RETURN);
        });
    }

    TempFolder dir;
    std::string folder = dir.Path();
    std::string filter;
    char buffer[512] = {};
    char title[64] = {};
    OPENFILENAME ofn;
    std::vector<Prompt> prompts;
};

// Catches a dialog that starts elsewhere than the name field, loses the default
// extension, or returns a relative path.
TEST_F(FileDialogTest, TypedNameSavesWithExtensionAndFullPath) {
    std::vector<std::string> listed;
    std::string folderShown;
    Then([&] {
        listed = Listed();
        folderShown = dialogtest::DialogTest::TextOf(Item(ID_FOLDER));
        Type("world");
        Key(VK_RETURN);
    });
    ASSERT_TRUE(GetSaveFileName(&ofn));
    EXPECT_EQ(std::string(buffer), dir / "world.vrz");
    EXPECT_EQ(ofn.nFileOffset, dir.Path().size() + 1);
    EXPECT_EQ(std::string(buffer + ofn.nFileExtension), "vrz");
    EXPECT_STREQ(title, "world.vrz");
    EXPECT_EQ(listed, (std::vector<std::string>{"[..]", "[sub]", "old.vrz"}))
        << "folders first, then the files of the first filter";
    EXPECT_EQ(folderShown, dir.Path());
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

// Catches the focus not starting in the name field.
TEST_F(FileDialogTest, FocusStartsInTheNameField) {
    bool inName = false;
    Then([&] {
        inName = GetFocus() == Item(ID_NAME);
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetSaveFileName(&ofn));
    EXPECT_TRUE(inName);
}

// Catches Cancel (button or Escape) reported as a choice.
TEST_F(FileDialogTest, CancelReturnsFalse) {
    std::strcpy(buffer, "keep");
    Then([&] {
        Type("ignored");
        Click(Item(IDCANCEL));
    });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    Then([&] { Key(VK_ESCAPE); });
    EXPECT_FALSE(GetSaveFileName(&ofn));
}

// Catches a close request that the open/save dialog reports as a choice or a failure, or
// that its overwrite prompt takes for Yes; each loop passes the quit on.
TEST_F(FileDialogTest, CloseRequestCancelsTheDialogAndItsPrompt) {
    auto expectOneQuit = [] {
        MSG msg;
        ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, WM_QUIT);
        EXPECT_FALSE(platform::QuitPending(nullptr));
    };
    std::strcpy(buffer, "keep");
    Then([&] {
        Type("old.vrz");
        Push(platform::HostEventType::CloseRequested);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_STREQ(buffer, "keep");
    expectOneQuit();

    testsupport::SetMessageBoxHook(
        [this](HWND, const std::string& text, const std::string& caption, UINT type) {
            prompts.push_back({text, caption, type});
            Push(platform::HostEventType::CloseRequested);
        });
    Then([&] {
        Type("old");
        Key(VK_RETURN);
    });
    EXPECT_FALSE(GetSaveFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_STREQ(buffer, "keep");
    expectOneQuit();
}

// Catches an existing file replaced without asking, or a No that closes the dialog.
TEST_F(FileDialogTest, OverwritePromptYesAndNo) {
    AnswerPrompts(IDNO);
    bool stillOpen = false;
    Then([&] {
        Type("old");
        Key(VK_RETURN);
    });
    Then([&] {
        stillOpen = Dialog() != owner && IsWindow(Item(ID_NAME));
        AnswerPrompts(IDYES);
        Key(VK_RETURN);
    });
    ASSERT_TRUE(GetSaveFileName(&ofn));
    EXPECT_TRUE(stillOpen) << "No keeps the dialog open";
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].text, "old.vrz already exists.\nDo you want to replace it?");
    EXPECT_EQ(prompts[0].type, MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(prompts[0].caption, "Save As");
    EXPECT_EQ(std::string(buffer), dir / "old.vrz");
}

// Catches a double click on a folder taken as the answer, or ".." not going up.
TEST_F(FileDialogTest, DoubleClickEntersFoldersAndChoosesFiles) {
    std::vector<std::string> inside;
    std::string shownInside;
    Then([&] { DoubleClickRow(1); });  // [sub]
    Then([&] {
        inside = Listed();
        shownInside = dialogtest::DialogTest::TextOf(Item(ID_FOLDER));
        DoubleClickRow(1);  // inner.vrz
    });
    ASSERT_TRUE(GetOpenFileName(&ofn));
    EXPECT_EQ(inside, (std::vector<std::string>{"[..]", "inner.vrz"}));
    EXPECT_EQ(shownInside, dir / "sub");
    EXPECT_EQ(std::string(buffer), dir / "sub/inner.vrz");

    std::string upShown;
    ofn.lpstrInitialDir = nullptr;
    ofn.lpstrFile[0] = '\0';
    Then([&] {
        Key(VK_TAB);  // to the list
        Key(VK_HOME);
        Key(VK_RETURN);  // ".."
    });
    Then([&] {
        upShown = dialogtest::DialogTest::TextOf(Item(ID_FOLDER));
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn)) << "Enter on a folder must not end the dialog";
    EXPECT_EQ(upShown, dir.Path()) << "the next dialog opens where the last ended";
}

// Catches typed paths taken from the wrong folder, and a typed folder taken as a file.
TEST_F(FileDialogTest, TypedRelativeAbsoluteAndFolderPaths) {
    Then([&] {
        Type("sub/a");
        Key(VK_RETURN);
    });
    ASSERT_TRUE(GetSaveFileName(&ofn));
    EXPECT_EQ(std::string(buffer), dir / "sub/a.vrz");

    ofn.lpstrFile[0] = '\0';
    Then([&] {
        Type(dir / "sub/b.dat");
        Key(VK_RETURN);
    });
    ASSERT_TRUE(GetSaveFileName(&ofn));
    EXPECT_EQ(std::string(buffer), dir / "sub/b.dat");

    ofn.lpstrFile[0] = '\0';
    ofn.lpstrInitialDir = folder.c_str();
    std::string shown, nameAfter;
    Then([&] {
        Type("sub");
        Key(VK_RETURN);
    });
    Then([&] {
        shown = dialogtest::DialogTest::TextOf(Item(ID_FOLDER));
        nameAfter = dialogtest::DialogTest::TextOf(Item(ID_NAME));
        Type("c");
        Key(VK_RETURN);
    });
    ASSERT_TRUE(GetSaveFileName(&ofn));
    EXPECT_EQ(shown, dir / "sub");
    EXPECT_EQ(nameAfter, "");
    EXPECT_EQ(std::string(buffer), dir / "sub/c.vrz");
}

// Catches a missing folder accepted (the save would then fail with nothing shown).
TEST_F(FileDialogTest, MissingFolderIsRefused) {
    AnswerPrompts(IDOK);
    Then([&] {
        Type("nowhere/x");
        Key(VK_RETURN);
    });
    Then([&] { Key(VK_ESCAPE); });
    EXPECT_FALSE(GetSaveFileName(&ofn));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text,
              "nowhere/x\nPath does not exist.\nPlease verify the correct path was given.");
}

// Catches the filter choice not changing the listing, folders hidden by a filter, and a
// type box that does not drop its list on a click or does not take a row clicked in it.
TEST_F(FileDialogTest, FileTypeChosenFromTheDroppedListFiltersTheList) {
    std::vector<std::string> before, after;
    bool dropped = false;
    Then([&] {
        before = Listed();
        Click(Item(ID_TYPE));
    });
    Then([&] {
        dropped = SendMessage(Item(ID_TYPE), CB_GETDROPPEDSTATE, 0, 0) != 0;
        RECT drop{};
        SendMessage(Item(ID_TYPE), CB_GETDROPPEDCONTROLRECT, 0,
                    LPARAM(reinterpret_cast<intptr_t>(&drop)));
        const int row = int(SendMessage(Item(ID_TYPE), CB_GETCOUNT, 0, 0)) - 1;
        ClickAt(drop.left + 10, drop.top + 1 + 13 * row + 6);  // "All Files (*.*)"
    });
    Then([&] {
        after = Listed();
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_TRUE(dropped);
    EXPECT_EQ(before, (std::vector<std::string>{"[..]", "[sub]", "old.vrz"}));
    EXPECT_EQ(after, (std::vector<std::string>{"[..]", "[sub]", "notes.txt", "old.vrz"}));

    ofn.nFilterIndex = 2;
    Then([&] {
        before = Listed();
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(before.size(), 4u) << "nFilterIndex preselects the second filter";
}

// Catches Enter in the open type list pressing Open (or Escape cancelling the dialog)
// instead of choosing (or closing) the list, and the arrows in the open list changing the
// filter before a choice is made.
TEST_F(FileDialogTest, FileTypeListOpensWithTheKeysAndChoosesWithEnter) {
    std::vector<std::string> whileOpen, chosen, afterEscape;
    Then([&] {
        SetFocus(Item(ID_TYPE));
        Key(VK_F4);
        Key(VK_DOWN);
    });
    Then([&] {
        whileOpen = Listed();
        Key(VK_RETURN);
    });
    Then([&] {
        chosen = Listed();
        Push(platform::HostEventType::KeyDown, VK_LMENU);
        Key(VK_DOWN);
        Push(platform::HostEventType::KeyUp, VK_LMENU);
        Key(VK_UP);
        Key(VK_ESCAPE);
    });
    Then([&] {
        afterEscape = Listed();
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(whileOpen.size(), 3u);
    EXPECT_EQ(chosen.size(), 4u) << "Enter chose All Files";
    EXPECT_EQ(afterEscape.size(), 4u) << "Escape gave the list up and left the dialog open";
}

// Catches a wheel that does not scroll the file list, scrolls it by one row a notch, or
// scrolls it only when it has the focus (the name field has it at first).
TEST_F(FileDialogTest, WheelScrollsTheFileListThreeRowsANotch) {
    for (int i = 100; i < 130; ++i)
        WriteText(dir / ('f' + std::to_string(i)) += ".vrz", "x");
    LRESULT fromNameField = -1, fromList = -1, elsewhere = -1;
    Then([&] {
        RECT r;
        GetWindowRect(Item(ID_LIST), &r);
        Mouse(platform::HostEventType::MouseMove, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Wheel(-WHEEL_DELTA);
    });
    Then([&] {
        fromNameField = SendMessage(Item(ID_LIST), LB_GETTOPINDEX, 0, 0);
        Key(VK_TAB);  // to the list
        Wheel(-WHEEL_DELTA);
    });
    Then([&] {
        fromList = SendMessage(Item(ID_LIST), LB_GETTOPINDEX, 0, 0);
        ShiftKey(VK_TAB);
        Mouse(platform::HostEventType::MouseMove, 5, 5);
        Wheel(-WHEEL_DELTA);
    });
    Then([&] {
        elsewhere = SendMessage(Item(ID_LIST), LB_GETTOPINDEX, 0, 0);
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    EXPECT_EQ(fromNameField, 3);
    EXPECT_EQ(fromList, 6);
    EXPECT_EQ(elsewhere, 6) << "the pointer is not over the list";
}

// Catches the open dialog insisting on an existing file when not asked to, or not
// insisting when asked.
TEST_F(FileDialogTest, OpenAndFileMustExist) {
    Then([&] {
        Type("gone");
        Key(VK_RETURN);
    });
    ASSERT_TRUE(GetOpenFileName(&ofn));
    EXPECT_EQ(std::string(buffer), dir / "gone.vrz");

    AnswerPrompts(IDOK);
    ofn.Flags |= OFN_FILEMUSTEXIST;
    ofn.lpstrFile[0] = '\0';
    Then([&] {
        Type("gone");
        Key(VK_RETURN);
    });
    Then([&] { Key(VK_ESCAPE); });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].caption, "Open");
}

// Catches a list that can't be scrolled: rows beyond the box would be out of reach.
TEST_F(FileDialogTest, LongListScrollsByKeyboardAndScrollBar) {
    for (int i = 0; i < 30; ++i) {
        std::string name = "f";
        name += std::to_string(100 + i);
        WriteText(dir / (name + ".vrz"), "x");
    }
    LRESULT topAtEnd = -1, topAfterUp = -1, topAfterPage = -1, selAfterType = -1;
    Then([&] {
        Key(VK_TAB);
        Key(VK_END);
    });
    Then([&] {
        topAtEnd = SendMessage(Item(ID_LIST), LB_GETTOPINDEX, 0, 0);
        RECT r;
        GetClientRect(Item(ID_LIST), &r);
        Click(Item(ID_LIST), r.right - 10, 6);  // the up arrow
    });
    Then([&] {
        topAfterUp = SendMessage(Item(ID_LIST), LB_GETTOPINDEX, 0, 0);
        RECT r;
        GetClientRect(Item(ID_LIST), &r);
        Click(Item(ID_LIST), r.right - 10, 30);  // the track above the thumb
    });
    Then([&] {
        topAfterPage = SendMessage(Item(ID_LIST), LB_GETTOPINDEX, 0, 0);
        Type("o");
    });
    Then([&] {
        selAfterType = SendMessage(Item(ID_LIST), LB_GETCURSEL, 0, 0);
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetOpenFileName(&ofn));
    const LRESULT total = 33;  // "..", "sub", 30 + "old.vrz"
    EXPECT_GT(topAtEnd, 0);
    EXPECT_EQ(topAfterUp, topAtEnd - 1);
    EXPECT_LT(topAfterPage, topAfterUp);
    EXPECT_EQ(selAfterType, total - 1) << "typing a letter selects the next name with it";
}

// Catches a path written past the caller's buffer.
TEST_F(FileDialogTest, TooSmallBufferFails) {
    char small[8] = {};
    ofn.lpstrFile = small;
    ofn.nMaxFile = sizeof small;
    ofn.lpstrFileTitle = nullptr;
    Then([&] {
        Type("world");
        Key(VK_RETURN);
    });
    EXPECT_FALSE(GetSaveFileName(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    OPENFILENAME bad;
    bad.lStructSize = 4;
    EXPECT_FALSE(GetOpenFileName(&bad));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
}

// Catches the framework filter or default extension lost on the way through CFileDialog.
TEST_F(FileDialogTest, CFileDialogWithTheApplicationsArguments) {
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(filetest::FsPath(dir.Path()));
    const std::string here = platform::fs::CurrentFolder();
    std::vector<std::string> listed;
    Then([&] {
        listed = Listed();
        Type("saved");
        Key(VK_RETURN);
    });
    CFileDialog save(FALSE, "vrz", nullptr, 6, APP_FILTER);
    INT_PTR r = save.DoModal();
    std::filesystem::current_path(cwd);
    ASSERT_EQ(r, IDOK);
    EXPECT_EQ(save.GetPathName(), platform::fs::Join(here, "saved.vrz"));
    EXPECT_EQ(save.GetFileName(), "saved.vrz");
    EXPECT_EQ(save.GetFileExt(), "vrz");
    EXPECT_EQ(save.m_ofn.Flags & 6u, 6u);
    EXPECT_EQ(listed.back(), "old.vrz");

    Then([&] { Key(VK_ESCAPE); });
    CFileDialog open(TRUE, "vrz", nullptr, 6, APP_FILTER);
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(open.GetPathName(), "");
}

// Catches a file error shown without the stop icon or with the wrong text.
TEST_F(FileDialogTest, ReportErrorShowsAStopBox) {
    AnswerPrompts(IDOK);
    platform::SetFileErrorBox(nullptr);
    CFileException e(CFileException::diskFull, ENOSPC, "/data/w.vrz");
    e.ReportError();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text,
              "Disk full while accessing /data/w.vrz.\n" + platform::fs::ErrorText(ENOSPC));
    EXPECT_EQ(prompts[0].type & MB_ICONMASK, MB_ICONSTOP);
}

// Catches any change in the save dialog's look. VORLA_UPDATE_GOLDEN=1 rewrites the
// picture after a deliberate change.
TEST_F(FileDialogTest, SaveDialogMatchesItsGoldenPicture) {
    if (filetest::OnWindows()) {
        GTEST_SKIP() << "the picture shows a POSIX folder; Windows shows it with its drive";
    }
    const std::string fixed = "/tmp/vorla-filedlg-golden";
    std::filesystem::remove_all(fixed);
    std::filesystem::create_directories(fixed + "/Saves");
    std::filesystem::create_directories(fixed + "/archive");
    for (const char* f : {"battle.vrz", "Castle.vrz", "empty.vrz", "notes.txt"})
        WriteText(fixed + "/" + f, "x");
    for (int i = 0; i < 9; ++i)
        WriteText(fixed + "/world" + std::to_string(i) + ".vrz", "x");
    ofn.lpstrInitialDir = fixed.c_str();
    std::string differing = "not compared";
    Then([&] { Type("world"); });
    Then([&] {
        differing = testsupport::CompareWithGolden(platform::GdiPage(), "filedlg_save.png");
        Key(VK_ESCAPE);
    });
    EXPECT_FALSE(GetSaveFileName(&ofn));
    std::filesystem::remove_all(fixed);
    EXPECT_EQ(differing, "");
}

}  // namespace
