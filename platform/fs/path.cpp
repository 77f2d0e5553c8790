#include "platform/fs/path.h"

#include <cctype>
#include <vector>

namespace platform::fs {

namespace {

bool IsDriveLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}

// "C:x": the current folder of a drive, not its root.
bool IsDriveRelative(const std::string& path, PathStyle style) {
    return style == PathStyle::Windows && HasDrive(path) &&
           (path.size() == 2 || !IsSeparator(path[2], style));
}

// Where the component that starts at from ends (its separator, or the end).
size_t ComponentEnd(const std::string& path, size_t from, PathStyle style) {
    while (from < path.size() && !IsSeparator(path[from], style))
        ++from;
    return from;
}

std::string NativeSeparators(std::string text, PathStyle style) {
    for (char& c : text) {
        if (IsSeparator(c, style))
            c = Separator(style);
    }
    return text;
}

}  // namespace

char Separator(PathStyle style) {
    return style == PathStyle::Windows ? '\\' : '/';
}

bool IsSeparator(char c, PathStyle style) {
    return c == '/' || (style == PathStyle::Windows && c == '\\');
}

size_t RootLength(const std::string& path, PathStyle style) {
    if (path.empty())
        return 0;
    if (style == PathStyle::Posix)
        return path[0] == '/' ? 1 : 0;
    if (path.size() >= 2 && IsSeparator(path[0], style) && IsSeparator(path[1], style)) {
        // \\server\share\ : the server and the share are both part of the root.
        size_t server = ComponentEnd(path, 2, style);
        if (server == path.size())
            return server;
        size_t share = ComponentEnd(path, server + 1, style);
        return share == path.size() ? share : share + 1;
    }
    if (HasDrive(path))
        return path.size() >= 3 && IsSeparator(path[2], style) ? 3 : 2;
    return IsSeparator(path[0], style) ? 1 : 0;
}

bool IsAbsolute(const std::string& path, PathStyle style) {
    if (style == PathStyle::Posix)
        return !path.empty() && path[0] == '/';
    size_t root = RootLength(path, style);
    return root >= 2 && !IsDriveRelative(path, style);
}

bool IsRoot(const std::string& path, PathStyle style) {
    size_t root = RootLength(path, style);
    if (root == 0 || IsDriveRelative(path, style))
        return false;
    for (size_t i = root; i < path.size(); ++i) {
        if (!IsSeparator(path[i], style))
            return false;
    }
    return true;
}

std::string FolderOf(const std::string& path, PathStyle style) {
    const size_t root = RootLength(path, style);
    size_t last = std::string::npos;
    for (size_t i = path.size(); i > root; --i) {
        if (IsSeparator(path[i - 1], style)) {
            last = i - 1;
            break;
        }
    }
    if (last == std::string::npos)
        return root > 0 ? path.substr(0, root) : ".";
    return path.substr(0, last);
}

std::string NameOf(const std::string& path, PathStyle style) {
    const size_t root = RootLength(path, style);
    for (size_t i = path.size(); i > root; --i) {
        if (IsSeparator(path[i - 1], style))
            return path.substr(i);
    }
    return path.substr(root);
}

std::string Join(const std::string& folder, const std::string& name, PathStyle style) {
    if (folder.empty())
        return name;
    if (IsSeparator(folder.back(), style) || (IsDriveRelative(folder, style) && folder.size() == 2))
        return folder + name;
    return folder + Separator(style) + name;
}

std::string Absolute(const std::string& cwd, const std::string& path, PathStyle style) {
    if (IsAbsolute(path, style))
        return path;
    if (style == PathStyle::Windows && HasDrive(path)) {
        const bool sameDrive =
            HasDrive(cwd) && std::toupper(static_cast<unsigned char>(cwd[0])) ==
                                 std::toupper(static_cast<unsigned char>(path[0]));
        const std::string rest = path.substr(2);
        return sameDrive ? Join(cwd, rest, style) : path.substr(0, 2) + Separator(style) + rest;
    }
    if (style == PathStyle::Windows && !path.empty() && IsSeparator(path[0], style)) {
        // The root of the current folder's drive or share.
        std::string root = cwd.substr(0, RootLength(cwd, style));
        while (!root.empty() && IsSeparator(root.back(), style))
            root.pop_back();
        return root + path;
    }
    return Join(cwd, path, style);
}

std::string ResolvePath(const std::string& base, const std::string& typed, PathStyle style) {
    const std::string whole = Absolute(base, typed, style);
    const size_t rootLength = RootLength(whole, style);
    std::string root = NativeSeparators(whole.substr(0, rootLength), style);
    // Above the root of "C:x" lies the drive's current folder, which only the system knows.
    const bool anchored = rootLength > 0 && !IsDriveRelative(whole, style);

    std::vector<std::string> parts;
    size_t i = rootLength;
    while (i <= whole.size()) {
        size_t j = ComponentEnd(whole, i, style);
        std::string part = whole.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!anchored)
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string out = root;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0 ||
            (!out.empty() && !IsSeparator(out.back(), style) && !IsDriveRelative(out, style)))
            out += Separator(style);
        out += parts[k];
    }
    return out.empty() ? "." : out;
}

}  // namespace platform::fs
