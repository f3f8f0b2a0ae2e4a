#pragma once
// The host-service pipe on this machine: an AF_UNIX SOCK_SEQPACKET socket, which keeps message
// boundaries like a message-mode pipe. The socket lives at $XDG_RUNTIME_DIR/quorvane/PIPE/name
// (or /tmp/quorvane-UID/PIPE/name) with mode 0600. Only the local machine can be reached.
//
// The two folders above the socket are this user's own: made 0700, and used by either end only
// when they are real folders (no links), owned by this user and closed to group and others. In
// /tmp another user could make them first and then receive the tool's frames or have the
// service remove files through a link. Each end also checks that the other runs as this user.
#include <chrono>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane::platform {

class Wakeup;

// The socket path of pipe name on server; nothing when server is not this machine
// (127.0.0.1, localhost or ".").
std::optional<std::string> localPipePath(const std::string& server, const std::string& name);

using PipeDeadline = std::chrono::steady_clock::time_point;

// One connected end of the pipe.
class LocalPipe {
  public:
    LocalPipe() = default;
    explicit LocalPipe(int fd) : fd_(fd) {}
    ~LocalPipe();
    LocalPipe(LocalPipe&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    LocalPipe& operator=(LocalPipe&& other) noexcept;
    LocalPipe(const LocalPipe&) = delete;
    LocalPipe& operator=(const LocalPipe&) = delete;

    // Connects to a listening pipe; false (with errno kept) when none listens at path, or
    // (with refusal() saying why) when its folder or the serving process is not this user's.
    bool connect(const std::string& path);
    // Why the last connect refused the pipe; empty when it was not refused.
    const std::string& refusal() const { return refusal_; }
    // The user id of the process at the other end; -1 when unknown.
    long peerUid() const;
    bool isOpen() const { return fd_ >= 0; }
    // True when the other end has hung up (or the pipe is closed); does not wait.
    bool hungUp() const;
    void close();
    // Writes one message whole.
    bool write(Bytes message);
    // The same, giving up at deadline (or when wakeup is signalled) while the other end reads
    // nothing and the pipe is full.
    bool write(Bytes message, PipeDeadline deadline, const Wakeup* wakeup = nullptr);

    enum class Status { Message, Timeout, Closed, Error };
    struct ReadResult {
        Status status = Status::Error;
        std::size_t size = 0;   // bytes stored in the buffer
        bool truncated = false; // the message was longer than the buffer
    };
    // Reads one message, waiting at most until deadline (the wait ends the moment a message
    // arrives). wakeup, when given, ends the wait early as a Timeout.
    ReadResult read(MutableBytes buffer, PipeDeadline deadline, const Wakeup* wakeup = nullptr);
    int lastErrno() const { return errno_; }

  private:
    int fd_ = -1;
    int errno_ = 0;
    std::string refusal_;
};

// The serving end: creates the folders (0700) and the socket (0600), accepts clients of this
// user. One service per pipe: a lock beside the socket, held while it serves, keeps a second
// one from taking the pipe away.
class LocalPipeListener {
  public:
    LocalPipeListener() = default;
    ~LocalPipeListener();
    LocalPipeListener(const LocalPipeListener&) = delete;
    LocalPipeListener& operator=(const LocalPipeListener&) = delete;

    // Replaces a stale socket file left by an earlier run. False, with error() saying why,
    // when the folders are not this user's own or another service serves the pipe.
    bool listen(const std::string& path);
    const std::string& error() const { return error_; }
    // True when listen failed because another service serves the pipe.
    bool inUse() const { return inUse_; }
    // The next client of this user, or nothing when wakeup was signalled or the wait failed.
    // A client of another user is hung up on at once.
    std::optional<LocalPipe> accept(const Wakeup* wakeup);
    void close();
    const std::string& path() const { return path_; }

  private:
    int fd_ = -1;
    int lockFd_ = -1;
    bool inUse_ = false;
    std::string path_;
    std::string error_;
};

} // namespace quorvane::platform
