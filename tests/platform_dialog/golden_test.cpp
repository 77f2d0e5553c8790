// Golden pictures of the resource dialogs and of a message box. Set VORLA_UPDATE_GOLDEN=1
// to rewrite them after a deliberate change of look; otherwise they must match exactly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/res/resources.h"
#include "tests/platform_dialog/dialog_fixture.h"
#include "tests/support/golden.h"
#include "tests/support/modal_watch.h"

using dialogtest::DialogTest;

namespace {

std::string CompareWithGolden(const std::string& name) {
    return testsupport::CompareWithGolden(platform::GdiPage(), name);
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
        std::string differing = "not compared";
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
        EXPECT_EQ(differing, "");
    }
}

// Catches any change in the message box's look: caption, icon, wrapping, buttons.
TEST_F(DialogTest, MessageBoxMatchesItsGoldenPicture) {
    std::string differing = "not compared";
    testsupport::SetMessageBoxHook([&](HWND, const std::string&, const std::string&, UINT) {
        differing = CompareWithGolden("dialog_msgbox.png");
        Key(VK_RETURN);
    });
    MessageBox(owner, "Please enter an integer.", "vorla", MB_ICONEXCLAMATION | MB_OK);
    EXPECT_EQ(differing, "");
    std::string stop = "not compared";
    testsupport::SetMessageBoxHook([&](HWND, const std::string&, const std::string&, UINT) {
        stop = CompareWithGolden("dialog_msgbox_stop.png");
        Key(VK_RETURN);
    });
    MessageBox(owner,
               "An unexpected error occurred while accessing /home/user/worlds/a rather long "
               "name for a world file.vrz.",
               "vorla", MB_ICONSTOP | MB_YESNO);
    EXPECT_EQ(stop, "");
}

}  // namespace
