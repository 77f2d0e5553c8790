// Shared between the dialog manager and the message box.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs/dialog.h"
#include "platform/gdi/gdi.h"

namespace platform::dialog {

constexpr const char* DIALOG_CLASS = "#32770";

// One control to make, in pixels relative to the dialog window.
struct ItemSpec {
    std::string className;
    std::string text;
    int id = -1;
    DWORD style = 0;
    RECT rect = {0, 0, 0, 0};
};

struct DialogSpec {
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string caption;
    RECT rect = {0, 0, 0, 0};  // screen pixels, frame included
    HFONT font = nullptr;
    std::vector<ItemSpec> items;
};

// Creates the dialog window and its controls, sends WM_INITDIALOG, runs the modal loop,
// and tears it all down. Returns the EndDialog value, or -1 when it could not be made.
INT_PTR RunModal(HINSTANCE instance, const DialogSpec& spec, HWND owner, DLGPROC proc,
                 LPARAM initParam, const DialogWindowFactory& factory);

}  // namespace platform::dialog
