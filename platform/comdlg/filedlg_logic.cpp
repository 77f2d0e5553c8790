#include <algorithm>
#include <cctype>

#include "platform/comdlg/filedlg.h"
#include "platform/fs/fs.h"
#include "platform/fs/path.h"

namespace platform {

namespace {

char Lower(char c) {
    return char(std::tolower(static_cast<unsigned char>(c)));
}

bool LessNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char x = Lower(a[i]), y = Lower(b[i]);
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;  // names differing only in case keep a fixed order
}

bool Glob(const char* p, const char* n) {
    // Iterative '*' with one backtrack point: linear enough for file names.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n) {
        if (*p == '?' || (*p && *p != '*' && Lower(*p) == Lower(*n))) {
            ++p;
            ++n;
        } else if (*p == '*') {
            star = p++;
            resume = n;
        } else if (star) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*p == '*')
        ++p;
    return *p == '\0';
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool IsFolder(const std::string& path) {
    fs::Status st;
    return fs::StatusOf(path, true, st) == 0 && st.kind == fs::Kind::Folder;
}

bool Exists(const std::string& path) {
    fs::Status st;
    return fs::StatusOf(path, true, st) == 0;
}

}  // namespace

std::vector<FileFilter> ParseFilter(LPCSTR filter) {
    std::vector<FileFilter> out;
    if (!filter)
        return out;
    const char* p = filter;
    while (*p) {
        std::string name = p;
        p += name.size() + 1;
        if (!*p)
            break;
        std::string pattern = p;
        p += pattern.size() + 1;
        out.push_back({name, pattern});
    }
    return out;
}

std::string FrameworkFilterToSystem(const std::string& filter) {
    std::string out = filter;
    std::replace(out.begin(), out.end(), '|', '\0');
    // Always end in a double NUL, even when the caller left off the closing "||".
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

bool MatchesPattern(const std::string& patterns, const std::string& name) {
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos)
            end = patterns.size();
        std::string one = Trim(patterns.substr(start, end - start));
        if (one == "*.*" || one == "*")
            return true;
        if (!one.empty() && Glob(one.c_str(), name.c_str()))
            return true;
        start = end + 1;
    }
    return false;
}

std::vector<FolderEntry> ListFolder(const std::string& folder, const std::string& patterns,
                                    bool* ok) {
    std::vector<FolderEntry> folders, files;
    std::vector<std::string> names;
    bool listed = fs::ListFolder(folder, names) == 0;
    if (ok)
        *ok = listed;
    if (!listed)
        return {};
    for (const std::string& name : names) {
        if (name.empty() || name[0] == '.')
            continue;
        bool isFolder = IsFolder(JoinPath(folder, name));
        if (isFolder)
            folders.push_back({name, true});
        else if (MatchesPattern(patterns, name))
            files.push_back({name, false});
    }
    auto byName = [](const FolderEntry& a, const FolderEntry& b) {
        return LessNoCase(a.name, b.name);
    };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    std::vector<FolderEntry> out;
    if (!fs::IsRoot(JoinPath(folder, "")))
        out.push_back({"..", true});
    out.insert(out.end(), folders.begin(), folders.end());
    out.insert(out.end(), files.begin(), files.end());
    return out;
}

std::string JoinPath(const std::string& base, const std::string& typed) {
    return fs::ResolvePath(base, typed);
}

std::string AddDefaultExtension(const std::string& name, LPCSTR defExt) {
    std::string last = fs::NameOf(name);
    if (last.empty())
        return name;
    if (last.back() == '.')
        return name.substr(0, name.size() - 1);
    if (last.find('.') != std::string::npos || !defExt || !*defExt)
        return name;
    std::string ext = defExt;
    if (ext[0] == '.')
        ext.erase(0, 1);
    return name + "." + ext;
}

std::string OverwritePrompt(const std::string& name) {
    return name + " already exists.\nDo you want to replace it?";
}

FileDialogChoice DecideFileDialogChoice(const std::string& folder, const std::string& typed,
                                        LPCSTR defExt, DWORD flags, bool save) {
    FileDialogChoice c;
    std::string text = Trim(typed);
    if (text.empty())
        return c;
    std::string raw = JoinPath(folder, text);
    if (IsFolder(raw)) {
        c.kind = FileDialogChoice::Navigate;
        c.path = raw;
        return c;
    }
    if (text.find_first_of("*?") != std::string::npos) {
        std::string parent = fs::FolderOf(raw);
        if (IsFolder(parent)) {
            c.kind = FileDialogChoice::SetFilter;
            c.path = parent;
            c.message = fs::NameOf(raw);
            return c;
        }
    }
    std::string path = JoinPath(folder, AddDefaultExtension(text, defExt));
    std::string name = fs::NameOf(path);
    // A file can't be made or found in a folder that isn't there; say so here rather
    // than let the caller's open fail with nothing shown.
    if (!IsFolder(fs::FolderOf(path))) {
        c.kind = FileDialogChoice::Refuse;
        c.message = text + "\nPath does not exist.\nPlease verify the correct path was given.";
        return c;
    }
    if (IsFolder(path)) {
        c.kind = FileDialogChoice::Navigate;
        c.path = path;
        return c;
    }
    bool exists = Exists(path);
    c.path = path;
    if (save) {
        if (exists && (flags & OFN_OVERWRITEPROMPT)) {
            c.kind = FileDialogChoice::Confirm;
            c.message = OverwritePrompt(name);
            return c;
        }
        if (!exists && (flags & OFN_CREATEPROMPT)) {
            c.kind = FileDialogChoice::Confirm;
            c.message = name + "\nThis file does not exist.\nDo you want to create it?";
            return c;
        }
    } else if (!exists) {
        if (flags & OFN_FILEMUSTEXIST) {
            c.kind = FileDialogChoice::Refuse;
            c.message = name + "\nFile not found.\nPlease verify the correct file name was given.";
            return c;
        }
        if (flags & OFN_CREATEPROMPT) {
            c.kind = FileDialogChoice::Confirm;
            c.message = name + "\nThis file does not exist.\nDo you want to create it?";
            return c;
        }
    }
    c.kind = FileDialogChoice::Accept;
    return c;
}

}  // namespace platform
