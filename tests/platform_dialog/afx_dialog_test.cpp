#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/afx/dialog.h"
#include "platform/res/resources.h"
#include "tests/platform_dialog/dialog_fixture.h"
#include "tests/support/modal_watch.h"

using dialogtest::DialogTest;

namespace {

struct ParseCase {
    const char* text;
    bool ok;
    int value;
};

// Catches any departure from the framework's integer parse: blanks, signs, zero only from
// a leading digit 0, the 31-character window, and clamping.
TEST(DdxParse, FollowsTheFrameworkParse) {
    const ParseCase cases[] = {
        {"", false, 0},
        {"   ", false, 0},
        {"\t \t", false, 0},
        {" 12 ", true, 12},
        {"\t12\t", true, 12},
        {"+7", true, 7},
        {"-7", true, -7},
        {"0", true, 0},
        {"00", true, 0},
        {" 0 ", true, 0},
        {"-0", false, 0},  // the first character read is the sign, not the digit 0
        {"+0", false, 0},
        {"-", false, 0},
        {"12a", false, 0},
        {"a", false, 0},
        {"1 2", false, 0},
        {"--1", false, 0},
        {"2147483647", true, INT_MAX},
        {"2147483648", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"-2147483649", true, INT_MIN},
        {"99999999999999999999999999999", true, INT_MAX},
        // 31 digits of a big number, then junk from character 32 on: the junk is unseen.
        {"1234567890123456789012345678901xyz", true, INT_MAX},
    };
    for (const ParseCase& c : cases) {
        int value = 12345;
        bool ok = platform::ParseDialogInt(c.text, value);
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        } else {
            EXPECT_EQ(value, 12345) << "a rejected field changed the value: \"" << c.text << '"';
        }
    }
    int value = 0;
    // 29 blanks, "42", then junk from character 32 on.
    EXPECT_TRUE(platform::ParseDialogInt((std::string(29, ' ') + "42junk").c_str(), value));
    EXPECT_EQ(value, 42);
    // 30 blanks and "42": only the "4" is within the 31 characters.
    EXPECT_TRUE(platform::ParseDialogInt((std::string(30, ' ') + "42").c_str(), value));
    EXPECT_EQ(value, 4);
    // 31 blanks: the digit lies beyond the window, so the field reads as empty.
    EXPECT_FALSE(platform::ParseDialogInt((std::string(31, ' ') + "4").c_str(), value));
}

class CSampleDialog : public CDialog {
  public:
    CSampleDialog() : CDialog(135) {}
    int length = 500, birth = 3, lonely = 1, over = 4, overRand = 2, lonelyRand = 1;
    int okCalls = 0;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, 1010, length);
        DDX_Text(pDX, 1011, birth);
        DDX_Text(pDX, 1004, lonely);
        DDX_Text(pDX, 1016, over);
        DDX_Text(pDX, 1015, overRand);
        DDX_Text(pDX, 1014, lonelyRand);
    }
    void OnOK() override {
        ++okCalls;
        CDialog::OnOK();
    }
};

class AfxDialogTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        app = new CWinApp("vorla");
    }
    void TearDown() override {
        DialogTest::TearDown();
        delete app;
    }
    CWinApp* app = nullptr;
};

// Catches fields not written on opening, a rejected field closing the dialog, the box
// shown more than once or with the wrong text, caption or icon, and the field not being
// selected for correction.
TEST_F(AfxDialogTest, RejectedFieldShowsTheBoxOnceAndSelectsTheField) {
    CSampleDialog dlg;
    std::string shownLength;
    int boxes = 0;
    std::string boxText, boxCaption;
    UINT boxType = 0;
    testsupport::SetMessageBoxHook(
        [&](HWND box, const std::string& text, const std::string&, UINT type) {
            ++boxes;
            boxText = text;
            boxCaption = TextOf(box);
            boxType = type;
            Key(VK_RETURN);
        });
    int focusAfter = 0;
    std::pair<int, int> selAfter{-1, -1};
    bool stillOpen = false;
    Then([&] {
        shownLength = TextOf(GetDlgItem(dlg.m_hWnd, 1010));
        SetDlgItemText(dlg.m_hWnd, 1011, "");
        Key(VK_RETURN);
    });
    Then([&] {
        stillOpen = IsWindow(dlg.m_hWnd) && IsWindowVisible(dlg.m_hWnd);
        focusAfter = GetDlgCtrlID(GetFocus());
        selAfter = Sel(GetDlgItem(dlg.m_hWnd, 1011));
        SetDlgItemText(dlg.m_hWnd, 1010, "0");
        SetDlgItemText(dlg.m_hWnd, 1011, "7");
        Key(VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shownLength, "500");
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(boxText, "Please enter an integer.");
    EXPECT_EQ(boxCaption, "vorla");
    EXPECT_EQ(boxType, MB_ICONEXCLAMATION | MB_OK);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focusAfter, 1011);
    EXPECT_EQ(selAfter, std::make_pair(0, 0));  // empty field: the whole of nothing
    EXPECT_EQ(dlg.okCalls, 2);
    EXPECT_EQ(dlg.length, 0);
    EXPECT_EQ(dlg.birth, 7);
}

// Catches a selection that is not the whole text after a rejected field.
TEST_F(AfxDialogTest, RejectedFieldTextIsSelectedWhole) {
    CSampleDialog dlg;
    testsupport::SetMessageBoxHook(
        [&](HWND, const std::string&, const std::string&, UINT) { Key(VK_RETURN); });
    std::pair<int, int> sel{-1, -1};
    Then([&] {
        SetDlgItemText(dlg.m_hWnd, 1004, "12x");
        Key(VK_RETURN);
    });
    Then([&] {
        sel = Sel(GetFocus());
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(sel, std::make_pair(0, 3));
    EXPECT_EQ(dlg.lonely, 1) << "Escape must not read the fields back";
}

// Catches DoModal on a missing template pretending to have run.
TEST_F(AfxDialogTest, MissingTemplate) {
    CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
}

// Catches AfxMessageBox not taking the prompt from the string table.
TEST_F(AfxDialogTest, AfxMessageBoxByStringId) {
    std::string text, caption;
    testsupport::SetMessageBoxHook([&](HWND box, const std::string& t, const std::string&, UINT) {
        text = t;
        caption = TextOf(box);
        Key(VK_RETURN);
    });
    EXPECT_EQ(AfxMessageBox(AFX_IDP_PARSE_INT, MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(text, "Please enter an integer.");
    EXPECT_EQ(caption, "vorla");
}

}  // namespace
