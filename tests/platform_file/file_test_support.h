// A fresh temporary folder per test, and helpers to make and read files in it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "platform/fs/path.h"

namespace filetest {

// Paths here are UTF-8, as the platform's; std::filesystem takes them as such only when
// told so.
inline std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8(const std::filesystem::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

class TempFolder {
  public:
    TempFolder() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        std::random_device device;
        for (int attempt = 0; !ec && attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path p =
                base / ("vorla-file-" + std::to_string(device() % 100000000u));
            if (std::filesystem::create_directory(p, ec))
                path_ = Utf8(p);
        }
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // name may hold '/' between components; the path uses the system's own separator.
    std::string operator/(const std::string& name) const {
        std::string native = name;
        std::replace(native.begin(), native.end(), '/', platform::fs::Separator());
        return platform::fs::Join(path_, native);
    }

  private:
    std::string path_;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(FsPath(path), std::ios::binary);
    out << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in a folder, sorted.
inline std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FsPath(folder)))
        names.push_back(Utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

inline bool OnWindows() {
    return platform::fs::NativeStyle() == platform::fs::PathStyle::Windows;
}

// Under emscripten (the web build's tests, run by node) files take no locks, as a web page
// runs one program alone, and a file stops short of 2 GiB.
#ifdef __EMSCRIPTEN__
constexpr bool FILES_TAKE_LOCKS = false;
constexpr bool HUGE_FILES = false;
#else
constexpr bool FILES_TAKE_LOCKS = true;
constexpr bool HUGE_FILES = true;
#endif
constexpr const char* NO_LOCKS = "files take no locks under emscripten";

}  // namespace filetest
