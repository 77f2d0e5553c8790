// Shared between the open/save dialog and its two controls.
#pragma once

#include "platform/user/user.h"

// List box and combo box messages and notifications, with Win32's values.
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr LRESULT LB_ERR = -1;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;

constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr LRESULT CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1;

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
