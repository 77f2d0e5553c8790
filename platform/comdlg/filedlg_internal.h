// Shared between the open/save dialog and the drawing of its file list's rows.
#pragma once

#include "platform/controls/controls.h"

namespace platform::filedlg {

// The dialog's control ids.
constexpr int ID_FOLDER = 1088;
constexpr int ID_LIST = 1120;
constexpr int ID_NAME = 1152;
constexpr int ID_TYPE = 1136;

// The file list's rows: a 16-pixel glyph beside the name. A folder's row has item data 1.
constexpr UINT FILE_ROW_HEIGHT = 16;
void DrawFileRow(const DRAWITEMSTRUCT& d);

}  // namespace platform::filedlg
