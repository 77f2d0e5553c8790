#include "platform/host/keymap.h"

#include <gtest/gtest.h>

using platform::VirtualKeyFromSdlKey;

namespace {
// SDL_Keycode values: printable keys are their character; the others are the scancode
// with bit 30 set.
constexpr int32_t Scancode(int32_t s) {
    return s | (1 << 30);
}
}  // namespace

// Faults: a key the program listens for (Escape, space) mapped wrongly, letters given in
// lower case, navigation and function keys off by one.
TEST(KeyTable, MapsToWin32VirtualKeys) {
    struct Case {
        int32_t sdl;
        uint32_t vk;
    };
    for (Case c : {Case{8, 8},
                   Case{9, 9},
                   Case{13, 13},
                   Case{27, 27},
                   Case{32, 32},
                   Case{127, 46},
                   Case{'a', 'A'},
                   Case{'z', 'Z'},
                   Case{'0', '0'},
                   Case{'9', '9'},
                   Case{Scancode(58), 112},
                   Case{Scancode(67), 121},
                   Case{Scancode(69), 123},
                   Case{Scancode(73), 45},
                   Case{Scancode(74), 36},
                   Case{Scancode(75), 33},
                   Case{Scancode(77), 35},
                   Case{Scancode(78), 34},
                   Case{Scancode(79), 39},
                   Case{Scancode(80), 37},
                   Case{Scancode(81), 40},
                   Case{Scancode(82), 38},
                   Case{Scancode(224), 17},
                   Case{Scancode(225), 16},
                   Case{Scancode(226), 18},
                   Case{Scancode(228), 17},
                   Case{Scancode(229), 16},
                   Case{Scancode(230), 18},
                   Case{Scancode(88), 13}}) {
        EXPECT_EQ(VirtualKeyFromSdlKey(c.sdl), c.vk) << "SDL key 0x" << std::hex << c.sdl;
    }
}

// Fault: an unknown key reported as some real key.
TEST(KeyTable, UnknownKeysGiveZero) {
    EXPECT_EQ(VirtualKeyFromSdlKey(0), 0u);
    EXPECT_EQ(VirtualKeyFromSdlKey(Scancode(300)), 0u);
    EXPECT_EQ(VirtualKeyFromSdlKey('A'), 0u) << "SDL never sends upper case";
}
