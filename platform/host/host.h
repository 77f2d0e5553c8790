// The back end under the platform layer: a real SDL2 window, or the headless host used
// by tests. Nothing here names SDL; the SDL2 host is built in its own .cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/viewport.h"

namespace platform {

enum class HostEventType {
    MouseMove,
    MouseButtonDown,
    MouseButtonUp,
    MouseWheel,  // the wheel turned, where the pointer is
    KeyDown,
    KeyUp,
    Text,            // a typed character (WM_CHAR)
    CloseRequested,  // the window manager's close, or SIGINT, SIGTERM or SIGHUP
    Minimized,
    Restored,
};

struct HostEvent {
    HostEventType type = HostEventType::MouseMove;
    int32_t x = 0;  // picture coordinates, already mapped and clamped to 0..639, 0..479
    int32_t y = 0;
    int32_t button = 0;       // 1 left, 2 right, 3 middle
    int32_t wheel = 0;        // 120 a notch (less for a smooth wheel), positive away from the user
    uint32_t virtualKey = 0;  // Win32 virtual-key code (VK_ESCAPE 27, VK_SPACE 32, ...)
    bool repeat = false;      // auto-repeated key press
    uint32_t character = 0;   // Unicode code point, for Text
    uint32_t timeMs = 0;      // host clock when the event happened
};

// An image for the window icon or the cursor, 0xAARRGGBB, rows top to bottom.
struct HostImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> argb;
    int32_t hotX = 0;
    int32_t hotY = 0;
};

class Host {
  public:
    virtual ~Host() = default;

    // Takes the screen for a width x height picture at the given depth; false when the
    // host can't give it.
    virtual bool AcquireScreen(int32_t width, int32_t height, int32_t bitsPerPixel) = 0;
    virtual void ReleaseScreen() = 0;
    // Shows a 640 x 480 page of 5-6-5 pixels.
    virtual void Present(const uint8_t* pixels, int32_t pitch) = 0;

    virtual bool PollEvent(HostEvent& out) = 0;
    // Returns when an event is pending or timeoutMs has passed; never busy-waits.
    virtual void WaitForEvent(uint32_t timeoutMs) = 0;
    virtual uint32_t NowMs() const = 0;

    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetIcon(const HostImage& image) = 0;
    virtual void SetCursor(const HostImage* image) = 0;  // null: the system arrow
    virtual void ShowCursor(bool show) = 0;
    virtual void GrabMouse(bool grab) = 0;
    virtual std::string GetClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
};

// The host in use. Until one is installed, a headless host serves.
Host& CurrentHost();
void InstallHost(std::unique_ptr<Host> host);

// How the real window starts and shows the picture; the command line fills it in.
struct HostOptions {
    bool startInWindow = false;  // a framed window rather than full screen
    ScaleMode scale = ScaleMode::Sharp;
};

// "sharp" or "integer"; false for anything else, leaving mode as it was.
bool ParseScaleMode(std::string_view text, ScaleMode& mode);

// The real window. Returns null when no display can be opened, and says why in whyNot
// ("cannot open a display: ...").
std::unique_ptr<Host> CreateSdlHost(const HostOptions& options = {}, std::string* whyNot = nullptr);

}  // namespace platform
