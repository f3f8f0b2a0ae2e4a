#include "protocol/named_pipe.h"

namespace quorvane {

namespace {
constexpr auto kConnectRetry = std::chrono::milliseconds(50);
constexpr int kCallWaitMs = 5000;
} // namespace

std::string CNamedPipe::pipePath(const std::string& server, const std::string& name) {
    return "\\\\" + server + "\\PIPE\\" + name;
}

bool CNamedPipe::open(const std::string& server, const std::string& name) {
    auto path = platform::localPipePath(server, name);
    return path && pipe_.connect(*path);
}

bool CNamedPipe::wait(const std::string& server, const std::string& name, int timeoutMs,
                      std::string* refusal, Clock& clock) {
    auto path = platform::localPipePath(server, name);
    if (!path)
        return false;
    // A listening socket cannot be watched for appearing; retry connecting in short steps until
    // the limit (a service that runs answers the first try).
    const auto deadline = clock.now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        platform::LocalPipe probe;
        if (probe.connect(*path))
            return true;
        if (!probe.refusal().empty()) {
            if (refusal)
                *refusal = probe.refusal();
            return false;
        }
        if (clock.now() + kConnectRetry > deadline)
            return false;
        clock.sleepFor(kConnectRetry);
    }
}

int CNamedPipe::call(const std::string& server, const std::string& name, Bytes in, MutableBytes out,
                     std::size_t& bytesRead, Clock& clock) {
    bytesRead = 0;
    const auto deadline = clock.now() + std::chrono::milliseconds(kCallWaitMs);
    if (!wait(server, name, kCallWaitMs, nullptr, clock))
        return -1;
    CNamedPipe pipe;
    if (!pipe.open(server, name))
        return -1;
    if (!pipe.write(in))
        return -2;
    // The read blocks in the kernel: what is left of the clock's time becomes its deadline.
    auto r = pipe.read(out, std::chrono::steady_clock::now() + (deadline - clock.now()));
    if (r.status != platform::LocalPipe::Status::Message)
        return -3;
    bytesRead = r.size;
    return 0;
}

bool CNamedPipe::write(Bytes message) {
    return pipe_.write(message);
}

platform::LocalPipe::ReadResult CNamedPipe::read(MutableBytes buffer,
                                                 platform::PipeDeadline deadline,
                                                 const platform::Wakeup* wakeup) {
    return pipe_.read(buffer, deadline, wakeup);
}

} // namespace quorvane
