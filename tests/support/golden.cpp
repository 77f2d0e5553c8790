#include "tests/support/golden.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace testsupport {
namespace {

// The page as 8-bit RGB, each channel widened by repeating its high bits.
std::vector<uint8_t> PageRgb(const platform::PixelTarget& page) {
    std::vector<uint8_t> rgb(size_t(page.width) * size_t(page.height) * 3);
    for (int y = 0; y < page.height; ++y) {
        const uint8_t* row = page.pixels + ptrdiff_t(y) * page.pitch;
        for (int x = 0; x < page.width; ++x) {
            uint16_t p = 0;
            std::memcpy(&p, row + 2 * x, 2);
            const uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
            uint8_t* out = &rgb[(size_t(y) * size_t(page.width) + size_t(x)) * 3];
            out[0] = uint8_t((r << 3) | (r >> 2));
            out[1] = uint8_t((g << 2) | (g >> 4));
            out[2] = uint8_t((b << 3) | (b >> 2));
        }
    }
    return rgb;
}

}  // namespace

std::string CompareWithGolden(const platform::PixelTarget& page, const std::string& name) {
    if (page.format != platform::PixelFormat::RGB565 || page.pixels == nullptr) {
        return "the page is not a 5-6-5 page";
    }
    const std::vector<uint8_t> rgb = PageRgb(page);
    const std::string path = std::string(VORLA_TEST_DATA) + "/" + name;
    if (std::getenv("VORLA_UPDATE_GOLDEN") != nullptr &&
        !stbi_write_png(path.c_str(), page.width, page.height, 3, rgb.data(), page.width * 3)) {
        return "could not write " + path;
    }
    int w = 0, h = 0, n = 0;
    unsigned char* golden = stbi_load(path.c_str(), &w, &h, &n, 3);
    if (golden == nullptr || w != page.width || h != page.height) {
        stbi_image_free(golden);
        return "no golden picture of that size at " + path;
    }
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < rgb.size(); ++i) {
        if (golden[i] != rgb[i] && differing++ == 0) {
            first = i / 3;
        }
    }
    stbi_image_free(golden);
    if (differing == 0) {
        return "";
    }
    return std::to_string(differing) + " bytes differ from " + path + ", the first at (" +
           std::to_string(first % size_t(w)) + ", " + std::to_string(first / size_t(w)) + ")";
}

}  // namespace testsupport
