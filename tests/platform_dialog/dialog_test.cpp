#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/dialogs/dialog.h"
#include "platform/res/resources.h"
#include "platform/res/templates.h"
#include "tests/platform_dialog/dialog_fixture.h"
#include "tests/support/modal_watch.h"

using dialogtest::Commands;
using dialogtest::DialogTest;
using dialogtest::EndingProc;
using platform::DialogItemTemplate;
using platform::DialogTemplate;
using platform::HostEventType;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr int ID_DIGITS = 1010;
constexpr int ID_TEXT = 1011;
constexpr int ID_OTHER = 3;

DialogItemTemplate Item(const char* cls, const char* text, int id, DWORD style, int x, int y,
                        int cx, int cy) {
    DialogItemTemplate it;
    it.className = cls;
    it.text = text;
    it.id = id;
    it.style = style;
    it.x = int16_t(x);
    it.y = int16_t(y);
    it.cx = int16_t(cx);
    it.cy = int16_t(cy);
    return it;
}

// OK first (the default), a digits-only field, a plain field, a label, another button.
DialogTemplate SampleTemplate() {
    DialogTemplate t;
    t.style = DS_MODALFRAME | DS_CENTER | WS_POPUP | DS_SETFONT;
    t.cx = 154;
    t.cy = 89;
    t.pointSize = 8;
    t.fontFace = "MS Sans Serif";
    t.items.push_back(
        Item("BUTTON", "OK", IDOK, CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 53, 68, 50, 14));
    t.items.push_back(Item("STATIC", "Delka roku", -1, CHILD | SS_CENTER, 7, 7, 55, 14));
    t.items.push_back(Item("EDIT", "", ID_DIGITS,
                           CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_NUMBER, 62, 7, 40,
                           14));
    t.items.push_back(
        Item("EDIT", "", ID_TEXT, CHILD | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 62, 21, 40, 14));
    t.items.push_back(
        Item("BUTTON", "Other", ID_OTHER, CHILD | WS_TABSTOP | BS_PUSHBUTTON, 7, 68, 40, 14));
    return t;
}

HWND ActiveDialog() {
    return GetActiveWindow();
}

// Template invariants ------------------------------------------------------------------------

// Catches a resource dialog with clashing ids, a control outside its dialog, or a dialog
// that does not fit the screen once converted to pixels.
TEST(DialogTemplates, ResourceDialogsAreWellFormed) {
    for (int id : {100, 133, 135}) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        DialogTemplate t;
        ASSERT_TRUE(platform::LoadDialogTemplate(platform::ExecutableInstance(),
                                                 MAKEINTRESOURCE(uintptr_t(id)), t));
        EXPECT_EQ(t.style & DS_MODALFRAME, DS_MODALFRAME);
        EXPECT_EQ(t.style & DS_CENTER, DS_CENTER);
        EXPECT_NE(t.style & WS_CAPTION, WS_CAPTION);
        EXPECT_EQ(t.pointSize, 8);
        std::set<int> ids;
        for (const DialogItemTemplate& it : t.items) {
            if (it.id != -1 && it.id != 0xFFFF) {
                EXPECT_TRUE(ids.insert(it.id).second) << "duplicate id " << it.id;
            }
            EXPECT_GE(it.x, 0) << it.text;
            EXPECT_GE(it.y, 0) << it.text;
            EXPECT_LE(it.x + it.cx, t.cx) << it.text;
            EXPECT_LE(it.y + it.cy, t.cy) << it.text;
        }
        ASSERT_FALSE(t.items.empty());
        // The first tab stop takes the focus: it must be the default OK button.
        auto first = std::find_if(t.items.begin(), t.items.end(), [](const DialogItemTemplate& it) {
            return (it.style & WS_TABSTOP) && it.className == "BUTTON";
        });
        auto firstStop =
            std::find_if(t.items.begin(), t.items.end(),
                         [](const DialogItemTemplate& it) { return (it.style & WS_TABSTOP) != 0; });
        ASSERT_NE(firstStop, t.items.end());
        EXPECT_EQ(first, firstStop);
        EXPECT_EQ(firstStop->id, IDOK);
        EXPECT_EQ(firstStop->style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        LONG base = platform::DialogBaseUnitsFor(t.pointSize, t.fontFace);
        int w = int(t.cx) * LOWORD(uintptr_t(base)) / 4 + 2 * platform::DIALOG_FRAME;
        int h = int(t.cy) * HIWORD(uintptr_t(base)) / 8 + 2 * platform::DIALOG_FRAME;
        EXPECT_LE(w, 640);
        EXPECT_LE(h, 480);
    }
}

// Catches base units that are not computed from the font actually used.
TEST(DialogTemplates, BaseUnitsComeFromTheDialogFont) {
    LONG base = GetDialogBaseUnits();
    int bx = LOWORD(uintptr_t(base)), by = HIWORD(uintptr_t(base));
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, platform::DialogFont(8, "MS Sans Serif"));
    SIZE sz{};
    GetTextExtentPoint32(dc, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 52, &sz);
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    DeleteDC(dc);
    EXPECT_EQ(bx, (sz.cx / 26 + 1) / 2);
    EXPECT_EQ(by, tm.tmHeight);
    EXPECT_GE(bx, 4);
    EXPECT_LE(bx, 9);
    EXPECT_GE(by, 11);
    EXPECT_LE(by, 16);
}

// The modal loop ---------------------------------------------------------------------------

// Catches a missing template reported as a dialog result rather than -1.
TEST_F(DialogTest, MissingTemplateGivesMinusOne) {
    EXPECT_EQ(
        DialogBoxParam(platform::ExecutableInstance(), MAKEINTRESOURCE(4242), owner, EndingProc, 0),
        -1);
}

// Catches a modal loop that starves the owner's timers, leaves the owner disabled, or
// leaves the board beneath unpainted.
TEST_F(DialogTest, OwnerTimersRunAndOwnerRepaintsAfterwards) {
    bool ownerDisabled = false;
    Then([&] { ownerDisabled = !IsWindowEnabled(owner); });
    Then([] {});
    Then([] {});
    Then([&] { Key(VK_ESCAPE); });
    int paintsBefore = dialogtest::CurrentScript().ownerPaints;
    INT_PTR r = DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_EQ(r, IDCANCEL);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_GE(dialogtest::CurrentScript().ownerTimerTicks, 4);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(owner, &update, FALSE));
    platform::PumpPendingMessages();
    EXPECT_GT(dialogtest::CurrentScript().ownerPaints, paintsBefore);
}

// Catches a wrong initial focus, tab order not following the template, or no wrapping.
TEST_F(DialogTest, FocusStartsOnOkAndTabFollowsTemplateOrder) {
    std::vector<int> order;
    auto record = [&] { order.push_back(GetDlgCtrlID(GetFocus())); };
    Then(record);
    Then([&] { Key(VK_TAB); });
    Then(record);
    Then([&] { Key(VK_TAB); });
    Then(record);
    Then([&] { Key(VK_TAB); });
    Then(record);
    Then([&] { Key(VK_TAB); });
    Then(record);
    Then([&] { ShiftKey(VK_TAB); });
    Then(record);
    Then([&] { Key(VK_ESCAPE); });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_EQ(order, (std::vector<int>{IDOK, ID_DIGITS, ID_TEXT, ID_OTHER, IDOK, ID_OTHER}));
}

// Catches Enter not pressing the default button, Escape not cancelling, and Enter on a
// focused button pressing the default one instead.
TEST_F(DialogTest, EnterEscapeAndSpace) {
    Commands().clear();
    Then([&] { Key(VK_RETURN); });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0), IDOK);

    Then([&] { Key(VK_ESCAPE); });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0), IDCANCEL);

    // Enter in an edit field presses the default button.
    Then([&] { Key(VK_TAB); });
    Then([&] { Key(VK_RETURN); });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0), IDOK);

    Commands().clear();
    Then([&] { ShiftKey(VK_TAB); });  // to "Other"
    Then([&] { Key(VK_SPACE); });
    Then([&] { Key(VK_RETURN); });
    Then([&] { Key(VK_ESCAPE); });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_EQ(Commands(), (std::vector<int>{ID_OTHER, ID_OTHER, IDCANCEL}));
}

// Catches Enter doing nothing in a dialog without a default button.
TEST_F(DialogTest, EnterWithoutDefaultButtonSendsIdok) {
    DialogTemplate t = SampleTemplate();
    t.items[0].style = (t.items[0].style & ~BS_TYPEMASK) | BS_PUSHBUTTON;
    t.items.erase(t.items.begin());
    Commands().clear();
    Then([&] { Key(VK_RETURN); });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, t, owner, EndingProc, 0), IDOK);
}

// Catches a click that fires on press, or fires after the mouse left the button.
TEST_F(DialogTest, ButtonClicksOnReleaseInside) {
    Commands().clear();
    Then([&] {
        HWND other = GetDlgItem(ActiveDialog(), ID_OTHER);
        RECT r;
        GetWindowRect(other, &r);
        Mouse(HostEventType::MouseMove, r.left + 5, r.top + 5);
        Mouse(HostEventType::MouseButtonDown, r.left + 5, r.top + 5);
    });
    bool pressedLook = false;
    Then([&] {
        HWND other = GetDlgItem(ActiveDialog(), ID_OTHER);
        pressedLook = (SendMessage(other, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        EXPECT_TRUE(Commands().empty());
        Mouse(HostEventType::MouseMove, 5, 5);
        Mouse(HostEventType::MouseButtonUp, 5, 5);
    });
    Then([&] {
        EXPECT_TRUE(Commands().empty());
        Click(GetDlgItem(ActiveDialog(), ID_OTHER));
    });
    Then([&] { Key(VK_ESCAPE); });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_TRUE(pressedLook);
    EXPECT_EQ(Commands(), (std::vector<int>{ID_OTHER, IDCANCEL}));
}

// Edit fields --------------------------------------------------------------------------------

// Catches typed letters getting into a digits-only field, and pasted text being filtered.
TEST_F(DialogTest, DigitsOnlyFieldFiltersTypingButNotPaste) {
    std::string typed, pasted;
    Then([&] { Key(VK_TAB); });
    Then([&] { Type("1a2-b3"); });
    Then([&] {
        typed = TextOf(GetFocus());
        host->SetClipboardText("-45x");
        CtrlKey('V');
    });
    Then([&] {
        pasted = TextOf(GetFocus());
        Key(VK_ESCAPE);
    });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_EQ(typed, "123");
    EXPECT_EQ(pasted, "123-45x");
}

// Catches select-all missing on Tab, typing not replacing the selection, and wrong caret
// moves with Home/End, Shift+arrows, Backspace and Delete.
TEST_F(DialogTest, EditCaretAndSelection) {
    std::vector<std::string> texts;
    std::vector<std::pair<int, int>> sels;
    auto snap = [&] {
        texts.push_back(TextOf(GetFocus()));
        sels.push_back(Sel(GetFocus()));
    };
    Then([&] { SetDlgItemText(ActiveDialog(), ID_TEXT, "hello"); });
    Then([&] {
        Key(VK_TAB);
        Key(VK_TAB);
    });
    Then(snap);  // 0: whole text selected by Tab
    Then([&] { Type("abc"); });
    Then(snap);  // 1: replaced
    Then([&] {
        Key(VK_HOME);
        ShiftKey(VK_RIGHT);
        ShiftKey(VK_RIGHT);
    });
    Then(snap);  // 2: "ab" selected from the start
    Then([&] { Key(VK_DELETE); });
    Then(snap);  // 3: "c"
    Then([&] {
        Key(VK_END);
        Key(VK_BACK);
    });
    Then(snap);  // 4: ""
    Then([&] {
        Type("xyz");
        Key(VK_LEFT);
        ShiftKey(VK_HOME);
    });
    Then(snap);  // 5: caret at 0, anchor at 2
    Then([&] { Key(VK_ESCAPE); });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "hello");
    EXPECT_EQ(sels[0], std::make_pair(0, 5));
    EXPECT_EQ(texts[1], "abc");
    EXPECT_EQ(sels[1], std::make_pair(3, 3));
    EXPECT_EQ(sels[2], std::make_pair(0, 2));
    EXPECT_EQ(texts[3], "c");
    EXPECT_EQ(texts[4], "");
    EXPECT_EQ(texts[5], "xyz");
    EXPECT_EQ(sels[5], std::make_pair(0, 2));
}

// Catches a field that types, moves, selects or deletes a byte at a time in UTF-8 text
// (leaving half a letter behind), or that splits a letter at its length limit.
TEST_F(DialogTest, EditTypesAndMovesByWholeLetters) {
    std::vector<std::string> texts;
    std::vector<std::pair<int, int>> sels;
    auto snap = [&] {
        texts.push_back(TextOf(GetFocus()));
        sels.push_back(Sel(GetFocus()));
    };
    Then([&] {
        Key(VK_TAB);
        Key(VK_TAB);
        Type("sv\xC4\x9Bt");  // "svět": the e with caron is two bytes
    });
    Then(snap);  // 0
    Then([&] {
        Key(VK_LEFT);
        Key(VK_LEFT);
        ShiftKey(VK_RIGHT);
    });
    Then(snap);  // 1: the e with caron selected whole
    Then([&] { Type("\xC3\xBC"); });
    Then(snap);  // 2: replaced by u with diaeresis
    Then([&] { Key(VK_BACK); });
    Then(snap);  // 3: and deleted whole
    Then([&] {
        Key(VK_HOME);
        Key(VK_DELETE);
        SendMessage(GetFocus(), EM_LIMITTEXT, 4, 0);
        Key(VK_END);
        Type("\xC5\xBE\xC5\xBE");  // two z with caron: room for one
    });
    Then(snap);  // 4
    Then([&] { SendMessage(GetFocus(), EM_SETSEL, 3, 3); });
    Then(snap);  // 5: a position inside a letter falls back to its start
    Then([&] { Key(VK_ESCAPE); });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "sv\xC4\x9Bt");
    EXPECT_EQ(sels[0], std::make_pair(5, 5));
    EXPECT_EQ(sels[1], std::make_pair(2, 4));
    EXPECT_EQ(texts[2], "sv\xC3\xBCt");
    EXPECT_EQ(texts[3], "svt");
    EXPECT_EQ(texts[4], "vt\xC5\xBE") << "the second letter would not fit whole";
    EXPECT_EQ(sels[5], std::make_pair(2, 2));
}

// Catches UTF-8 changed on its way through the clipboard (read as Latin-1), and a window
// text cut inside a letter when the caller's buffer is short.
TEST_F(DialogTest, EditClipboardAndWindowTextKeepUtf8Whole) {
    std::string copied, pasted;
    char shortBuffer[4] = {};
    Then([&] {
        Key(VK_TAB);
        Key(VK_TAB);
        host->SetClipboardText(
            "\xC4\x8D"
            "a\xC3\xBC\nnext line");
        CtrlKey('V');
    });
    Then([&] {
        pasted = TextOf(GetFocus());
        Key(VK_HOME);
        ShiftKey(VK_RIGHT);
        CtrlKey('C');
    });
    Then([&] {
        copied = host->GetClipboardText();
        GetWindowText(GetFocus(), shortBuffer, int(sizeof shortBuffer));
        Key(VK_ESCAPE);
    });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_EQ(pasted,
              "\xC4\x8D"
              "a\xC3\xBC");
    EXPECT_EQ(copied, "\xC4\x8D");
    EXPECT_STREQ(shortBuffer,
                 "\xC4\x8D"
                 "a")
        << "three bytes fit; half the u does not";
}

// Catches copy and cut not reaching the host clipboard, or cut leaving the text.
TEST_F(DialogTest, EditCopyCutThroughTheHostClipboard) {
    std::string afterCopy, afterCut, remaining;
    Then([&] { SetDlgItemText(ActiveDialog(), ID_TEXT, "abcdef"); });
    Then([&] {
        Key(VK_TAB);
        Key(VK_TAB);
        Key(VK_END);
        ShiftKey(VK_LEFT);
        ShiftKey(VK_LEFT);
        CtrlKey('C');
    });
    Then([&] {
        afterCopy = host->GetClipboardText();
        Key(VK_HOME);
        ShiftKey(VK_RIGHT);
        CtrlKey('X');
    });
    Then([&] {
        afterCut = host->GetClipboardText();
        remaining = TextOf(GetFocus());
        Key(VK_ESCAPE);
    });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_EQ(afterCopy, "ef");
    EXPECT_EQ(afterCut, "a");
    EXPECT_EQ(remaining, "bcdef");
}

// Catches a caret that scrolls out of sight in a long text, and mouse selection.
TEST_F(DialogTest, EditScrollsToKeepTheCaretVisibleAndMouseSelects) {
    std::pair<int, int> dragged{-1, -1};
    bool caretPixel = false;
    Then([&] { SetDlgItemText(ActiveDialog(), ID_TEXT, "0123456789012345678901234567890"); });
    Then([&] {
        HWND edit = GetDlgItem(ActiveDialog(), ID_TEXT);
        RECT r;
        GetWindowRect(edit, &r);
        Mouse(HostEventType::MouseMove, r.left + 4, r.top + 5);
        Mouse(HostEventType::MouseButtonDown, r.left + 4, r.top + 5);
        Mouse(HostEventType::MouseMove, r.left + 20, r.top + 5);
        Mouse(HostEventType::MouseButtonUp, r.left + 20, r.top + 5);
    });
    Then([&] {
        dragged = Sel(GetDlgItem(ActiveDialog(), ID_TEXT));
        Key(VK_END);
    });
    Then([&] {
        // With the caret at the end, a black caret column shows inside the field.
        HWND edit = GetDlgItem(ActiveDialog(), ID_TEXT);
        RECT r;
        GetWindowRect(edit, &r);
        platform::PixelTarget page = platform::GdiPage();
        // The caret is a black column a whole text cell high; no digit is that tall.
        for (int x = r.right - 12; x < r.right - 2; ++x) {
            int run = 0, best = 0;
            for (int y = r.top + 2; y < r.bottom - 2; ++y) {
                const uint16_t* row =
                    reinterpret_cast<const uint16_t*>(page.pixels + y * page.pitch);
                run = row[x] == 0 ? run + 1 : 0;
                best = std::max(best, run);
            }
            caretPixel = caretPixel || best >= 12;
        }
        Key(VK_ESCAPE);
    });
    DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0);
    EXPECT_EQ(dragged.first, 0);
    EXPECT_GE(dragged.second, 2);
    EXPECT_TRUE(caretPixel);
}

// Quitting -----------------------------------------------------------------------------------

// Catches a close request that destroys the owner under the dialog's loop, sends the
// dialog a command (OK would write its fields back), or is lost instead of reaching the
// loop around the dialog.
TEST_F(DialogTest, CloseRequestEndsTheDialogAsCancelAndPassesTheQuitOn) {
    Commands().clear();
    Then([&] { Push(HostEventType::CloseRequested); });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0), IDCANCEL);
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(IsWindow(owner));
    EXPECT_TRUE(IsWindowEnabled(owner));
    int code = -1;
    EXPECT_TRUE(platform::QuitPending(&code));
    EXPECT_EQ(code, 0);
}

// A message box over a dialog, as a rejected field shows one: the box ends first, then
// the dialog, each as Cancel, and one quit is left for the loop around them.
TEST_F(DialogTest, CloseRequestUnwindsAMessageBoxAndTheDialogBeneath) {
    static std::vector<int> boxResults;
    boxResults.clear();
    auto asking = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            boxResults.push_back(MessageBox(hwnd, "Please enter an integer.", nullptr, MB_OK));
            return TRUE;  // stays open, as after a failed exchange
        }
        return FALSE;
    };
    Then([&] { Key(VK_RETURN); });
    Then([&] { Push(HostEventType::CloseRequested); });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, asking, 0), IDCANCEL);
    EXPECT_EQ(boxResults, std::vector<int>{IDCANCEL});
    EXPECT_TRUE(IsWindow(owner));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_FALSE(platform::QuitPending(nullptr)) << "the quit was posted twice";
}

// Catches Alt+F4 in a dialog that does nothing, ends the program, or closes the dialog
// other than by its Cancel command.
TEST_F(DialogTest, AltF4CancelsTheDialogOnly) {
    Commands().clear();
    Then([&] {
        Push(HostEventType::KeyDown, VK_MENU);
        Key(VK_F4);
        Push(HostEventType::KeyUp, VK_MENU);
    });
    EXPECT_EQ(DialogBoxIndirectParam(nullptr, SampleTemplate(), owner, EndingProc, 0), IDCANCEL);
    EXPECT_EQ(Commands(), std::vector<int>{IDCANCEL});
    EXPECT_TRUE(IsWindow(owner));
    EXPECT_FALSE(platform::QuitPending(nullptr));
}

// Message boxes ------------------------------------------------------------------------------

// Catches wrong return values and Escape closing a Yes/No box that has no Cancel.
TEST_F(DialogTest, MessageBoxKeys) {
    Then([&] { Key(VK_RETURN); });
    EXPECT_EQ(MessageBox(owner, "Saved.", "Vorla", MB_OK | MB_ICONINFORMATION), IDOK);
    Then([&] { Key(VK_ESCAPE); });
    EXPECT_EQ(MessageBox(owner, "Saved.", "Vorla", MB_OK), IDOK);
    Then([&] { Key(VK_ESCAPE); });
    EXPECT_EQ(MessageBox(owner, "Go?", "Vorla", MB_OKCANCEL), IDCANCEL);
    Then([&] { Key(VK_ESCAPE); });  // ignored
    Then([&] { Key(VK_TAB); });
    Then([&] { Key(VK_RETURN); });
    EXPECT_EQ(MessageBox(owner, "Replace?", "Vorla", MB_YESNO | MB_ICONQUESTION), IDNO);
    Then([&] { Key(VK_RETURN); });
    EXPECT_EQ(MessageBox(owner, "Replace?", "Vorla", MB_YESNO | MB_DEFBUTTON2), IDNO);
    Then([&] { Key(VK_RETURN); });
    EXPECT_EQ(MessageBox(owner, "Replace?", "Vorla", MB_YESNO), IDYES);
}

// Catches a null caption not becoming "Error" and the text not reaching the box.
TEST_F(DialogTest, MessageBoxCaptionAndText) {
    std::string caption, text;
    int seen = 0;
    testsupport::SetMessageBoxHook([&](HWND box, const std::string& t, const std::string&, UINT) {
        ++seen;
        caption = TextOf(box);
        text = t;
        Key(VK_RETURN);
    });
    MessageBox(owner, "Something failed.", nullptr, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, "Something failed.");
}

}  // namespace
