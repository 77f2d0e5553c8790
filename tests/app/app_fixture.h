// A fresh program on the headless host for each test: display device, windows, timers
// and screen pages all start anew.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/mainframe.h"
#include "display/display.h"
#include "platform/host/headless.h"

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes g_display anew, as static initialisation does (after a test control changed
    // what DirectDrawCreate gives).
    void RecreateDisplay();
    // Runs the application's start-up; the main window afterwards, or null.
    CMainFrame* Start();
    // Runs the message loop for ms of virtual time.
    void RunFor(uint32_t ms);
    bool WindowAlive() const;

    platform::HeadlessHost* host = nullptr;
    CMainFrame* frame = nullptr;
    HWND window = nullptr;
};

// A copy of a surface's pixels as 32-bit values, row by row.
struct SurfacePixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
SurfacePixels ReadSurface(IDirectDrawSurface* surface);
uint32_t ColourKeyOf(IDirectDrawSurface* surface);

// Checks that the back buffer at (x, y) shows source rectangle rect of sheet, with
// keyed pixels showing background instead. Returns the number of mismatches.
int CompareBlit(const SurfacePixels& back, int x, int y, const SurfacePixels& sheet,
                const RECT& rect, const SurfacePixels* background, uint32_t key);
