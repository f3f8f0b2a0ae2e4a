#pragma once
// Requests as the simulator sees them, and the replies it builds.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane::sim {

struct SimRequest {
    std::uint16_t target = 0;
    std::uint16_t sequence = 0;
    std::uint8_t command = 0;
    Bytes payload;
    bool checksumOk = true;
};

// A well-formed request (0x55 prefix, length inside the datagram), or nothing.
std::optional<SimRequest> readRequest(Bytes datagram);

struct SimReply {
    std::uint8_t status = 1;
    std::string payload;
};

// 16 x 0xAA, 8 x 0xFF, device id, the request's sequence, code, status, length, payload, sum.
std::string buildReply(std::uint16_t deviceId, std::uint16_t sequence, std::uint8_t code,
                       const SimReply& reply);

} // namespace quorvane::sim
