#include "platform/host/screen.h"

#include <cstddef>
#include <cstring>
#include <memory>

#include "platform/host/host.h"

namespace platform {
namespace {

constexpr int32_t PAGE_PITCH = SCREEN_WIDTH * 2;
constexpr size_t PAGE_BYTES = size_t(PAGE_PITCH) * SCREEN_HEIGHT;

struct Screen {
    alignas(16) uint8_t pages[2][PAGE_BYTES] = {};
    int front = 0;    // index of the page shown
    int gdiPage = 0;  // index of the page GDI draws on
    bool frontChanged = false;
    bool available = true;
    uint32_t lossCount = 0;
    Host* host = nullptr;
};

// Never destroyed: surfaces released during static destruction still reach it.
Screen& TheScreen() {
    static Screen* screen = new Screen();
    return *screen;
}

PixelTarget PageTarget(int index) {
    return PixelTarget{TheScreen().pages[index], PAGE_PITCH, SCREEN_WIDTH, SCREEN_HEIGHT,
                       PixelFormat::RGB565};
}

void Present() {
    Screen& s = TheScreen();
    s.frontChanged = false;
    if (s.host != nullptr) {
        s.host->Present(s.pages[s.front], PAGE_PITCH);
    }
}

}  // namespace

PixelTarget GdiPage() {
    return PageTarget(TheScreen().gdiPage);
}
PixelTarget FrontPage() {
    return PageTarget(TheScreen().front);
}
PixelTarget BackPage() {
    return PageTarget(1 - TheScreen().front);
}
bool GdiPageInFront() {
    return TheScreen().front == TheScreen().gdiPage;
}

void SwapPages() {
    Screen& s = TheScreen();
    s.front = 1 - s.front;
    Present();
}

void MarkGdiPageChanged() {
    if (GdiPageInFront()) {
        TheScreen().frontChanged = true;
    }
}

void MarkFrontPageChanged() {
    TheScreen().frontChanged = true;
}

void PresentIfChanged() {
    Screen& s = TheScreen();
    // While the screen is away the change waits; regaining it presents.
    if (s.frontChanged && s.available) {
        Present();
    }
}

void NotifyScreenLost() {
    Screen& s = TheScreen();
    if (!s.available) {
        return;
    }
    s.available = false;
    ++s.lossCount;
}

void NotifyScreenRegained() {
    Screen& s = TheScreen();
    s.available = true;
    s.frontChanged = true;
}

bool ScreenAvailable() {
    return TheScreen().available;
}
uint32_t ScreenLossCount() {
    return TheScreen().lossCount;
}

void ResetScreen() {
    Screen& s = TheScreen();
    std::memset(s.pages, 0, sizeof(s.pages));
    s.front = 0;
    s.gdiPage = 0;
    s.frontChanged = false;
    s.available = true;
    // The count only grows, so a surface from before the reset stays lost.
    ++s.lossCount;
}

void AttachScreen(Host* host) {
    TheScreen().host = host;
}

}  // namespace platform
