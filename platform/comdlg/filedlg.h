// The common open/save dialog: a modal dialog in the classic look that lists a folder
// (folders first), lets the user move between folders, type a name or a path, pick a
// filter, and returns the chosen file's full path.
//
// The decisions the dialog makes (parsing the filter, matching patterns, listing,
// joining paths, the default extension, what a typed name means) are plain functions
// below, usable and testable without any window.
#pragma once

#include <string>
#include <vector>

#include "platform/windef.h"

struct OPENFILENAME {
    DWORD lStructSize = sizeof(OPENFILENAME);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    LPCSTR lpstrFilter = nullptr;  // "Name\0pattern\0...\0\0"; patterns may be "a;b"
    LPSTR lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;     // 1-based; 0 takes the first
    LPSTR lpstrFile = nullptr;  // in: the initial name; out: the full path
    DWORD nMaxFile = 0;
    LPSTR lpstrFileTitle = nullptr;  // out: the name alone
    DWORD nMaxFileTitle = 0;
    LPCSTR lpstrInitialDir = nullptr;
    LPCSTR lpstrTitle = nullptr;  // null: "Open" or "Save As"
    DWORD Flags = 0;
    WORD nFileOffset = 0;     // out: where the name starts in lpstrFile
    WORD nFileExtension = 0;  // out: where the extension starts, or the terminating NUL
    LPCSTR lpstrDefExt = nullptr;
    LPARAM lCustData = 0;
    void* lpfnHook = nullptr;
    LPCSTR lpTemplateName = nullptr;
};
using LPOPENFILENAME = OPENFILENAME*;

// The dialog's flags.
enum : DWORD {
    OFN_READONLY = 0x00000001,
    OFN_OVERWRITEPROMPT = 0x00000002,
    OFN_HIDEREADONLY = 0x00000004,
    OFN_NOCHANGEDIR = 0x00000008,
    OFN_FILEMUSTEXIST = 0x00001000,
    OFN_CREATEPROMPT = 0x00002000,
    OFN_EXPLORER = 0x00080000
};

// CommDlgExtendedError's values.
enum : DWORD {
    CDERR_STRUCTSIZE = 0x0001,
    CDERR_DIALOGFAILURE = 0xFFFF,
    FNERR_BUFFERTOOSMALL = 0x3003
};

// TRUE with the chosen full path in lpstrFile; FALSE on Cancel or an error (see
// CommDlgExtendedError). The process's current directory is never changed, whatever
// OFN_NOCHANGEDIR says: the bitmap lookup depends on it.
BOOL GetOpenFileName(LPOPENFILENAME ofn);
BOOL GetSaveFileName(LPOPENFILENAME ofn);
// 0 after Cancel or success, otherwise why the last dialog returned FALSE.
DWORD CommDlgExtendedError();

namespace platform {

struct FileFilter {
    std::string name;     // as given, blanks kept
    std::string pattern;  // "*.vrz", or several as "*.a;*.b"
};

// The pairs of a NUL-separated filter (ends at an empty name or a double NUL); a name
// without a pattern is dropped.
std::vector<FileFilter> ParseFilter(LPCSTR filter);
// "Name|pat|Name|pat||" -> the NUL-separated form, ending in a double NUL.
std::string FrameworkFilterToSystem(const std::string& filter);

// Case-insensitive '*' and '?' match of one name against a pattern list "a;b". "*.*" and
// "*" match every name, with or without a dot.
bool MatchesPattern(const std::string& patterns, const std::string& name);

struct FolderEntry {
    std::string name;
    bool folder = false;
};
// The entries of folder: ".." first (except at the root), then the folders, then the
// files matching patterns, each group sorted case-insensitively. Names starting with a
// dot are hidden. Empty when the folder can't be read (ok set to false).
std::vector<FolderEntry> ListFolder(const std::string& folder, const std::string& patterns,
                                    bool* ok = nullptr);

// base joined with typed (typed wins when absolute), with "." and ".." resolved
// lexically and no trailing slash (except the root).
std::string JoinPath(const std::string& base, const std::string& typed);
// name with "." + defExt added when its last component has no extension; a trailing
// dot means "no extension" and is dropped.
std::string AddDefaultExtension(const std::string& name, LPCSTR defExt);

// What pressing Open/Save with `typed` in the name field means.
struct FileDialogChoice {
    enum Kind {
        Navigate,   // go into path (a folder)
        SetFilter,  // typed a pattern: list with it
        Accept,     // path is the answer
        Confirm,    // ask `message` (Yes/No); Yes accepts path
        Refuse,     // show `message`, stay open
        Nothing,    // empty field
    } kind = Nothing;
    std::string path;
    std::string message;
};
FileDialogChoice DecideFileDialogChoice(const std::string& folder, const std::string& typed,
                                        LPCSTR defExt, DWORD flags, bool save);

// The prompts, with Windows' wording.
std::string OverwritePrompt(const std::string& name);

}  // namespace platform
