// What the whole-file save and load tests share: an image, and the outcome of a save or
// a load as the user would read it.
#pragma once

#include <cerrno>
#include <string>
#include <vector>

#include "platform/afx/file_image.h"
#include "platform/fs/fs.h"

namespace fileimage {

inline const std::string IMAGE = [] {
    std::string image(4853, '\0');
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = char(i * 31 + 7);
    return image;
}();

// "ok", or the text the error's message box would show.
template <typename F>
inline std::string Outcome(F body) {
    try {
        body();
    } catch (CFileException* e) {
        std::string text = e->GetErrorMessage();
        e->Delete();
        return text;
    }
    return "ok";
}

inline std::string Save(const std::string& path, const std::string& image = IMAGE) {
    return Outcome([&] { platform::SaveFileImage(path.c_str(), image.data(), image.size()); });
}

inline std::string Load(const std::string& path, size_t limit = 1 << 20) {
    std::string bytes;
    std::string outcome = Outcome([&] {
        std::vector<uint8_t> got = platform::LoadFileImage(path.c_str(), limit);
        bytes.assign(got.begin(), got.end());
    });
    return outcome == "ok" ? "ok:" + bytes : outcome;
}

inline std::string Denied(const std::string& path, const std::string& reason) {
    return "Access to " + path + " was denied.\n" + reason;
}
inline std::string Unexpected(const std::string& path, const std::string& reason) {
    return "An unexpected error occurred while accessing " + path + ".\n" + reason;
}
inline std::string DiskFull(const std::string& path, const std::string& reason) {
    return "Disk full while accessing " + path + ".\n" + reason;
}
inline std::string NotFound(const std::string& path) {
    return path + " was not found.\n" + platform::fs::ErrorText(ENOENT);
}

}  // namespace fileimage
