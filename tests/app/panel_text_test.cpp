// The panel's numbers and the year against their boxes, in the fonts the main window
// makes: every value the boxes are meant for shows whole, and no two digits look alike.
#include <climits>
#include <cstdio>
#include <string>

#include "sim/world.h"
#include "tests/app/app_fixture.h"

namespace {

struct Box {
    const char* name;
    RECT rect;
};
const Box PANEL_BOXES[] = {
    {"hp", {590, 200, 620, 220}}, {"attack", {590, 227, 620, 242}}, {"age", {560, 275, 620, 295}}};
const RECT YEAR_BOX{495, 352, 620, 384};
// The largest year whose "ROK %d" fits the year box.
constexpr int LARGEST_YEAR = 999999;

std::string Str(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%d, %d, %d, %d)", int(r.left), int(r.top), int(r.right),
                  int(r.bottom));
    return text;
}

class PanelTextTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_NE(Start(), nullptr);
        HDC screen = GetDC(window);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 640, 480);
        ReleaseDC(window, screen);
        kept = SelectObject(dc, bitmap);
        black = CreateSolidBrush(RGB(0, 0, 0));
        SetTextColor(dc, RGB(255, 255, 0));
        SetBkMode(dc, TRANSPARENT);
    }
    void TearDown() override {
        SelectObject(dc, kept);
        DeleteObject(bitmap);
        DeleteObject(black);
        DeleteDC(dc);
        AppTest::TearDown();
    }

    // Where the ink of text falls when drawn as the renderer draws it but not clipped,
    // looked for up to 16 pixels around the box; an empty rectangle when there is none.
    RECT InkOf(HFONT font, const std::string& text, const RECT& box) {
        const RECT area{box.left - 16, box.top - 16, box.right + 16, box.bottom + 16};
        FillRect(dc, &area, black);
        HGDIOBJ oldFont = SelectObject(dc, font);
        RECT r = box;
        DrawText(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_NOCLIP);
        SelectObject(dc, oldFont);
        RECT ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (LONG y = area.top; y < area.bottom; ++y) {
            for (LONG x = area.left; x < area.right; ++x) {
                if (GetPixel(dc, x, y) != RGB(0, 0, 0)) {
                    ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                           std::max(ink.bottom, y + 1)};
                }
            }
        }
        return ink.left == INT_MAX ? RECT{0, 0, 0, 0} : ink;
    }

    static bool Within(const RECT& ink, const RECT& box) {
        return ink.right > ink.left && ink.left >= box.left && ink.top >= box.top &&
               ink.right <= box.right && ink.bottom <= box.bottom;
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ kept = nullptr;
    HBRUSH black = nullptr;
};

// Catches a value cut by its box, as a "2" whose bottom bar the 15-pixel attack box cut
// off read as a "7": no ink of 0..255 may fall outside the hp, attack or age box.
TEST_F(PanelTextTest, EveryValueUpTo255LiesWhollyInItsBox) {
    for (const Box& box : PANEL_BOXES) {
        int misfits = 0;
        for (int value = 0; value <= 255 && misfits < 3; ++value) {
            const RECT ink = InkOf(frame->panelFont, std::to_string(value), box.rect);
            if (!Within(ink, box.rect)) {
                ++misfits;
                ADD_FAILURE() << box.name << " " << value << ": ink " << Str(ink) << " in box "
                              << Str(box.rect);
            }
        }
    }
}

// Catches digits that the boxes make look alike: rendered by the renderer, with its
// clipping, each digit leaves a different picture in each box.
TEST_F(PanelTextTest, EachDigitShowsDifferentlyInEveryBox) {
    frame->world.balance = 100.0;  // the marker stays clear of the panel
    frame->hoverColumn = 4;
    frame->hoverRow = 4;
    std::vector<std::vector<uint32_t>> seen[3];
    for (int digit = 0; digit <= 9; ++digit) {
        frame->world.board[CellIndex(4, 4)] =
            Cell{digit, digit, CELL_BLUE, digit, CreatureSprite(CELL_BLUE, 0)};
        ASSERT_EQ(frame->RenderFrame(), 1);
        const SurfacePixels back = ReadSurface(g_display.backBuffer);
        for (int b = 0; b < 3; ++b) {
            const RECT& r = PANEL_BOXES[b].rect;
            std::vector<uint32_t> picture;
            for (LONG y = r.top; y < r.bottom; ++y) {
                for (LONG x = r.left; x < r.right; ++x) {
                    picture.push_back(back.At(x, y));
                }
            }
            for (int earlier = 0; earlier < digit; ++earlier) {
                EXPECT_NE(picture, seen[b][size_t(earlier)])
                    << PANEL_BOXES[b].name << ": " << digit << " looks like " << earlier;
            }
            seen[b].push_back(picture);
        }
    }
}

// Catches a year text wider or taller than its box, up to the largest year it holds.
TEST_F(PanelTextTest, YearFitsItsBoxUpToTheLargestYear) {
    for (int year : {0, 7, 42, 999, 2026, 88888, 111111, 555555, 888888, LARGEST_YEAR}) {
        const RECT ink = InkOf(frame->yearFont, "ROK " + std::to_string(year), YEAR_BOX);
        EXPECT_TRUE(Within(ink, YEAR_BOX)) << year << ": ink " << Str(ink);
    }
}

}  // namespace
