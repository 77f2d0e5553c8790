#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/brush.h"
#include "sim/random.h"
#include "tests/app/app_fixture.h"

#include "platform/ddraw/ddraw.h"
#include "platform/host/screen.h"
#include "platform/user/user.h"
#include "tests/support/golden.h"

namespace {

class RenderTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_NE(Start(), nullptr);
        background = ReadSurface(frame->surfacePlocha);
        tiles = ReadSurface(frame->surfacePotvory);
        portraits = ReadSurface(frame->surfacePotbig);
        extras = ReadSurface(frame->surfaceOkoli);
        tileKey = ColourKeyOf(frame->surfacePotvory);
        extrasKey = ColourKeyOf(frame->surfaceOkoli);
    }

    SurfacePixels Render() {
        EXPECT_EQ(frame->RenderFrame(), 1);
        return ReadSurface(g_display.backBuffer);
    }

    Cell& At(int column, int row) { return frame->world.board[CellIndex(column, row)]; }

    SurfacePixels background, tiles, portraits, extras;
    uint32_t tileKey = 0;
    uint32_t extrasKey = 0;
};

// Catches the colour key not derived from magenta on the display's format.
TEST_F(RenderTest, SheetsAreKeyedOnMagenta) {
    EXPECT_EQ(tileKey, 0xF81Fu);
    EXPECT_EQ(extrasKey, 0xF81Fu);
    EXPECT_EQ(tiles.At(18, 18), 0xF81Fu);  // offset 18 of every tile is transparent
}

// Catches tiles placed off by a pixel, drawn opaque, or drawn for empty squares.
TEST_F(RenderTest, TilesSitOnePixelInsideTheirSquares) {
    At(0, 0) = Cell{3, 2, CELL_BLUE, 0, CreatureSprite(CELL_BLUE, 1)};
    At(22, 22) = Cell{0, 0, CELL_OBSTACLE, 0, SPRITE_WATER};
    At(5, 9) = Cell{0, 0, CELL_REMAINS, 0, SPRITE_GRAVE};
    const SurfacePixels back = Render();
    EXPECT_EQ(CompareBlit(back, 11, 11, tiles, RECT{20, 0, 39, 19}, &background, tileKey), 0);
    EXPECT_EQ(CompareBlit(back, 451, 451, tiles, RECT{40, 60, 59, 79}, &background, tileKey), 0);
    EXPECT_EQ(CompareBlit(back, 111, 191, tiles, RECT{20, 40, 38, 58}, &background, tileKey), 0);
    // An empty square shows the ground.
    EXPECT_EQ(CompareBlit(back, 31, 31, background, RECT{31, 31, 50, 50}, nullptr, 0), 0);
    // The grid line beside a tile is untouched.
    EXPECT_EQ(back.At(10, 15), background.At(10, 15));
    EXPECT_EQ(back.At(30, 15), background.At(30, 15));
}

// Catches a marker formula that rounds, or that places the marker anywhere but y = 143.
TEST_F(RenderTest, MarkerFollowsTheBalance) {
    for (const auto& [balance, x] : {std::pair{0.0, 481}, {50.0, 546}, {100.0, 611}, {25.0, 513}}) {
        frame->world.balance = balance;
        const SurfacePixels back = Render();
        EXPECT_EQ(CompareBlit(back, x, 143, extras, RECT{0, 50, 22, 105}, &background, extrasKey),
                  0)
            << "balance " << balance;
    }
}

// Catches STOP drawn while paused, or missing while the years run.
TEST_F(RenderTest, StopCoversStartOnlyWhileTheYearsRun) {
    SurfacePixels back = Render();
    EXPECT_EQ(CompareBlit(back, 482, 414, background, RECT{482, 414, 631, 464}, nullptr, 0), 0);
    frame->ToggleYears();
    back = Render();
    EXPECT_EQ(CompareBlit(back, 482, 414, extras, RECT{0, 0, 149, 50}, nullptr, 0), 0);
}

// Catches a panel drawn for an empty square or with the wrong portrait.
TEST_F(RenderTest, PanelShowsTheHoveredSquare) {
    frame->world.balance = 100.0;  // keep the marker off the portrait (it ends at y = 197)
    At(3, 4) = Cell{0, 0, CELL_OBSTACLE, 12, SPRITE_ROCK};
    frame->hoverColumn = 3;
    frame->hoverRow = 4;
    SurfacePixels back = Render();
    EXPECT_EQ(CompareBlit(back, 490, 192, portraits, RECT{0, 300, 50, 400}, nullptr, 0), 0);
    int changed = 0;
    for (int y = 275; y < 295; ++y) {
        for (int x = 560; x < 620; ++x) {
            changed += back.At(x, y) != background.At(x, y);
        }
    }
    EXPECT_GT(changed, 10) << "the age is drawn";

    frame->hoverRow = 5;  // an empty square
    back = Render();
    EXPECT_EQ(CompareBlit(back, 486, 189, background, RECT{486, 189, 545, 297}, nullptr, 0), 0);
    EXPECT_EQ(CompareBlit(back, 560, 198, background, RECT{560, 198, 621, 296}, nullptr, 0), 0);
}

// Catches text drawn outside its box: the attack box is 15 pixels high and clips.
TEST_F(RenderTest, NumbersStayInsideTheirBoxes) {
    frame->world.balance = 100.0;
    At(0, 0) = Cell{88, 77, CELL_RED, 123456, CreatureSprite(CELL_RED, 2)};
    frame->hoverColumn = 0;
    frame->hoverRow = 0;
    const SurfacePixels back = Render();
    for (int y = 198; y < 300; ++y) {  // the marker ends at y = 197
        for (int x = 546; x < 632; ++x) {
            const bool inBox = (x >= 590 && x < 620 && y >= 200 && y < 220) ||
                               (x >= 590 && x < 620 && y >= 227 && y < 242) ||
                               (x >= 560 && x < 620 && y >= 275 && y < 295);
            if (!inBox) {
                ASSERT_EQ(back.At(x, y), background.At(x, y)) << x << "," << y;
            }
        }
    }
}

// Catches a frame abandoned, or a crash, for a tile whose rectangle is outside the
// sheet (a world file can bring one).
TEST_F(RenderTest, TileOutsideTheSheetIsSkipped) {
    At(2, 2) = Cell{5, 5, CELL_RED, 0, SpriteRect{240, 20, 259, 39}};
    At(3, 3) = Cell{5, 5, 7, 0, SpriteRect{20, 140, 39, 159}};
    frame->hoverColumn = 3;
    frame->hoverRow = 3;
    const SurfacePixels back = Render();
    EXPECT_EQ(CompareBlit(back, 51, 51, background, RECT{51, 51, 70, 70}, nullptr, 0), 0);
}

// Catches a lost surface that is not restored, or a frame reported complete after it.
TEST_F(RenderTest, LossIsRestoredAndTheNextFrameIsComplete) {
    At(1, 1) = Cell{3, 2, CELL_BLUE, 0, CreatureSprite(CELL_BLUE, 0)};
    host->ForceScreenLoss();
    EXPECT_EQ(frame->RenderFrame(), 0);
    host->RegainScreen();
    // The first frame after the return meets the loss and restores the sheets.
    EXPECT_EQ(frame->RenderFrame(), 0);
    const SurfacePixels back = Render();
    EXPECT_EQ(CompareBlit(back, 31, 31, tiles, RECT{0, 0, 19, 19}, &background, tileKey), 0);
    EXPECT_EQ(ReadSurface(frame->surfacePotvory).pixels, tiles.pixels);
}

// The page in front, read like a surface.
SurfacePixels ReadFrontPage() {
    const platform::PixelTarget page = platform::FrontPage();
    SurfacePixels out;
    out.width = page.width;
    out.height = page.height;
    for (int y = 0; y < page.height; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(page.pixels + y * page.pitch);
        out.pixels.insert(out.pixels.end(), row, row + page.width);
    }
    return out;
}

// Catches a loss met in the middle of a frame that is flipped anyway, leaves the sheets
// lost, or spoils the next frame. The screen is taken and at once given back (a quick
// switch away and back) right after each stage of the frame in turn.
TEST_F(RenderTest, LossInTheMiddleOfAFrameDropsItAndRestoresTheSheets) {
    At(1, 1) = Cell{3, 2, CELL_BLUE, 0, CreatureSprite(CELL_BLUE, 0)};
    At(3, 4) = Cell{0, 0, CELL_OBSTACLE, 12, SPRITE_ROCK};
    frame->hoverColumn = 3;
    frame->hoverRow = 4;
    frame->ToggleYears();
    const SurfacePixels complete = Render();
    auto loseAfter = [](int blits) {
        platform::AfterBltForTesting(blits, [] {
            platform::NotifyScreenLost();
            platform::NotifyScreenRegained();
        });
    };
    // One render tick; true when it flipped.
    auto tick = [this] {
        const bool before = platform::GdiPageInFront();
        SendMessage(window, WM_TIMER, frame->renderTimerId, 0);
        return platform::GdiPageInFront() != before;
    };

    // The blits: background, two tiles, STOP, portrait, marker. After the marker only the
    // year's text pass is left, which skips itself on the lost buffer; the flip then
    // meets the loss, and the next frame restores the sheets.
    const struct {
        int blits;
        const char* after;
        int firstResult;
        int framesToComplete;
    } stages[] = {{2, "the first tile", 0, 1},
                  {3, "the tiles", 0, 1},
                  {4, "STOP", 0, 1},
                  {5, "the portrait", 0, 1},
                  {6, "the marker", 1, 2}};
    for (const auto& stage : stages) {
        SCOPED_TRACE(std::string("lost after ") + stage.after);
        loseAfter(stage.blits);
        EXPECT_EQ(frame->RenderFrame(), stage.firstResult);
        int frames = 0;
        while (frames < 3 && frame->RenderFrame() != 1) {
            ++frames;
        }
        EXPECT_EQ(frames + 1, stage.framesToComplete);
        EXPECT_EQ(ReadSurface(g_display.backBuffer).pixels, complete.pixels);
        EXPECT_EQ(ReadSurface(frame->surfacePlocha).pixels, background.pixels);
        EXPECT_EQ(ReadSurface(frame->surfacePotvory).pixels, tiles.pixels);
        EXPECT_EQ(ReadSurface(frame->surfacePotbig).pixels, portraits.pixels);
        EXPECT_EQ(ReadSurface(frame->surfaceOkoli).pixels, extras.pixels);

        // Through the render timer: the spoilt frame is never flipped.
        loseAfter(stage.blits);
        EXPECT_FALSE(tick()) << "the broken frame was flipped";
        for (int i = 1; i < stage.framesToComplete; ++i) {
            EXPECT_FALSE(tick()) << "a frame that restored the sheets was flipped";
        }
        EXPECT_TRUE(tick());
        EXPECT_EQ(ReadFrontPage().pixels, complete.pixels);
    }
}

// Catches a frame that changes when nothing changed, against a reviewed picture. Set
// VORLA_UPDATE_GOLDEN=1 to write a new one after a deliberate change.
TEST_F(RenderTest, ComposedFrameMatchesTheGoldenImage) {
    SeedRandom(2026);
    Brush brush;
    const int32_t tools[] = {TOOL_BLUE, TOOL_RED, TOOL_ROCK, TOOL_TREE, TOOL_WATER};
    for (int i = 0; i < 160; ++i) {
        brush.SelectTool(tools[RandomBelow(5)]);
        // Drawn one at a time: the order of a call's arguments differs between compilers.
        const int32_t row = RandomBelow(23);
        const int32_t column = RandomBelow(23);
        brush.ApplyBrush(frame->world, column, row);
    }
    for (int year = 0; year < 3; ++year) {
        frame->world.StepYear();
    }
    frame->hoverColumn = 0;
    frame->hoverRow = 0;
    frame->world.board[0] = Cell{7, 4, CELL_RED, 12, CreatureSprite(CELL_RED, 2)};
    frame->ToggleYears();
    EXPECT_EQ(frame->RenderFrame(), 1);
    ASSERT_EQ(g_display.Flip(), DD_OK);
    EXPECT_EQ(testsupport::CompareWithGolden(platform::FrontPage(), "frame_golden.png"), "");
}

// Catches OnPaint drawing before the sheets exist.
TEST_F(AppTest, PaintBeforeTheSheetsDoesNothing) {
    CMainFrame* early = new CMainFrame;
    const HWND hwnd = early->m_hWnd;
    early->ShowWindow(SW_SHOW);
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    EXPECT_EQ(early->surfacesReady, 0);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
    DestroyWindow(hwnd);
}

}  // namespace
