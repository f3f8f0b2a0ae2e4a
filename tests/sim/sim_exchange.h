// One request through the simulator's command table, and its answer as plain bytes: the way
// the module suites talk to a controller without a socket.
#pragma once

#include <cstdint>
#include <vector>

#include "sim_command_table.h"

namespace quorvane::sim::test {

using ByteVec = std::vector<std::uint8_t>;

struct Answer {
    std::uint8_t code = 0;
    std::uint8_t status = 0;
    ByteVec payload;
    bool operator==(const Answer&) const = default;
};

// No answer at all reads as code 0.
inline Answer send(SimController& c, std::uint8_t command, const ByteVec& payload = {}) {
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    auto a = CommandTable().answer(c, r);
    if (!a)
        return {};
    return {a->code, a->reply.status, ByteVec(a->reply.payload.begin(), a->reply.payload.end())};
}

} // namespace quorvane::sim::test
