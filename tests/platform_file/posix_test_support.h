// What only POSIX systems offer the file tests: other users, child processes, lstat.
#pragma once

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

namespace filetest {

// The unprivileged user and group that permission checks run as when the tests run as root.
constexpr uid_t NOBODY = 65534;

inline bool IsRoot() {
    return ::geteuid() == 0;
}

// Runs body in a forked child and returns what it returned. The child is killed after
// deadline seconds, so a call that would wait for ever fails the test instead of hanging
// it. With asNobody a child of root first becomes the unprivileged NOBODY, because root
// passes every permission check; other users are unprivileged already.
inline std::string InChild(const std::function<std::string()>& body, bool asNobody = false,
                           unsigned deadline = 20) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "no pipe";
    pid_t child = ::fork();
    if (child < 0)
        return "no fork";
    if (child == 0) {
        ::close(pipeFds[0]);
        ::alarm(deadline);
        std::string out;
        if (asNobody && IsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NOBODY) != 0 || ::setuid(NOBODY) != 0))
            out = "could not become nobody";
        else
            out = body();
        size_t done = 0;
        while (done < out.size()) {
            ssize_t n = ::write(pipeFds[1], out.data() + done, out.size() - done);
            if (n <= 0)
                break;
            done += size_t(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            out.append(buf, size_t(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status));
    return out;
}

// lstat of path; st_ino 0 when there is nothing there.
inline struct stat StatOf(const std::string& path) {
    struct stat st = {};
    if (::lstat(path.c_str(), &st) != 0)
        st = {};
    return st;
}

}  // namespace filetest
