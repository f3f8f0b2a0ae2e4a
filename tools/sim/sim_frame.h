#pragma once
// Requests as a controller reads them and the replies it builds. A frame is 16 bytes of 0x55
// (a reply: 0xAA), 0xFF 0xFF, six operation-password bytes (a reply: 0xFF), the target id
// (big-endian), the sequence number (little-endian), the command, a byte that is 0 in requests
// and the status in replies, the payload length (big-endian), the payload, and the 8-bit sum of
// everything from the command byte to the end of the payload.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/bytes.h"

namespace quorvane::sim {

inline constexpr std::size_t kFrameHeaderSize = 32;
// A request takes at most this many bytes; longer datagrams are cut when read and so refused.
inline constexpr std::size_t kLargestRequest = 20000;
// The target id that every controller at the destination answers to.
inline constexpr std::uint16_t kAnyTarget = 0xFFFF;

struct SimRequest {
    std::uint16_t target = 0;
    std::uint16_t sequence = 0;
    std::uint8_t command = 0;
    Bytes payload;
    bool checksumOk = true;
};

// A request whose prefix is right and whose length leaves room for the checksum byte inside
// the datagram, or nothing. Bytes after the checksum are ignored.
std::optional<SimRequest> readRequest(Bytes datagram);

struct SimReply {
    SimReply(std::uint8_t s = 1, std::string p = {}) : status(s), payload(std::move(p)) {}
    std::uint8_t status = 1;
    std::string payload;
    // Further replies to the same request, sent after this one (a fetch of a range of records
    // answers once per record).
    std::vector<SimReply> more;
};

// The reply frame: prefix, device id, the request's sequence number, reply code, status,
// length, payload and sum.
std::string buildReply(std::uint16_t deviceId, std::uint16_t sequence, std::uint8_t code,
                       const SimReply& reply);

} // namespace quorvane::sim
