// Paths as text, for either system's conventions, with no call to the system: the folder
// and the name of a path, joining, and resolving what a user typed against a folder.
//
// POSIX paths have one root, "/". Windows paths take '\' and '/' alike and have these
// roots: "C:\" (a drive), "\\server\share\" (UNC, also "\\?\C:\" and "\\.\pipe\"), "\" (the
// root of the current drive) and "C:" (the current folder of drive C). Results use '\'.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::fs {

enum class PathStyle : uint8_t { Posix, Windows };

// The running system's conventions (defined beside its file-system implementation).
PathStyle NativeStyle();

char Separator(PathStyle style = NativeStyle());
bool IsSeparator(char c, PathStyle style = NativeStyle());

// How many leading characters of path are its root (0 for a relative path).
size_t RootLength(const std::string& path, PathStyle style = NativeStyle());
// Names the same place whatever the current folder and drive: "/x", "C:\x", "\\srv\s\x".
// "\x" and "C:x" are not absolute; they still depend on the current drive or folder.
bool IsAbsolute(const std::string& path, PathStyle style = NativeStyle());
// True for a path that is nothing but a root with nothing after it: "/", "C:\", "\\srv\s".
bool IsRoot(const std::string& path, PathStyle style = NativeStyle());

// The folder part: "." for a bare name, the root itself for an entry of the root.
std::string FolderOf(const std::string& path, PathStyle style = NativeStyle());
// The last component ("" when path ends in a separator or is a root).
std::string NameOf(const std::string& path, PathStyle style = NativeStyle());
// folder, one separator, name; name alone when folder is empty.
std::string Join(const std::string& folder, const std::string& name,
                 PathStyle style = NativeStyle());

// path made independent of the current folder, cwd being that folder (absolute). Only
// prepends: "." and ".." are kept as they are, since a link in the path can make ".."
// lead somewhere the text does not say.
std::string Absolute(const std::string& cwd, const std::string& path,
                     PathStyle style = NativeStyle());

// What typed names when read in folder base, with "." and ".." folded and repeated
// separators dropped; ".." never climbs above the root. An absolute typed path stands on
// its own; a Windows "\x" takes base's drive or share, and "D:x" base's folder when base is
// on D: (the root of D: otherwise). "." when nothing is left of a relative path.
std::string ResolvePath(const std::string& base, const std::string& typed,
                        PathStyle style = NativeStyle());

}  // namespace platform::fs
