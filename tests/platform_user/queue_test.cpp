#include "user_test_support.h"

using namespace usertest;
using platform::HostEventType;

namespace {

class QueueTest : public UserTest {};

// Catches retrieval in arrival order instead of sent, posted, input, paint, timer.
TEST_F(QueueTest, MessagesComeInPriorityOrder) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 7, 10, nullptr);
    host->AdvanceClock(20);
    InvalidateRect(hwnd, nullptr, FALSE);
    Mouse(HostEventType::MouseMove, 5, 5);
    PostMessage(hwnd, WM_USER + 1, 0, 0);
    SendMessage(hwnd, WM_USER + 2, 0, 0);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_USER + 2}));  // sent: at once

    platform::PumpPendingMessages();
    EXPECT_EQ(Messages({WM_USER + 1, WM_MOUSEMOVE, WM_PAINT, WM_TIMER, WM_USER + 2}),
              (std::vector<UINT>{WM_USER + 2, WM_USER + 1, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
}

// Catches WM_QUIT overtaking posted messages, or being lost by the pump.
TEST_F(QueueTest, QuitComesAfterPostedMessagesAndStaysForGetMessage) {
    HWND hwnd = MakeMain();
    PostQuitMessage(3);
    PostMessage(hwnd, WM_USER, 0, 0);
    platform::PumpPendingMessages();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_USER}));
    int code = 0;
    EXPECT_TRUE(platform::QuitPending(&code));
    MSG msg;
    EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(platform::QuitPending(nullptr));
}

// Catches a message posted to a window that is gone reaching a recycled handle.
TEST_F(QueueTest, MessagesForDestroyedWindowsAreDropped) {
    HWND a = MakeMain();
    PostMessage(a, WM_USER, 0, 0);
    DestroyWindow(a);
    Log().clear();
    platform::PumpPendingMessages();
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(PostMessage(a, WM_USER, 0, 0), FALSE);
    EXPECT_EQ(SendMessage(a, WM_USER, 0, 0), 0);
}

class TimerTest : public UserTest {
  protected:
    int Ticks(UINT_PTR id) {
        int n = 0;
        for (const Logged& l : Log())
            if (l.message == WM_TIMER && l.wParam == id)
                ++n;
        return n;
    }
};

// Catches a zero interval firing on every pass of the loop.
TEST_F(TimerTest, IntervalIsClampedToTenMilliseconds) {
    HWND hwnd = MakeMain();
    EXPECT_EQ(SetTimer(hwnd, 1, 0, nullptr), 1u);
    host->AdvanceClock(9);
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(1), 0);
    host->AdvanceClock(1);
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(1), 1);
}

// Catches an unclamped huge interval wrapping the 32-bit clock and firing at once.
TEST_F(TimerTest, HugeIntervalIsClampedAndDoesNotWrap) {
    HWND hwnd = MakeMain();
    EXPECT_EQ(SetTimer(hwnd, 1, 0xFFFFFFFFu, nullptr), 1u);
    host->AdvanceClock(100000);
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(1), 0);
}

// Catches timers stopping while a modal loop has disabled their window.
TEST_F(TimerTest, DisabledWindowStillGetsItsTimers) {
    HWND hwnd = MakeMain();
    EnableWindow(hwnd, FALSE);
    SetTimer(hwnd, 1, 40, nullptr);
    EXPECT_TRUE(platform::RunMessagesUntil(host->NowMs() + 80));
    EXPECT_EQ(Ticks(1), 2);
}

// Catches replacement keeping the old countdown or adding a second timer.
TEST_F(TimerTest, SettingAnExistingIdRestartsItsCountdown) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 2, 100, nullptr);
    host->AdvanceClock(90);
    SetTimer(hwnd, 2, 100, nullptr);
    host->AdvanceClock(20);  // 110 after the first start
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(2), 0);
    host->AdvanceClock(80);
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(2), 1);
}

// Catches missed ticks piling up into a burst.
TEST_F(TimerTest, MissedTicksCoalesceIntoOne) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 1, 40, nullptr);
    SetTimer(hwnd, 2, 10, nullptr);
    host->AdvanceClock(1000);
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(1), 1);
    EXPECT_EQ(Ticks(2), 1);
    // and the cadence goes on from here
    host->AdvanceClock(40);
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(1), 2);
}

// Catches timers firing while input or posted messages are waiting.
TEST_F(TimerTest, TimerWaitsWhileOtherMessagesAreQueued) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 1, 10, nullptr);
    host->AdvanceClock(10);
    PostMessage(hwnd, WM_USER, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    Mouse(HostEventType::MouseMove, 1, 1);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_MOUSEMOVE);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
}

// Catches a pending tick surviving KillTimer, and killing an unknown timer succeeding.
TEST_F(TimerTest, KillTimerRemovesThePendingTick) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 5, 10, nullptr);
    host->AdvanceClock(50);
    EXPECT_TRUE(KillTimer(hwnd, 5));
    platform::PumpPendingMessages();
    EXPECT_EQ(Ticks(5), 0);
    EXPECT_FALSE(KillTimer(hwnd, 5));
}

// Catches PM_NOREMOVE consuming a tick, and timers outliving their window.
TEST_F(TimerTest, PeekWithoutRemovingKeepsTheTickAndDestroyKillsTimers) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 1, 10, nullptr);
    host->AdvanceClock(10);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_TIMER);
    DestroyWindow(hwnd);
    host->AdvanceClock(100);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(SetTimer(hwnd, 1, 10, nullptr), 0u);
}

// Catches GetMessage spinning instead of waiting on the host until the next timer.
TEST_F(TimerTest, GetMessageWaitsForTheNextTimerOnTheClock) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 1, 40, nullptr);
    uint32_t start = host->NowMs();
    MSG msg;
    ASSERT_EQ(GetMessage(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(host->NowMs() - start, 40u);
}

// Catches RunMessagesUntil stopping early or skipping ticks of a steady timer.
TEST_F(TimerTest, RunUntilDeliversEveryTickOnTime) {
    HWND hwnd = MakeMain();
    SetTimer(hwnd, 1, 40, nullptr);
    EXPECT_TRUE(platform::RunMessagesUntil(host->NowMs() + 400));
    EXPECT_EQ(Ticks(1), 10);
}

// Catches a callback timer going to the window procedure instead of its callback.
TEST_F(TimerTest, CallbackTimerCallsItsProcedure) {
    HWND hwnd = MakeMain();
    static int calls;
    calls = 0;
    SetTimer(hwnd, 9, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++calls; });
    host->AdvanceClock(10);
    platform::PumpPendingMessages();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Ticks(9), 0);
}

class PaintTest : public UserTest {};

// Catches UpdateWindow not painting synchronously, or the region staying invalid after.
TEST_F(PaintTest, InvalidateThenUpdateWindowPaintsOnce) {
    HWND hwnd = MakeMain();
    RECT r = {10, 20, 30, 40};
    InvalidateRect(hwnd, &r, FALSE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.bottom, 40);
    UpdateWindow(hwnd);
    EXPECT_EQ(Messages({WM_PAINT}).size(), 1u);
    platform::PumpPendingMessages();
    EXPECT_EQ(Messages({WM_PAINT}).size(), 1u);
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
}

// Catches several invalidations giving several paints, and hidden windows painting.
TEST_F(PaintTest, InvalidationsMergeAndHiddenWindowsDoNotPaint) {
    HWND hwnd = MakeMain();
    RECT a = {0, 0, 10, 10}, b = {50, 50, 60, 60};
    InvalidateRect(hwnd, &a, TRUE);
    InvalidateRect(hwnd, &b, TRUE);
    platform::PumpPendingMessages();
    EXPECT_EQ(Messages({WM_PAINT}).size(), 1u);
    EXPECT_EQ(Messages({WM_ERASEBKGND}).size(), 1u);

    Log().clear();
    ShowWindow(hwnd, SW_HIDE);
    InvalidateRect(hwnd, nullptr, FALSE);
    platform::PumpPendingMessages();
    EXPECT_TRUE(Messages({WM_PAINT}).empty());
}

// Catches BeginPaint leaving the region invalid, which would repaint forever.
TEST_F(PaintTest, BeginPaintValidatesAndReportsTheRegion) {
    HWND hwnd = MakeMain();
    Hook() = [](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m != WM_PAINT)
            return false;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        EXPECT_NE(dc, nullptr);
        EXPECT_EQ(ps.rcPaint.right, 640);
        EXPECT_EQ(ps.rcPaint.bottom, 480);
        EndPaint(h, &ps);
        return true;
    };
    InvalidateRect(hwnd, nullptr, FALSE);
    EXPECT_EQ(platform::PumpPendingMessages(), 1);
}

}  // namespace
