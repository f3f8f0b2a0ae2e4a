#pragma once
// The client end of the host-service pipe "\\server\PIPE\name", on this machine a local
// SOCK_SEQPACKET socket (see platform/local_pipe.h). A server other than this machine is not
// available.
#include <chrono>
#include <string>

#include "infra/clock.h"
#include "platform/bytes.h"
#include "platform/local_pipe.h"

namespace quorvane {

class CNamedPipe {
  public:
    // The pipe's name as the tool writes it in its log: "\\server\PIPE\name".
    static std::string pipePath(const std::string& server, const std::string& name);

    // Opens the pipe for reading and writing; true when connected.
    bool open(const std::string& server, const std::string& name);
    // Why open refused a pipe that is there (its folder or its server is not this user's);
    // empty when it was not refused.
    const std::string& refusal() const { return pipe_.refusal(); }
    // Waits up to timeoutMs on clock for a listening instance; true when one is there. A
    // refused pipe ends the wait at once, with the reason in refusal when given.
    static bool wait(const std::string& server, const std::string& name, int timeoutMs = 1000,
                     std::string* refusal = nullptr, Clock& clock = systemClock());
    // One transaction: connect (waiting up to 5000 ms for the pipe), write in, read one answer
    // into out (reading at most until the same 5000 ms have passed), close. 0 on success with
    // bytesRead set, -1 when the pipe was not there, -2 when writing failed, -3 when no answer
    // came.
    static int call(const std::string& server, const std::string& name, Bytes in, MutableBytes out,
                    std::size_t& bytesRead, Clock& clock = systemClock());

    bool write(Bytes message);
    platform::LocalPipe::ReadResult read(MutableBytes buffer, platform::PipeDeadline deadline,
                                         const platform::Wakeup* wakeup = nullptr);
    void close() { pipe_.close(); }
    bool isOpen() const { return pipe_.isOpen(); }

  private:
    platform::LocalPipe pipe_;
};

} // namespace quorvane
