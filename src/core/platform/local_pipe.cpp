#include "platform/local_pipe.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

#include "platform/files.h"
#include "platform/udp_socket.h"

namespace quorvane::platform {

namespace {
bool fillAddress(const std::string& path, sockaddr_un& sa) {
    sa = {};
    sa.sun_family = AF_UNIX;
    if (path.size() >= sizeof sa.sun_path) return false;
    std::memcpy(sa.sun_path, path.c_str(), path.size() + 1);
    return true;
}

std::string pipeDirectory() {
    std::string runtime = environment("XDG_RUNTIME_DIR");
    if (!runtime.empty()) return runtime + "/quorvane/PIPE";
    return "/tmp/quorvane-" + std::to_string(::getuid()) + "/PIPE";
}

// The socket's folder and the folder above it: the two this program makes for its pipes
// ("quorvane/PIPE" or "quorvane-UID/PIPE"), outermost first.
std::vector<std::string> ownFolders(const std::string& path) {
    std::vector<std::string> dirs;
    auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return dirs;
    std::string parent = path.substr(0, slash);
    auto up = parent.rfind('/');
    if (up == std::string::npos || up == 0)
        return dirs;
    dirs.push_back(parent.substr(0, up));
    dirs.push_back(parent);
    return dirs;
}

std::string modeText(mode_t mode) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04o", static_cast<unsigned>(mode & 07777));
    return buf;
}

enum class Folder { Ours, Missing, Refused };

// Whether dir is a real folder of this user that nobody else can enter. make: create it (0700)
// when missing, and close a folder of ours that others may read but not write (one an earlier
// version made 0755). The folder is examined through a descriptor opened without following a
// link, so what is checked is what is changed.
Folder examineFolder(const std::string& dir, bool make, std::string& refusal) {
    if (make && ::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        refusal = "管道目录" + dir + "无法建立（" + std::strerror(errno) + "）";
        return Folder::Refused;
    }
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        struct stat st {};
        if (error == ENOENT)
            return Folder::Missing;
        if (::lstat(dir.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            refusal = "管道目录" + dir + "是符号链接，不使用";
        else
            refusal = "管道目录" + dir + "无法打开（" + std::strerror(error) + "），不使用";
        return Folder::Refused;
    }
    struct stat st {};
    Folder result = Folder::Ours;
    if (::fstat(fd, &st) != 0) {
        refusal = "管道目录" + dir + "无法检查（" + std::strerror(errno) + "），不使用";
        result = Folder::Refused;
    } else if (st.st_uid != ::geteuid()) {
        refusal =
            "管道目录" + dir + "属于其他用户（uid " + std::to_string(st.st_uid) + "），不使用";
        result = Folder::Refused;
    } else if ((st.st_mode & 077) != 0) {
        bool othersCouldWrite = (st.st_mode & 022) != 0;
        if (!make || othersCouldWrite || ::fchmod(fd, 0700) != 0) {
            refusal =
                "管道目录" + dir + "对其他用户开放（权限" + modeText(st.st_mode) + "），不使用";
            result = Folder::Refused;
        }
    }
    ::close(fd);
    return result;
}

long peerUidOf(int fd) {
    ucred cred{};
    socklen_t len = sizeof cred;
    if (fd < 0 || ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return -1;
    return static_cast<long>(cred.uid);
}

int millisecondsUntil(PipeDeadline deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return 0;
    // Round up so that a wait never ends just before the deadline and spins.
    return static_cast<int>(std::min<long long>(left.count() + 1, 1 << 30));
}
} // namespace

std::optional<std::string> localPipePath(const std::string& server, const std::string& name) {
    if (server != "127.0.0.1" && server != "localhost" && server != ".") return std::nullopt;
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
        return std::nullopt;
    return pipeDirectory() + "/" + name;
}

LocalPipe::~LocalPipe() { close(); }

LocalPipe& LocalPipe::operator=(LocalPipe&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        errno_ = other.errno_;
        other.fd_ = -1;
    }
    return *this;
}

void LocalPipe::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

long LocalPipe::peerUid() const {
    return peerUidOf(fd_);
}

bool LocalPipe::connect(const std::string& path) {
    close();
    refusal_.clear();
    for (const auto& dir : ownFolders(path)) {
        Folder f = examineFolder(dir, false, refusal_);
        if (f == Folder::Ours)
            continue;
        errno_ = f == Folder::Missing ? ENOENT : EACCES;
        return false;
    }
    sockaddr_un sa;
    if (!fillAddress(path, sa)) {
        errno_ = ENAMETOOLONG;
        return false;
    }
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        errno_ = errno;
        return false;
    }
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        errno_ = errno;
        close();
        return false;
    }
    // Nothing is sent to a server of another user, whoever placed its socket here.
    long uid = peerUid();
    if (uid != static_cast<long>(::geteuid())) {
        refusal_ = "管道服务端属于其他用户（uid " + std::to_string(uid) + "），不使用";
        errno_ = EACCES;
        close();
        return false;
    }
    return true;
}

bool LocalPipe::hungUp() const {
    if (fd_ < 0) return true;
    pollfd p{fd_, POLLRDHUP, 0};
    int r;
    while ((r = ::poll(&p, 1, 0)) < 0 && errno == EINTR) {
    }
    return r > 0 && (p.revents & (POLLHUP | POLLRDHUP | POLLERR | POLLNVAL)) != 0;
}

bool LocalPipe::write(Bytes message) {
    ssize_t n;
    do {
        n = ::send(fd_, message.data(), message.size(), MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    if (n < 0) errno_ = errno;
    return n == static_cast<ssize_t>(message.size());
}

bool LocalPipe::write(Bytes message, PipeDeadline deadline, const Wakeup* wakeup) {
    pollfd fds[2] = {{fd_, POLLOUT, 0}, {wakeup ? wakeup->fd() : -1, POLLIN, 0}};
    for (;;) {
        ssize_t n = ::send(fd_, message.data(), message.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) return n == static_cast<ssize_t>(message.size());
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            errno_ = errno;
            return false;
        }
        int r = ::poll(fds, wakeup ? 2 : 1, millisecondsUntil(deadline));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0 || (wakeup && (fds[1].revents & POLLIN))) {
            errno_ = r < 0 ? errno : ETIMEDOUT;
            return false;
        }
    }
}

LocalPipe::ReadResult LocalPipe::read(MutableBytes buffer, PipeDeadline deadline,
                                      const Wakeup* wakeup) {
    ReadResult result;
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeup ? wakeup->fd() : -1, POLLIN, 0}};
    for (;;) {
        int r = ::poll(fds, wakeup ? 2 : 1, millisecondsUntil(deadline));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            errno_ = errno;
            return result;
        }
        if (r == 0 || (wakeup && (fds[1].revents & POLLIN))) {
            result.status = Status::Timeout;
            return result;
        }
        break;
    }
    iovec iov{buffer.data(), buffer.size()};
    msghdr msg{};
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    ssize_t n;
    do {
        n = ::recvmsg(fd_, &msg, 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        errno_ = errno;
        return result;
    }
    if (n == 0) {
        result.status = Status::Closed;
        return result;
    }
    result.status = Status::Message;
    result.size = static_cast<std::size_t>(n);
    result.truncated = (msg.msg_flags & MSG_TRUNC) != 0;
    return result;
}

LocalPipeListener::~LocalPipeListener() { close(); }

bool LocalPipeListener::listen(const std::string& path) {
    close();
    error_.clear();
    inUse_ = false;
    auto dirs = ownFolders(path);
    if (dirs.empty()) {
        error_ = "管道路径无效：" + path;
        return false;
    }
    makeDirectories(dirs.front().substr(0, dirs.front().rfind('/')));
    for (const auto& dir : dirs)
        if (examineFolder(dir, true, error_) != Folder::Ours)
            return false;
    // The lock stays with this service while it serves; a second one finds it taken.
    const std::string lockPath = path + ".lock";
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        error_ = "管道锁文件" + lockPath + "无法打开（" + std::strerror(errno) + "）";
        return false;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        inUse_ = errno == EWOULDBLOCK;
        error_ = inUse_ ? "另一个服务正在提供这个管道：" + path
                        : "管道锁文件" + lockPath + "无法锁定（" + std::strerror(errno) + "）";
        close();
        return false;
    }
    // A server that holds no lock (one of an older build) still answers: leave it its pipe.
    if (LocalPipe probe; probe.connect(path)) {
        inUse_ = true;
        error_ = "另一个服务正在提供这个管道：" + path;
        close();
        return false;
    }
    sockaddr_un sa;
    if (!fillAddress(path, sa)) {
        error_ = "管道路径过长：" + path;
        close();
        return false;
    }
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        error_ = std::string("管道无法建立（") + std::strerror(errno) + "）";
        close();
        return false;
    }
    ::unlink(path.c_str());
    // The mode is narrowed to 0600 before listen: nobody can connect before that, and the
    // process umask, shared with every other thread, is never touched.
    int bound = ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    if (bound != 0 || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd_, 8) != 0) {
        error_ = std::string("管道无法建立（") + std::strerror(errno) + "）";
        close();
        return false;
    }
    path_ = path;
    return true;
}

std::optional<LocalPipe> LocalPipeListener::accept(const Wakeup* wakeup) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeup ? wakeup->fd() : -1, POLLIN, 0}};
    for (;;) {
        int r = ::poll(fds, wakeup ? 2 : 1, -1);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return std::nullopt;
        if (wakeup && (fds[1].revents & POLLIN)) return std::nullopt;
        int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN) continue;
            return std::nullopt;
        }
        if (peerUidOf(client) != static_cast<long>(::geteuid())) {
            ::close(client);
            continue;
        }
        return LocalPipe(client);
    }
}

void LocalPipeListener::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    fd_ = -1;
    // The lock file stays: removing it could let two services lock two different files.
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

} // namespace quorvane::platform
