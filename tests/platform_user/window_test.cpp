#include <tuple>

#include "platform/gdi/gdi.h"
#include "platform/host/screen.h"
#include "platform/res/resources.h"
#include "res/resource.h"
#include "user_test_support.h"

using namespace usertest;

namespace {

class WindowTest : public UserTest {};

// Catches a default-placed pop-up not covering the screen from its origin.
TEST_F(WindowTest, DefaultPlacedPopupCoversTheScreen) {
    HWND hwnd =
        CreateWindowEx(0, "Plain", "Title", WS_POPUP | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    RECT r;
    ASSERT_TRUE(GetWindowRect(hwnd, &r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 640);
    EXPECT_EQ(r.bottom, 480);
    POINT p = {5, 6};
    ClientToScreen(hwnd, &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(host->Title(), "Title");
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(Messages({WM_NCCREATE, WM_CREATE, WM_SIZE}),
              (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE}));
}

// Catches a window that refused creation being left alive.
TEST_F(WindowTest, CreateFailsWhenWmCreateRefuses) {
    Hook() = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_CREATE)
            return false;
        r = -1;
        return true;
    };
    HWND hwnd =
        CreateWindowEx(0, "Plain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(Messages({WM_DESTROY, WM_NCDESTROY}), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                             nullptr),
              nullptr);
}

// Catches children outliving their parent or being torn down in the wrong order.
TEST_F(WindowTest, DestroySendsDestroyParentFirstAndNcDestroyChildFirst) {
    HWND main = MakeMain();
    HWND child =
        CreateWindowEx(0, "Plain", "", WS_CHILD, 0, 0, 10, 10, main, nullptr, nullptr, nullptr);
    SetFocus(child);
    Log().clear();
    EXPECT_TRUE(DestroyWindow(main));
    std::vector<std::pair<HWND, UINT>> seen;
    for (const Logged& l : Log())
        if (l.message == WM_DESTROY || l.message == WM_NCDESTROY)
            seen.push_back({l.hwnd, l.message});
    EXPECT_EQ(
        seen,
        (std::vector<std::pair<HWND, UINT>>{
            {main, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {main, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(DestroyWindow(main));
}

// Catches showing a window without activating, focusing or invalidating it.
TEST_F(WindowTest, ShowingActivatesFocusesAndPaints) {
    HWND hwnd = CreateWindowEx(0, "Plain", "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    Log().clear();
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetActiveWindow(), hwnd);
    EXPECT_EQ(GetFocus(), hwnd);
    EXPECT_EQ(Messages({WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS}),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS}));
    UpdateWindow(hwnd);
    EXPECT_EQ(Messages({WM_PAINT}).size(), 1u);
}

// Catches user data, text or enabling not sticking to the window.
TEST_F(WindowTest, WindowDataRoundTrips) {
    HWND hwnd = MakeMain();
    EXPECT_EQ(SetWindowLongPtr(hwnd, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtr(hwnd, GWLP_USERDATA), 1234);
    SetWindowText(hwnd, "Renamed");
    char buf[4];
    EXPECT_EQ(GetWindowText(hwnd, buf, sizeof(buf)), 3);
    EXPECT_STREQ(buf, "Ren");
    EXPECT_EQ(host->Title(), "Renamed");
    EXPECT_FALSE(EnableWindow(hwnd, FALSE));
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_TRUE(EnableWindow(hwnd, TRUE));
}

struct Counted : platform::WindowExtra {
    explicit Counted(int* alive) : alive(alive) { ++*alive; }
    ~Counted() override { --*alive; }
    int* alive;
};
struct Other : platform::WindowExtra {};

// Catches a class's state outliving its window (a leak, or a stale state found again under
// a reused handle), being freed before WM_NCDESTROY has run, or found under the wrong type.
TEST_F(WindowTest, ExtraStateLivesExactlyAsLongAsItsWindow) {
    HWND hwnd = MakeMain();
    int alive = 0;
    ASSERT_TRUE(platform::SetWindowExtra(hwnd, std::make_unique<Counted>(&alive)));
    EXPECT_EQ(alive, 1);
    EXPECT_NE(platform::WindowExtraOf<Counted>(hwnd), nullptr);
    EXPECT_EQ(platform::WindowExtraOf<Other>(hwnd), nullptr);
    ASSERT_TRUE(platform::SetWindowExtra(hwnd, std::make_unique<Counted>(&alive)));
    EXPECT_EQ(alive, 1) << "the replaced state was not freed";
    bool seenAtNcDestroy = false;
    Hook() = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_NCDESTROY)
            seenAtNcDestroy = platform::WindowExtraOf<Counted>(h) != nullptr;
        return false;
    };
    DestroyWindow(hwnd);
    EXPECT_TRUE(seenAtNcDestroy);
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(platform::GetWindowExtra(hwnd), nullptr);
    EXPECT_FALSE(platform::SetWindowExtra(hwnd, std::make_unique<Other>()));
}

// Catches properties shared between windows, kept after RemoveProp, or surviving the window.
TEST_F(WindowTest, PropertiesBelongToTheirWindow) {
    HWND a = MakeMain();
    HWND b =
        CreateWindowEx(0, "Plain", "b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    int value = 0;
    EXPECT_TRUE(SetProp(a, "Data", &value));
    EXPECT_EQ(GetProp(a, "Data"), &value);
    EXPECT_EQ(GetProp(b, "Data"), nullptr);
    EXPECT_EQ(GetProp(a, "Other"), nullptr);
    EXPECT_EQ(RemoveProp(a, "Data"), &value);
    EXPECT_EQ(GetProp(a, "Data"), nullptr);
    EXPECT_TRUE(SetProp(b, "Data", &value));
    DestroyWindow(b);
    EXPECT_EQ(GetProp(b, "Data"), nullptr);
    EXPECT_FALSE(SetProp(b, "Data", &value));
    EXPECT_FALSE(SetProp(a, nullptr, &value));
}

class CursorTest : public UserTest {};

// Catches a display counter that does not count, or the host told on every call.
TEST_F(CursorTest, ShowCursorKeepsTheDisplayCounter) {
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_FALSE(host->CursorShown());
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_FALSE(host->CursorShown());
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_TRUE(host->CursorShown());
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_TRUE(host->CursorShown());
}

// Catches SetCursor not returning the previous cursor, or the arrow not being shared.
TEST_F(CursorTest, SetCursorReturnsThePreviousOne) {
    HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(1)), nullptr);
    SetCursor(nullptr);
    EXPECT_EQ(SetCursor(arrow), nullptr);
    EXPECT_EQ(host->Cursor(), nullptr);  // the system arrow
    EXPECT_EQ(SetCursor(nullptr), arrow);
    ASSERT_NE(host->Cursor(), nullptr);  // no cursor: a transparent image
    EXPECT_EQ(host->Cursor()->argb[0] >> 24, 0u);
}

// Catches the default WM_SETCURSOR not putting up the class cursor.
TEST_F(CursorTest, DefaultSetCursorUsesTheClassCursor) {
    MakeMain();
    SetCursor(nullptr);
    platform::HostEvent move;
    move.type = platform::HostEventType::MouseMove;
    host->PushEvent(move);
    platform::PumpPendingMessages();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

// Catches WM_SETICON not reaching the host, or not answering the previous icon.
TEST_F(CursorTest, SetIconGivesTheHostItsIcon) {
    HWND hwnd = MakeMain();
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(SendMessage(hwnd, WM_SETICON, ICON_BIG, LPARAM(reinterpret_cast<intptr_t>(icon))), 0);
    EXPECT_EQ(host->Icon().width, 32);
    EXPECT_EQ(SendMessage(hwnd, WM_SETICON, ICON_BIG, 0),
              LRESULT(reinterpret_cast<intptr_t>(icon)));
}

class WindowDcTest : public UserTest {};

uint16_t PagePixel(int x, int y) {
    platform::PixelTarget page = platform::GdiPage();
    return reinterpret_cast<const uint16_t*>(page.pixels + y * page.pitch)[x];
}

// Catches a window DC drawing at the screen origin for a window placed elsewhere.
TEST_F(WindowDcTest, WindowDcIsOffsetAndClippedToTheWindow) {
    HWND hwnd = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 100, 50, 20, 10, nullptr,
                               nullptr, nullptr, nullptr);
    HDC blackDc = GetDC(nullptr);
    RECT all = {0, 0, 640, 480};
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(blackDc, &all, black);
    ReleaseDC(nullptr, blackDc);

    HDC dc = GetDC(hwnd);
    ASSERT_NE(dc, nullptr);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT r = {0, 0, 100, 100};
    FillRect(dc, &r, white);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
    EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
    EXPECT_EQ(PagePixel(100, 50), 0xFFFF);
    EXPECT_EQ(PagePixel(119, 59), 0xFFFF);
    EXPECT_EQ(PagePixel(120, 50), 0);
    EXPECT_EQ(PagePixel(99, 50), 0);
    EXPECT_EQ(PagePixel(100, 60), 0);
    DeleteObject(white);
    DeleteObject(black);
}

// Catches a window at the screen origin that gets a DC on the whole page, so that a small
// pop-up or child there paints over everything beside and below it.
TEST_F(WindowDcTest, WindowAtTheOriginPaintsOnlyWithinItself) {
    HWND parent = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND popup = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, 30, 20, nullptr,
                                nullptr, nullptr, nullptr);
    HWND child = CreateWindowEx(0, "Plain", "", WS_CHILD | WS_VISIBLE, 0, 0, 12, 8, parent, nullptr,
                                nullptr, nullptr);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all = {0, 0, 640, 480};
    for (auto [hwnd, width, height] : {std::tuple{popup, 30, 20}, std::tuple{child, 12, 8}}) {
        // The pop-up would cover the child.
        if (hwnd == child)
            ShowWindow(popup, SW_HIDE);
        HDC screen = GetDC(nullptr);
        FillRect(screen, &all, black);
        ReleaseDC(nullptr, screen);

        HDC dc = GetDC(hwnd);
        ASSERT_NE(dc, nullptr);
        FillRect(dc, &all, white);
        ReleaseDC(hwnd, dc);
        EXPECT_EQ(PagePixel(0, 0), 0xFFFF);
        EXPECT_EQ(PagePixel(width - 1, height - 1), 0xFFFF);
        EXPECT_EQ(PagePixel(width, 0), 0) << "right of a window " << width << " wide";
        EXPECT_EQ(PagePixel(0, height), 0) << "below a window " << height << " high";
        EXPECT_EQ(PagePixel(639, 479), 0);
    }
    // A window at the origin larger than the page is clipped to it.
    HWND big = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                              nullptr, nullptr, nullptr);
    HDC dc = GetDC(big);
    ASSERT_NE(dc, nullptr);
    FillRect(dc, &all, black);
    ReleaseDC(big, dc);
    EXPECT_EQ(PagePixel(0, 0), 0);
    EXPECT_EQ(PagePixel(639, 479), 0);
    DeleteObject(white);
    DeleteObject(black);
}

}  // namespace

namespace {

class ResourceIconTest : public UserTest {};

// Catches the application's icon and cursor not decoding from the embedded resources,
// or the cursor losing its hot spot.
TEST_F(ResourceIconTest, ApplicationIconAndCursorLoadFromResources) {
    HINSTANCE self = platform::ExecutableInstance();
    HICON icon = LoadIcon(self, MAKEINTRESOURCE(IDR_MAINFRAME));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIcon(self, MAKEINTRESOURCE(IDR_MAINFRAME)), icon);  // shared, loaded once
    ASSERT_NE(platform::IconImage(icon), nullptr);
    EXPECT_EQ(platform::IconImage(icon)->width, 32);

    HCURSOR cursor = LoadCursor(self, MAKEINTRESOURCE(IDC_SWORD_CURSOR));
    ASSERT_NE(cursor, nullptr);
    SetCursor(cursor);
    ASSERT_NE(host->Cursor(), nullptr);
    EXPECT_EQ(host->Cursor()->width, 32);
    EXPECT_EQ(host->Cursor()->hotX, 1);
    EXPECT_EQ(host->Cursor()->hotY, 1);

    EXPECT_EQ(LoadIcon(self, MAKEINTRESOURCE(999)), nullptr);
    EXPECT_EQ(LoadCursor(self, MAKEINTRESOURCE(IDR_MAINFRAME)), nullptr);  // an icon is no cursor
}

// Catches a window painting over the top-level window above it, a child painting outside
// its parent, or the window beneath not told to repaint what a closed window uncovers.
TEST_F(WindowDcTest, WindowsClipEachOtherByZOrderAndParent) {
    HWND below = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                nullptr, nullptr, nullptr);
    HWND child = CreateWindowEx(0, "Plain", "", WS_CHILD | WS_VISIBLE, 600, 460, 100, 100, below,
                                nullptr, nullptr, nullptr);
    HWND above = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 100, 50, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
    UpdateWindow(below);
    UpdateWindow(above);
    platform::PumpPendingMessages();
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all = {0, 0, 640, 480};
    HDC screen = GetDC(nullptr);
    FillRect(screen, &all, black);
    ReleaseDC(nullptr, screen);
    HDC dc = GetDC(below);
    FillRect(dc, &all, white);
    ReleaseDC(below, dc);
    EXPECT_EQ(PagePixel(99, 50), 0xFFFF);
    EXPECT_EQ(PagePixel(100, 50), 0) << "painted over the window above";
    EXPECT_EQ(PagePixel(299, 149), 0);
    EXPECT_EQ(PagePixel(300, 150), 0xFFFF);
    dc = GetDC(above);
    FillRect(dc, &all, black);
    ReleaseDC(above, dc);
    FillRect(screen = GetDC(nullptr), &all, black);
    ReleaseDC(nullptr, screen);
    dc = GetDC(child);
    FillRect(dc, &all, white);
    ReleaseDC(child, dc);
    EXPECT_EQ(PagePixel(639, 479), 0xFFFF);
    EXPECT_EQ(PagePixel(599, 479), 0) << "the child painted outside itself";
    EXPECT_EQ(PagePixel(639, 459), 0);

    ValidateRect(below, nullptr);
    ValidateRect(child, nullptr);
    DestroyWindow(above);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(below, &update, FALSE)) << "the uncovered area waits for no paint";
    EXPECT_EQ(update.left, 100);
    EXPECT_EQ(update.top, 50);
    EXPECT_EQ(update.right, 300);
    EXPECT_EQ(update.bottom, 150);
    EXPECT_FALSE(GetUpdateRect(child, &update, FALSE)) << "the child was not under it";
    InvalidateRect(below, nullptr, TRUE);
    EXPECT_TRUE(GetUpdateRect(child, &update, FALSE)) << "the parent paints over its child";
    DeleteObject(white);
    DeleteObject(black);
}

// Catches a paint that draws beyond the update region: a dialog erasing its whole face
// after a message box closed wipes the labels and buttons that nothing repaints.
TEST_F(WindowDcTest, PaintDrawsOnlyOnTheUpdateRegion) {
    HWND hwnd = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 100, 50, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
    UpdateWindow(hwnd);
    platform::PumpPendingMessages();
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all = {0, 0, 640, 480};
    HDC screen = GetDC(nullptr);
    FillRect(screen, &all, black);
    ReleaseDC(nullptr, screen);

    RECT part = {10, 20, 30, 40};
    InvalidateRect(hwnd, &part, TRUE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ps.rcPaint.left, 10);
    EXPECT_EQ(ps.rcPaint.bottom, 40);
    FillRect(dc, &all, white);
    EndPaint(hwnd, &ps);
    EXPECT_EQ(PagePixel(110, 70), 0xFFFF);
    EXPECT_EQ(PagePixel(129, 89), 0xFFFF);
    EXPECT_EQ(PagePixel(130, 70), 0) << "painted right of the update region";
    EXPECT_EQ(PagePixel(110, 90), 0) << "painted below the update region";
    EXPECT_EQ(PagePixel(100, 50), 0) << "painted outside the update region";

    // GetDC still draws on the whole window.
    dc = GetDC(hwnd);
    FillRect(dc, &all, white);
    ReleaseDC(hwnd, dc);
    EXPECT_EQ(PagePixel(100, 50), 0xFFFF);
    DeleteObject(white);
    DeleteObject(black);
}

}  // namespace
