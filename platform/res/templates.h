// Menu, dialog and string resources, read from the resource script embedded in the
// executable (res/vorla.rc).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windef.h"

namespace platform {

struct MenuItemTemplate {
    std::string text;  // as written, with any '&' mnemonic marker and "\t" accelerator text
    UINT id = 0;
    bool separator = false;
    bool popup = false;
    bool checked = false;                 // CHECKED
    bool grayed = false;                  // GRAYED
    bool disabled = false;                // INACTIVE
    std::vector<MenuItemTemplate> items;  // a popup's contents
};

struct MenuTemplate {
    std::vector<MenuItemTemplate> items;  // the menu bar: usually one popup
};

struct DialogItemTemplate {
    std::string className;  // "BUTTON", "EDIT", "STATIC"
    std::string text;       // for an ICON control, the icon's id as text ("128")
    int32_t id = -1;
    DWORD style = 0;  // full window style, as the resource compiler makes it
    DWORD exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::string caption;
    int32_t pointSize = 0;  // with DS_SETFONT
    std::string fontFace;
    std::vector<DialogItemTemplate> items;  // resource order = tab order
};

// Everything a resource script defines. Menus and dialogs are keyed by "#<id>" for a
// numeric name and by the upper-case name otherwise.
struct ResourceScript {
    std::map<std::string, MenuTemplate> menus;
    std::map<std::string, DialogTemplate> dialogs;
    std::map<UINT, std::string> strings;
};

// Reads resource-script text (MENU, DIALOG, STRINGTABLE). Returns false, with a message
// naming the line in *error when given, for text it can't read; out is then unchanged.
bool ParseResourceScript(std::string_view text, ResourceScript& out, std::string* error = nullptr);

// Each returns false when the module has no such resource. name is a string or an id
// made with MAKEINTRESOURCE.
bool LoadMenuTemplate(HINSTANCE module, LPCSTR name, MenuTemplate& out);
bool LoadDialogTemplate(HINSTANCE module, LPCSTR name, DialogTemplate& out);
// The string, or false when there is none.
bool LoadStringResource(HINSTANCE module, UINT id, std::string& out);

}  // namespace platform
