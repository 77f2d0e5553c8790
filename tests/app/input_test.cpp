#include "app/hit_areas.h"
#include "platform/user/user.h"
#include "res/resource.h"
#include "tests/app/app_fixture.h"

namespace {

using platform::HostEvent;
using platform::HostEventType;

// Catches bounds that are not strict: the outer grid lines belong to no square, and the
// START/STOP area runs from y = 416 to 464.
TEST(HitAreaTest, BoundsAreStrict) {
    EXPECT_FALSE(BoardSquareAt(10, 100).onBoard);
    EXPECT_FALSE(BoardSquareAt(470, 100).onBoard);
    EXPECT_FALSE(BoardSquareAt(100, 10).onBoard);
    EXPECT_FALSE(BoardSquareAt(100, 470).onBoard);
    EXPECT_EQ(BoardSquareAt(11, 11).column, 0);
    EXPECT_EQ(BoardSquareAt(469, 469).column, 22);
    EXPECT_EQ(BoardSquareAt(469, 469).row, 22);
    EXPECT_EQ(BoardSquareAt(30, 50).column, 1);  // an inner grid line joins the next square
    EXPECT_EQ(BoardSquareAt(30, 50).row, 2);
    EXPECT_FALSE(InStartStopButton(500, 415));
    EXPECT_TRUE(InStartStopButton(500, 416));
    EXPECT_TRUE(InStartStopButton(500, 464));
    EXPECT_FALSE(InStartStopButton(500, 465));
    EXPECT_FALSE(InStartStopButton(480, 440));
    EXPECT_FALSE(InStartStopButton(630, 440));
    EXPECT_TRUE(InMenuButton(481, 19));
    EXPECT_FALSE(InMenuButton(481, 18));
    EXPECT_FALSE(InMenuButton(481, 67));
}

class InputTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_NE(Start(), nullptr);
    }

    void Push(HostEventType type, int x, int y, uint32_t key = 0, bool repeat = false,
              int button = 1) {
        HostEvent event;
        event.type = type;
        event.x = x;
        event.y = y;
        event.button = button;
        event.virtualKey = key;
        event.repeat = repeat;
        host->PushEvent(event);
    }
    void Press(int x, int y) { Push(HostEventType::MouseButtonDown, x, y); }
    void Release(int x, int y) { Push(HostEventType::MouseButtonUp, x, y); }
    void RightClick(int x, int y) {
        Push(HostEventType::MouseButtonDown, x, y, 0, false, 2);
        Push(HostEventType::MouseButtonUp, x, y, 0, false, 2);
    }
    void Move(int x, int y) { Push(HostEventType::MouseMove, x, y); }
    void Click(int x, int y) {
        Press(x, y);
        Release(x, y);
    }
    void Key(uint32_t key) {
        Push(HostEventType::KeyDown, 0, 0, key);
        Push(HostEventType::KeyUp, 0, 0, key);
    }
    void Pump() { platform::PumpPendingMessages(); }

    Cell& At(int column, int row) { return frame->world.board[CellIndex(column, row)]; }
    int32_t Blue() { return frame->world.stats[CELL_BLUE].total; }
};

// Catches painting on the outer grid lines, or off by one square at the edges.
TEST_F(InputTest, PressesPaintOnlyInsideTheBoard) {
    frame->brush.SelectTool(TOOL_BLUE);
    Click(10, 100);
    Click(470, 100);
    Click(100, 470);
    Pump();
    EXPECT_EQ(Blue(), 0);
    Click(11, 11);
    Click(469, 469);
    Pump();
    EXPECT_EQ(At(0, 0).type, CELL_BLUE);
    EXPECT_EQ(At(22, 22).type, CELL_BLUE);
}

// Catches painting only on entering a square, painting without the capture, or losing
// the capture when the drag leaves the board.
TEST_F(InputTest, DragPaintsEveryMoveAndResumesAfterLeavingTheBoard) {
    frame->brush.SelectTool(TOOL_BLUE);
    Press(55, 55);  // square (2, 2)
    Pump();
    EXPECT_EQ(At(2, 2).type, CELL_BLUE);
    At(2, 2).type = CELL_RED;
    Move(56, 56);  // the same square again
    Pump();
    EXPECT_EQ(At(2, 2).type, CELL_BLUE);
    Move(500, 300);  // off the board
    Pump();
    EXPECT_EQ(frame->hoverColumn, -1);
    Move(95, 55);  // back on: square (4, 2)
    Pump();
    EXPECT_EQ(At(4, 2).type, CELL_BLUE);
    EXPECT_EQ(frame->hoverColumn, 4);
    EXPECT_EQ(frame->hoverRow, 2);
    Release(600, 300);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    Move(135, 55);  // no button: hover only
    Pump();
    EXPECT_NE(At(6, 2).type, CELL_BLUE);
    EXPECT_EQ(frame->hoverColumn, 6);
}

// Catches a release that paints only after a press on the board.
TEST_F(InputTest, ReleaseOnTheBoardPaintsWithoutAPress) {
    frame->brush.SelectTool(TOOL_ROCK);
    Press(600, 300);
    Release(75, 75);
    Pump();
    EXPECT_EQ(At(3, 3).type, CELL_OBSTACLE);
    EXPECT_EQ(At(3, 3).sprite, SPRITE_ROCK);
}

// Catches the second press of a double click handled as a press: painting its square, or
// taking the capture so that the drag after it paints. Its release paints, as any does.
TEST_F(InputTest, SecondPressOfADoubleClickOnTheBoardDoesNothing) {
    frame->brush.SelectTool(TOOL_BLUE);
    Click(55, 55);
    Pump();
    ASSERT_EQ(At(2, 2).type, CELL_BLUE);
    At(2, 2).type = CELL_EMPTY;
    Press(55, 55);  // at once, on the same spot: a double click
    Move(75, 55);   // square (3, 2)
    Pump();
    EXPECT_EQ(At(2, 2).type, CELL_EMPTY);
    EXPECT_EQ(At(3, 2).type, CELL_EMPTY);
    EXPECT_EQ(GetCapture(), nullptr);
    Release(95, 55);  // square (4, 2)
    Pump();
    EXPECT_EQ(At(4, 2).type, CELL_BLUE);
    EXPECT_EQ(At(3, 2).type, CELL_EMPTY);
}

// Catches the right button taken for the left: painting, a drag, the menu or START/STOP.
TEST_F(InputTest, RightButtonDoesNothing) {
    frame->brush.SelectTool(TOOL_BLUE);
    Push(HostEventType::MouseButtonDown, 55, 55, 0, false, 2);
    Move(75, 55);
    Push(HostEventType::MouseButtonUp, 95, 55, 0, false, 2);
    RightClick(500, 440);  // START/STOP
    RightClick(550, 40);   // MENU
    // Were the menu open, this click outside it would only close it.
    host->AdvanceClock(1000);
    Click(135, 55);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(frame->yearTimerId, 0u);
    EXPECT_EQ(frame->modalOpen, 0);
    EXPECT_EQ(At(6, 2).type, CELL_BLUE) << "the menu swallowed the next click";
    EXPECT_EQ(Blue(), 1);
}

// Catches the START/STOP area's bounds, or a double click that toggles twice.
TEST_F(InputTest, StartStopTogglesOncePerClick) {
    Click(500, 415);
    Click(500, 465);
    Pump();
    EXPECT_EQ(frame->yearTimerId, 0u);
    Click(500, 416);
    Pump();
    EXPECT_NE(frame->yearTimerId, 0u);
    host->AdvanceClock(1000);
    Click(500, 464);
    Pump();
    EXPECT_EQ(frame->yearTimerId, 0u);
    host->AdvanceClock(1000);
    Click(550, 440);
    Click(550, 440);  // the second press of a double click
    Pump();
    EXPECT_NE(frame->yearTimerId, 0u);
}

// Catches keys that act on the press, repeat, or ignore the running years.
TEST_F(InputTest, SpaceStepsOneYearOnReleaseAlsoWhileRunning) {
    Push(HostEventType::KeyDown, 0, 0, VK_SPACE);
    Push(HostEventType::KeyDown, 0, 0, VK_SPACE, true);
    Push(HostEventType::KeyDown, 0, 0, VK_SPACE, true);
    Pump();
    EXPECT_EQ(frame->world.year, 0);
    Push(HostEventType::KeyUp, 0, 0, VK_SPACE);
    Pump();
    EXPECT_EQ(frame->world.year, 1);
    frame->ToggleYears();
    Key(VK_SPACE);
    Pump();
    EXPECT_EQ(frame->world.year, 2);
    Key('A');
    Pump();
    EXPECT_EQ(frame->world.year, 2);
}

// Catches Escape asking a question or waiting for the years.
TEST_F(InputTest, EscapeEndsTheProgramAlsoWhileRunning) {
    frame->ToggleYears();
    Key(VK_ESCAPE);
    Pump();
    Pump();
    EXPECT_FALSE(WindowAlive());
    int code = -1;
    EXPECT_TRUE(platform::QuitPending(&code));
    EXPECT_EQ(code, 0);
}

// Catches drawing while minimised, or years that stop with it.
TEST_F(InputTest, MinimisedYearsGoOnWithoutDrawing) {
    frame->ToggleYears();
    host->ForceScreenLoss();
    Pump();
    EXPECT_TRUE(IsIconic(window));
    const int presents = host->PresentCount();
    RunFor(2000);
    EXPECT_EQ(frame->world.year, 4);
    EXPECT_EQ(host->PresentCount(), presents);
    host->RegainScreen();
    RunFor(200);
    EXPECT_GT(host->PresentCount(), presents);
}

// The cursor stays the application's over the whole window.
TEST_F(InputTest, SetCursorKeepsTheApplicationCursor) {
    Move(300, 300);
    Pump();
    EXPECT_EQ(GetCursor(), frame->appCursor);
    EXPECT_EQ(SendMessage(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(1, WM_MOUSEMOVE)), 1);
}

// A window that presses keys into the host after a delay of virtual time, to end a menu
// or dialog from inside its own loop.
class DelayedKeys {
  public:
    DelayedKeys(platform::HeadlessHost* host, uint32_t delayMs, std::vector<uint32_t> keys) {
        instance_ = this;
        host_ = host;
        keys_ = std::move(keys);
        WNDCLASS wc{};
        wc.lpfnWndProc = &DelayedKeys::Proc;
        wc.lpszClassName = "DelayedKeys";
        RegisterClass(&wc);
        window_ = CreateWindowEx(0, "DelayedKeys", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 nullptr, nullptr);
        SetTimer(window_, 77, delayMs, nullptr);
    }
    ~DelayedKeys() {
        DestroyWindow(window_);
        instance_ = nullptr;
    }
    int fired = 0;

  private:
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER && instance_ != nullptr) {
            KillTimer(hwnd, 77);
            ++instance_->fired;
            for (uint32_t key : instance_->keys_) {
                HostEvent down;
                down.type = HostEventType::KeyDown;
                down.virtualKey = key;
                instance_->host_->PushEvent(down);
                HostEvent up = down;
                up.type = HostEventType::KeyUp;
                instance_->host_->PushEvent(up);
            }
            return 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    static inline DelayedKeys* instance_ = nullptr;
    platform::HeadlessHost* host_ = nullptr;
    std::vector<uint32_t> keys_;
    HWND window_ = nullptr;
};

// Catches years stepped or frames flipped under the open menu, a command issued by a
// dismissed menu, or modalOpen left set.
TEST_F(InputTest, OpenMenuHoldsTheYearsAndDismissingIssuesNothing) {
    frame->ToggleYears();
    RunFor(1000);
    ASSERT_EQ(frame->world.year, 2);
    const int32_t tool = frame->brush.tool;
    DelayedKeys escape(host, 3000, {VK_ESCAPE});
    Click(550, 40);
    Pump();
    EXPECT_EQ(escape.fired, 1);
    EXPECT_EQ(frame->world.year, 2);
    EXPECT_EQ(frame->modalOpen, 0);
    EXPECT_EQ(frame->brush.tool, tool);
    EXPECT_TRUE(WindowAlive());
    RunFor(520);
    EXPECT_EQ(frame->world.year, 3);
}

// Catches a click outside the menu that issues a command or reaches the board.
TEST_F(InputTest, ClickOutsideDismissesTheMenu) {
    frame->brush.SelectTool(TOOL_BLUE);
    Click(550, 40);
    Click(100, 300);  // consumed by the menu
    Pump();
    EXPECT_EQ(frame->modalOpen, 0);
    EXPECT_EQ(Blue(), 0);
}

// Catches keyboard navigation that misses the sub-menu or the posted command.
TEST_F(InputTest, MenuChoosesAToolByKeyboard) {
    // Down to "Vkladani", Right into it (on "Modry"), Down to "Cerveny", Enter.
    DelayedKeys keys(host, 10, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    Click(550, 40);
    Pump();
    Pump();
    EXPECT_EQ(frame->brush.tool, TOOL_RED);
    for (const Cell& cell : frame->world.board) {
        ASSERT_EQ(cell.type, CELL_EMPTY);  // choosing a tool paints nothing
    }
}

// Catches Reset leaving the years running, and Konec asking first.
TEST_F(InputTest, ResetStopsTheYearsAndKonecEnds) {
    frame->ToggleYears();
    frame->world.board[0].type = CELL_RED;
    PostMessage(window, WM_COMMAND, ID_RESET, 0);
    Pump();
    EXPECT_EQ(frame->yearTimerId, 0u);
    EXPECT_EQ(frame->world.board[0].type, CELL_EMPTY);
    frame->ToggleYears();
    PostMessage(window, WM_COMMAND, ID_EXIT, 0);
    Pump();
    Pump();
    EXPECT_FALSE(WindowAlive());
}

// Catches the check mark anywhere but on the current tool, and greyed commands.
TEST_F(InputTest, UpdateHandlersCheckTheCurrentToolAndEnableEveryCommand) {
    auto checked = [&](UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(frame, TRUE);
        EXPECT_TRUE(ui.m_bEnabled) << id;
        return ui.m_nCheck;
    };
    EXPECT_EQ(checked(ID_TOOL_NOTHING), 1);
    EXPECT_EQ(checked(ID_TOOL_BLUE), 0);
    PostMessage(window, WM_COMMAND, ID_TOOL_ROCK, 0);
    Pump();
    EXPECT_EQ(checked(ID_TOOL_ROCK), 1);
    EXPECT_EQ(checked(ID_TOOL_TREE), 0);
    EXPECT_EQ(checked(ID_TOOL_NOTHING), 0);
    for (UINT id : {ID_CLANS, ID_SETTINGS, ID_ABOUT, ID_LOAD_WORLD, ID_SAVE_WORLD, ID_EXIT}) {
        EXPECT_EQ(checked(id), 0);
    }
}

}  // namespace
