#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/world_files.h"
#include "persist/worldfile.h"
#include "platform/dialogs/dialog.h"
#include "tests/app/app_fixture.h"
#include "tests/app/scripted_input.h"
#include "tests/support/modal_watch.h"

namespace {

namespace fs = std::filesystem;

// The program started with a world file named on its command line.
class StartWorldTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        folder = fs::temp_directory_path() / ("vorla-start-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        testsupport::SetMessageBoxHook(
            [this](HWND, const std::string& text, const std::string&, UINT type) {
                boxes.push_back(text);
                types.push_back(type);
                // What is on screen while the box is up: the page GDI draws on, no year passing.
                auto* shown = dynamic_cast<CMainFrame*>(g_app.m_pMainWnd);
                modalWhileShown = shown != nullptr ? shown->modalOpen : -1;
                blackWhileShown = 0;
                for (uint16_t pixel : host->Presented()) {
                    blackWhileShown += pixel == 0;
                }
                ScriptedInput(host).Key(VK_RETURN).Now();
            });
    }
    void TearDown() override {
        testsupport::SetMessageBoxHook(nullptr);
        g_app.startWorldPath.clear();
        fs::remove_all(folder);
        AppTest::TearDown();
    }
    CMainFrame* StartWith(const std::string& path) {
        g_app.startWorldPath = path;
        return Start();
    }
    // A failed load at start: one stop box naming the file and saying why, shown over a
    // held frame; then the empty board, paused, with the frames going on.
    void ExpectFailedStart(const std::string& name, const std::string& why) {
        ASSERT_NE(StartWith((folder / name).string()), nullptr);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(types[0] & 0xF0, MB_ICONSTOP);
        EXPECT_EQ(modalWhileShown, 1);
        // The box stands over the board, not over a page never drawn on.
        EXPECT_LT(blackWhileShown, host->Presented().size() / 100);
        EXPECT_NE(boxes[0].find((folder / name).string() + why), std::string::npos) << boxes[0];
        EXPECT_EQ(frame->world.year, 0);
        for (const Cell& cell : frame->world.board) {
            ASSERT_EQ(cell.type, CELL_EMPTY);
        }
        EXPECT_EQ(frame->modalOpen, 0);
        EXPECT_EQ(frame->yearTimerId, 0u);
        const int presents = host->PresentCount();
        RunFor(400);
        EXPECT_GT(host->PresentCount(), presents) << "frames stopped after the box";
    }
    void WriteWorld(const std::string& name, const WorldState& world) {
        SaveWorldFile((folder / name).string(), world);
    }

    fs::path folder;
    std::vector<std::string> boxes;
    std::vector<UINT> types;
    int modalWhileShown = -2;
    size_t blackWhileShown = 0;
};

// Catches a named world that is ignored, loaded before the board is ready (and then
// wiped by the start-up reset), or loaded otherwise than the load command loads it.
TEST_F(StartWorldTest, AGoodFileIsLoadedPausedWithTheToolNothing) {
    WorldState saved;
    saved.ResetWorld();
    saved.year = 1999;
    saved.board[CellIndex(3, 4)] = Cell{4, 2, CELL_RED, 7, CreatureSprite(CELL_RED, 1)};
    saved.board[CellIndex(10, 0)] = Cell{0, 0, CELL_OBSTACLE, 2, SPRITE_TREE};
    WriteWorld("start.vrz", saved);

    ASSERT_NE(StartWith((folder / "start.vrz").string()), nullptr);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    EXPECT_EQ(frame->world.year, 1999);
    EXPECT_EQ(frame->world.board[CellIndex(3, 4)], saved.board[CellIndex(3, 4)]);
    EXPECT_EQ(frame->world.board[CellIndex(10, 0)].sprite, SPRITE_TREE);
    EXPECT_EQ(frame->world.stats[CELL_RED].population, 1);
    EXPECT_EQ(frame->world.balance, frame->world.RedShare());
    EXPECT_EQ(frame->yearTimerId, 0u);
    EXPECT_EQ(frame->brush.tool, TOOL_NOTHING);
    EXPECT_EQ(frame->modalOpen, 0);
    // The years stay paused and the frames go on.
    const int presents = host->PresentCount();
    RunFor(2000);
    EXPECT_EQ(frame->world.year, 1999);
    EXPECT_GT(host->PresentCount(), presents);
}

// Catches a failed start-up load that is silent, kills the program, leaves a half-loaded
// board, shows its box over a blank screen, or leaves the frames held as if a dialog were
// still open.
TEST_F(StartWorldTest, AMissingFileSaysSoAndLeavesTheEmptyBoard) {
    ExpectFailedStart("missing.vrz", " was not found.\nNo such file or directory");
}

TEST_F(StartWorldTest, AFileWithoutTheMarkerSaysSoAndLeavesTheEmptyBoard) {
    std::vector<uint8_t> wrong(WORLD_FILE_SIZE, 0x02);
    std::ofstream(folder / "wrong.vrz", std::ios::binary)
        .write(reinterpret_cast<const char*>(wrong.data()), std::streamsize(wrong.size()));
    ExpectFailedStart("wrong.vrz", ".\nNot a world file");
}

// Catches a relative name shown as typed rather than as the file it names.
TEST_F(StartWorldTest, ARelativeNameIsReportedAsAFullPath) {
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    ASSERT_NE(StartWith("gone.vrz"), nullptr);
    fs::current_path(before);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].find((folder / "gone.vrz").string() + " was not found."), 0u) << boxes[0];
}

}  // namespace
