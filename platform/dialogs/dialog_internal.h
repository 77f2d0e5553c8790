// Shared between the dialog manager and the message box.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs/dialog.h"
#include "platform/gdi/gdi.h"

namespace platform::dialog {

struct CreateRecord {
    DLGPROC proc = nullptr;
    HFONT font = nullptr;
};

struct DialogState : WindowExtra {
    DLGPROC proc = nullptr;
    HFONT font = nullptr;
    std::vector<HWND> items;  // template order
    int defId = -1;
    bool ended = false;
    INT_PTR result = 0;
    HWND lastFocus = nullptr;
};

// The state of a dialog window, or null for any other window.
DialogState* Find(HWND dialog);

// Registers the dialog class ("#32770"), whose procedure is DefDlgProc.
void EnsureDialogClass();
// Moves the focus to control; an edit field reached by the keyboard is selected whole.
void FocusControl(HWND dialog, HWND control, bool selectAll);
// True when hwnd is dialog or one of its controls.
bool InTree(HWND hwnd, HWND dialog);

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
