// Golden pictures of the resource dialogs and of a message box. Set VORLA_UPDATE_GOLDEN=1
// to rewrite them after a deliberate change of look; otherwise they must match exactly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include "platform/res/resources.h"
#include "tests/platform_dialog/dialog_fixture.h"

using dialogtest::DialogTest;

namespace {

std::vector<uint8_t> PageRgb() {
    platform::PixelTarget page = platform::GdiPage();
    std::vector<uint8_t> rgb(size_t(page.width) * page.height * 3);
    for (int y = 0; y < page.height; ++y) {
        const uint16_t* row = reinterpret_cast<const uint16_t*>(page.pixels + y * page.pitch);
        for (int x = 0; x < page.width; ++x) {
            uint32_t p = row[x];
            uint32_t r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
            size_t i = (size_t(y) * page.width + x) * 3;
            rgb[i] = uint8_t((r << 3) | (r >> 2));
            rgb[i + 1] = uint8_t((g << 2) | (g >> 4));
            rgb[i + 2] = uint8_t((b << 3) | (b >> 2));
        }
    }
    return rgb;
}

// Returns the number of differing bytes (or -1 when the golden can't be read).
int CompareWithGolden(const std::string& name) {
    std::vector<uint8_t> rgb = PageRgb();
    std::string path = std::string(VORLA_GOLDEN_DIR) + "/" + name;
    if (std::getenv("VORLA_UPDATE_GOLDEN") != nullptr)
        stbi_write_png(path.c_str(), 640, 480, 3, rgb.data(), 640 * 3);
    int w = 0, h = 0, n = 0;
    unsigned char* golden = stbi_load(path.c_str(), &w, &h, &n, 3);
    if (!golden || w != 640 || h != 480) {
        stbi_image_free(golden);
        return -1;
    }
    int differing = 0;
    for (size_t i = 0; i < rgb.size(); ++i)
        differing += golden[i] != rgb[i];
    stbi_image_free(golden);
    return differing;
}

INT_PTR CloseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// Catches any change in how the resource dialogs look: frame, controls, text, icons.
TEST_F(DialogTest, ResourceDialogsMatchTheirGoldenPictures) {
    for (int id : {100, 133, 135}) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        int differing = -2;
        Then([&] {
            if (id == 133)
                for (int field = 1000; field <= 1009; ++field)
                    SetDlgItemInt(GetActiveWindow(), field, UINT(field - 1000), TRUE);
        });
        Then([&] {
            differing = CompareWithGolden("dialog_" + std::to_string(id) + ".png");
            Key(VK_ESCAPE);
        });
        INT_PTR r = DialogBoxParam(platform::ExecutableInstance(), MAKEINTRESOURCE(uintptr_t(id)),
                                   owner, CloseProc, 0);
        EXPECT_EQ(r, IDCANCEL);
        EXPECT_EQ(differing, 0);
    }
}

// Catches any change in the message box's look: caption, icon, wrapping, buttons.
TEST_F(DialogTest, MessageBoxMatchesItsGoldenPicture) {
    int differing = -2;
    platform::SetMessageBoxHook([&](HWND, const std::string&, const std::string&, UINT) {
        differing = CompareWithGolden("dialog_msgbox.png");
        Key(VK_RETURN);
    });
    MessageBox(owner, "Please enter an integer.", "vorla", MB_ICONEXCLAMATION | MB_OK);
    EXPECT_EQ(differing, 0);
    int stop = -2;
    platform::SetMessageBoxHook([&](HWND, const std::string&, const std::string&, UINT) {
        stop = CompareWithGolden("dialog_msgbox_stop.png");
        Key(VK_RETURN);
    });
    MessageBox(owner,
               "An unexpected error occurred while accessing /home/user/worlds/a rather long "
               "name for a world file.vrz.",
               "vorla", MB_ICONSTOP | MB_YESNO);
    EXPECT_EQ(stop, 0);
}

}  // namespace
