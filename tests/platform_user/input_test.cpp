#include "user_test_support.h"

using namespace usertest;
using platform::HostEventType;

namespace {

class DoubleClickTest : public UserTest {
  protected:
    std::vector<UINT> Buttons() {
        return Messages({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                         WM_RBUTTONUP, WM_RBUTTONDBLCLK});
    }
};

struct SecondClick {
    const char* name;
    uint32_t afterMs;
    int dx;
    int dy;
    UINT expected;
};

// Catches a double click recognised too far away or too late, or missed when close.
TEST_F(DoubleClickTest, SecondPressIsDoubleClickOnlyWithinTimeAndRectangle) {
    const SecondClick cases[] = {
        {"same place at once", 0, 0, 0, WM_LBUTTONDBLCLK},
        {"one pixel off at 500 ms", 500, 1, -1, WM_LBUTTONDBLCLK},
        {"two pixels right", 100, 2, 0, WM_LBUTTONDOWN},
        {"two pixels up", 100, 0, -2, WM_LBUTTONDOWN},
        {"501 ms later", 501, 0, 0, WM_LBUTTONDOWN},
    };
    for (const SecondClick& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        MakeMain("Dbl");
        Click(100, 100);
        platform::PumpPendingMessages();
        host->AdvanceClock(c.afterMs);
        Click(100 + c.dx, 100 + c.dy);
        platform::PumpPendingMessages();
        EXPECT_EQ(Buttons(),
                  (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, c.expected, WM_LBUTTONUP}));
    }
}

// Catches double clicks given to classes that did not ask for them.
TEST_F(DoubleClickTest, ClassWithoutDblClksGetsTwoPresses) {
    MakeMain("Plain");
    Click(100, 100);
    Click(100, 100);
    platform::PumpPendingMessages();
    EXPECT_EQ(Buttons(),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

// Catches the state not resetting after a double click (a triple click giving two).
TEST_F(DoubleClickTest, ThirdQuickPressStartsOver) {
    MakeMain("Dbl");
    Click(10, 10);
    Click(10, 10);
    Click(10, 10);
    platform::PumpPendingMessages();
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                            WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

// Catches a left press followed by a right press counting as a double click.
TEST_F(DoubleClickTest, DifferentButtonsDoNotPair) {
    MakeMain("Dbl");
    Click(10, 10, 1);
    Click(10, 10, 2);
    platform::PumpPendingMessages();
    EXPECT_EQ(Buttons(),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));
}

class MouseTest : public UserTest {};

// Catches wrong client coordinates or button flags in mouse messages.
TEST_F(MouseTest, MouseMessagesCarryClientPointAndButtonFlags) {
    HWND main = MakeMain();
    HWND child = CreateWindowEx(0, "Plain", "", WS_CHILD | WS_VISIBLE, 100, 50, 200, 100, main,
                                nullptr, nullptr, nullptr);
    platform::PumpPendingMessages();
    Log().clear();
    Mouse(HostEventType::MouseButtonDown, 110, 70, 1);
    Mouse(HostEventType::MouseMove, 20, 30);
    platform::PumpPendingMessages();
    std::vector<Logged> mouse;
    for (const Logged& l : Log())
        if (l.message == WM_LBUTTONDOWN || l.message == WM_MOUSEMOVE)
            mouse.push_back(l);
    ASSERT_EQ(mouse.size(), 2u);
    EXPECT_EQ(mouse[0].hwnd, child);
    EXPECT_EQ(mouse[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(mouse[0].wParam, MK_LBUTTON);
    EXPECT_EQ(mouse[1].hwnd, main);
    EXPECT_EQ(mouse[1].lParam, MAKELPARAM(20, 30));
    EXPECT_EQ(mouse[1].wParam, MK_LBUTTON);
}

// Catches captured input going to the window under the pointer, and the grab leaking.
TEST_F(MouseTest, CaptureGetsMovesOutsideItAndGrabsThePointer) {
    HWND main = MakeMain();
    HWND child = CreateWindowEx(0, "Plain", "", WS_CHILD | WS_VISIBLE, 100, 100, 50, 50, main,
                                nullptr, nullptr, nullptr);
    platform::PumpPendingMessages();
    EXPECT_EQ(SetCapture(child), nullptr);
    EXPECT_TRUE(host->MouseGrabbed());
    EXPECT_EQ(GetCapture(), child);
    Log().clear();
    Mouse(HostEventType::MouseMove, 10, 20);
    platform::PumpPendingMessages();
    ASSERT_EQ(Messages({WM_MOUSEMOVE}).size(), 1u);
    const Logged& move = Log().back();
    EXPECT_EQ(move.hwnd, child);
    EXPECT_EQ(GET_X_LPARAM(move.lParam), -90);
    EXPECT_EQ(GET_Y_LPARAM(move.lParam), -80);
    EXPECT_TRUE(Messages({WM_SETCURSOR}).empty());

    ReleaseCapture();
    EXPECT_FALSE(host->MouseGrabbed());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Messages({WM_CAPTURECHANGED}).size(), 1u);
    Log().clear();
    Mouse(HostEventType::MouseMove, 10, 20);
    platform::PumpPendingMessages();
    EXPECT_EQ(Log().back().hwnd, main);
}

// Catches a destroyed capture window keeping the pointer grabbed.
TEST_F(MouseTest, DestroyingTheCaptureWindowReleasesTheGrab) {
    HWND main = MakeMain();
    SetCapture(main);
    DestroyWindow(main);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(host->MouseGrabbed());
}

// Catches WM_SETCURSOR not sent before a move, or with the wrong hit test.
TEST_F(MouseTest, MoveSendsSetCursorFirst) {
    HWND main = MakeMain();
    Mouse(HostEventType::MouseMove, 3, 4);
    platform::PumpPendingMessages();
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_SETCURSOR, WM_MOUSEMOVE}));
    EXPECT_EQ(Log()[0].wParam, WPARAM(reinterpret_cast<uintptr_t>(main)));
    EXPECT_EQ(Log()[0].lParam, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// Catches input reaching a window that a modal loop has disabled.
TEST_F(MouseTest, DisabledWindowGetsNoMouseInput) {
    HWND main = MakeMain();
    EnableWindow(main, FALSE);
    Log().clear();
    Click(5, 5);
    platform::PumpPendingMessages();
    EXPECT_TRUE(Messages({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SETCURSOR}).empty());
}

class KeyTest : public UserTest {};

// Catches a missing repeat bit (auto-repeat must be told apart) or wrong release bits.
TEST_F(KeyTest, KeyMessagesCarryRepeatAndTransitionBits) {
    HWND main = MakeMain();
    Key(HostEventType::KeyDown, VK_SPACE);
    Key(HostEventType::KeyDown, VK_SPACE, true);
    Key(HostEventType::KeyUp, VK_SPACE);
    platform::PumpPendingMessages();
    std::vector<Logged> keys;
    for (const Logged& l : Log())
        if (l.message == WM_KEYDOWN || l.message == WM_KEYUP)
            keys.push_back(l);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].hwnd, main);
    EXPECT_EQ(keys[0].wParam, VK_SPACE);
    EXPECT_EQ(uint32_t(keys[0].lParam), 1u);
    EXPECT_EQ(uint32_t(keys[1].lParam), 1u | (1u << 30));
    EXPECT_EQ(keys[2].message, WM_KEYUP);
    EXPECT_EQ(uint32_t(keys[2].lParam), 1u | (1u << 30) | (1u << 31));
}

// Catches a key whose press closed a window releasing onto the window beneath: Escape
// that closes a dialog must not also reach the main window.
TEST_F(KeyTest, ReleaseFollowsItsPressAndIsDroppedWhenThatWindowIsGone) {
    HWND main = MakeMain();
    HWND popup = CreateWindowEx(0, "Plain", "popup", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, main,
                                nullptr, nullptr, nullptr);
    SetFocus(popup);
    Key(HostEventType::KeyDown, VK_ESCAPE);
    platform::PumpPendingMessages();
    DestroyWindow(popup);
    SetFocus(main);
    Key(HostEventType::KeyUp, VK_ESCAPE);
    Key(HostEventType::KeyDown, VK_SPACE);
    SetFocus(main);
    Key(HostEventType::KeyUp, VK_SPACE);
    platform::PumpPendingMessages();
    std::vector<std::pair<UINT, WPARAM>> atMain;
    for (const Logged& l : Log())
        if (l.hwnd == main && (l.message == WM_KEYDOWN || l.message == WM_KEYUP))
            atMain.emplace_back(l.message, l.wParam);
    const std::vector<std::pair<UINT, WPARAM>> expected = {{WM_KEYDOWN, VK_SPACE},
                                                           {WM_KEYUP, VK_SPACE}};
    EXPECT_EQ(atMain, expected);
}

// Catches a typed character arriving twice (from text and from translation) or never.
TEST_F(KeyTest, EachTypedCharacterGivesOneChar) {
    MakeMain();
    Key(HostEventType::KeyDown, 'A');
    platform::HostEvent text;
    text.type = HostEventType::Text;
    text.character = 'a';
    host->PushEvent(text);
    Key(HostEventType::KeyUp, 'A');
    Key(HostEventType::KeyDown, VK_BACK);
    Key(HostEventType::KeyUp, VK_BACK);
    platform::PumpPendingMessages();
    std::vector<WPARAM> chars;
    for (const Logged& l : Log())
        if (l.message == WM_CHAR)
            chars.push_back(l.wParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', VK_BACK}));
}

// Catches GetKeyState not following shift and control as the messages arrive.
TEST_F(KeyTest, KeyStateFollowsModifierKeys) {
    MakeMain();
    Key(HostEventType::KeyDown, VK_LSHIFT);
    platform::PumpPendingMessages();
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    Mouse(HostEventType::MouseMove, 1, 1);
    platform::PumpPendingMessages();
    EXPECT_EQ(Log().back().wParam & MK_SHIFT, MK_SHIFT);
    Key(HostEventType::KeyUp, VK_LSHIFT);
    platform::PumpPendingMessages();
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
}

// Catches Alt+F4 doing nothing (no window manager turns it into a close), closing a
// child instead of its top-level window, or closing without Alt, from a class that
// forbids it, or from a disabled window.
TEST_F(KeyTest, AltF4ClosesTheTopLevelWindow) {
    RegisterTestClass("NoClose", CS_NOCLOSE);
    auto altF4 = [&](HWND focus) {
        SetFocus(focus);
        Key(HostEventType::KeyDown, VK_MENU);
        Key(HostEventType::KeyDown, VK_F4);
        Key(HostEventType::KeyUp, VK_F4);
        Key(HostEventType::KeyUp, VK_MENU);
        platform::PumpPendingMessages();
    };
    HWND main = MakeMain();
    Key(HostEventType::KeyDown, VK_F4);
    Key(HostEventType::KeyUp, VK_F4);
    platform::PumpPendingMessages();
    EXPECT_TRUE(Messages({WM_SYSCOMMAND, WM_CLOSE}).empty());

    HWND noClose = CreateWindowEx(0, "NoClose", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
    altF4(noClose);
    EXPECT_TRUE(IsWindow(noClose));
    DestroyWindow(noClose);

    EnableWindow(main, FALSE);
    PostMessage(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    platform::PumpPendingMessages();
    EXPECT_TRUE(IsWindow(main));
    EnableWindow(main, TRUE);

    HWND child = CreateWindowEx(0, "Plain", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, main, nullptr,
                                nullptr, nullptr);
    Log().clear();
    altF4(child);
    EXPECT_FALSE(IsWindow(main));
    std::vector<Logged> asked;
    for (const Logged& l : Log())
        if (l.message == WM_SYSCOMMAND || l.message == WM_CLOSE)
            asked.push_back(l);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].hwnd, main);
    EXPECT_EQ(asked[0].wParam, SC_CLOSE);
    EXPECT_EQ(asked[1].hwnd, main);
    EXPECT_EQ(asked[1].message, WM_CLOSE);
}

class WheelTest : public UserTest {
  protected:
    void Wheel(int32_t delta) {
        platform::HostEvent e;
        e.type = HostEventType::MouseWheel;
        e.wheel = delta;
        host->PushEvent(e);
    }
    static std::vector<Logged> Wheels() {
        std::vector<Logged> out;
        for (const Logged& l : Log())
            if (l.message == WM_MOUSEWHEEL)
                out.push_back(l);
        return out;
    }
};

// Catches the wheel going to the window under the pointer instead of the focus, a lost
// sign or key flag, or the pointer given in the focus window's client coordinates.
TEST_F(WheelTest, WheelGoesToTheFocusWithItsTurnKeysAndScreenPoint) {
    HWND main = MakeMain();
    HWND focused = CreateWindowEx(0, "Plain", "a", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, main,
                                  nullptr, nullptr, nullptr);
    CreateWindowEx(0, "Plain", "under", WS_CHILD | WS_VISIBLE, 200, 200, 100, 100, main, nullptr,
                   nullptr, nullptr);
    SetFocus(focused);
    Mouse(HostEventType::MouseMove, 250, 260);
    Key(HostEventType::KeyDown, VK_LSHIFT);
    Wheel(-2 * WHEEL_DELTA);
    Key(HostEventType::KeyUp, VK_LSHIFT);
    Wheel(40);
    Hook() = [](HWND, UINT message, WPARAM, LPARAM, LRESULT& r) {
        r = 0;
        return message == WM_MOUSEWHEEL;  // handled where it lands
    };
    Log().clear();
    platform::PumpPendingMessages();
    std::vector<Logged> wheels = Wheels();
    ASSERT_EQ(wheels.size(), 2u);
    EXPECT_EQ(wheels[0].hwnd, focused);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].wParam), -240);
    EXPECT_EQ(LOWORD(wheels[0].wParam), MK_SHIFT);
    EXPECT_EQ(GET_X_LPARAM(wheels[0].lParam), 250);
    EXPECT_EQ(GET_Y_LPARAM(wheels[0].lParam), 260);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[1].wParam), 40) << "a smooth wheel's part of a notch";
    EXPECT_EQ(LOWORD(wheels[1].wParam), 0);
}

// Catches an unhandled wheel lost in a child (a field in a dialog would swallow it) or
// passed on from a top-level window to something else.
TEST_F(WheelTest, UnhandledWheelClimbsToEachParentInTurn) {
    HWND main = MakeMain();
    HWND middle = CreateWindowEx(0, "Plain", "m", WS_CHILD | WS_VISIBLE, 10, 10, 300, 300, main,
                                 nullptr, nullptr, nullptr);
    HWND inner = CreateWindowEx(0, "Plain", "i", WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, middle,
                                nullptr, nullptr, nullptr);
    SetFocus(inner);
    Log().clear();
    Wheel(WHEEL_DELTA);
    platform::PumpPendingMessages();
    std::vector<Logged> wheels = Wheels();
    ASSERT_EQ(wheels.size(), 3u);
    EXPECT_EQ(wheels[0].hwnd, inner);
    EXPECT_EQ(wheels[1].hwnd, middle);
    EXPECT_EQ(wheels[2].hwnd, main);
    EXPECT_EQ(wheels[2].wParam, wheels[0].wParam);
    EXPECT_EQ(wheels[2].lParam, wheels[0].lParam);

    Hook() = [middle](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& r) {
        r = 0;
        return hwnd == middle && message == WM_MOUSEWHEEL;
    };
    Log().clear();
    Wheel(WHEEL_DELTA);
    platform::PumpPendingMessages();
    EXPECT_EQ(Wheels().size(), 2u) << "the parent that handles it keeps it";
}

class HostEventTest : public UserTest {};

// Catches the window manager's close not reaching the main window as WM_CLOSE.
TEST_F(HostEventTest, CloseRequestPostsCloseToTheMainWindow) {
    HWND main = MakeMain();
    platform::HostEvent close;
    close.type = HostEventType::CloseRequested;
    host->PushEvent(close);
    platform::PumpPendingMessages();
    EXPECT_FALSE(IsWindow(main));  // DefWindowProc destroys on WM_CLOSE
    EXPECT_EQ(Messages({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}),
              (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
}

// Catches a close request that destroys the main window under a running modal loop, or
// a loop that swallows the quit instead of handing it to the loop around it.
TEST_F(HostEventTest, CloseRequestInsideModalLoopsBecomesAQuitThatUnwindsEachLoop) {
    HWND main = MakeMain();
    platform::HostEvent close;
    close.type = HostEventType::CloseRequested;
    MSG msg;
    {
        platform::ModalLoop outer;
        {
            platform::ModalLoop inner;
            EXPECT_TRUE(platform::InModalLoop());
            host->PushEvent(close);
            ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
            EXPECT_FALSE(outer.Quits(MSG{}));
            EXPECT_TRUE(inner.Quits(msg));
            EXPECT_EQ(msg.wParam, 0u);
            EXPECT_FALSE(platform::QuitPending(nullptr)) << "posted again before the loop ended";
        }
        int code = -1;
        EXPECT_TRUE(platform::QuitPending(&code));
        EXPECT_EQ(code, 0);
        ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_TRUE(outer.Quits(msg));
    }
    EXPECT_FALSE(platform::InModalLoop());
    EXPECT_TRUE(platform::QuitPending(nullptr));
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(Messages({WM_CLOSE}).empty());
}

// Catches IsIconic not following the host, or no repaint after restoring.
TEST_F(HostEventTest, MinimiseAndRestoreFollowTheHost) {
    HWND main = MakeMain();
    platform::HostEvent e;
    e.type = HostEventType::Minimized;
    host->PushEvent(e);
    platform::PumpPendingMessages();
    EXPECT_TRUE(IsIconic(main));
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(Log()[0].message, WM_SIZE);
    EXPECT_EQ(Log()[0].wParam, SIZE_MINIMIZED);
    Log().clear();
    e.type = HostEventType::Restored;
    host->PushEvent(e);
    platform::PumpPendingMessages();
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(Messages({WM_SIZE, WM_PAINT}), (std::vector<UINT>{WM_SIZE, WM_PAINT}));
}

}  // namespace
