// The list box and the drop-down combo box, driven through real input in a dialog on the
// headless host.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs/dialog.h"
#include "tests/platform_dialog/dialog_fixture.h"

using dialogtest::DialogTest;
using platform::HostEventType;

namespace {

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
constexpr int ID_COMBO = 1200;
constexpr int ID_UNDER = 1201;
constexpr int ID_LIST = 1202;
constexpr int ID_DRAWN = 1203;
constexpr UINT DRAWN_ROW_HEIGHT = 20;

const char* const COMBO_ITEMS[] = {"Alpha", "Beta", "Gamma", "Delta"};
const char* const DRAWN_ITEMS[] = {"apple",
                                   "\xC4\x8D"
                                   "aj",
                                   "\xC4\x8C"
                                   "ten\xC3\xAD",
                                   "zebra"};

platform::DialogItemTemplate Item(const char* cls, int id, DWORD style, int x, int y, int cx,
                                  int cy, const char* text = "") {
    platform::DialogItemTemplate it;
    it.className = cls;
    it.text = text;
    it.id = id;
    it.style = style | CHILD;
    it.x = int16_t(x);
    it.y = int16_t(y);
    it.cx = int16_t(cx);
    it.cy = int16_t(cy);
    return it;
}

// A combo box with a button right under it (its list drops over the button), a list of
// 30 rows, an owner-drawn list, and OK.
platform::DialogTemplate ListsTemplate() {
    platform::DialogTemplate t;
    t.style = DS_MODALFRAME | DS_CENTER | WS_POPUP | DS_SETFONT;
    t.cx = 220;
    t.cy = 120;
    t.pointSize = 8;
    t.fontFace = "MS Sans Serif";
    t.items.push_back(Item("BUTTON", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 160, 100, 50, 14, "OK"));
    t.items.push_back(
        Item("COMBOBOX", ID_COMBO, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 7, 7, 90, 14));
    t.items.push_back(Item("BUTTON", ID_UNDER, WS_TABSTOP, 7, 24, 90, 40, "Under"));
    t.items.push_back(Item("LISTBOX", ID_LIST, WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                           110, 7, 100, 60));
    t.items.push_back(Item(
        "LISTBOX", ID_DRAWN,
        WS_TABSTOP | WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, 7, 70, 90, 45));
    return t;
}

struct Seen {
    std::vector<std::pair<int, WORD>> commands;  // control id, notification
    std::vector<std::pair<UINT, UINT>> drawn;    // item, state
    UINT measuredFor = 0;
};

Seen& Record() {
    static Seen seen;
    return seen;
}

INT_PTR ListsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            for (const char* item : COMBO_ITEMS)
                SendDlgItemMessage(dialog, ID_COMBO, CB_ADDSTRING, 0,
                                   LPARAM(reinterpret_cast<intptr_t>(item)));
            SendDlgItemMessage(dialog, ID_COMBO, CB_SETCURSEL, 0, 0);
            for (int i = 0; i < 30; ++i) {
                std::string row = "row " + std::to_string(i);
                SendDlgItemMessage(dialog, ID_LIST, LB_ADDSTRING, 0,
                                   LPARAM(reinterpret_cast<intptr_t>(row.c_str())));
            }
            for (const char* item : DRAWN_ITEMS)
                SendDlgItemMessage(dialog, ID_DRAWN, LB_ADDSTRING, 0,
                                   LPARAM(reinterpret_cast<intptr_t>(item)));
            return TRUE;
        }
        case WM_MEASUREITEM:
            Record().measuredFor = UINT(wParam);
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = DRAWN_ROW_HEIGHT;
            return TRUE;
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Record().drawn.emplace_back(d->itemID, d->itemState);
            return TRUE;
        }
        case WM_COMMAND:
            Record().commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

class ListComboTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        Record() = Seen{};
    }

    INT_PTR Run() { return DialogBoxIndirectParam(nullptr, ListsTemplate(), owner, ListsProc, 0); }

    static HWND Control(int id) { return GetDlgItem(GetActiveWindow(), id); }
    static LRESULT Ask(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessage(Control(id), message, wParam, lParam);
    }
    static RECT Dropped() {
        RECT r{};
        Ask(ID_COMBO, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(reinterpret_cast<intptr_t>(&r)));
        return r;
    }
    // A click at a screen point.
    void ClickAt(int x, int y) {
        Mouse(HostEventType::MouseMove, x, y);
        Mouse(HostEventType::MouseButtonDown, x, y);
        Mouse(HostEventType::MouseButtonUp, x, y);
    }
    static std::vector<WORD> CodesFrom(int id) {
        std::vector<WORD> codes;
        for (auto [from, code] : Record().commands)
            if (from == id)
                codes.push_back(code);
        return codes;
    }
    static uint16_t PixelAt(int x, int y) {
        platform::PixelTarget page = platform::GdiPage();
        return reinterpret_cast<const uint16_t*>(page.pixels + y * page.pitch)[x];
    }
};

constexpr uint16_t WHITE_565 = 0xFFFF;

// Catches a list that drops beneath the controls under the box (clipped by them), a
// click on a row that is lost or that also reaches the button beneath, notifications out
// of order, and the dialog's controls not repainting what the closed list uncovers.
TEST_F(ListComboTest, ClickDropsTheListOverTheDialogAndAClickOnARowChooses) {
    bool dropped = false, listOnTop = false;
    uint16_t overButtonOpen = 0, overButtonClosed = 0;
    RECT drop{};
    Then([&] { Click(Control(ID_COMBO)); });
    Then([&] {
        dropped = Ask(ID_COMBO, CB_GETDROPPEDSTATE) != 0;
        drop = Dropped();
        POINT inRow2 = {drop.right - 8, drop.top + 1 + 13 * 2 + 6};
        HWND at = WindowFromPoint(inRow2);
        listOnTop = at != Control(ID_UNDER) && GetParent(at) == Control(ID_COMBO);
        overButtonOpen = PixelAt(inRow2.x, inRow2.y);
        ClickAt(inRow2.x, inRow2.y);
    });
    Then([&] { overButtonClosed = PixelAt(drop.right - 8, drop.top + 1 + 13 * 2 + 6); });
    Then([&] { Key(VK_ESCAPE); });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(listOnTop) << "the dropped list is a pop-up above the button";
    EXPECT_EQ(overButtonOpen, WHITE_565) << "the list's rows show over the button";
    EXPECT_NE(overButtonClosed, WHITE_565) << "the button shows again once the list is gone";
    EXPECT_EQ(CodesFrom(ID_COMBO),
              (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_TRUE(CodesFrom(ID_UNDER).empty()) << "the click was the list's alone";
}

// Catches the keys that open, move and choose not working, Enter or Escape reaching the
// dialog (pressing OK or cancelling it) while the list is open, and a closed box that
// wraps round or notifies without a change.
TEST_F(ListComboTest, KeysOpenMoveChooseAndGiveUpTheList) {
    std::vector<LRESULT> sel;
    std::vector<bool> open;
    auto snap = [&] {
        sel.push_back(Ask(ID_COMBO, CB_GETCURSEL));
        open.push_back(Ask(ID_COMBO, CB_GETDROPPEDSTATE) != 0);
    };
    Then([&] {
        SetFocus(Control(ID_COMBO));
        Key(VK_F4);
        Key(VK_DOWN);
        Key(VK_DOWN);
    });
    Then(snap);  // 0: open, still Alpha
    Then([&] { Key(VK_RETURN); });
    Then(snap);  // 1: Gamma chosen, closed
    Then([&] {
        Push(HostEventType::KeyDown, VK_LMENU);
        Key(VK_DOWN);
        Push(HostEventType::KeyUp, VK_LMENU);
        Key(VK_UP);
    });
    Then(snap);  // 2: open again
    Then([&] { Key(VK_ESCAPE); });
    Then(snap);  // 3: closed, still Gamma
    Then([&] {
        Key(VK_DOWN);
        Key(VK_DOWN);
    });
    Then(snap);  // 4: Delta, the last; the second Down goes nowhere
    Then([&] { Key(VK_HOME); });
    Then(snap);  // 5: Alpha
    Then([&] { Key(VK_ESCAPE); });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(sel, (std::vector<LRESULT>{0, 2, 2, 2, 3, 0}));
    EXPECT_EQ(open, (std::vector<bool>{true, false, true, false, false, false}));
    EXPECT_EQ(CodesFrom(ID_COMBO), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP,
                                                      CBN_SELCHANGE, CBN_DROPDOWN, CBN_SELENDCANCEL,
                                                      CBN_CLOSEUP, CBN_SELCHANGE, CBN_SELCHANGE}));
    EXPECT_EQ(CodesFrom(IDOK).size() + CodesFrom(IDCANCEL).size(), 1u)
        << "only the last Escape reached the dialog";
}

// Catches the wheel doing nothing on the closed box, whole notches needed from a smooth
// wheel, and a click outside the open list choosing or going through to what it hit.
TEST_F(ListComboTest, WheelStepsTheClosedBoxAndAClickOutsideGivesTheListUp) {
    std::vector<LRESULT> sel;
    bool closedByClick = false;
    Then([&] {
        SetFocus(Control(ID_COMBO));
        Wheel(-WHEEL_DELTA);
    });
    Then([&] {
        sel.push_back(Ask(ID_COMBO, CB_GETCURSEL));
        Wheel(-WHEEL_DELTA / 2);
    });
    Then([&] {
        sel.push_back(Ask(ID_COMBO, CB_GETCURSEL));
        Wheel(-WHEEL_DELTA / 2);
    });
    Then([&] {
        sel.push_back(Ask(ID_COMBO, CB_GETCURSEL));
        Key(VK_F4);
        Key(VK_DOWN);
    });
    Then([&] {
        RECT under;
        GetWindowRect(Control(ID_UNDER), &under);
        RECT drop = Dropped();
        ClickAt(under.right - 4, drop.bottom + 4);  // on the button, below the list
    });
    Then([&] {
        closedByClick = Ask(ID_COMBO, CB_GETDROPPEDSTATE) == 0;
        sel.push_back(Ask(ID_COMBO, CB_GETCURSEL));
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_EQ(sel, (std::vector<LRESULT>{1, 1, 2, 2}));
    EXPECT_TRUE(closedByClick);
    EXPECT_TRUE(CodesFrom(ID_UNDER).empty()) << "the click that closed the list went no further";
}

// Catches a list that scrolls by one row a notch (or by a page), loses the parts of a
// notch a smooth wheel sends, keeps a part from the other direction, or scrolls past its
// end.
TEST_F(ListComboTest, WheelScrollsTheListThreeRowsANotch) {
    std::vector<LRESULT> tops;
    auto top = [&] { tops.push_back(Ask(ID_LIST, LB_GETTOPINDEX)); };
    Then([&] {
        SetFocus(Control(ID_LIST));
        Wheel(-WHEEL_DELTA);
    });
    Then(top);  // 3
    Then([&] { Wheel(-WHEEL_DELTA / 4); });
    Then(top);  // a quarter notch: not yet a row
    Then([&] { Wheel(-WHEEL_DELTA / 4); });
    Then(top);  // half a notch: one row
    Then([&] { Wheel(WHEEL_DELTA); });
    Then(top);  // back three; what was left over the other way is gone
    Then([&] { Wheel(-100 * WHEEL_DELTA); });
    Then(top);  // at the end, and no further
    Then([&] { Key(VK_ESCAPE); });
    Run();
    ASSERT_EQ(tops.size(), 5u);
    EXPECT_EQ(tops[0], 3);
    EXPECT_EQ(tops[1], 3);
    EXPECT_EQ(tops[2], 4);
    EXPECT_EQ(tops[3], 1);
    const LRESULT rows = 30, shown = tops[4];
    EXPECT_GT(shown, 20);
    RECT last{};
    Ask(ID_LIST, LB_GETITEMRECT, WPARAM(rows - 1), LPARAM(reinterpret_cast<intptr_t>(&last)));
    RECT client;
    GetClientRect(Control(ID_LIST), &client);
    EXPECT_LE(last.bottom, client.bottom) << "the last row shows at the end";
}

// Catches owner-drawn rows drawn at the font's height instead of the parent's, rows drawn
// without their selected and focus states, and typing a letter that finds its name only
// in the same case or not at all when it is not ASCII.
TEST_F(ListComboTest, OwnerDrawnRowsAndTypingALetter) {
    std::vector<LRESULT> sel;
    LRESULT height = 0;
    Then([&] {
        height = Ask(ID_DRAWN, LB_GETITEMHEIGHT);
        SetFocus(Control(ID_DRAWN));
        Type("\xC4\x8C");  // capital C with caron
    });
    Then([&] {
        sel.push_back(Ask(ID_DRAWN, LB_GETCURSEL));
        Type("\xC4\x8D");  // small c with caron: the next one on
    });
    Then([&] {
        sel.push_back(Ask(ID_DRAWN, LB_GETCURSEL));
        Type("Z");
    });
    Then([&] {
        sel.push_back(Ask(ID_DRAWN, LB_GETCURSEL));
        Record().drawn.clear();
        InvalidateRect(Control(ID_DRAWN), nullptr, FALSE);
    });
    Then([&] { Key(VK_ESCAPE); });
    Run();
    EXPECT_EQ(Record().measuredFor, UINT(ID_DRAWN));
    EXPECT_EQ(height, LRESULT(DRAWN_ROW_HEIGHT));
    EXPECT_EQ(sel, (std::vector<LRESULT>{1, 2, 3}));
    // 45 dialog units hold three whole rows of 20 pixels: the list scrolled one row to show
    // the last, selected with the focus.
    EXPECT_EQ(Record().drawn, (std::vector<std::pair<UINT, UINT>>{
                                  {1, 0}, {2, 0}, {3, UINT(ODS_SELECTED) | UINT(ODS_FOCUS)}}));
}

// Catches a list that drops off the bottom of the screen, and a list left behind (or a
// pointer still held) when the box is emptied or destroyed while it is open.
TEST_F(ListComboTest, ListDropsAboveNearTheBottomAndGoesWithTheBox) {
    platform::EnsureControlClasses();
    HWND combo = CreateWindowEx(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10,
                                450, 120, 22, owner, nullptr, nullptr, nullptr);
    ASSERT_NE(combo, nullptr);
    for (const char* item : COMBO_ITEMS)
        SendMessage(combo, CB_ADDSTRING, 0, LPARAM(reinterpret_cast<intptr_t>(item)));
    SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
    RECT box, drop{};
    GetWindowRect(combo, &box);
    SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(reinterpret_cast<intptr_t>(&drop)));
    EXPECT_EQ(drop.bottom, box.top);
    EXPECT_EQ(drop.bottom - drop.top, 4 * 13 + 2);
    HWND list = WindowFromPoint({drop.left + 5, drop.top + 5});
    EXPECT_EQ(GetParent(list), combo);
    EXPECT_EQ(GetCapture(), list);
    SendMessage(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
    SendMessage(combo, CB_ADDSTRING, 0, LPARAM(reinterpret_cast<intptr_t>("only")));
    SendMessage(combo, CB_SHOWDROPDOWN, TRUE, 0);
    list = GetCapture();
    ASSERT_NE(list, nullptr);
    DestroyWindow(combo);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
