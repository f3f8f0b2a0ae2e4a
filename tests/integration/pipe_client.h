#pragma once
// The tool's side of the host-service pipe, spelled out for tests that talk to tavrin
// directly: one request per connection, answers until "xxx".
#include <chrono>
#include <string>
#include <vector>

#include "platform/local_pipe.h"
#include "protocol/frame.h"
#include "protocol/pipe_message.h"

namespace quorvane::test {

struct PipeExchange {
    std::vector<std::string> answers;
    bool ended = false; // "xxx" came
};

// Sends one message on a new connection and reads its answers until "xxx", the service hangs
// up or the limit passes.
inline PipeExchange talk(const std::string& path, const std::string& message,
                         std::chrono::seconds limit = std::chrono::seconds(30)) {
    PipeExchange e;
    platform::LocalPipe pipe;
    if (!pipe.connect(path) || !pipe.write(asBytes(message)))
        return e;
    std::vector<std::uint8_t> buffer(kPipeBufferSize);
    const auto until = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto r = pipe.read(buffer, until);
        if (r.status != platform::LocalPipe::Status::Message)
            return e;
        std::string a(reinterpret_cast<char*>(buffer.data()), r.size);
        if (a == kPipeEndAnswer) {
            e.ended = true;
            return e;
        }
        e.answers.push_back(a);
    }
}

// A relay of payload to the controller the texts name.
inline std::string relayOf(const std::string& address, const std::string& identity,
                           std::string payload, std::uint32_t timeoutMs = 3000,
                           std::uint32_t waitFlag = 1) {
    return buildPipeRequest({address, identity, timeoutMs, waitFlag, kPipeRelay, payload});
}

// A relay of one request frame (command, no payload).
inline std::string relayRequest(const std::string& address, const std::string& identity,
                                std::uint8_t command, std::uint32_t timeoutMs = 3000,
                                std::uint32_t waitFlag = 1) {
    ProtocolState state;
    return relayOf(address, identity, buildRequest(kAnyTarget, command, {}, state), timeoutMs,
                   waitFlag);
}

// A search through the service, as the tool sends it: a request that names no controller.
inline std::string searchRequest() {
    return relayRequest("", "", 2);
}

} // namespace quorvane::test
