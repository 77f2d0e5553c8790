#include "platform/host/video_drivers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::DisplayEnvironment;
using platform::DriverFailure;
using platform::DriversNamed;
using platform::DriversToTry;
using platform::NoDisplayReason;

namespace {

// SDL 2.26's list on Debian, in its own order.
const std::vector<std::string> DEBIAN = {"x11", "wayland", "KMSDRM", "offscreen", "dummy", "evdev"};

using Names = std::vector<std::string>;

}  // namespace

// Fault: an invisible driver among those tried on the user's behalf, so that with no
// display the program runs on unseen instead of saying so.
TEST(VideoDrivers, InvisibleDriversAreNeverTriedUnasked) {
    DisplayEnvironment env;
    env.runtimeDir = "/run/user/1000";
    EXPECT_EQ(DriversToTry(DEBIAN, env), (Names{"x11", "wayland", "KMSDRM"}));
    EXPECT_EQ(DriversToTry({"Offscreen", "DUMMY", "EvDev", "x11"}, env), Names{"x11"})
        << "names compared without case, as SDL does";
    EXPECT_TRUE(DriversToTry({"offscreen", "dummy"}, env).empty());
}

// Faults: wayland tried with no runtime folder (its library prints a stray complaint of
// its own), or left out where it could connect.
TEST(VideoDrivers, WaylandIsTriedOnlyWhereItCanLook) {
    DisplayEnvironment env;
    EXPECT_EQ(DriversToTry(DEBIAN, env), (Names{"x11", "KMSDRM"}));
    env.waylandDisplay = "wayland-0";
    EXPECT_EQ(DriversToTry(DEBIAN, env), (Names{"x11", "KMSDRM"})) << "a relative socket name";
    env.waylandDisplay = "/tmp/wl.sock";
    EXPECT_EQ(DriversToTry(DEBIAN, env), (Names{"x11", "wayland", "KMSDRM"}));
    env.waylandDisplay = nullptr;
    env.runtimeDir = "";
    EXPECT_EQ(DriversToTry(DEBIAN, env), (Names{"x11", "KMSDRM"})) << "an empty runtime folder";
    env.runtimeDir = "/run/user/0";
    EXPECT_EQ(DriversToTry(DEBIAN, env), (Names{"x11", "wayland", "KMSDRM"}));
}

// Fault: an empty SDL_VIDEODRIVER taken as the user's choice, which leaves SDL to its own
// fallback to an invisible driver.
TEST(VideoDrivers, OnlyANonEmptyListIsTheUsersChoice) {
    DisplayEnvironment env;
    EXPECT_FALSE(DriversNamed(env));
    env.videoDriver = "";
    EXPECT_FALSE(DriversNamed(env));
    env.videoDriver = "offscreen";
    EXPECT_TRUE(DriversNamed(env));
}

// Faults: a reason that doesn't say which display was looked for, that lists a variable
// twice, or that passes terminal control codes from the environment to stderr.
TEST(VideoDrivers, ReasonNamesTheDisplayLookedFor) {
    DisplayEnvironment env;
    EXPECT_EQ(
        NoDisplayReason({{"x11", "x11 not available"}, {"KMSDRM", "KMSDRM not available"}}, env),
        "x11 not available (DISPLAY is not set); KMSDRM not available");
    env.display = ":77";
    env.waylandDisplay = "wayland-1";
    EXPECT_EQ(NoDisplayReason({{"x11", ""}, {"wayland", "no compositor"}}, env),
              "x11 not available (DISPLAY=:77); no compositor (WAYLAND_DISPLAY=wayland-1)");
    EXPECT_EQ(NoDisplayReason({{"x11,X11,wayland", "x11,X11,wayland not available"}}, env),
              "x11,X11,wayland not available (DISPLAY=:77, WAYLAND_DISPLAY=wayland-1)");
    env.display = "\x1b]0;pwned\x07:0";
    EXPECT_EQ(NoDisplayReason({{"x11", "bad\nline"}}, env), "bad?line (DISPLAY=?]0;pwned?:0)");
    EXPECT_FALSE(NoDisplayReason({}, env).empty()) << "no driver at all still gets a reason";
}
