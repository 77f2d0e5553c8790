// Which of SDL's video drivers the host may open, and how it says that none opened. No
// SDL here, so the choice can be tested on its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What the environment says about displays; null where a variable is unset.
struct DisplayEnvironment {
    const char* videoDriver = nullptr;     // SDL_VIDEODRIVER: the user's own choice
    const char* display = nullptr;         // DISPLAY
    const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
    const char* runtimeDir = nullptr;      // XDG_RUNTIME_DIR
};

// Drivers that show nothing on any screen. A program on one of them runs unseen, so they
// are used only when named.
bool IsInvisibleDriver(std::string_view driver);

// The user named the drivers; SDL then takes that list as it stands.
bool DriversNamed(const DisplayEnvironment& env);

// The built-in drivers to try in turn, in SDL's own order: without the invisible ones,
// and without wayland when it has nowhere to look (its library would print a complaint of
// its own).
std::vector<std::string> DriversToTry(const std::vector<std::string>& builtIn,
                                      const DisplayEnvironment& env);

struct DriverFailure {
    std::string driver;  // a driver, or the user's list of them
    std::string error;   // SDL's reason; may be empty
};

// One line on why no display opened, e.g. "x11 not available (DISPLAY is not set)".
std::string NoDisplayReason(const std::vector<DriverFailure>& failures,
                            const DisplayEnvironment& env);

}  // namespace platform
