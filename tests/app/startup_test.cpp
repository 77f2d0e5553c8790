#include <algorithm>

#include "platform/ddraw/ddraw.h"
#include "platform/res/resources.h"
#include "platform/user/user.h"
#include "tests/app/app_fixture.h"

namespace {

// Catches a start-up step left out or done in the wrong order: after it the sheets are
// loaded, the world reset, the years paused and the render timer running.
TEST_F(AppTest, StartUpLeavesAReadyPausedWorld) {
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(frame->surfacesReady, 1);
    EXPECT_NE(frame->surfacePlocha, nullptr);
    EXPECT_NE(frame->surfacePotvory, nullptr);
    EXPECT_NE(frame->surfacePotbig, nullptr);
    EXPECT_NE(frame->surfaceOkoli, nullptr);
    EXPECT_EQ(frame->modalOpen, 0);
    EXPECT_EQ(frame->yearTimerId, 0u);
    EXPECT_EQ(frame->renderTimerId, 1u);
    EXPECT_EQ(frame->hoverColumn, -1);
    EXPECT_EQ(frame->brush.tool, TOOL_NOTHING);
    EXPECT_EQ(frame->world.year, 0);
    EXPECT_EQ(frame->world.balance, 50.0);
    EXPECT_EQ(frame->world.rules.yearLengthMs, 500);
    EXPECT_EQ(frame->world.rules.birthNeighbours, 3);
    for (const Cell& cell : frame->world.board) {
        ASSERT_EQ(cell.type, CELL_EMPTY);
    }
    EXPECT_EQ(g_display.active, 1);
    EXPECT_EQ(host->Title(), "Vorla - Symulation");
    EXPECT_EQ(host->Icon().width, 32);
    EXPECT_NE(host->Cursor(), nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 640);
    EXPECT_EQ(rect.bottom, 480);
}

// Catches frames that are not presented every 40 ms, or years that run on their own.
TEST_F(AppTest, RenderTimerPresentsFramesAndYearsStayPaused) {
    ASSERT_NE(Start(), nullptr);
    const int before = host->PresentCount();
    RunFor(400);
    EXPECT_GE(host->PresentCount() - before, 9);
    EXPECT_EQ(frame->world.year, 0);
}

enum class StartFailure { NoDirectDraw, ScreenRefused, ModeRefused, MissingSheet };

class FailedStartTest : public AppTest, public ::testing::WithParamInterface<StartFailure> {
  protected:
    void TearDown() override {
        platform::HideResourceForTesting("IDB_OKOLI", false);
        AppTest::TearDown();
    }
};

// Catches a start-up that goes on without the screen (loading sheets nobody can see), a
// dead display device that still makes calls, or a failed start that ends with status 0
// as if the program had run.
TEST_P(FailedStartTest, EndsWithANonZeroStatus) {
    const StartFailure failure = GetParam();
    switch (failure) {
        case StartFailure::NoDirectDraw:
            platform::RefuseDirectDrawForTesting(true);
            RecreateDisplay();
            EXPECT_EQ(g_display.GetDirectDraw(), nullptr);
            break;
        case StartFailure::ScreenRefused:
            host->RefuseScreen(true);
            break;
        case StartFailure::ModeRefused:
            host->RefuseMode(true);
            break;
        case StartFailure::MissingSheet:
            platform::HideResourceForTesting("IDB_OKOLI", true);
            break;
    }
    platform::ClearResourceLookupsForTesting();

    EXPECT_NE(AfxWinMain(), 0);

    EXPECT_EQ(g_app.m_pMainWnd, nullptr) << "the main window is gone";
    const std::vector<std::string> lookups = platform::ResourceLookupsForTesting();
    const bool sheetLoaded =
        std::any_of(lookups.begin(), lookups.end(),
                    [](const std::string& name) { return name == "IDB_PLOCHA"; });
    EXPECT_EQ(sheetLoaded, failure == StartFailure::MissingSheet);
    if (failure != StartFailure::MissingSheet) {
        EXPECT_EQ(g_display.active, 0);
    }
    if (failure == StartFailure::NoDirectDraw) {
        EXPECT_FALSE(host->HasScreen()) << "a display device without DirectDraw took the screen";
        const int presents = host->PresentCount();
        EXPECT_EQ(g_display.Flip(), 1);
        EXPECT_EQ(host->PresentCount(), presents);
    }
}

std::string FailureName(const ::testing::TestParamInfo<StartFailure>& info) {
    static const char* const names[] = {"NoDirectDraw", "ScreenRefused", "ModeRefused",
                                        "MissingSheet"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryCause, FailedStartTest,
                         ::testing::Values(StartFailure::NoDirectDraw, StartFailure::ScreenRefused,
                                           StartFailure::ModeRefused, StartFailure::MissingSheet),
                         FailureName);

// Catches a missing sheet that does not close the window, or loads that go on after it.
TEST_F(AppTest, MissingSheetClosesTheWindowAndStopsLoading) {
    platform::HideResourceForTesting("IDB_POTVORY", true);
    platform::ClearResourceLookupsForTesting();
    EXPECT_EQ(Start(), nullptr);
    const std::vector<std::string> lookups = platform::ResourceLookupsForTesting();
    platform::HideResourceForTesting("IDB_POTVORY", false);
    EXPECT_FALSE(WindowAlive());
    int code = 0;
    EXPECT_TRUE(platform::QuitPending(&code));
    auto looked = [&](const char* name) {
        return std::find(lookups.begin(), lookups.end(), name) != lookups.end();
    };
    EXPECT_TRUE(looked("IDB_PLOCHA"));
    EXPECT_TRUE(looked("IDB_POTVORY"));
    EXPECT_FALSE(looked("IDB_POTBIG"));
    EXPECT_FALSE(looked("IDB_OKOLI"));
}

// Catches StopYears touching anything while the years are paused.
TEST_F(AppTest, StopYearsKillsOnlyARunningTimer) {
    ASSERT_NE(Start(), nullptr);
    frame->StopYears();
    EXPECT_EQ(frame->yearTimerId, 0u);
    frame->ToggleYears();
    EXPECT_EQ(frame->yearTimerId, 2u);
    RunFor(1010);
    EXPECT_EQ(frame->world.year, 2);
    frame->StopYears();
    EXPECT_EQ(frame->yearTimerId, 0u);
    RunFor(1000);
    EXPECT_EQ(frame->world.year, 2);
}

// Catches a reset that leaves the year timer running.
TEST_F(AppTest, ResetStopsTheYears) {
    ASSERT_NE(Start(), nullptr);
    frame->ToggleYears();
    frame->world.ResetWorld();
    EXPECT_EQ(frame->yearTimerId, 0u);
}

// Catches a window close that leaves the frame or its sheets behind, or a quit code
// other than 0.
TEST_F(AppTest, CloseDestroysTheWindowAndEndsTheLoop) {
    ASSERT_NE(Start(), nullptr);
    PostMessage(window, WM_CLOSE, 0, 0);
    RunFor(10);
    EXPECT_FALSE(WindowAlive());
    int code = -1;
    EXPECT_TRUE(platform::QuitPending(&code));
    EXPECT_EQ(code, 0);
}

}  // namespace
