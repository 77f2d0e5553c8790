#include "platform/afx/file.h"

#include <algorithm>
#include <cerrno>
#include <set>
#include <vector>

#include "platform/afx/file_faults.h"
#include "platform/fs/path.h"

namespace fs = platform::fs;

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
std::set<fs::Handle>& FullFiles() {
    static std::set<fs::Handle> full;
    return full;
}
void MarkDeviceFull(fs::Handle file) {
    FullFiles().insert(file);
}
bool DeviceFull(fs::Handle file) {
    return FullFiles().count(file) != 0;
}
void ForgetDeviceFull(fs::Handle file) {
    FullFiles().erase(file);
}

// A call on a file that is not open.
void RequireOpen(const CFile& file) {
    if (!file.IsOpen())
        AfxThrowFileException(CFileException::invalidFile, EBADF, file.GetFilePath().c_str());
}

// A system call's errno, thrown as the framework's exception for the file called name.
void ThrowOnError(int err, const std::string& name) {
    if (err != 0)
        CFileException::ThrowErrno(err, name.c_str());
}

void ThrowOnSeekError(int err, const std::string& name) {
    if (err != 0)
        AfxThrowFileException(CFileException::badSeek, err, name.c_str());
}

}  // namespace

namespace platform {

bool TakeFileFault(FileOp op, int* err) {
    return TakeFault(op, err);
}

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
    return fs::FolderOf(path);
}

std::string FullPathOf(const std::string& path) {
    if (fs::IsAbsolute(path))
        return path;
    std::string cwd = fs::CurrentFolder();
    return cwd.empty() ? path : fs::Absolute(cwd, path);
}

void FlushFolder(LPCSTR lpszFolder) {
    int err = 0;
    if (TakeFault(FileOp::FlushFolder, &err))
        CFileException::ThrowErrno(err, lpszFolder);
    err = fs::SyncFolder(lpszFolder);
    if (err != 0)
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
    if (IsOpen())
        return fail(CFileException::genericException, EBUSY);
    if (name.empty())
        return fail(CFileException::badPath, ENOENT);

    uint32_t how = 0;
    switch (nOpenFlags & 3) {
        case modeRead:
            how = fs::OPEN_READ;
            break;
        case modeWrite:
            how = fs::OPEN_WRITE;
            break;
        case modeReadWrite:
            how = fs::OPEN_READ | fs::OPEN_WRITE;
            break;
        default:
            return fail(CFileException::genericException, EINVAL);
    }
    if (nOpenFlags & modeCreate)
        how |= fs::OPEN_CREATE;
    // The share bits are settled as the file opens, before it is truncated, so an opener
    // that is refused can't damage the file it was refused.
    UINT share = nOpenFlags & 0x70;
    if (share == shareDenyWrite)
        how |= fs::OPEN_DENY_WRITE;
    else if (share != shareDenyNone)
        how |= fs::OPEN_DENY_ALL;

    int err = 0;
    if (TakeFault(platform::FileOp::Open, &err))
        return fail(CFileException::ErrnoToException(err), err);

    fs::Handle file = fs::NO_HANDLE;
    err = fs::Open(name, how, 0666, file);
    if (err != 0)
        return fail(err == EWOULDBLOCK ? CFileException::sharingViolation
                                       : CFileException::ErrnoToException(err),
                    err);

    fs::Status st;
    err = fs::StatusOf(file, st);
    if (err != 0 || st.kind == fs::Kind::Folder) {
        // A folder opens for reading here, but it is no file.
        fs::Close(file);
        return err != 0 ? fail(CFileException::ErrnoToException(err), err)
                        : fail(CFileException::accessDenied, EISDIR);
    }
    // Truncated only once the file is held, so a refused opener leaves it intact.
    if ((nOpenFlags & modeCreate) && !(nOpenFlags & modeNoTruncate) &&
        st.kind == fs::Kind::Regular && st.size != 0) {
        err = fs::SetSize(file, 0);
        if (err != 0) {
            fs::Close(file);
            return fail(CFileException::ErrnoToException(err), err);
        }
    }

    m_hFile = file;
    m_strFileName = full;
    return TRUE;
}

void CFile::Attach(fs::Handle hFile, LPCSTR lpszFileName) {
    Abort();
    m_hFile = hFile;
    m_strFileName = lpszFileName ? lpszFileName : "";
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    RequireOpen(*this);
    int err = 0;
    if (TakeFault(platform::FileOp::Read, &err))
        CFileException::ThrowErrno(err, m_strFileName.c_str());
    auto* out = static_cast<uint8_t*>(lpBuf);
    UINT done = 0;
    while (done < nCount) {
        size_t n = 0;
        err = fs::Read(m_hFile, out + done, nCount - done, n);
        if (err != 0)
            CFileException::ThrowErrno(err, m_strFileName.c_str());
        if (n == 0)
            break;
        done += UINT(n);
    }
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    RequireOpen(*this);
    if (nCount == 0)
        return;
    auto* in = static_cast<const uint8_t*>(lpBuf);
    UINT toStore = nCount;
    int err = 0;
    if (TakeFault(platform::FileOp::Write, &err)) {
        if (err != 0)
            CFileException::ThrowErrno(err, m_strFileName.c_str());
        toStore = nCount / 2;
        MarkDeviceFull(m_hFile);
    } else if (DeviceFull(m_hFile)) {
        toStore = 0;
    }
    UINT done = 0;
    while (done < nCount) {
        size_t n = 0;
        if (done < toStore) {
            err = fs::Write(m_hFile, in + done, toStore - done, n);
            if (err != 0)
                CFileException::ThrowErrno(err, m_strFileName.c_str());
        }
        if (n == 0)  // the system took none of what is left: no room
            AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName.c_str());
        done += UINT(n);
    }
}

void CFile::Flush() {
    if (!IsOpen())
        return;
    int err = 0;
    if (TakeFault(platform::FileOp::Flush, &err))
        CFileException::ThrowErrno(err, m_strFileName.c_str());
    err = fs::Sync(m_hFile);
    ThrowOnError(err, m_strFileName);
}

void CFile::Close() {
    if (!IsOpen())
        return;
    fs::Handle file = m_hFile;
    m_hFile = fs::NO_HANDLE;
    ForgetDeviceFull(file);
    int err = 0;
    bool injected = TakeFault(platform::FileOp::Close, &err);
    int closed = fs::Close(file);
    if (closed != 0)
        err = closed;
    std::string name = m_strFileName;
    m_strFileName.clear();
    if (injected || err != 0)
        CFileException::ThrowErrno(err, name.c_str());
}

void CFile::Abort() {
    if (!IsOpen())
        return;
    ForgetDeviceFull(m_hFile);
    fs::Close(m_hFile);
    m_hFile = fs::NO_HANDLE;
    m_strFileName.clear();
}

uint64_t CFile::Seek(int64_t lOff, UINT nFrom) {
    RequireOpen(*this);
    int err = 0;
    if (TakeFault(platform::FileOp::Seek, &err))
        AfxThrowFileException(CFileException::badSeek, err, m_strFileName.c_str());
    int from = nFrom == current ? fs::SEEK_FROM_CURRENT
               : nFrom == end   ? fs::SEEK_FROM_END
                                : fs::SEEK_FROM_BEGIN;
    uint64_t pos = 0;
    ThrowOnSeekError(fs::Seek(m_hFile, lOff, from, pos), m_strFileName);
    return pos;
}

uint64_t CFile::GetPosition() const {
    RequireOpen(*this);
    uint64_t pos = 0;
    ThrowOnSeekError(fs::Seek(m_hFile, 0, fs::SEEK_FROM_CURRENT, pos), m_strFileName);
    return pos;
}

uint64_t CFile::GetLength() const {
    RequireOpen(*this);
    fs::Status st;
    ThrowOnError(fs::StatusOf(m_hFile, st), m_strFileName);
    return st.size;
}

void CFile::SetLength(uint64_t dwNewLen) {
    RequireOpen(*this);
    ThrowOnError(fs::SetSize(m_hFile, dwNewLen), m_strFileName);
}

std::string CFile::GetFileName() const {
    return fs::NameOf(m_strFileName);
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
    int err = 0;
    if (TakeFault(platform::FileOp::Rename, &err))
        CFileException::ThrowErrno(err, lpszOldName);
    err = fs::Rename(lpszOldName, lpszNewName);
    if (err != 0)
        CFileException::ThrowErrno(err, lpszOldName);
}

void CFile::Remove(LPCSTR lpszFileName) {
    int err = 0;
    if (TakeFault(platform::FileOp::Remove, &err))
        CFileException::ThrowErrno(err, lpszFileName);
    err = fs::Remove(lpszFileName);
    if (err != 0)
        CFileException::ThrowErrno(err, lpszFileName);
}
