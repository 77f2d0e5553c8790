// A fresh folder of its own under the system's temporary folder, for tests on every
// system (mkdtemp is POSIX's alone).
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace testsupport {

// Empty when no folder could be made.
inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    std::random_device device;
    for (int attempt = 0; !ec && attempt < 100; ++attempt) {
        const std::filesystem::path p = base / (prefix + std::to_string(device() % 100000000u));
        if (std::filesystem::create_directory(p, ec)) {
            return p;
        }
    }
    return {};
}

}  // namespace testsupport
