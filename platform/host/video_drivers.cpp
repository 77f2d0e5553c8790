#include "platform/host/video_drivers.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {

// SDL matches driver names without regard to case.
bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool Set(const char* value) {
    return value != nullptr && *value != '\0';
}

std::vector<std::string_view> Split(std::string_view list) {
    std::vector<std::string_view> names;
    while (!list.empty()) {
        const size_t comma = list.find(',');
        names.push_back(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return names;
}

// The variable a driver looks at, as the user will recognise it.
std::string Where(std::string_view driver, const DisplayEnvironment& env) {
    const char* name = nullptr;
    const char* value = nullptr;
    if (SameName(driver, "x11")) {
        name = "DISPLAY";
        value = env.display;
    } else if (SameName(driver, "wayland")) {
        name = "WAYLAND_DISPLAY";
        value = env.waylandDisplay;
    } else {
        return {};
    }
    return Set(value) ? std::string(name) + "=" + value : std::string(name) + " is not set";
}

// The line goes to a terminal: no control characters from the environment or SDL.
std::string Printable(std::string text) {
    for (char& c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            c = '?';
        }
    }
    return text;
}

}  // namespace

bool IsInvisibleDriver(std::string_view driver) {
    return SameName(driver, "offscreen") || SameName(driver, "dummy") || SameName(driver, "evdev");
}

bool DriversNamed(const DisplayEnvironment& env) {
    return Set(env.videoDriver);
}

std::vector<std::string> DriversToTry(const std::vector<std::string>& builtIn,
                                      const DisplayEnvironment& env) {
    // Without a runtime folder, only an absolute WAYLAND_DISPLAY names a socket.
    const bool waylandCanLook =
        Set(env.runtimeDir) || (Set(env.waylandDisplay) && env.waylandDisplay[0] == '/');
    std::vector<std::string> drivers;
    for (const std::string& driver : builtIn) {
        if (IsInvisibleDriver(driver) || (SameName(driver, "wayland") && !waylandCanLook)) {
            continue;
        }
        drivers.push_back(driver);
    }
    return drivers;
}

std::string NoDisplayReason(const std::vector<DriverFailure>& failures,
                            const DisplayEnvironment& env) {
    if (failures.empty()) {
        return "no video driver that shows a window";
    }
    std::string reason;
    for (const DriverFailure& f : failures) {
        if (!reason.empty()) {
            reason += "; ";
        }
        reason += f.error.empty() ? f.driver + " not available" : f.error;
        std::string where;
        for (std::string_view name : Split(f.driver)) {
            const std::string w = Where(name, env);
            if (w.empty() || where.find(w) != std::string::npos) {
                continue;
            }
            if (!where.empty()) {
                where += ", ";
            }
            where += w;
        }
        if (!where.empty()) {
            reason += " (";
            reason += where;
            reason += ")";
        }
    }
    return Printable(reason);
}

}  // namespace platform
