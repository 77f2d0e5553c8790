// The one physical display: the page GDI draws on, the page in front, and loss.
// The display mode is 640 x 480 at 16 bits (5-6-5). ddraw's primary flip chain uses the
// screen's two pages; window painting, menus and dialogs draw on the GDI page, which is
// the page that was primary when the chain was made.
#pragma once

#include <cstdint>

namespace platform {

enum class PixelFormat { RGB565, RGB555, XRGB8888 };

// A block of pixel memory that GDI or a blit kernel can draw on.
struct PixelTarget {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0;  // bytes from one row to the next
    int32_t width = 0;
    int32_t height = 0;
    PixelFormat format = PixelFormat::RGB565;
};

constexpr int32_t SCREEN_WIDTH = 640;
constexpr int32_t SCREEN_HEIGHT = 480;

// The page GDI draws on (always valid; 640 x 480, 5-6-5).
PixelTarget GdiPage();
// The page that is shown now, and the other one.
PixelTarget FrontPage();
PixelTarget BackPage();
// True when the GDI page is the one in front.
bool GdiPageInFront();
// Swaps the two pages (ddraw's Flip) and presents the new front page.
void SwapPages();
// GDI calls this after drawing on the GDI page; it is presented when in front.
void MarkGdiPageChanged();
// Anything that drew on the front page (a blit or a DC on the primary) says so here.
void MarkFrontPageChanged();
// Hands the front page to the host if it changed since the last present. The message
// loop calls it when idle.
void PresentIfChanged();

// The host reports that it lost or regained the screen (minimised, focus lost in full
// screen). Loss makes every DirectDraw surface lost; regaining only lets Restore work.
void NotifyScreenLost();
void NotifyScreenRegained();
bool ScreenAvailable();
// Counts the losses so far; a surface made or restored before the latest loss is lost.
uint32_t ScreenLossCount();
// Back to the start: GDI page in front, both pages black, screen available, nothing
// pending. InstallHost calls it, so every test starts from the same screen.
void ResetScreen();

class Host;
// The host the screen presents to. InstallHost attaches each host it installs; until one
// is installed, the host CurrentHost makes serves.
void AttachScreen(Host* host);

}  // namespace platform
