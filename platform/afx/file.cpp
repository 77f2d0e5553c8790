#include "platform/afx/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <set>
#include <vector>

namespace {

struct PendingFault {
    platform::FileOp op;
    int remaining;  // calls of op still to pass before this one fails
    int errnoValue;
};

std::vector<PendingFault>& Faults() {
    static std::vector<PendingFault> faults;
    return faults;
}

// True when this call of op is to fail; *err gets the errno to report.
bool TakeFault(platform::FileOp op, int* err) {
    auto& faults = Faults();
    bool hit = false;
    for (auto it = faults.begin(); it != faults.end();) {
        if (it->op != op) {
            ++it;
            continue;
        }
        if (--it->remaining <= 0) {
            if (!hit) {
                hit = true;
                *err = it->errnoValue;
                it = faults.erase(it);
                continue;
            }
            it->remaining = 1;  // two faults due at once: the second takes the next call
        }
        ++it;
    }
    return hit;
}

// Files that met an injected short write: they store nothing more until closed.
std::set<int>& FullFiles() {
    static std::set<int> full;
    return full;
}
void MarkDeviceFull(int fd) {
    FullFiles().insert(fd);
}
bool DeviceFull(int fd) {
    return FullFiles().count(fd) != 0;
}
void ForgetDeviceFull(int fd) {
    FullFiles().erase(fd);
}

}  // namespace

namespace platform {

void InjectFileFault(FileOp op, int nth, int errnoValue) {
    if (nth < 1)
        nth = 1;
    Faults().push_back({op, nth, errnoValue});
}

void ClearFileFaults() {
    Faults().clear();
    FullFiles().clear();
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string FullPathOf(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return path;
    std::vector<char> buf(PATH_MAX);
    if (!getcwd(buf.data(), buf.size()))
        return path;
    std::string cwd(buf.data());
    if (cwd.empty() || cwd.back() != '/')
        cwd += '/';
    return cwd + path;
}

void FlushFolder(LPCSTR lpszFolder) {
    int err = 0;
    if (TakeFault(FileOp::FlushFolder, &err))
        CFileException::ThrowErrno(err, lpszFolder);
    int fd = ::open(lpszFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        CFileException::ThrowErrno(errno, lpszFolder);
    int rc = ::fsync(fd);
    err = errno;
    ::close(fd);
    // Some file systems can't fsync a folder; their entries are as durable as they get.
    if (rc != 0 && err != EINVAL && err != EROFS)
        CFileException::ThrowErrno(err, lpszFolder);
}

}  // namespace platform

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) {
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName.c_str());
}

CFile::~CFile() {
    Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    std::string name = lpszFileName ? lpszFileName : "";
    std::string full = name.empty() ? name : platform::FullPathOf(name);
    auto fail = [&](int cause, int osError) {
        if (pError) {
            pError->m_cause = cause;
            pError->m_lOsError = osError;
            pError->m_strFileName = full;
        }
        return FALSE;
    };
    if (m_fd >= 0)
        return fail(CFileException::genericException, EBUSY);
    if (name.empty())
        return fail(CFileException::badPath, ENOENT);

    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3) {
        case modeRead:
            flags |= O_RDONLY;
            break;
        case modeWrite:
            flags |= O_WRONLY;
            break;
        case modeReadWrite:
            flags |= O_RDWR;
            break;
        default:
            return fail(CFileException::genericException, EINVAL);
    }
    if (nOpenFlags & modeCreate)
        flags |= O_CREAT;

    int err = 0;
    if (TakeFault(platform::FileOp::Open, &err))
        return fail(CFileException::ErrnoToException(err), err);

    int fd;
    do {
        fd = ::open(name.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(CFileException::ErrnoToException(errno), errno);

    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        // A folder opens for reading here, but it is no file.
        ::close(fd);
        return fail(CFileException::accessDenied, EISDIR);
    }

    UINT share = nOpenFlags & 0x70;
    int lock = -1;
    if (share == shareDenyWrite)
        lock = LOCK_SH;
    else if (share != shareDenyNone)
        lock = LOCK_EX;
    if (lock >= 0 && ::flock(fd, lock | LOCK_NB) != 0) {
        int e = errno;
        ::close(fd);
        return fail(e == EWOULDBLOCK ? CFileException::sharingViolation
                                     : CFileException::ErrnoToException(e),
                    e);
    }
    // Truncated only once the lock is held, so a refused opener leaves the file intact.
    if ((nOpenFlags & modeCreate) && !(nOpenFlags & modeNoTruncate) && S_ISREG(st.st_mode) &&
        st.st_size != 0 && ::ftruncate(fd, 0) != 0) {
        int e = errno;
        ::close(fd);
        return fail(CFileException::ErrnoToException(e), e);
    }

    m_fd = fd;
    m_strFileName = full;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    if (m_fd < 0)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName.c_str());
    int err = 0;
    if (TakeFault(platform::FileOp::Read, &err))
        CFileException::ThrowErrno(err, m_strFileName.c_str());
    auto* out = static_cast<uint8_t*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        ssize_t n = ::read(m_fd, out + done, nCount - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CFileException::ThrowErrno(errno, m_strFileName.c_str());
        }
        if (n == 0)
            break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    if (m_fd < 0)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName.c_str());
    if (nCount == 0)
        return;
    auto* in = static_cast<const uint8_t*>(lpBuf);
    UINT toStore = nCount;
    int err = 0;
    if (TakeFault(platform::FileOp::Write, &err)) {
        if (err != 0)
            CFileException::ThrowErrno(err, m_strFileName.c_str());
        toStore = nCount / 2;
        MarkDeviceFull(m_fd);
    } else if (DeviceFull(m_fd)) {
        toStore = 0;
    }
    UINT done = 0;
    while (done < nCount) {
        ssize_t n = done < toStore ? ::write(m_fd, in + done, toStore - done) : 0;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CFileException::ThrowErrno(errno, m_strFileName.c_str());
        }
        if (n == 0)  // the system took none of what is left: no room
            AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName.c_str());
        done += UINT(n);
    }
}

void CFile::Flush() {
    if (m_fd < 0)
        return;
    int err = 0;
    if (TakeFault(platform::FileOp::Flush, &err))
        CFileException::ThrowErrno(err, m_strFileName.c_str());
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        CFileException::ThrowErrno(errno, m_strFileName.c_str());
}

void CFile::Close() {
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    ForgetDeviceFull(fd);
    int err = 0;
    bool injected = TakeFault(platform::FileOp::Close, &err);
    // The descriptor is gone whatever close says; retrying could close someone else's.
    if (::close(fd) != 0 && errno != EINTR)
        err = errno;
    if (injected || err != 0) {
        std::string name = m_strFileName;
        m_strFileName.clear();
        CFileException::ThrowErrno(err, name.c_str());
    }
    m_strFileName.clear();
}

void CFile::Abort() {
    if (m_fd < 0)
        return;
    ForgetDeviceFull(m_fd);
    ::close(m_fd);
    m_fd = -1;
    m_strFileName.clear();
}

uint64_t CFile::Seek(int64_t lOff, UINT nFrom) {
    if (m_fd < 0)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName.c_str());
    int err = 0;
    if (TakeFault(platform::FileOp::Seek, &err))
        AfxThrowFileException(CFileException::badSeek, err, m_strFileName.c_str());
    int whence = nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : SEEK_SET;
    off_t pos = ::lseek(m_fd, off_t(lOff), whence);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName.c_str());
    return uint64_t(pos);
}

uint64_t CFile::GetPosition() const {
    if (m_fd < 0)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName.c_str());
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName.c_str());
    return uint64_t(pos);
}

uint64_t CFile::GetLength() const {
    if (m_fd < 0)
        AfxThrowFileException(CFileException::invalidFile, EBADF, m_strFileName.c_str());
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        CFileException::ThrowErrno(errno, m_strFileName.c_str());
    return uint64_t(st.st_size);
}

std::string CFile::GetFileName() const {
    size_t slash = m_strFileName.find_last_of('/');
    return slash == std::string::npos ? m_strFileName : m_strFileName.substr(slash + 1);
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
    int err = 0;
    if (TakeFault(platform::FileOp::Rename, &err))
        CFileException::ThrowErrno(err, lpszOldName);
    if (::rename(lpszOldName, lpszNewName) != 0)
        CFileException::ThrowErrno(errno, lpszOldName);
}

void CFile::Remove(LPCSTR lpszFileName) {
    int err = 0;
    if (TakeFault(platform::FileOp::Remove, &err))
        CFileException::ThrowErrno(err, lpszFileName);
    if (::unlink(lpszFileName) != 0)
        CFileException::ThrowErrno(errno, lpszFileName);
}
