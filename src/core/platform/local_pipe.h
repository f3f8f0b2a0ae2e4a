#pragma once
// The host-service pipe on this machine: an AF_UNIX SOCK_SEQPACKET socket, which keeps message
// boundaries like a message-mode pipe. The socket lives at $XDG_RUNTIME_DIR/quorvane/PIPE/name
// (or /tmp/quorvane-UID/PIPE/name) with mode 0600. Only the local machine can be reached.
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

    // Connects to a listening pipe; false (with errno kept) when none listens at path.
    bool connect(const std::string& path);
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
};

// The serving end: creates the directory (0700) and the socket (0600), accepts clients.
class LocalPipeListener {
  public:
    LocalPipeListener() = default;
    ~LocalPipeListener();
    LocalPipeListener(const LocalPipeListener&) = delete;
    LocalPipeListener& operator=(const LocalPipeListener&) = delete;

    // Replaces a stale socket file left by an earlier run.
    bool listen(const std::string& path);
    // The next client, or nothing when wakeup was signalled or the wait failed.
    std::optional<LocalPipe> accept(const Wakeup* wakeup);
    void close();
    const std::string& path() const { return path_; }

  private:
    int fd_ = -1;
    std::string path_;
};

} // namespace quorvane::platform
