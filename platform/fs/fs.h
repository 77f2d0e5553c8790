// The operating system's files behind plain types: each system has one implementation
// of these functions in a translation unit of its own, and everything above (CFile,
// whole-file saves and loads) is written once on top of them.
//
// Every function returns 0 on success or an errno value from <cerrno>; an implementation
// maps its system's own codes onto those. Paths are UTF-8, in the system's own form (see
// path.h). Interrupted calls are retried inside, so EINTR is never returned. Files are
// always binary: no system translates line ends here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::fs {

// A system file handle, or NO_HANDLE.
using Handle = intptr_t;
constexpr Handle NO_HANDLE = -1;

enum class Kind : uint8_t {
    Regular,
    Folder,
    Link,
    Other,  // a FIFO, a device, a socket
};

struct Status {
    Kind kind = Kind::Other;
    uint64_t size = 0;
    // The permission, set-id and sticky bits (07777). Where files have no such bits, a
    // read-only file is 0444 (0555 a folder) and any other 0666 (0777).
    uint32_t permissions = 0;
    uint32_t links = 0;  // names the file has
    uint32_t owner = 0;  // 0 where files have no numeric owner
    uint32_t group = 0;
    uint64_t device = 0;  // device and node together name the file itself
    uint64_t node = 0;
};

inline bool SameFile(const Status& a, const Status& b) {
    return a.device == b.device && a.node == b.node;
}

// A link at path itself is reported as Kind::Link unless followLinks.
int StatusOf(const std::string& path, bool followLinks, Status& out);
int StatusOf(Handle file, Status& out);
// What a symbolic link holds, as written (relative targets stay relative).
int ReadLink(const std::string& path, std::string& target);
// Whether the effective user may write to path (0) or why not.
int CheckWritable(const std::string& path);
// The current folder, or empty when the system can't say.
std::string CurrentFolder();
// The running program's own file, or empty when the system can't say.
std::string ExecutablePath();
// The names a folder holds, without "." and "..", in no particular order.
int ListFolder(const std::string& folder, std::vector<std::string>& names);

enum OpenHow : uint32_t {
    OPEN_READ = 0x01,
    OPEN_WRITE = 0x02,
    OPEN_CREATE = 0x04,     // create the file when it is missing
    OPEN_EXCLUSIVE = 0x08,  // with OPEN_CREATE: only a new file, never through a link
    OPEN_NO_FOLLOW = 0x10,  // a link at path fails with ELOOP
    OPEN_NO_WAIT = 0x20,    // open returns at once, even on a FIFO with no other end
    // Sharing, decided as the file is opened, whole file, without waiting: an open that
    // conflicts with another holder fails with EWOULDBLOCK. Without either bit the opener
    // shares freely. On POSIX these are advisory locks, which bind only openers that ask
    // for sharing too; on Windows they are the system's share modes, which bind everyone.
    OPEN_DENY_WRITE = 0x40,  // others may read alongside, but not write
    OPEN_DENY_ALL = 0x80,    // nobody else may have it open
};
// permissions apply to a file that is created, less what the system's defaults take away.
int Open(const std::string& path, uint32_t how, uint32_t permissions, Handle& out);
// One transfer of up to count bytes; done 0 from Read is the end of the file.
int Read(Handle file, void* buffer, size_t count, size_t& done);
int Write(Handle file, const void* buffer, size_t count, size_t& done);
enum SeekFrom : int { SEEK_FROM_BEGIN = 0, SEEK_FROM_CURRENT = 1, SEEK_FROM_END = 2 };
int Seek(Handle file, int64_t offset, int from, uint64_t& position);
int SetSize(Handle file, uint64_t size);
// Allocates room for the bytes [offset, offset + length): the contents before offset stay
// as they are, and a file that ended before offset + length is lengthened with zeros.
// EOPNOTSUPP when the file system can't.
int Reserve(Handle file, uint64_t offset, uint64_t length);
// Commits the file's data to the device; 0 also where the file system can't.
int Sync(Handle file);
// The handle is gone whatever the result.
int Close(Handle file);

int SetOwner(Handle file, uint32_t owner, uint32_t group);
int SetPermissions(Handle file, uint32_t permissions);

// Replaces to when it exists; where the system can, to's attributes are kept.
int Rename(const std::string& from, const std::string& to);
int Remove(const std::string& path);
// Makes the folder's entries (a new name, a rename) durable; 0 also where the file
// system can't.
int SyncFolder(const std::string& folder);

// The system's words for an error.
std::string ErrorText(int error);
// The error a write beyond the user's disk quota gives (ENOSPC where the system has no
// code of its own for it).
extern const int QUOTA_ERROR;

}  // namespace platform::fs
