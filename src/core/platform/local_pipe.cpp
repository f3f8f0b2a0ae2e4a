#include "platform/local_pipe.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

bool LocalPipe::connect(const std::string& path) {
    close();
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
    auto slash = path.rfind('/');
    if (slash != std::string::npos) {
        std::string dir = path.substr(0, slash);
        makeDirectories(dir);
        ::chmod(dir.c_str(), 0700);
    }
    sockaddr_un sa;
    if (!fillAddress(path, sa)) return false;
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
    ::unlink(path.c_str());
    // The mode is narrowed to 0600 before listen: nobody can connect before that, and the
    // process umask, shared with every other thread, is never touched.
    int bound = ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    if (bound != 0 || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd_, 8) != 0) {
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
        return LocalPipe(client);
    }
}

void LocalPipeListener::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    fd_ = -1;
}

} // namespace quorvane::platform
