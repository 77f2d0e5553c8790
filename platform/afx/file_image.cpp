#include "platform/afx/file_image.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <random>

#include "platform/afx/file_faults.h"
#include "platform/fs/kept_folder.h"
#include "platform/fs/path.h"

namespace fs = platform::fs;

namespace {

constexpr int MAX_LINK_HOPS = 40;
constexpr int RANDOM_NAME_ATTEMPTS = 100;
constexpr size_t MAX_TRANSFER = size_t(1) << 30;
// Reads grow the buffer by this much at most, so memory follows what is really there.
constexpr size_t READ_CHUNK = size_t(1) << 16;

std::deque<std::string>& PinnedNames() {
    static std::deque<std::string> names;
    return names;
}

std::string RandomName() {
    static std::mt19937_64 generator = [] {
        std::random_device device;
        // Mixed with the clock: some systems' random_device repeats itself.
        uint64_t seed = (uint64_t(device()) << 32) ^ device() ^
                        uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
        return std::mt19937_64(seed);
    }();
    static constexpr char DIGITS[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".vorla-";
    for (int i = 0; i < 8; ++i)
        name += DIGITS[generator() % 36];
    return name;
}

[[noreturn]] void Fail(int err, const std::string& path) {
    CFileException::ThrowErrno(err, path.c_str());
}

[[noreturn]] void RefuseKind(const fs::Status& st, const std::string& path) {
    if (st.kind == fs::Kind::Folder)
        AfxThrowFileException(CFileException::accessDenied, EISDIR, path.c_str());
    auto* error = new CFileException(CFileException::accessDenied, -1, path.c_str());
    error->m_strReason = platform::NOT_A_REGULAR_FILE;
    throw error;
}

void CheckInjectedOpen(const std::string& path) {
    int err = 0;
    if (platform::TakeFileFault(platform::FileOp::Open, &err))
        Fail(err, path);
}

// An open refused because another holder shares the file differently.
[[noreturn]] void FailOpen(int err, const std::string& path) {
    if (err == EWOULDBLOCK)
        AfxThrowFileException(CFileException::sharingViolation, err, path.c_str());
    Fail(err, path);
}

void WriteAll(CFile& file, const void* data, size_t size) {
    auto* at = static_cast<const uint8_t*>(data);
    do {
        size_t n = std::min(size, MAX_TRANSFER);
        file.Write(at, UINT(n));
        at += n;
        size -= n;
    } while (size > 0);
}

// Appends up to count bytes; false when the file ended first.
bool ReadMore(CFile& file, std::vector<uint8_t>& bytes, size_t count) {
    while (count > 0) {
        size_t n = std::min(count, READ_CHUNK);
        size_t at = bytes.size();
        bytes.resize(at + n);
        size_t got = file.Read(bytes.data() + at, UINT(n));
        bytes.resize(at + got);
        if (got < n)
            return false;
        count -= n;
    }
    return true;
}

// The file a path names, with links in its last component followed.
struct Target {
    std::string path;
    bool exists = false;
    fs::Status status;
};

Target Resolve(const std::string& full) {
    Target t;
    t.path = full;
    for (int hops = 0;; ++hops) {
        int err = fs::StatusOf(t.path, false, t.status);
        if (err == ENOENT)
            return t;
        if (err != 0)
            Fail(err, full);
        if (t.status.kind != fs::Kind::Link) {
            t.exists = true;
            return t;
        }
        if (hops == MAX_LINK_HOPS)
            Fail(ELOOP, full);
        std::string link;
        err = fs::ReadLink(t.path, link);
        if (err != 0)
            Fail(err, full);
        if (link.empty())
            Fail(ENOENT, full);
        t.path = fs::IsAbsolute(link) ? link : fs::Join(fs::FolderOf(t.path), link);
    }
}

// A file of our own that no one else can have opened: exclusive, never through a link,
// under a name tried until one is free, so a leftover of any kind is stepped around.
int CreateTemporary(const std::string& folder, uint32_t permissions, std::string& path,
                    fs::Handle& file) {
    CheckInjectedOpen(folder);
    std::deque<std::string> pinned = PinnedNames();
    for (int attempt = 0; !pinned.empty() || attempt < RANDOM_NAME_ATTEMPTS;) {
        std::string name;
        if (!pinned.empty()) {
            name = pinned.front();
            pinned.pop_front();
        } else {
            name = RandomName();
            ++attempt;
        }
        path = fs::Join(folder, name);
        int err = fs::Open(path, fs::OPEN_WRITE | fs::OPEN_CREATE | fs::OPEN_EXCLUSIVE, permissions,
                           file);
        if (err != EEXIST)
            return err;
    }
    return EEXIST;
}

// False when the owner or group can't be given to the new file: it would change hands.
bool TakeOver(fs::Handle file, const fs::Status& old, const std::string& path) {
    fs::Status mine;
    int err = fs::StatusOf(file, mine);
    if (err != 0)
        Fail(err, path);
    if (mine.owner != old.owner || mine.group != old.group) {
        err = fs::SetOwner(file, old.owner, old.group);
        if (err == EPERM || err == EACCES || err == EINVAL)
            return false;
        if (err != 0)
            Fail(err, path);
    }
    // After the owner: a change of owner clears the set-id bits.
    err = fs::SetPermissions(file, old.permissions);
    if (err != 0)
        Fail(err, path);
    return true;
}

// False when the file has to be written in place instead.
bool SaveByReplacing(const Target& target, const void* image, size_t size) {
    const std::string folder = platform::FolderOf(target.path);
    std::string temporary;
    fs::Handle handle = fs::NO_HANDLE;
    // A new file takes the system's default mode, as any new file does.
    int err = CreateTemporary(folder, target.exists ? 0600 : 0666, temporary, handle);
    if (err != 0) {
        if (target.exists && (err == EACCES || err == EPERM))
            return false;
        Fail(err, target.path);
    }
    CFile file;
    file.Attach(handle, temporary.c_str());
    try {
        if (target.exists && !TakeOver(handle, target.status, target.path)) {
            file.Abort();
            fs::Remove(temporary);
            return false;
        }
        WriteAll(file, image, size);
        file.Flush();
        file.Close();
        CFile::Rename(temporary.c_str(), target.path.c_str());
    } catch (CFileException*) {
        file.Abort();
        fs::Remove(temporary);
        throw;
    }
    // The rename is done and the new file complete: a folder that can't be flushed
    // can't undo the save.
    try {
        platform::FlushFolder(folder.c_str());
    } catch (CFileException* error) {
        error->Delete();
    }
    return true;
}

void SaveInPlace(const Target& target, const void* image, size_t size) {
    CheckInjectedOpen(target.path);
    fs::Handle handle = fs::NO_HANDLE;
    int err = fs::Open(target.path,
                       fs::OPEN_WRITE | fs::OPEN_NO_FOLLOW | fs::OPEN_NO_WAIT | fs::OPEN_DENY_ALL,
                       0, handle);
    if (err != 0)
        FailOpen(err, target.path);
    CFile file;
    file.Attach(handle, target.path.c_str());
    try {
        fs::Status now;
        err = fs::StatusOf(handle, now);
        if (err != 0)
            Fail(err, target.path);
        if (now.kind != fs::Kind::Regular)
            RefuseKind(now, target.path);
        // Room first: a full device then fails before a byte of the old file changes.
        if (size > now.size) {
            err = fs::Reserve(handle, now.size, size - now.size);
            if (err != 0 && err != EOPNOTSUPP) {
                fs::SetSize(handle, now.size);
                Fail(err, target.path);
            }
        }
        file.SeekToBegin();
        WriteAll(file, image, size);
        if (now.size > size)
            file.SetLength(size);
        file.Flush();
        file.Close();
    } catch (CFileException*) {
        file.Abort();
        throw;
    }
}

// Where files outlast the program only in a kept folder (a web page), a save has
// succeeded once that folder is stored; until then the file goes with the page.
void StoreKeptFolder() {
    int err = 0;
    std::string reason;
    if (!platform::TakeFileFault(platform::FileOp::Store, &err))
        err = fs::StoreKeptFolder(reason);
    if (err == 0)
        return;
    auto* error = new CFileException(CFileException::genericException, reason.empty() ? err : -1);
    error->m_strReason = reason;
    throw error;
}

}  // namespace

namespace platform {

void SetTemporaryNames(std::vector<std::string> names) {
    PinnedNames().assign(names.begin(), names.end());
}

void SaveFileImage(LPCSTR lpszPath, const void* image, size_t size) {
    const std::string full = FullPathOf(lpszPath ? lpszPath : "");
    if (full.empty())
        AfxThrowFileException(CFileException::badPath, ENOENT, "");
    try {
        Target target = Resolve(full);
        if (target.exists) {
            if (target.status.kind != fs::Kind::Regular)
                RefuseKind(target.status, full);
            // No write permission for anyone: read-only, whoever asks (root included).
            if ((target.status.permissions & 0222) == 0)
                Fail(EACCES, full);
            int err = fs::CheckWritable(target.path);
            if (err != 0)
                Fail(err, full);
        }
        bool inPlace = target.exists && target.status.links > 1;
        if (inPlace || !SaveByReplacing(target, image, size))
            SaveInPlace(target, image, size);
        StoreKeptFolder();
    } catch (CFileException* error) {
        error->m_strFileName = full;
        throw;
    }
}

std::vector<uint8_t> LoadFileImage(LPCSTR lpszPath, size_t limit) {
    const std::string full = FullPathOf(lpszPath ? lpszPath : "");
    if (full.empty())
        AfxThrowFileException(CFileException::badPath, ENOENT, "");
    CheckInjectedOpen(full);
    // Looked at before it is opened: opening a FIFO or a device can wait, or do things.
    fs::Status st;
    int err = fs::StatusOf(full, true, st);
    if (err != 0)
        Fail(err, full);
    if (st.kind != fs::Kind::Regular)
        RefuseKind(st, full);

    fs::Handle handle = fs::NO_HANDLE;
    err = fs::Open(full, fs::OPEN_READ | fs::OPEN_NO_WAIT | fs::OPEN_DENY_WRITE, 0, handle);
    if (err != 0)
        FailOpen(err, full);
    CFile file;
    file.Attach(handle, full.c_str());
    std::vector<uint8_t> bytes;
    try {
        // It may have been swapped for something else since it was looked at.
        err = fs::StatusOf(handle, st);
        if (err != 0)
            Fail(err, full);
        if (st.kind != fs::Kind::Regular)
            RefuseKind(st, full);
        const size_t expected = size_t(std::min<uint64_t>(limit, st.size));
        bytes.reserve(expected);
        // A file that grew since it was looked at gives what fits below the limit.
        if (ReadMore(file, bytes, expected) && expected < limit)
            ReadMore(file, bytes, limit - expected);
        file.Close();
    } catch (CFileException*) {
        file.Abort();
        throw;
    }
    return bytes;
}

}  // namespace platform
