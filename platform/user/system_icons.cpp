// The system's own icons: the application window glyph and the four message-box icons,
// drawn here as 32 x 32 images.
#include <cmath>
#include <vector>

#include "platform/user/window.h"

namespace platform::user {
namespace {

constexpr int ICON_SIZE = SYSTEM_ICON_SIZE;

// Draws the classic icons into a 32 x 32 image.
struct Canvas32 {
    std::vector<uint32_t> px = std::vector<uint32_t>(ICON_SIZE * ICON_SIZE, 0);
    void Set(int x, int y, uint32_t c) {
        if (x >= 0 && y >= 0 && x < ICON_SIZE && y < ICON_SIZE)
            px[size_t(y * ICON_SIZE + x)] = c;
    }
    void Disc(double cx, double cy, double r, uint32_t c) {
        for (int y = 0; y < ICON_SIZE; ++y)
            for (int x = 0; x < ICON_SIZE; ++x) {
                double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r)
                    Set(x, y, c);
            }
    }
    void Rect(int l, int t, int r, int b, uint32_t c) {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                Set(x, y, c);
    }
    // A glyph from rows of '#'.
    void Glyph(int x0, int y0, const std::vector<const char*>& rows, uint32_t c) {
        for (size_t j = 0; j < rows.size(); ++j)
            for (int i = 0; rows[j][i]; ++i)
                if (rows[j][i] == '#')
                    Set(x0 + i, y0 + int(j), c);
    }
};

constexpr uint32_t BLACK = 0xFF000000;
constexpr uint32_t WHITE = 0xFFFFFFFF;
constexpr uint32_t RED = 0xFFFF0000;
constexpr uint32_t DARK_RED = 0xFF800000;
constexpr uint32_t YELLOW = 0xFFFFFF00;
constexpr uint32_t BLUE = 0xFF0000FF;
constexpr uint32_t NAVY = 0xFF000080;

void Bubble(Canvas32& c) {
    // A white speech bubble with a black outline and a tail at the lower left.
    auto ellipse = [&](double rx, double ry, uint32_t colour) {
        for (int y = 0; y < ICON_SIZE; ++y)
            for (int x = 0; x < ICON_SIZE; ++x) {
                double dx = (x + 0.5 - 16) / rx, dy = (y + 0.5 - 13) / ry;
                if (dx * dx + dy * dy <= 1.0)
                    c.Set(x, y, colour);
            }
    };
    ellipse(15.0, 12.0, BLACK);
    for (int k = 0; k < 7; ++k) {
        c.Rect(7 - k / 2, 22 + k, 12 - k, 23 + k, BLACK);
    }
    ellipse(14.0, 11.0, WHITE);
    for (int k = 0; k < 5; ++k)
        c.Rect(8 - k / 2, 22 + k, 11 - k, 23 + k, WHITE);
}

// A plain window glyph for the system's application icon.
void ApplicationGlyph(Canvas32& c) {
    for (int y = 2; y < 30; ++y)
        for (int x = 2; x < 30; ++x) {
            bool edge = x == 2 || x == 29 || y == 2 || y == 29;
            c.Set(x, y, edge ? BLACK : (y < 8 ? NAVY : WHITE));
        }
}

// The system icon of id, or an empty image when there is none.
std::vector<uint32_t> SystemIconPixels(uintptr_t id) {
    Canvas32 c;
    switch (id) {
        case OIC_HAND: {
            c.Disc(16, 16, 15.5, DARK_RED);
            c.Disc(16, 16, 14.5, RED);
            // A white X of three-pixel strokes.
            for (int i = 0; i < 13; ++i)
                for (int w = -1; w <= 1; ++w) {
                    c.Set(10 + i + w, 10 + i, WHITE);
                    c.Set(22 - i + w, 10 + i, WHITE);
                }
            break;
        }
        case OIC_BANG: {
            // A yellow triangle with a black outline, apex at the top.
            for (int y = 1; y < 31; ++y) {
                double half = (y - 1) * 15.0 / 29.0;
                int l = int(std::floor(16 - half)), r = int(std::ceil(16 + half));
                c.Rect(l, y, r, y + 1, BLACK);
                if (y > 2 && y < 30)
                    c.Rect(l + 1, y, r - 1, y + 1, YELLOW);
            }
            c.Rect(15, 10, 18, 23, BLACK);
            c.Rect(15, 25, 18, 28, BLACK);
            break;
        }
        case OIC_QUES:
            Bubble(c);
            c.Glyph(11, 4,
                    {"..#####..", ".##...##.", ".##...##.", "......##.", ".....##..", "....##...",
                     "....##...", "....##...", ".........", "....##...", "....##..."},
                    BLUE);
            break;
        case OIC_NOTE:
            Bubble(c);
            c.Rect(14, 5, 18, 9, NAVY);
            c.Rect(14, 11, 18, 21, NAVY);
            c.Rect(12, 11, 14, 12, NAVY);
            c.Rect(12, 20, 20, 21, NAVY);
            break;
        case OIC_SAMPLE:
            ApplicationGlyph(c);
            break;
        default:
            return {};
    }
    return c.px;
}

}  // namespace

bool SystemIconImage(uintptr_t id, HostImage& out) {
    std::vector<uint32_t> pixels = SystemIconPixels(id);
    if (pixels.empty())
        return false;
    out.width = ICON_SIZE;
    out.height = ICON_SIZE;
    out.argb = std::move(pixels);
    return true;
}

}  // namespace platform::user
