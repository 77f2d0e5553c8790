// The real SDL2 host on an X server (run under xvfb-run): a presented page must appear on
// the screen, scaled and centred; and with no display, the host must say so rather than
// open an invisible one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/viewport.h"

namespace {

// Streams the arguments into one string.
template <typename... Parts>
std::string Text(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

// The whole screen (its size set where the test is registered), as read back from X.
struct Root {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;

    uint32_t Pixel(int32_t x, int32_t y) const {
        const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
        return uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2];
    }
};

bool GrabRoot(Root& root) {
    const std::string path = Text(::testing::TempDir(), "/vorla_root.ppm");
    const std::string cmd = Text("import -silent -window root -depth 8 ppm:", path);
    if (std::system(cmd.c_str()) != 0) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> root.width >> root.height >> maxValue;
    in.get();
    root.rgb.assign(std::istreambuf_iterator<char>(in), {});
    std::remove(path.c_str());
    return magic == "P6" && maxValue == 255 &&
           root.rgb.size() == size_t(root.width) * size_t(root.height) * 3;
}

// Presents the page a few times while the window maps and settles; each wait returns
// early on events. Mouse events that arrive are kept.
void PresentAndSettle(platform::Host& host, const std::vector<uint16_t>& page,
                      std::vector<platform::HostEvent>* events = nullptr) {
    for (int i = 0; i < 20; ++i) {
        host.Present(reinterpret_cast<const uint8_t*>(page.data()), 1280);
        host.WaitForEvent(25);
        platform::HostEvent e;
        while (host.PollEvent(e)) {
            if (events != nullptr) {
                events->push_back(e);
            }
        }
    }
}

bool WindowUnderTest() {
    const char* window = std::getenv("VORLA_TEST_WINDOW");
    return window != nullptr && std::string(window) == "1";
}

platform::ScaleMode ModeUnderTest() {
    const char* mode = std::getenv("VORLA_TEST_SCALE");
    platform::ScaleMode result = platform::ScaleMode::Sharp;
    if (mode != nullptr) {
        platform::ParseScaleMode(mode, result);
    }
    return result;
}

// Sets or unsets a variable for the scope, and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

// Faults: SDL's fallback to its offscreen driver (a host that opens, on which the program
// runs unseen), or a refusal that doesn't say why.
TEST(SdlHost, WithoutADisplayRefusesAndSaysWhy) {
    ScopedEnv display("DISPLAY", nullptr);
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
    std::string whyNot;
    std::unique_ptr<platform::Host> host = platform::CreateSdlHost({}, &whyNot);
    EXPECT_EQ(host, nullptr);
    EXPECT_EQ(whyNot.rfind("cannot open a display: ", 0), 0u) << whyNot;
    EXPECT_NE(whyNot.find("DISPLAY is not set"), std::string::npos) << whyNot;

    // Asked for by name, the invisible driver serves (tests and scripts rely on it).
    ScopedEnv offscreen("SDL_VIDEODRIVER", "offscreen");
    host = platform::CreateSdlHost({}, &whyNot);
    EXPECT_NE(host, nullptr) << whyNot;
}

// Faults: nothing shown, colours expanded wrongly, the picture not filling its rectangle
// for the mode (the largest 4:3 one when sharp, a whole factor when integer) and centred on
// black, a screen pixel showing another picture pixel than the mouse maps it to, or the host
// not opening at all on a working display. Run on screens of several sizes, full screen
// and in a window (a whole multiple of the picture, centred on the screen).
TEST(SdlHost, PresentedPageAppearsScaledAndCentred) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display (Xvfb not installed?)";
    }
    const platform::ScaleMode mode = ModeUnderTest();
    const bool inWindow = WindowUnderTest();
    std::unique_ptr<platform::Host> host =
        platform::CreateSdlHost({.startInWindow = inWindow, .scale = mode});
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(host->AcquireScreen(640, 480, 16));
    EXPECT_FALSE(host->AcquireScreen(800, 600, 16));

    std::vector<uint16_t> page(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            page[size_t(y) * 640 + x] = x < 320 ? 0xF800 : 0x001F;
    PresentAndSettle(*host, page);
    Root root;
    ASSERT_TRUE(GrabRoot(root)) << "ImageMagick's import could not read the screen";
    // The window: the whole screen, or a framed window's place (the screen is all usable
    // without a window manager).
    platform::Viewport window{0, 0, root.width, root.height};
    if (inWindow) {
        window = platform::WindowedSize(root.width, root.height);
    }
    platform::Viewport v = platform::FitPicture(window.width, window.height, mode);
    v.x += window.x;
    v.y += window.y;
    SCOPED_TRACE(
        Text(root.width, "x", root.height, ": ", v.width, "x", v.height, "+", v.x, "+", v.y));
    EXPECT_EQ(root.Pixel(v.x, v.y), 0xFF0000u) << "top-left corner";
    EXPECT_EQ(root.Pixel(v.x + v.width - 1, v.y + v.height - 1), 0x0000FFu)
        << "bottom-right corner";
    int wrong = 0;
    for (int32_t x = window.x; x < window.x + window.width; ++x) {
        const uint32_t p = root.Pixel(x, v.y + v.height / 2);
        if (x < v.x || x >= v.x + v.width) {
            wrong += p != 0;
            continue;
        }
        int32_t px = 0, py = 0;
        platform::WindowToPicture(v, x, v.y + v.height / 2, px, py);
        const bool red = (p >> 16) > (p & 0xFF);
        wrong += red != (px < 320);
    }
    EXPECT_EQ(wrong, 0) << "pixels of the middle row not black in the bars, or showing another "
                           "colour than the picture pixel the mouse maps them to";
    if (v.y > window.y) {
        EXPECT_EQ(root.Pixel(root.width / 2, v.y - 1), 0x000000u) << "bar above the picture";
        EXPECT_EQ(root.Pixel(root.width / 2, v.y + v.height), 0x000000u) << "bar below";
    }
    EXPECT_NE(root.Pixel(root.width / 2, v.y), 0x000000u) << "the picture's first row";

    // The pointer on the picture's last red and first blue pixels: the host reports the
    // picture pixel shown under it.
    if (std::system("command -v xdotool >/dev/null") != 0) {
        return;
    }
    for (int32_t column : {319, 320, 0, 639}) {
        const int32_t x = v.x + int32_t((int64_t(2 * column + 1) * v.width) / 1280);
        const int32_t y = v.y + v.height - 1;
        const std::string cmd = Text("xdotool mousemove ", x, " ", y);
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        std::vector<platform::HostEvent> events;
        PresentAndSettle(*host, page, &events);
        int32_t lastX = -1, lastY = -1;
        for (const platform::HostEvent& e : events) {
            if (e.type == platform::HostEventType::MouseMove) {
                lastX = e.x;
                lastY = e.y;
            }
        }
        EXPECT_EQ(lastX, column) << "pointer at screen " << x << "," << y;
        EXPECT_EQ(lastY, 479);
    }
}
