#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/fs/fs.h"
#include "platform/fs/path.h"

namespace platform::fs {

const int QUOTA_ERROR = EDQUOT;

PathStyle NativeStyle() {
    return PathStyle::Posix;
}

namespace {

int FdOf(Handle file) {
    return file >= 0 && file <= INT_MAX ? int(file) : -1;
}

template <typename Call>
auto Retry(Call call) {
    decltype(call()) rc;
    do {
        rc = call();
    } while (rc < 0 && errno == EINTR);
    return rc;
}

// A read's or write's result as fs.h reports it: 0 with the bytes moved in done, or errno.
int Moved(ssize_t n, size_t& done) {
    if (n < 0)
        return errno;
    done = size_t(n);
    return 0;
}

// The file system has nothing to commit, or can't.
bool CannotSync(int err) {
    return err == EINVAL || err == EROFS;
}

void Fill(const struct stat& st, Status& out) {
    if (S_ISREG(st.st_mode))
        out.kind = Kind::Regular;
    else if (S_ISDIR(st.st_mode))
        out.kind = Kind::Folder;
    else if (S_ISLNK(st.st_mode))
        out.kind = Kind::Link;
    else
        out.kind = Kind::Other;
    out.size = st.st_size > 0 ? uint64_t(st.st_size) : 0;
    out.permissions = uint32_t(st.st_mode & 07777);
    out.links = uint32_t(st.st_nlink);
    out.owner = uint32_t(st.st_uid);
    out.group = uint32_t(st.st_gid);
    out.device = uint64_t(st.st_dev);
    out.node = uint64_t(st.st_ino);
}

}  // namespace

int StatusOf(const std::string& path, bool followLinks, Status& out) {
    struct stat st;
    int rc = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (rc != 0)
        return errno;
    Fill(st, out);
    return 0;
}

int StatusOf(Handle file, Status& out) {
    struct stat st;
    if (::fstat(FdOf(file), &st) != 0)
        return errno;
    Fill(st, out);
    return 0;
}

int ReadLink(const std::string& path, std::string& target) {
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
    if (n < 0)
        return errno;
    if (size_t(n) >= buf.size())
        return ENAMETOOLONG;
    target.assign(buf.data(), size_t(n));
    return 0;
}

int CheckWritable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::string CurrentFolder() {
    std::vector<char> buf(PATH_MAX);
    return ::getcwd(buf.data(), buf.size()) ? std::string(buf.data()) : std::string();
}

#ifdef __EMSCRIPTEN__
// The program is a script: node names its file, and a page names it in Module.thisProgram.
EM_JS(int, ProgramPath, (char* path, int size), {
    return typeof thisProgram == 'string' && thisProgram != './this.program'
               ? stringToUTF8(thisProgram, path, size)
               : 0;
});

std::string ExecutablePath() {
    char path[PATH_MAX] = {};
    return ProgramPath(path, int(sizeof path)) > 0 ? path : std::string();
}
#else
std::string ExecutablePath() {
    std::string target;
    return ReadLink("/proc/self/exe", target) == 0 ? target : std::string();
}
#endif

int ListFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return errno;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(std::move(name));
    }
    ::closedir(dir);
    return 0;
}

int Open(const std::string& path, uint32_t how, uint32_t permissions, Handle& out) {
    out = NO_HANDLE;
    int flags = O_CLOEXEC | O_NOCTTY;
    if ((how & OPEN_READ) && (how & OPEN_WRITE))
        flags |= O_RDWR;
    else if (how & OPEN_WRITE)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    if (how & OPEN_CREATE)
        flags |= O_CREAT;
    if ((how & OPEN_CREATE) && (how & OPEN_EXCLUSIVE))
        flags |= O_EXCL | O_NOFOLLOW;
    if (how & OPEN_NO_FOLLOW)
        flags |= O_NOFOLLOW;
    if (how & OPEN_NO_WAIT)
        flags |= O_NONBLOCK;
    int fd = Retry([&] { return ::open(path.c_str(), flags, mode_t(permissions & 07777)); });
    if (fd < 0)
        return errno;
    if (how & (OPEN_DENY_WRITE | OPEN_DENY_ALL)) {
        int op = ((how & OPEN_DENY_ALL) ? LOCK_EX : LOCK_SH) | LOCK_NB;
        if (Retry([&] { return ::flock(fd, op); }) != 0) {
            int err = errno;
            ::close(fd);
            return err;
        }
    }
    out = fd;
    return 0;
}

int Read(Handle file, void* buffer, size_t count, size_t& done) {
    done = 0;
    return Moved(Retry([&] { return ::read(FdOf(file), buffer, count); }), done);
}

int Write(Handle file, const void* buffer, size_t count, size_t& done) {
    done = 0;
    return Moved(Retry([&] { return ::write(FdOf(file), buffer, count); }), done);
}

int Seek(Handle file, int64_t offset, int from, uint64_t& position) {
    int whence = from == SEEK_FROM_CURRENT ? SEEK_CUR : from == SEEK_FROM_END ? SEEK_END : SEEK_SET;
    off_t pos = ::lseek(FdOf(file), off_t(offset), whence);
    if (pos < 0)
        return errno;
    position = uint64_t(pos);
    return 0;
}

int SetSize(Handle file, uint64_t size) {
    if (size > uint64_t(INT64_MAX))
        return EFBIG;
    return Retry([&] { return ::ftruncate(FdOf(file), off_t(size)); }) == 0 ? 0 : errno;
}

int Reserve(Handle file, uint64_t offset, uint64_t length) {
    if (length == 0)
        return 0;
    if (offset > uint64_t(INT64_MAX) || length > uint64_t(INT64_MAX) - offset)
        return EFBIG;
    int err;
    do {
        err = ::posix_fallocate(FdOf(file), off_t(offset), off_t(length));
    } while (err == EINTR);
    return err == EINVAL || err == ENOSYS ? EOPNOTSUPP : err;
}

int Sync(Handle file) {
    if (::fsync(FdOf(file)) != 0 && !CannotSync(errno))
        return errno;
    return 0;
}

int Close(Handle file) {
    // Never retried: after EINTR the descriptor is gone, and a retry could close another.
    if (::close(FdOf(file)) != 0 && errno != EINTR)
        return errno;
    return 0;
}

int SetOwner(Handle file, uint32_t owner, uint32_t group) {
    return ::fchown(FdOf(file), uid_t(owner), gid_t(group)) == 0 ? 0 : errno;
}

int SetPermissions(Handle file, uint32_t permissions) {
    return ::fchmod(FdOf(file), mode_t(permissions & 07777)) == 0 ? 0 : errno;
}

int Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int Remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int SyncFolder(const std::string& folder) {
    int fd = Retry([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return errno;
    int err = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return CannotSync(err) ? 0 : err;
}

std::string ErrorText(int error) {
    return std::strerror(error);
}

}  // namespace platform::fs
