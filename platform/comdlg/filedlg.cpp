#include <cstring>
#include <string>
#include <vector>

#include "platform/comdlg/filedlg.h"
#include "platform/comdlg/filedlg_internal.h"
#include "platform/dialogs/dialog.h"
#include "platform/fs/fs.h"
#include "platform/fs/path.h"

using namespace platform::filedlg;

namespace {

DWORD g_lastError = 0;

// The folder the last dialog ended in, so the next one opens there.
std::string& LastFolder() {
    static std::string folder;
    return folder;
}

struct FileDialogState {
    OPENFILENAME* ofn = nullptr;
    bool save = false;
    std::string folder;
    std::vector<platform::FileFilter> filters;
    std::string customPattern;  // a pattern typed into the name field
    std::vector<platform::FolderEntry> entries;
    std::string title;
};

FileDialogState* StateOf(HWND dialog) {
    return reinterpret_cast<FileDialogState*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
}

std::string CurrentPattern(const FileDialogState& s, HWND dialog) {
    if (!s.customPattern.empty())
        return s.customPattern;
    LRESULT sel = SendDlgItemMessage(dialog, ID_TYPE, CB_GETCURSEL, 0, 0);
    if (sel >= 0 && size_t(sel) < s.filters.size())
        return s.filters[size_t(sel)].pattern;
    return "*.*";
}

std::string NameField(HWND dialog) {
    char buf[1024];
    GetDlgItemText(dialog, ID_NAME, buf, sizeof buf);
    return buf;
}

void Relist(HWND dialog, FileDialogState& s) {
    bool ok = false;
    s.entries = platform::ListFolder(s.folder, CurrentPattern(s, dialog), &ok);
    // A folder that can't be read still offers the way back up.
    if (!ok && !platform::fs::IsRoot(s.folder))
        s.entries.push_back({"..", true});
    HWND list = GetDlgItem(dialog, ID_LIST);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < s.entries.size(); ++i) {
        const auto& e = s.entries[i];
        SendMessage(list, LB_ADDSTRING, 0, LPARAM(reinterpret_cast<intptr_t>(e.name.c_str())));
        SendMessage(list, LB_SETITEMDATA, i, e.folder ? 1 : 0);
    }
    SetDlgItemText(dialog, ID_FOLDER, s.folder.c_str());
}

void Navigate(HWND dialog, FileDialogState& s, const std::string& folder) {
    s.folder = folder;
    Relist(dialog, s);
}

void FocusName(HWND dialog) {
    HWND name = GetDlgItem(dialog, ID_NAME);
    SetFocus(name);
    SendMessage(name, EM_SETSEL, 0, -1);
}

// Writes the answer into the caller's structure; false when it does not fit.
bool Answer(FileDialogState& s, const std::string& path) {
    OPENFILENAME* ofn = s.ofn;
    if (!ofn->lpstrFile || ofn->nMaxFile < path.size() + 1) {
        // As the system does: the size needed goes into the first two bytes.
        if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
            size_t need = std::min<size_t>(path.size() + 1, 0xFFFF);
            ofn->lpstrFile[0] = char(need & 0xFF);
            ofn->lpstrFile[1] = char(need >> 8);
        }
        g_lastError = FNERR_BUFFERTOOSMALL;
        return false;
    }
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    size_t nameAt = path.size() - platform::fs::NameOf(path).size();
    size_t dot = path.find_last_of('.');
    ofn->nFileOffset = WORD(nameAt);
    ofn->nFileExtension = WORD(dot != std::string::npos && dot > nameAt ? dot + 1 : path.size());
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        std::string title = path.substr(nameAt);
        size_t n = std::min<size_t>(title.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, title.data(), n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    if (ofn->Flags & OFN_FILEMUSTEXIST)
        ofn->Flags &= ~OFN_READONLY;
    return true;
}

void Finish(HWND dialog, FileDialogState& s, const std::string& path) {
    LastFolder() = s.folder;
    EndDialog(dialog, Answer(s, path) ? IDOK : IDCANCEL);
}

// Open/Save pressed, or Enter, with the text of the name field.
void Decide(HWND dialog, FileDialogState& s, const std::string& typed) {
    auto c =
        platform::DecideFileDialogChoice(s.folder, typed, s.ofn->lpstrDefExt, s.ofn->Flags, s.save);
    switch (c.kind) {
        case platform::FileDialogChoice::Nothing:
            FocusName(dialog);
            return;
        case platform::FileDialogChoice::Navigate:
            s.customPattern.clear();
            SetDlgItemText(dialog, ID_NAME, "");
            Navigate(dialog, s, c.path);
            FocusName(dialog);
            return;
        case platform::FileDialogChoice::SetFilter:
            s.customPattern = c.message;
            SetDlgItemText(dialog, ID_NAME, c.message.c_str());
            Navigate(dialog, s, c.path);
            FocusName(dialog);
            return;
        case platform::FileDialogChoice::Refuse:
            MessageBox(dialog, c.message.c_str(), s.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
            FocusName(dialog);
            return;
        case platform::FileDialogChoice::Confirm:
            if (MessageBox(dialog, c.message.c_str(), s.title.c_str(),
                           MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
                FocusName(dialog);
                return;
            }
            Finish(dialog, s, c.path);
            return;
        case platform::FileDialogChoice::Accept:
            Finish(dialog, s, c.path);
            return;
    }
}

// The list's selected entry chosen (double click, or Enter with the list focused).
void ChooseSelected(HWND dialog, FileDialogState& s) {
    LRESULT sel = SendDlgItemMessage(dialog, ID_LIST, LB_GETCURSEL, 0, 0);
    if (sel < 0 || size_t(sel) >= s.entries.size())
        return;
    const platform::FolderEntry e = s.entries[size_t(sel)];
    if (e.folder) {
        Navigate(dialog, s, platform::JoinPath(s.folder, e.name));
        SendDlgItemMessage(dialog, ID_LIST, LB_SETCURSEL, 0, 0);
        return;
    }
    Decide(dialog, s, e.name);
}

void InitDialog(HWND dialog, FileDialogState& s) {
    SetWindowLongPtr(dialog, GWLP_USERDATA, LONG_PTR(reinterpret_cast<intptr_t>(&s)));
    HWND type = GetDlgItem(dialog, ID_TYPE);
    for (const auto& f : s.filters)
        SendMessage(type, CB_ADDSTRING, 0, LPARAM(reinterpret_cast<intptr_t>(f.name.c_str())));
    DWORD index = s.ofn->nFilterIndex;
    if (index == 0 || index > s.filters.size())
        index = 1;
    SendMessage(type, CB_SETCURSEL, index - 1, 0);
    Relist(dialog, s);
    std::string initial = s.ofn->lpstrFile ? s.ofn->lpstrFile : "";
    SetDlgItemText(dialog, ID_NAME, platform::fs::NameOf(initial).c_str());
}

INT_PTR OnCommand(HWND dialog, FileDialogState& s, int id, WORD code) {
    switch (id) {
        case IDOK:
            if (GetFocus() == GetDlgItem(dialog, ID_LIST))
                ChooseSelected(dialog, s);
            else
                Decide(dialog, s, NameField(dialog));
            return TRUE;
        case IDCANCEL:
            LastFolder() = s.folder;
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case ID_LIST:
            if (code == LBN_DBLCLK) {
                ChooseSelected(dialog, s);
            } else if (code == LBN_SELCHANGE) {
                LRESULT sel = SendDlgItemMessage(dialog, ID_LIST, LB_GETCURSEL, 0, 0);
                if (sel >= 0 && size_t(sel) < s.entries.size() && !s.entries[size_t(sel)].folder)
                    SetDlgItemText(dialog, ID_NAME, s.entries[size_t(sel)].name.c_str());
            }
            return TRUE;
        case ID_TYPE:
            if (code == CBN_SELCHANGE) {
                s.customPattern.clear();
                Relist(dialog, s);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

// A turn of the wheel the focused field had no use for scrolls the list when the pointer
// is over it, so the list scrolls under the pointer wherever the focus is.
INT_PTR OnWheel(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND list = GetDlgItem(dialog, ID_LIST);
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!list || WindowFromPoint(pt) != list || GetFocus() == list)
        return FALSE;
    SendMessage(list, WM_MOUSEWHEEL, wParam, lParam);
    return TRUE;
}

INT_PTR FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitDialog(dialog, *reinterpret_cast<FileDialogState*>(lParam));
            return TRUE;  // the name field is first in the tab order
        case WM_MEASUREITEM:
            if (wParam != ID_LIST)
                return FALSE;
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = FILE_ROW_HEIGHT;
            return TRUE;
        case WM_DRAWITEM:
            if (wParam != ID_LIST)
                return FALSE;
            DrawFileRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MOUSEWHEEL:
            return OnWheel(dialog, wParam, lParam);
        case WM_COMMAND:
            if (FileDialogState* s = StateOf(dialog))
                return OnCommand(dialog, *s, LOWORD(wParam), HIWORD(wParam));
            return FALSE;
        default:
            return FALSE;
    }
}

platform::DialogItemTemplate Item(const char* cls, const std::string& text, int id, DWORD style,
                                  int x, int y, int cx, int cy) {
    platform::DialogItemTemplate it;
    it.className = cls;
    it.text = text;
    it.id = id;
    it.style = style | WS_CHILD | WS_VISIBLE;
    it.x = int16_t(x);
    it.y = int16_t(y);
    it.cx = int16_t(cx);
    it.cy = int16_t(cy);
    return it;
}

bool Readable(const std::string& folder) {
    std::vector<std::string> names;
    return platform::fs::ListFolder(folder, names) == 0;
}

std::string CurrentDirectory() {
    std::string folder = platform::fs::CurrentFolder();
    return folder.empty() ? std::string(1, platform::fs::Separator()) : folder;
}

// The initial name's folder, else the initial folder, else where the last dialog ended,
// else the current directory.
std::string StartFolder(const OPENFILENAME* ofn) {
    std::string cwd = CurrentDirectory();
    if (ofn->lpstrFile && platform::fs::NameOf(ofn->lpstrFile) != ofn->lpstrFile) {
        std::string folder = platform::JoinPath(cwd, platform::fs::FolderOf(ofn->lpstrFile));
        if (Readable(folder))
            return folder;
    }
    if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir) {
        std::string folder = platform::JoinPath(cwd, ofn->lpstrInitialDir);
        if (Readable(folder))
            return folder;
    }
    if (!LastFolder().empty() && Readable(LastFolder()))
        return LastFolder();
    return platform::JoinPath(cwd, "");
}

BOOL RunFileDialog(OPENFILENAME* ofn, bool save) {
    g_lastError = 0;
    if (!ofn || ofn->lStructSize < sizeof(OPENFILENAME)) {
        g_lastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    FileDialogState s;
    s.ofn = ofn;
    s.save = save;
    s.folder = StartFolder(ofn);
    s.filters = platform::ParseFilter(ofn->lpstrFilter);
    if (s.filters.empty())
        s.filters.push_back({"All Files (*.*)", "*.*"});
    s.title = ofn->lpstrTitle ? ofn->lpstrTitle : save ? "Save As" : "Open";

    platform::DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
    t.cx = 262;
    t.cy = 176;
    t.caption = s.title;
    t.pointSize = 8;
    t.fontFace = "MS Sans Serif";
    const DWORD LABEL = SS_LEFT | SS_NOPREFIX;
    t.items.push_back(Item("STATIC", save ? "Save &in:" : "Look &in:", -1, SS_LEFT, 7, 8, 40, 9));
    t.items.push_back(Item("STATIC", "", ID_FOLDER, LABEL, 48, 8, 207, 9));
    t.items.push_back(Item("STATIC", "File &name:", -1, SS_LEFT, 7, 130, 48, 9));
    t.items.push_back(
        Item("EDIT", "", ID_NAME, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 60, 128, 136, 13));
    t.items.push_back(
        Item("LISTBOX", "", ID_LIST,
             WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
             7, 21, 248, 100));
    t.items.push_back(
        Item("STATIC", save ? "Save as &type:" : "Files of &type:", -1, SS_LEFT, 7, 150, 50, 9));
    t.items.push_back(Item("COMBOBOX", "", ID_TYPE, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 60,
                           147, 136, 14));
    t.items.push_back(Item("BUTTON", save ? "&Save" : "&Open", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP,
                           205, 127, 50, 14));
    t.items.push_back(
        Item("BUTTON", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 205, 147, 50, 14));

    INT_PTR result = DialogBoxIndirectParam(ofn->hInstance, t, ofn->hwndOwner, FileDialogProc,
                                            LPARAM(reinterpret_cast<intptr_t>(&s)));
    if (result == -1) {
        g_lastError = CDERR_DIALOGFAILURE;
        return FALSE;
    }
    return result == IDOK ? TRUE : FALSE;
}

}  // namespace

BOOL GetOpenFileName(LPOPENFILENAME ofn) {
    return RunFileDialog(ofn, false);
}

BOOL GetSaveFileName(LPOPENFILENAME ofn) {
    return RunFileDialog(ofn, true);
}

DWORD CommDlgExtendedError() {
    return g_lastError;
}
