// The real SDL2 host on an X server (run under xvfb-run): a presented page must appear on
// the screen, scaled and centred; and with no display, the host must say so rather than
// open an invisible one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/viewport.h"

namespace {

constexpr int ROOT_W = 1280;  // xvfb-run's screen, set where the test is registered
constexpr int ROOT_H = 1024;

bool GrabRoot(std::vector<uint8_t>& rgb) {
    const std::string path = ::testing::TempDir() + "/vorla_root.rgb";
    const std::string cmd = "import -silent -window root -depth 8 rgb:" + path;
    if (std::system(cmd.c_str()) != 0) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    rgb.assign(std::istreambuf_iterator<char>(in), {});
    std::remove(path.c_str());
    return rgb.size() == size_t(ROOT_W) * ROOT_H * 3;
}

uint32_t RootPixel(const std::vector<uint8_t>& rgb, int x, int y) {
    const size_t i = (size_t(y) * ROOT_W + size_t(x)) * 3;
    return uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2];
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

// Faults: nothing shown, colours expanded wrongly, the picture not scaled by 2 and
// centred on black, or the host not opening at all on a working display.
TEST(SdlHost, PresentedPageAppearsScaledAndCentred) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no X display (Xvfb not installed?)";
    }
    std::unique_ptr<platform::Host> host = platform::CreateSdlHost({});
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(host->AcquireScreen(640, 480, 16));
    EXPECT_FALSE(host->AcquireScreen(800, 600, 16));

    std::vector<uint16_t> page(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            page[size_t(y) * 640 + x] = x < 320 ? 0xF800 : 0x001F;
    // Let the window map and settle; each wait returns early on events.
    for (int i = 0; i < 20; ++i) {
        host->Present(reinterpret_cast<const uint8_t*>(page.data()), 1280);
        host->WaitForEvent(25);
        platform::HostEvent e;
        while (host->PollEvent(e)) {
        }
    }
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(GrabRoot(rgb)) << "ImageMagick's import could not read the screen";
    const platform::Viewport v = platform::FitPicture(ROOT_W, ROOT_H);
    ASSERT_EQ(v.width, 1280);
    EXPECT_EQ(RootPixel(rgb, v.x + 10, v.y + 10), 0xFF0000u);
    EXPECT_EQ(RootPixel(rgb, v.x + 639, v.y + 500), 0xFF0000u) << "last red column at scale 2";
    EXPECT_EQ(RootPixel(rgb, v.x + 640, v.y + 500), 0x0000FFu);
    EXPECT_EQ(RootPixel(rgb, v.x + 1279, v.y + 959), 0x0000FFu);
    EXPECT_EQ(RootPixel(rgb, 600, v.y - 1), 0x000000u) << "bar above the picture";
    EXPECT_EQ(RootPixel(rgb, 600, v.y + 960), 0x000000u) << "bar below the picture";
}
