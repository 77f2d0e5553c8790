#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/afx/afx.h"
#include "platform/host/headless.h"

namespace {

std::vector<std::string>& Trace() {
    static std::vector<std::string> trace;
    return trace;
}

constexpr UINT ID_FRAME_CMD = 32771;
constexpr UINT ID_CHECKED_CMD = 32779;
constexpr UINT ID_APP_CMD = 32790;
constexpr UINT ID_NO_HANDLER = 32776;
constexpr UINT WM_PRIVATE = WM_USER + 1;

// A frame whose default processing is visible in the trace, with handlers in each of
// the default-processing orders.
class CTraceFrame : public CFrameWnd {
  public:
    static int liveCount;
    CTraceFrame() { ++liveCount; }
    ~CTraceFrame() override { --liveCount; }

    int checked = 0;

  protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER || message == WM_LBUTTONDOWN || message == WM_KEYDOWN ||
            message == WM_SETCURSOR || message == WM_MOUSEMOVE)
            Trace().push_back("default");
        return CFrameWnd::DefWindowProc(message, wParam, lParam);
    }

    void OnTimer(UINT_PTR id) {  // first
        CFrameWnd::OnTimer(id);
        Trace().push_back("timer " + std::to_string(id));
    }
    void OnLButtonDown(UINT, CPoint point) {  // last
        Trace().push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y));
        CFrameWnd::OnLButtonDown(0, point);
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {  // only
        CFrameWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    }
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {  // none
        Trace().push_back("setcursor " + std::to_string(pWnd == this) + " " +
                          std::to_string(nHitTest) + " " + std::to_string(message));
        return TRUE;
    }
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
        Trace().push_back("keyup " + std::to_string(nChar) + " " + std::to_string(nRepCnt) + " " +
                          std::to_string(nFlags));
    }
    LRESULT OnPrivate(WPARAM w, LPARAM l) {
        Trace().push_back("private " + std::to_string(w) + " " + std::to_string(l));
        return 42;
    }
    void OnFrameCommand() { Trace().push_back("frame command"); }
    void OnCheckedCommand() {}
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(checked); }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }

    DECLARE_MESSAGE_MAP()
};
int CTraceFrame::liveCount = 0;

BEGIN_MESSAGE_MAP(CTraceFrame, CFrameWnd)
ON_WM_TIMER()
ON_WM_LBUTTONDOWN()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_SETCURSOR()
ON_MESSAGE(WM_PRIVATE, OnPrivate)
ON_COMMAND(ID_FRAME_CMD, OnFrameCommand)
ON_COMMAND(ID_CHECKED_CMD, OnCheckedCommand)
ON_UPDATE_COMMAND_UI(ID_CHECKED_CMD, OnUpdateChecked)
ON_UPDATE_COMMAND_UI(ID_APP_CMD + 1, OnUpdateDisabled)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
  public:
    BOOL initResult = TRUE;
    bool createMainWindow = true;

    BOOL InitInstance() override {
        if (createMainWindow) {
            auto* frame = new CTraceFrame;
            frame->Create(nullptr, "Framework test", WS_POPUP | WS_SYSMENU);
            m_pMainWnd = frame;
            frame->ShowWindow(SW_SHOW);
        }
        return initResult;
    }

  protected:
    void OnAppCommand() { Trace().push_back("app command"); }
    void OnAppAbout() { Trace().push_back("about"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_APP_CMD, OnAppCommand)
ON_COMMAND(ID_APP_CMD + 1, OnAppCommand)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

class AfxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host = &platform::InstallHeadlessHost();
        platform::ResetUser();
        Trace().clear();
        CTraceFrame::liveCount = 0;
    }
    void TearDown() override {
        if (CWnd* main = app.m_pMainWnd)
            main->DestroyWindow();
        EXPECT_EQ(CTraceFrame::liveCount, 0) << "a frame leaked";
        platform::ResetUser();
    }

    CTraceFrame* StartFrame() {
        EXPECT_TRUE(app.InitInstance());
        platform::PumpPendingMessages();
        Trace().clear();
        return static_cast<CTraceFrame*>(app.m_pMainWnd);
    }

    void Push(platform::HostEventType type, int x, int y, int button = 0, uint32_t vk = 0) {
        platform::HostEvent e;
        e.type = type;
        e.x = x;
        e.y = y;
        e.button = button;
        e.virtualKey = vk;
        host->PushEvent(e);
    }

    platform::HeadlessHost* host = nullptr;
    CTestApp app;
};

using Lines = std::vector<std::string>;

// Catches a handler running before or after the default processing it asks for.
TEST_F(AfxTest, HandlersChooseWhenDefaultProcessingRuns) {
    CTraceFrame* frame = StartFrame();
    frame->SetTimer(1, 40, nullptr);
    host->AdvanceClock(40);
    platform::PumpPendingMessages();
    EXPECT_EQ(Trace(), (Lines{"default", "timer 1"}));

    Trace().clear();
    Push(platform::HostEventType::MouseButtonDown, 481, 416, 1);
    platform::PumpPendingMessages();
    EXPECT_EQ(Trace(), (Lines{"setcursor 1 1 513", "down 481,416", "default"}));

    Trace().clear();
    Push(platform::HostEventType::KeyDown, 0, 0, 0, VK_SPACE);
    Push(platform::HostEventType::KeyUp, 0, 0, 0, VK_ESCAPE);
    platform::PumpPendingMessages();
    EXPECT_EQ(Trace(), (Lines{"default", "keyup 27 1 49152"}));

    // No entry at all: straight to the default.
    Trace().clear();
    Push(platform::HostEventType::MouseMove, 3, 3);
    platform::PumpPendingMessages();
    EXPECT_EQ(Trace(), (Lines{"setcursor 1 1 512", "default"}));
}

// Catches ON_MESSAGE losing its parameters or its result.
TEST_F(AfxTest, PrivateMessageReachesItsHandler) {
    CTraceFrame* frame = StartFrame();
    EXPECT_EQ(frame->SendMessage(WM_PRIVATE, 7, 9), 42);
    EXPECT_EQ(Trace(), (Lines{"private 7 9"}));
}

// Catches close not destroying the frame, the object leaking, or the loop not ending.
TEST_F(AfxTest, CloseDestroysTheFrameDeletesItAndEndsTheLoop) {
    CTraceFrame* frame = StartFrame();
    HWND hwnd = frame->m_hWnd;
    frame->PostMessage(WM_CLOSE);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CTraceFrame::liveCount, 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

// Catches a frame close that deletes the main window from inside a modal loop (a close
// queued before the loop began), or an outer loop that ends leaving the window standing
// or posts a second quit while taking it down.
TEST_F(AfxTest, CloseInsideAModalLoopBecomesAQuitAndRunDestroysTheFrame) {
    CTraceFrame* frame = StartFrame();
    HWND hwnd = frame->m_hWnd;
    {
        platform::ModalLoop loop;
        frame->SendMessage(WM_CLOSE);
        EXPECT_TRUE(IsWindow(hwnd));
        EXPECT_EQ(CTraceFrame::liveCount, 1);
        MSG msg;
        ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_TRUE(loop.Quits(msg));
    }
    EXPECT_EQ(app.Run(), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CTraceFrame::liveCount, 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_FALSE(platform::QuitPending(nullptr));
}

// Catches the loop's exit code not coming from WM_QUIT.
TEST_F(AfxTest, RunReturnsTheQuitCode) {
    StartFrame();
    PostQuitMessage(5);
    EXPECT_EQ(app.Run(), 5);
}

// Catches a failed start reporting success or leaving its window and object behind.
TEST_F(AfxTest, FailedInitInstanceExitsNonZeroAndDestroysTheWindow) {
    app.initResult = FALSE;
    EXPECT_NE(AfxWinMain(), 0);
    EXPECT_EQ(CTraceFrame::liveCount, 0);
    EXPECT_EQ(app.m_pMainWnd, nullptr);

    app.createMainWindow = false;
    EXPECT_NE(AfxWinMain(), 0);
}

// Catches a successful start not running the loop to its end.
TEST_F(AfxTest, AfxWinMainRunsTheLoopUntilTheWindowCloses) {
    platform::HostEvent close;
    close.type = platform::HostEventType::CloseRequested;
    host->PushEvent(close);
    EXPECT_EQ(AfxWinMain(), 0);
    EXPECT_EQ(CTraceFrame::liveCount, 0);
}

// Catches commands not reaching the frame's map, then the application's.
TEST_F(AfxTest, CommandsRouteToTheFrameThenTheApplication) {
    CTraceFrame* frame = StartFrame();
    frame->PostMessage(WM_COMMAND, ID_FRAME_CMD);
    frame->PostMessage(WM_COMMAND, ID_APP_CMD);
    frame->PostMessage(WM_COMMAND, ID_APP_ABOUT);
    frame->PostMessage(WM_COMMAND, ID_NO_HANDLER);
    platform::PumpPendingMessages();
    EXPECT_EQ(Trace(), (Lines{"frame command", "app command", "about"}));
}

// Catches menu items enabled without a handler, greyed with one, or update handlers
// not run.
TEST_F(AfxTest, CommandUpdateEnablesExactlyTheHandledItems) {
    CTraceFrame* frame = StartFrame();
    struct Item {
        UINT id;
        BOOL enabled;
        int check;
    };
    frame->checked = 1;
    const Item items[] = {
        {ID_FRAME_CMD, TRUE, 0},     // command handler in the frame
        {ID_APP_CMD, TRUE, 0},       // command handler in the application
        {ID_NO_HANDLER, FALSE, 0},   // no handler: greyed
        {ID_CHECKED_CMD, TRUE, 1},   // update handler checks, handler enables
        {ID_APP_CMD + 1, FALSE, 0},  // update handler disables despite a handler
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.id);
        CCmdUI ui;  // a fake menu item: the base class records the outcome
        ui.m_nID = item.id;
        ui.m_bEnabled = item.enabled ? FALSE : TRUE;
        frame->UpdateCommandUI(ui);
        EXPECT_EQ(ui.m_bEnabled, item.enabled);
        EXPECT_EQ(ui.m_nCheck, item.check);
    }
    frame->checked = 0;
    CCmdUI ui;
    ui.m_nID = ID_CHECKED_CMD;
    ui.m_nCheck = 1;
    frame->UpdateCommandUI(ui);
    EXPECT_EQ(ui.m_nCheck, 0);
}

class CRefusingFrame : public CFrameWnd {
  public:
    static int liveCount;
    CRefusingFrame() { ++liveCount; }
    ~CRefusingFrame() override { --liveCount; }

  protected:
    int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
int CRefusingFrame::liveCount = 0;

BEGIN_MESSAGE_MAP(CRefusingFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

// Catches a frame deleting itself while its own Create is still running.
TEST_F(AfxTest, FrameThatFailsCreationStaysAliveForItsOwner) {
    auto* frame = new CRefusingFrame;
    EXPECT_FALSE(frame->Create(nullptr, "x", WS_POPUP));
    EXPECT_EQ(CRefusingFrame::liveCount, 1);
    EXPECT_EQ(frame->m_hWnd, nullptr);
    delete frame;
    EXPECT_EQ(CRefusingFrame::liveCount, 0);
}

// Catches the default frame class not asking for double clicks, or the default
// rectangle not covering the screen.
TEST_F(AfxTest, DefaultFrameClassAndRectangle) {
    CTraceFrame* frame = StartFrame();
    WNDCLASS wc;
    ASSERT_TRUE(GetClassInfo(AfxGetInstanceHandle(), CFrameWnd::DEFAULT_CLASS, &wc));
    EXPECT_EQ(wc.style, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    CRect r;
    frame->GetWindowRect(r);
    EXPECT_EQ(r, CRect(0, 0, 640, 480));
    EXPECT_EQ(host->Title(), "Framework test");
}

// Catches the application name not falling back to the executable's name.
TEST_F(AfxTest, ApplicationNameDefaultsToTheExecutable) {
    EXPECT_STREQ(app.m_pszAppName, "platform_afx_tests");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_NE(app.m_hInstance, nullptr);
}

// Catches a stack window destroyed without its window, or destroyed twice.
TEST_F(AfxTest, WindowObjectOutlivedByNothing) {
    auto* frame = StartFrame();
    HWND hwnd = nullptr;
    {
        CWnd child;
        ASSERT_TRUE(
            child.Create(CFrameWnd::DEFAULT_CLASS, "", WS_VISIBLE, CRect(0, 0, 5, 5), frame, 1));
        hwnd = child.m_hWnd;
        EXPECT_EQ(CWnd::FromHandle(hwnd), &child);
        EXPECT_EQ(child.GetParent(), frame);
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

// Catches a font object leaking its handle or deleting it twice.
TEST_F(AfxTest, FontOwnsItsHandle) {
    CFont font;
    ASSERT_TRUE(font.CreateFont(28, 0, 0, 0, 200, 0, 0, 0, 1, 0, 0, 2, 0, "Viking"));
    EXPECT_NE(HFONT(font), nullptr);
    EXPECT_EQ(font.GetSafeHandle(), font.m_hObject);
    EXPECT_TRUE(font.DeleteObject());
    EXPECT_FALSE(font.DeleteObject());
}

}  // namespace
