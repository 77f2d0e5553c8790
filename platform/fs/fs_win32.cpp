// The file-system interface on Windows: the wide-character calls on UTF-8 paths, the
// system's share modes for sharing, and renames that replace in one step. Handles are
// plain system file handles, so there is no C runtime and no text mode in between.
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/fs/path.h"

namespace platform::fs {

const int QUOTA_ERROR = ENOSPC;

PathStyle NativeStyle() {
    return PathStyle::Windows;
}

namespace {

constexpr DWORD SHARE_ALL = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD MAX_TRANSFER = DWORD(1) << 30;
// Not in every SDK's headers.
constexpr DWORD DISK_QUOTA_EXCEEDED = 1295;

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_NAME:
        case ERROR_NO_MORE_FILES:
        case ERROR_NOT_READY:
        case ERROR_DEV_NOT_EXIST:
            return ENOENT;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_ACCESS_DENIED:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_CANNOT_MAKE:
        case ERROR_CURRENT_DIRECTORY:
        case ERROR_PRIVILEGE_NOT_HELD:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_DRIVE_LOCKED:
            return EWOULDBLOCK;
        case ERROR_INVALID_HANDLE:
            return EBADF;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_NOT_SAME_DEVICE:
            return EXDEV;
        case ERROR_DIR_NOT_EMPTY:
            return ENOTEMPTY;
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_DISK_FULL:
        case DISK_QUOTA_EXCEEDED:
            return ENOSPC;
        case ERROR_FILE_TOO_LARGE:
            return EFBIG;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        case ERROR_CANT_RESOLVE_FILENAME:
            return ELOOP;
        case ERROR_NEGATIVE_SEEK:
        case ERROR_INVALID_PARAMETER:
            return EINVAL;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
        case ERROR_CALL_NOT_IMPLEMENTED:
            return EOPNOTSUPP;
        case ERROR_CRC:
        case ERROR_SEEK:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
        case ERROR_IO_DEVICE:
            return EIO;
        default:
            return EIO;
    }
}

int LastErrno() {
    return ErrnoOf(GetLastError());
}

// The UTF-16 form of a UTF-8 path; false for bytes that are not UTF-8, or a NUL inside.
bool Wide(const std::string& text, std::wstring& out) {
    out.clear();
    if (text.empty())
        return true;
    if (text.find('\0') != std::string::npos)
        return false;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()),
                                nullptr, 0);
    if (n <= 0)
        return false;
    out.resize(size_t(n));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()),
                               out.data(), n) == n;
}

std::string Utf8(const wchar_t* text, size_t length) {
    if (length == 0)
        return "";
    int n = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return "";
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, int(length), out.data(), n, nullptr, nullptr);
    return out;
}

HANDLE Native(Handle file) {
    return reinterpret_cast<HANDLE>(file);
}

bool IsLinkHandle(HANDLE h) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    return GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) &&
           (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           tag.ReparseTag == IO_REPARSE_TAG_SYMLINK;
}

int Fill(HANDLE h, Status& out) {
    out = Status{};
    DWORD type = GetFileType(h);
    if (type != FILE_TYPE_DISK) {
        if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR)
            return LastErrno();
        out.kind = Kind::Other;
        return 0;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info))
        return LastErrno();
    const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (IsLinkHandle(h))
        out.kind = Kind::Link;
    else
        out.kind = folder ? Kind::Folder : Kind::Regular;
    out.size = folder ? 0 : (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    // A read-only folder still takes new files: the attribute means something else there.
    out.permissions = folder ? 0777 : readOnly ? 0444 : 0666;
    out.links = info.nNumberOfLinks;
    out.device = info.dwVolumeSerialNumber;
    out.node = (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return 0;
}

// A handle for looking at a file, never for its contents: it can't be refused by a
// holder that shares nothing, and it opens folders too.
HANDLE OpenToLook(const std::wstring& path, bool followLinks) {
    DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, SHARE_ALL, nullptr, OPEN_EXISTING, flags,
                       nullptr);
}

DWORD AttributesOf(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

bool IsFolderPath(const std::wstring& path) {
    DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The last call's failure on path; a folder is refused as "access denied", so say what it is.
int ErrnoOn(const std::wstring& path) {
    DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED && IsFolderPath(path) ? EISDIR : ErrnoOf(error);
}

// "\\?\C:\x" and "\\?\UNC\srv\s\x" as the paths a user writes.
std::string WithoutLongPrefix(std::string path) {
    if (path.rfind("\\\\?\\UNC\\", 0) == 0)
        return "\\\\" + path.substr(8);
    if (path.rfind("\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

bool SetEndOfFileAt(HANDLE h, uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = LONGLONG(size);
    return SetFileInformationByHandle(h, FileEndOfFileInfo, &end, sizeof end) != 0;
}

}  // namespace

int StatusOf(const std::string& path, bool followLinks, Status& out) {
    std::wstring w;
    if (!Wide(path, w))
        return EILSEQ;
    if (w.empty())
        return ENOENT;
    HANDLE h = OpenToLook(w, followLinks);
    if (h == INVALID_HANDLE_VALUE)
        return LastErrno();
    int err = Fill(h, out);
    CloseHandle(h);
    return err;
}

int StatusOf(Handle file, Status& out) {
    return Fill(Native(file), out);
}

// Windows keeps a link's target as a path of its own; the file it leads to is given as
// the absolute path the system resolves it to.
int ReadLink(const std::string& path, std::string& target) {
    std::wstring w;
    if (!Wide(path, w))
        return EILSEQ;
    HANDLE h = OpenToLook(w, true);
    if (h == INVALID_HANDLE_VALUE)
        return LastErrno();
    std::vector<wchar_t> buf(MAX_PATH + 1);
    DWORD n = GetFinalPathNameByHandleW(h, buf.data(), DWORD(buf.size()), FILE_NAME_NORMALIZED);
    if (n >= buf.size()) {
        buf.resize(size_t(n) + 1);
        n = GetFinalPathNameByHandleW(h, buf.data(), DWORD(buf.size()), FILE_NAME_NORMALIZED);
    }
    int err = n == 0 || n >= buf.size() ? LastErrno() : 0;
    CloseHandle(h);
    if (err == 0)
        target = WithoutLongPrefix(Utf8(buf.data(), n));
    return err;
}

int CheckWritable(const std::string& path) {
    std::wstring w;
    if (!Wide(path, w))
        return EILSEQ;
    DWORD a = AttributesOf(w);
    if (a == INVALID_FILE_ATTRIBUTES)
        return LastErrno();
    return (a & FILE_ATTRIBUTE_READONLY) && !(a & FILE_ATTRIBUTE_DIRECTORY) ? EACCES : 0;
}

std::string CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0)
        return "";
    std::vector<wchar_t> buf(n + 1);
    DWORD got = GetCurrentDirectoryW(DWORD(buf.size()), buf.data());
    return got == 0 || got >= buf.size() ? "" : Utf8(buf.data(), got);
}

std::string ExecutablePath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
        if (n == 0)
            return "";
        if (n < buf.size())
            return WithoutLongPrefix(Utf8(buf.data(), n));
        if (buf.size() >= 32768)
            return "";
        buf.resize(buf.size() * 2);
    }
}

int ListFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    std::wstring w;
    if (!Wide(folder, w))
        return EILSEQ;
    DWORD a = AttributesOf(w);
    if (a == INVALID_FILE_ATTRIBUTES)
        return LastErrno();
    if (!(a & FILE_ATTRIBUTE_DIRECTORY))
        return ENOTDIR;
    std::wstring pattern;
    Wide(Join(folder, "*", PathStyle::Windows), pattern);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        // A drive's empty root has not even "." in it.
        return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : LastErrno();
    }
    do {
        std::string name = Utf8(found.cFileName, wcslen(found.cFileName));
        if (name != "." && name != ".." && !name.empty())
            names.push_back(std::move(name));
    } while (FindNextFileW(search, &found));
    DWORD err = GetLastError();
    FindClose(search);
    return err == ERROR_NO_MORE_FILES ? 0 : ErrnoOf(err);
}

int Open(const std::string& path, uint32_t how, uint32_t permissions, Handle& out) {
    out = NO_HANDLE;
    std::wstring w;
    if (!Wide(path, w))
        return EILSEQ;
    if (w.empty())
        return ENOENT;
    DWORD access = 0;
    if (how & OPEN_READ)
        access |= GENERIC_READ;
    if (how & OPEN_WRITE)
        access |= GENERIC_WRITE;
    if (access == 0)
        access = GENERIC_READ;
    DWORD share = (how & OPEN_DENY_ALL) ? 0 : (how & OPEN_DENY_WRITE) ? FILE_SHARE_READ : SHARE_ALL;
    DWORD disposition = OPEN_EXISTING;
    if ((how & OPEN_CREATE) && (how & OPEN_EXCLUSIVE))
        disposition = CREATE_NEW;  // fails on any name that is there, a link included
    else if (how & OPEN_CREATE)
        disposition = OPEN_ALWAYS;
    DWORD flags = (permissions & 0222) == 0 && (how & OPEN_CREATE) ? FILE_ATTRIBUTE_READONLY
                                                                   : FILE_ATTRIBUTE_NORMAL;
    if (how & OPEN_NO_FOLLOW)
        flags |= FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE h = CreateFileW(w.c_str(), access, share, nullptr, disposition, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return ErrnoOn(w);
    if ((how & OPEN_NO_FOLLOW) && IsLinkHandle(h)) {
        CloseHandle(h);
        return ELOOP;
    }
    out = reinterpret_cast<Handle>(h);
    return 0;
}

int Read(Handle file, void* buffer, size_t count, size_t& done) {
    done = 0;
    DWORD n = 0;
    DWORD want = count > MAX_TRANSFER ? MAX_TRANSFER : DWORD(count);
    if (!ReadFile(Native(file), buffer, want, &n, nullptr)) {
        DWORD error = GetLastError();
        // The other end of a pipe is gone: that is its end.
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF)
            return 0;
        // The handle was not opened for reading, as POSIX says it.
        return error == ERROR_ACCESS_DENIED ? EBADF : ErrnoOf(error);
    }
    done = n;
    return 0;
}

int Write(Handle file, const void* buffer, size_t count, size_t& done) {
    done = 0;
    DWORD n = 0;
    DWORD want = count > MAX_TRANSFER ? MAX_TRANSFER : DWORD(count);
    if (!WriteFile(Native(file), buffer, want, &n, nullptr)) {
        DWORD error = GetLastError();
        return error == ERROR_ACCESS_DENIED ? EBADF : ErrnoOf(error);
    }
    done = n;
    return 0;
}

int Seek(Handle file, int64_t offset, int from, uint64_t& position) {
    DWORD method = from == SEEK_FROM_CURRENT ? FILE_CURRENT
                   : from == SEEK_FROM_END   ? FILE_END
                                             : FILE_BEGIN;
    LARGE_INTEGER move{}, now{};
    move.QuadPart = offset;
    if (!SetFilePointerEx(Native(file), move, &now, method))
        return LastErrno();
    position = uint64_t(now.QuadPart);
    return 0;
}

int SetSize(Handle file, uint64_t size) {
    if (size > uint64_t(INT64_MAX))
        return EFBIG;
    return SetEndOfFileAt(Native(file), size) ? 0 : LastErrno();
}

int Reserve(Handle file, uint64_t offset, uint64_t length) {
    if (length == 0)
        return 0;
    if (offset > uint64_t(INT64_MAX) || length > uint64_t(INT64_MAX) - offset)
        return EFBIG;
    const uint64_t end = offset + length;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(Native(file), &size))
        return LastErrno();
    if (uint64_t(size.QuadPart) >= end)
        return 0;
    // Allocation below the end of the file would cut it, so only ever upwards.
    FILE_ALLOCATION_INFO room{};
    room.AllocationSize.QuadPart = LONGLONG(end);
    if (!SetFileInformationByHandle(Native(file), FileAllocationInfo, &room, sizeof room)) {
        int err = LastErrno();
        return err == EOPNOTSUPP || err == EINVAL ? EOPNOTSUPP : err;
    }
    return SetEndOfFileAt(Native(file), end) ? 0 : LastErrno();
}

int Sync(Handle file) {
    if (FlushFileBuffers(Native(file)))
        return 0;
    DWORD error = GetLastError();
    // A handle opened only to read has nothing to commit; pipes and consoles can't.
    if (error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_HANDLE ||
        error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED)
        return 0;
    return ErrnoOf(error);
}

int Close(Handle file) {
    return CloseHandle(Native(file)) ? 0 : LastErrno();
}

int SetOwner(Handle, uint32_t owner, uint32_t group) {
    // Files here have no numeric owner; StatusOf reports 0 for every one.
    return owner == 0 && group == 0 ? 0 : EPERM;
}

int SetPermissions(Handle file, uint32_t permissions) {
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(Native(file), FileBasicInfo, &basic, sizeof basic))
        return LastErrno();
    DWORD attributes = basic.FileAttributes & ~DWORD(FILE_ATTRIBUTE_NORMAL);
    if ((permissions & 0222) == 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    else
        attributes &= ~DWORD(FILE_ATTRIBUTE_READONLY);
    if (attributes == basic.FileAttributes)
        return 0;
    FILE_BASIC_INFO change{};  // zero times are left as they are
    change.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(Native(file), FileBasicInfo, &change, sizeof change))
        return LastErrno();
    return 0;
}

namespace {

// What belongs to the file rather than to its contents, and the user may have set: a save
// that replaces the file keeps them.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Gives from the attributes and creation time of the file to, which it is to replace.
// ReplaceFileW would do it, but it moves the old file aside under a name of its own first,
// which is left behind when anything holds the old file, and not every implementation of
// it keeps the attributes.
void TakeOverIdentity(const std::wstring& from, const std::wstring& to) {
    WIN32_FILE_ATTRIBUTE_DATA old{};
    if (!GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &old))
        return;
    HANDLE h = CreateFileW(from.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, SHARE_ALL,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic)) {
        FILE_BASIC_INFO change{};  // zero fields are left as they are
        change.CreationTime.LowPart = old.ftCreationTime.dwLowDateTime;
        change.CreationTime.HighPart = LONG(old.ftCreationTime.dwHighDateTime);
        DWORD attributes =
            (basic.FileAttributes & ~KEPT_ATTRIBUTES & ~DWORD(FILE_ATTRIBUTE_NORMAL)) |
            (old.dwFileAttributes & KEPT_ATTRIBUTES);
        change.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(h, FileBasicInfo, &change, sizeof change);
    }
    CloseHandle(h);
}

}  // namespace

int Rename(const std::string& from, const std::string& to) {
    std::wstring wFrom, wTo;
    if (!Wide(from, wFrom) || !Wide(to, wTo))
        return EILSEQ;
    DWORD target = AttributesOf(wTo);
    if (target != INVALID_FILE_ATTRIBUTES && !(target & FILE_ATTRIBUTE_DIRECTORY))
        TakeOverIdentity(wFrom, wTo);
    // One step that either replaces the file or leaves both as they were; written through,
    // so that the new name is on the device when the call returns.
    if (MoveFileExW(wFrom.c_str(), wTo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return ErrnoOn(wTo);
}

int Remove(const std::string& path) {
    std::wstring w;
    if (!Wide(path, w))
        return EILSEQ;
    if (DeleteFileW(w.c_str()))
        return 0;
    return ErrnoOn(w);
}

// Renames here are written through to the device as they are made (MOVEFILE_WRITE_THROUGH),
// and a folder can't be flushed without administrator rights: only check it is there.
int SyncFolder(const std::string& folder) {
    std::wstring w;
    if (!Wide(folder, w))
        return EILSEQ;
    DWORD a = AttributesOf(w);
    if (a == INVALID_FILE_ATTRIBUTES)
        return LastErrno();
    return (a & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ENOTDIR;
}

std::string ErrorText(int error) {
    // The C runtime here knows only the classic numbers; the rest that this file gives.
    switch (error) {
        case EWOULDBLOCK:
            return "The file is in use by another program";
        case ELOOP:
            return "Too many levels of symbolic links";
        case EOPNOTSUPP:
            return "Operation not supported";
        default:
            return std::strerror(error);
    }
}

}  // namespace platform::fs
