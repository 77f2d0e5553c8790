// Shared between the open/save dialog and its two controls.
#pragma once

#include "platform/controls/controls.h"

namespace platform::filedlg {

// Class names are upper case: the dialog manager upper-cases a template's class names.
constexpr const char* FILE_LIST_CLASS = "FILELISTBOX";
constexpr const char* FILE_TYPE_CLASS = "FILETYPEBOX";

// The dialog's control ids.
constexpr int ID_FOLDER = 1088;
constexpr int ID_LIST = 1120;
constexpr int ID_NAME = 1152;
constexpr int ID_TYPE = 1136;

// Registers the file list and the type box (again after a reset of the window manager).
void EnsureFileDialogClasses();

}  // namespace platform::filedlg
