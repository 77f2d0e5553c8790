#include "icons.h"

#include <string_view>

#include "scenery.h"

namespace art {

MaskedImage MakeShieldIcon(int size, const Ramp& cross) {
    int w = size - size / 8;
    Image shield = MakeShield(w, size, cross);
    MaskedImage m{Image(size, size, MAGENTA), {}};
    Composite(m.colour, shield, (size - w) / 2, 0);
    m.opaque.resize(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            m.opaque[static_cast<size_t>(y) * size + x] = !(m.colour.At(x, y) == MAGENTA);
        }
    }
    return m;
}

// Above 64 pixels the drawing's one-pixel rim turns into a hairline and its tones into
// broad flat bands, so the large sizes are the 64-pixel shield enlarged by whole
// factors: the same pixel art as the game's, only bigger.
Bytes EncodeAppIcon(int size) {
    const int drawn = size > 64 ? 64 : size;
    const int factor = size / drawn;
    MaskedImage m = MakeShieldIcon(drawn, RED_CROSS);
    Image colour(size, size);
    std::vector<uint8_t> alpha(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            colour.Set(x, y, m.colour.At(x / factor, y / factor));
            alpha[static_cast<size_t>(y) * size + x] =
                m.opaque[static_cast<size_t>(y / factor) * drawn + x / factor] ? 255 : 0;
        }
    }
    return EncodePngRgba(colour, alpha);
}

MaskedImage MakeArrowCursor() {
    // The tip is at (1, 1), the hot spot.
    static constexpr std::string_view ARROW[] = {
        "",
        ".X",
        ".XX",
        ".XOX",
        ".XOOX",
        ".XOOOX",
        ".XOOOOX",
        ".XOOOOOX",
        ".XOOOOOOX",
        ".XOOOOOOOX",
        ".XOOOOOOOOX",
        ".XOOOOOOOOOX",
        ".XOOOOOOXXXXX",
        ".XOOOXOOX",
        ".XOOXXOOX",
        ".XOX..XOOX",
        ".XX...XOOX",
        ".X.....XOOX",
        ".......XOOX",
        "........XX",
    };
    MaskedImage m{Image(32, 32, Rgb{}), std::vector<uint8_t>(32 * 32, 0)};
    int y = 0;
    for (std::string_view row : ARROW) {
        for (size_t x = 0; x < row.size(); ++x) {
            if (row[x] != '.') {
                m.colour.Set(static_cast<int>(x), y, row[x] == 'O' ? Rgb{255, 255, 255} : Rgb{});
                m.opaque[static_cast<size_t>(y) * 32 + x] = 1;
            }
        }
        ++y;
    }
    return m;
}

}  // namespace art
