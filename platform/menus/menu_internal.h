// What the menu tracker and the menu windows share: the open levels and their layout.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/menus/menu.h"
#include "platform/menus/menu_store.h"
#include "platform/user/user.h"

namespace platform::menus {

constexpr LONG FRAME = 3;          // raised edge and one pixel of face
constexpr LONG CHECK_COLUMN = 18;  // left of the text: the check mark
constexpr LONG ARROW_COLUMN = 17;  // right of the text: the sub-menu arrow
constexpr LONG ACCEL_GAP = 12;     // between the text and its "\t" accelerator text
constexpr LONG SEPARATOR_HEIGHT = 9;

// One open menu: its window and where its items are, in screen coordinates.
struct Level {
    HMENU menu = nullptr;
    RECT rect = {0, 0, 0, 0};
    std::vector<RECT> items;
    int selected = -1;
    HWND window = nullptr;
};

struct Tracker {
    UINT flags = 0;
    HWND owner = nullptr;
    HWND captureWindow = nullptr;
    std::vector<Level> levels;
    bool done = false;
    UINT chosen = 0;
    std::set<UINT> keysPressed;
    uint32_t buttonsPressed = 0;
};

// The text before a tab, the accelerator text after it, and text without its '&' markers.
std::string Label(const std::string& text);
std::string Accelerator(const std::string& text);
std::string WithoutPrefixes(const std::string& text);
// The mnemonic letter of an item, lower case, or 0.
char Mnemonic(const std::string& text);

// The menu's size and its items' places relative to its top-left.
SIZE Layout(HMENU menu, std::vector<RECT>& items);

// The window that shows level depth of t (created hidden; the tracker shows it).
HWND CreateLevelWindow(const Tracker& t, size_t depth);
// The hidden window that holds the capture while the menu runs, and afterwards until the
// buttons pressed on the menu are released, so that those releases reach nobody.
HWND CreateCaptureWindow(HWND owner);

// After the menu: the releases of the keys it consumed reach nobody.
void SwallowReleases(const std::set<UINT>& keys);

}  // namespace platform::menus
