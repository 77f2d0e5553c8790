// TrackPopupMenu on the headless host: keyboard, mouse, notifications, timers, placement,
// command update through the framework, repainting, and the look.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "menu_fixture.h"
#include "platform/afx/afx.h"
#include "platform/host/screen.h"

#include "tests/support/golden.h"

namespace {

using namespace menutest;
using T = platform::HostEventType;

// Keyboard ----------------------------------------------------------------------------

// Catches Down/Right/Enter not reaching a sub-menu item, or the command being sent
// synchronously instead of posted after the menu returns.
TEST_F(MenuTest, KeysChooseASubMenuItemAndPostTheCommand) {
    Key(VK_DOWN);   // Rody
    Key(VK_DOWN);   // Vkladani, past the separator
    Key(VK_RIGHT);  // opens it on Modry
    Key(VK_DOWN);   // Cerveny
    Key(VK_RETURN);
    EXPECT_TRUE(Track());
    EXPECT_TRUE(Commands().empty()) << "the command must come after TrackPopupMenu returns";
    platform::PumpPendingMessages();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_CERVENY});
    EXPECT_EQ(Log().back().lParam, 0);
}

// Catches Escape closing the whole menu at once, issuing a command, or its release
// reaching the owner (where a key-up handler would act on it).
TEST_F(MenuTest, EscapeClosesOneLevelAtATimeWithNoCommand) {
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    KeyDown(VK_ESCAPE);  // back to the top level
    idleHook = [&] {
        static int step = 0;
        if (platform::OpenMenuRects().size() == 1 && step++ == 0) {
            KeyDown(VK_ESCAPE);
            platform::HostEvent up;
            up.type = T::KeyUp;
            up.virtualKey = VK_ESCAPE;
            host->PushEvent(up);
        }
    };
    EXPECT_TRUE(Track());
    platform::PumpPendingMessages();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Count(WM_KEYUP), 0) << "the dismissing key's release leaked to the owner";
    EXPECT_EQ(Count(WM_KEYDOWN), 0);
    // Later keys reach the owner again.
    Key(VK_SPACE);
    platform::PumpPendingMessages();
    EXPECT_EQ(Count(WM_KEYUP), 1);
}

LRESULT PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// Catches the releases still owed to one window's menu being lost, or that window's
// messages going to another window's procedure, when a menu of a second window ends with
// a key held too.
TEST_F(MenuTest, HeldKeysOfTwoMenusStayWithTheirOwnWindows) {
    HWND first = owner;
    Key(VK_DOWN);
    KeyDown(VK_RETURN);  // chooses Rody; its release is still to come
    Track();
    WNDCLASS wc;
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = "PlainOwner";
    ASSERT_NE(RegisterClass(&wc), 0);
    HWND second = CreateWindowEx(0, "PlainOwner", "second", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(second);
    SetFocus(second);
    owner = second;
    KeyDown(VK_ESCAPE);  // dismisses, held
    Track();
    owner = first;
    Log().clear();
    SendMessage(first, WM_USER + 5, 0, 0);
    EXPECT_EQ(Count(WM_USER + 5), 1) << "the first window's message went elsewhere";
    SetFocus(first);
    platform::HostEvent up;
    up.type = T::KeyUp;
    up.virtualKey = VK_RETURN;
    host->PushEvent(up);
    Key(VK_SPACE);
    platform::PumpPendingMessages();
    EXPECT_EQ(Count(WM_KEYUP), 1) << "only the space's release reaches the first window";
}

// Catches Up from nothing not wrapping to the last item, and Home/End/F10/Alt mistakes.
TEST_F(MenuTest, UpHomeEndAndEndingKeys) {
    Key(VK_UP);  // nothing selected: the last item, Konec
    Key(VK_RETURN);
    Track();
    platform::PumpPendingMessages();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_KONEC});

    Log().clear();
    Key(VK_END);
    Key(VK_HOME);  // Rody
    Key(VK_UP);    // wraps to Konec
    Key(VK_DOWN);  // wraps to Rody
    Key(VK_RETURN);
    Track();
    platform::PumpPendingMessages();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_RODY});

    for (uint32_t ending : {VK_F10, VK_LMENU}) {
        Log().clear();
        Key(VK_DOWN);
        Key(ending);
        Key(VK_RETURN);  // after the menu: reaches the owner, chooses nothing
        Track();
        platform::PumpPendingMessages();
        EXPECT_TRUE(Commands().empty()) << ending;
    }
}

// Catches Left not closing a sub-menu, or Right on a plain item doing something.
TEST_F(MenuTest, LeftClosesASubMenuAndRightOnAPlainItemDoesNothing) {
    Key(VK_DOWN);   // Rody
    Key(VK_RIGHT);  // no sub-menu: nothing
    Key(VK_DOWN);
    Key(VK_RIGHT);  // Vkladani open
    Key(VK_LEFT);   // closed, Vkladani still selected
    Key(VK_DOWN);   // Nasatveni
    Key(VK_DOWN);   // Reset
    Key(VK_SPACE);
    Track();
    platform::PumpPendingMessages();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_RESET});
}

// Catches greyed items being chosen, or refusing the highlight.
TEST_F(MenuTest, GreyedItemIsHighlightedButNotChosen) {
    OnMessage() = [](UINT m, WPARAM w, LPARAM) {
        if (m == WM_INITMENUPOPUP)
            EnableMenuItem(reinterpret_cast<HMENU>(w), ID_NACTI, MF_BYCOMMAND | MF_GRAYED);
    };
    for (int i = 0; i < 4; ++i)
        Key(VK_DOWN);  // Rody, Vkladani, Nasatveni, Reset
    Key(VK_DOWN);      // Soubor
    Key(VK_RIGHT);     // Nacti, greyed, highlighted
    Key(VK_RETURN);    // nothing
    idleHook = [&] {
        static bool checked = false;
        if (!checked && platform::OpenMenuRects().size() == 2) {
            checked = true;
            HMENU file = GetSubMenu(menu, 7);
            POINT p = ItemCentre(file, 0);
            // The highlight bar is navy even on a greyed item.
            uint16_t px = host->Presented()[size_t(p.y) * 640 + size_t(p.x - 20)];
            EXPECT_EQ(px, 0x0010) << "no highlight on the greyed item";
            Click(p);  // nothing either
            Key(VK_ESCAPE);
            Key(VK_ESCAPE);
        }
    };
    Track();
    platform::PumpPendingMessages();
    EXPECT_TRUE(Commands().empty());
}

// Mouse --------------------------------------------------------------------------------

// Catches hover not opening the sub-menu, or a click on its item not choosing it.
TEST_F(MenuTest, HoverOpensSubMenuAndClickChooses) {
    int step = 0;
    idleHook = [&] {
        if (step == 0) {
            MoveTo(ItemCentre(menu, 2));  // over Vkladani
            ++step;
        } else if (step == 1) {
            ASSERT_EQ(platform::OpenMenuRects().size(), 2u) << "hover didn't open Vkladani";
            HMENU tools = GetSubMenu(menu, 2);
            POINT strom = ItemCentre(tools, 2);
            MoveTo(strom);
            Click(strom);
            ++step;
        }
    };
    Track();
    platform::PumpPendingMessages();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_STROM});
    EXPECT_EQ(Count(WM_LBUTTONDOWN) + Count(WM_LBUTTONUP), 0);
}

// Catches a click outside choosing something, or passing through to the window below.
TEST_F(MenuTest, ClickOutsideDismissesAndIsConsumed) {
    Click({100, 300});
    EXPECT_TRUE(Track());
    platform::PumpPendingMessages();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Count(WM_LBUTTONUP), 0) << "the dismissing click's release leaked";
    EXPECT_EQ(GetCapture(), nullptr);
    // The next click reaches the window again.
    Click({100, 300});
    platform::PumpPendingMessages();
    EXPECT_EQ(Count(WM_LBUTTONDOWN), 1);
}

// Catches the opening press's release choosing or dismissing, and TPM_RIGHTBUTTON
// being ignored either way.
TEST_F(MenuTest, EitherButtonChoosesOnlyWithRightButtonFlag) {
    // The release of the press that opened the menu, at the menu's corner: nothing.
    Mouse(T::MouseButtonUp, 500, 40, 1);
    int step = 0;
    idleHook = [&] {
        if (step++ == 0) {
            POINT reset = ItemCentre(menu, 5);
            MoveTo(reset);
            Mouse(T::MouseButtonDown, reset.x, reset.y, 2);
            Mouse(T::MouseButtonUp, reset.x, reset.y, 2);
        }
    };
    Track(500, 40, TPM_RIGHTBUTTON);
    platform::PumpPendingMessages();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_RESET});

    Log().clear();
    step = 0;
    idleHook = [&] {
        if (step++ == 0) {
            POINT reset = ItemCentre(menu, 5);
            MoveTo(reset);
            Mouse(T::MouseButtonDown, reset.x, reset.y, 2);
            Mouse(T::MouseButtonUp, reset.x, reset.y, 2);
            Key(VK_ESCAPE);
        }
    };
    Track(500, 40, TPM_LEFTBUTTON);
    platform::PumpPendingMessages();
    EXPECT_TRUE(Commands().empty()) << "the right button chose without TPM_RIGHTBUTTON";
}

// Notifications and timers ----------------------------------------------------------------

// Catches WM_INITMENUPOPUP missing, late, or with the wrong menu or position.
TEST_F(MenuTest, InitMenuPopupBeforeEachMenuShows) {
    std::vector<std::pair<HMENU, int>> seen;
    HMENU popup = nullptr, tools = nullptr;
    OnMessage() = [&](UINT m, WPARAM w, LPARAM l) {
        if (m == WM_INITMENUPOPUP) {
            popup = menu;
            tools = GetSubMenu(menu, 2);
            // Sent before the menu is on the screen.
            seen.push_back({reinterpret_cast<HMENU>(w), LOWORD(l)});
            EXPECT_EQ(platform::OpenMenuRects().size(), seen.size() - 1);
        }
    };
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    Track();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, popup);
    EXPECT_EQ(seen[0].second, 0);
    EXPECT_EQ(seen[1].first, tools);
    EXPECT_EQ(seen[1].second, 2);
}

// Catches the menu's loop starving the owner's timers (which must see them to drop them).
TEST_F(MenuTest, OwnerTimersKeepComingWhileOpen) {
    SetTimer(owner, 2, 100, nullptr);
    idleHook = [&] {
        if (Count(WM_TIMER) >= 3)
            Key(VK_ESCAPE);
    };
    uint32_t start = host->NowMs();
    Track();
    EXPECT_GE(Count(WM_TIMER), 3);
    EXPECT_GE(host->NowMs() - start, 300u);
    KillTimer(owner, 2);
}

// Catches a close request that lets the highlighted item through as a command, closes the
// owner under the loop, or ends the menu without handing the quit to the loop around it.
TEST_F(MenuTest, CloseRequestEndsTheMenuWithNoCommandAndPassesTheQuitOn) {
    platform::HostEvent close;
    close.type = T::CloseRequested;
    for (UINT flags : {UINT(TPM_RIGHTBUTTON), UINT(TPM_RIGHTBUTTON | TPM_RETURNCMD)}) {
        SCOPED_TRACE(flags);
        Log().clear();
        Key(VK_DOWN);  // Rody highlighted
        host->PushEvent(close);
        EXPECT_EQ(Track(500, 40, flags), (flags & TPM_RETURNCMD) ? FALSE : TRUE);
        EXPECT_TRUE(platform::OpenMenuRects().empty());
        platform::PumpPendingMessages();
        EXPECT_TRUE(Commands().empty());
        EXPECT_EQ(Count(WM_CLOSE), 0);
        EXPECT_TRUE(IsWindow(owner));
        MSG msg;
        ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, WM_QUIT);
        EXPECT_EQ(msg.wParam, 0u);
    }
}

// Placement ---------------------------------------------------------------------------------

// Catches a menu drawn off the screen near its right or bottom edge.
TEST_F(MenuTest, MenuNearTheEdgesFlipsToStayOnScreen) {
    std::vector<RECT> rects;
    idleHook = [&] {
        rects = platform::OpenMenuRects();
        Key(VK_ESCAPE);
    };
    Track(100, 50);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].left, 100);
    EXPECT_EQ(rects[0].top, 50);
    LONG w = rects[0].right - rects[0].left, h = rects[0].bottom - rects[0].top;

    Track(630, 470);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].right, 630) << "not flipped left";
    EXPECT_EQ(rects[0].bottom, 470) << "not flipped up";
    EXPECT_EQ(rects[0].right - rects[0].left, w);
    EXPECT_EQ(rects[0].bottom - rects[0].top, h);
}

// Catches a sub-menu leaving the screen instead of opening on the other side.
TEST_F(MenuTest, SubMenuOpensLeftWhenNoRoomOnTheRight) {
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    std::vector<RECT> rects;
    idleHook = [&] {
        rects = platform::OpenMenuRects();
        Key(VK_ESCAPE);
        Key(VK_ESCAPE);
    };
    Track(630, 300);  // the top menu then flips left, up to the screen's right edge
    ASSERT_EQ(rects.size(), 2u);
    for (const RECT& r : rects) {
        EXPECT_GE(r.left, 0);
        EXPECT_LE(r.right, 640);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.bottom, 480);
    }
    EXPECT_LT(rects[1].left, rects[0].left);
}

// Repainting -------------------------------------------------------------------------------

// Catches what the menu covered never being repainted by its owner.
TEST_F(MenuTest, CoveredAreaIsRepaintedThroughWmPaint) {
    RECT covered{};
    idleHook = [&] {
        covered = platform::OpenMenuRects()[0];
        Key(VK_ESCAPE);
    };
    Track(200, 100);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(owner, &update, FALSE));
    EXPECT_LE(update.left, covered.left);
    EXPECT_LE(update.top, covered.top);
    EXPECT_GE(update.right, covered.right);
    EXPECT_GE(update.bottom, covered.bottom);
    platform::PumpPendingMessages();
    EXPECT_EQ(Count(WM_PAINT), 1);
}

// Paints the owner in 8 x 8 blocks of colours that differ from block to block.
void PaintBlocks(HWND hwnd) {
    HDC dc = GetDC(hwnd);
    for (int by = 0; by < 60; ++by) {
        for (int bx = 0; bx < 80; ++bx) {
            HBRUSH b = CreateSolidBrush(RGB(bx * 3, by * 4, (bx + by) & 0xFF));
            RECT r = {bx * 8, by * 8, bx * 8 + 8, by * 8 + 8};
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
    }
    ReleaseDC(hwnd, dc);
}

// Catches a closed sub-menu leaving its pixels behind, the menu leaving any once it is
// gone, or the owner's painting reaching over a menu still open.
TEST_F(MenuTest, ClosingUncoversThePageExactly) {
    OnMessage() = [this](UINT m, WPARAM, LPARAM) {
        if (m == WM_PAINT)
            PaintBlocks(owner);
    };
    InvalidateRect(owner, nullptr, TRUE);
    platform::PumpPendingMessages();
    platform::PixelTarget page = platform::GdiPage();
    auto pixel = [&](int x, int y) {
        return reinterpret_cast<uint16_t*>(page.pixels + y * page.pitch)[x];
    };
    std::vector<uint16_t> before(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            before[size_t(y) * 640 + size_t(x)] = pixel(x, y);
    auto differing = [&](const RECT* except) {
        size_t n = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                bool inside = except && x >= except->left && x < except->right &&
                              y >= except->top && y < except->bottom;
                n += !inside && before[size_t(y) * 640 + size_t(x)] != pixel(x, y);
            }
        return n;
    };
    int step = 0;
    std::vector<uint16_t> withTop;
    idleHook = [&] {
        if (step == 0) {
            RECT top = platform::OpenMenuRects()[0];
            EXPECT_EQ(differing(&top), 0u);
            InvalidateRect(owner, nullptr, TRUE);  // the owner paints while the menu is open
            Key(VK_DOWN);
            Key(VK_DOWN);
            Key(VK_RIGHT);
        } else if (step == 1) {
            ASSERT_EQ(platform::OpenMenuRects().size(), 2u);
            RECT top = platform::OpenMenuRects()[0];
            EXPECT_GT(differing(&top), 0u) << "no sub-menu shown";
            Key(VK_LEFT);
        } else if (step == 2) {
            // Back to the top level alone: everything else is the owner's again.
            ASSERT_EQ(platform::OpenMenuRects().size(), 1u);
            RECT top = platform::OpenMenuRects()[0];
            EXPECT_EQ(differing(&top), 0u) << "the closed sub-menu left pixels behind";
            EXPECT_GT(differing(nullptr), 0u) << "the owner painted over the open menu";
            Key(VK_ESCAPE);
        }
        ++step;
    };
    Track(300, 100);
    platform::PumpPendingMessages();
    EXPECT_EQ(differing(nullptr), 0u) << "the menu left pixels behind";
}

// Command update through the framework -----------------------------------------------------

int g_tool = 6;

class CToolFrame : public CFrameWnd {
  public:
    void OnTool(UINT id) { g_tool = int(id - ID_MODRY); }
    void OnUpdateTool(CCmdUI* ui) { ui->SetCheck(int(ui->m_nID - ID_MODRY) == g_tool); }
    void OnReset() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CToolFrame, CFrameWnd)
ON_COMMAND_RANGE(ID_MODRY, ID_NIC, OnTool)
ON_UPDATE_COMMAND_UI_RANGE(ID_MODRY, ID_NIC, OnUpdateTool)
ON_COMMAND(ID_RESET, OnReset)
END_MESSAGE_MAP()

class FrameMenuTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        frame = new CToolFrame;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_POPUP | WS_VISIBLE));
        owner = frame->m_hWnd;
        SetActiveWindow(owner);
        SetFocus(owner);
        platform::PumpPendingMessages();
    }
    void TearDown() override {
        if (IsWindow(owner))
            frame->DestroyWindow();
        MenuTest::TearDown();
    }
    CToolFrame* frame = nullptr;
};

// The pixel colour at p on the presented screen, as 5-6-5.
uint16_t Presented(platform::HeadlessHost* host, POINT p) {
    return host->Presented()[size_t(p.y) * 640 + size_t(p.x)];
}

// Catches the update handlers not running, the check mark not drawn on the current tool,
// or commands without handlers left enabled.
TEST_F(FrameMenuTest, UpdateHandlersCheckTheCurrentToolAndGreyUnhandled) {
    g_tool = 6;
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    int checkedPixels[9] = {};
    UINT rodyState = 0, resetState = 0, nicState = 0;
    idleHook = [&] {
        if (platform::OpenMenuRects().size() != 2)
            return;
        HMENU tools = GetSubMenu(menu, 2);
        nicState = GetMenuState(tools, ID_NIC, MF_BYCOMMAND);
        rodyState = GetMenuState(menu, ID_RODY, MF_BYCOMMAND);
        resetState = GetMenuState(menu, ID_RESET, MF_BYCOMMAND);
        for (int i = 0; i < 9; ++i) {
            if (i == 5 || i == 7)
                continue;
            RECT r{};
            GetMenuItemRect(nullptr, tools, UINT(i), &r);
            // Dark pixels in the check column, away from the highlight of item 0.
            for (LONG y = r.top; y < r.bottom; ++y) {
                for (LONG x = r.left; x < r.left + 18; ++x)
                    checkedPixels[i] += i != 0 && Presented(host, {x, y}) == 0;
            }
        }
        Key(VK_DOWN);
        Key(VK_DOWN);  // Strom
        Key(VK_RETURN);
    };
    Track();
    platform::PumpPendingMessages();
    EXPECT_EQ(nicState & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(rodyState & MF_GRAYED, MF_GRAYED) << "no handler, yet enabled";
    EXPECT_EQ(resetState & MF_GRAYED, 0u);
    for (int i = 1; i < 8; ++i)
        EXPECT_EQ(checkedPixels[i], 0) << "check mark on item " << i;
    EXPECT_GT(checkedPixels[8], 8) << "no check mark drawn on Nic";
    EXPECT_EQ(g_tool, 2);

    // Next time the mark has moved to Strom.
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    UINT stromState = 0;
    nicState = 0;
    idleHook = [&] {
        if (platform::OpenMenuRects().size() != 2)
            return;
        HMENU tools = GetSubMenu(menu, 2);
        stromState = GetMenuState(tools, ID_STROM, MF_BYCOMMAND);
        nicState = GetMenuState(tools, ID_NIC, MF_BYCOMMAND);
        Key(VK_ESCAPE);
        Key(VK_ESCAPE);
    };
    Track();
    EXPECT_EQ(stromState & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(nicState & MF_CHECKED, 0u);
}

// The look ---------------------------------------------------------------------------------

// Catches any change in how the open menu looks: frame, font, highlight, separators,
// check mark, arrow. VORLA_UPDATE_GOLDEN=1 rewrites the image after a deliberate change.
TEST_F(FrameMenuTest, GoldenImageOfTheOpenMenu) {
    g_tool = 6;
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    std::string differing = "not compared";
    idleHook = [&] {
        if (platform::OpenMenuRects().size() != 2)
            return;
        differing = testsupport::CompareWithGolden(platform::FrontPage(), "menu_open.png");
        Key(VK_ESCAPE);
        Key(VK_ESCAPE);
    };
    Track(480, 40);
    EXPECT_EQ(differing, "");
}

}  // namespace
