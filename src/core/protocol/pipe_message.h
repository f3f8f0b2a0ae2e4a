#pragma once
// The messages of the host-service pipe. A request is a 56-byte header (address text at 0,
// identity text at 24, timeout at 44, wait flag at 48, kind at 52, integers little-endian)
// and the payload; an answer is the same header, of which only the sender text at byte 0 is
// used, and one reply frame. An answer beginning "xxx" ends the exchange.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kPipeHeaderSize = 56;
inline constexpr std::size_t kPipeBufferSize = 20000;
inline constexpr std::size_t kPipeAddressField = 24;
inline constexpr std::size_t kPipeIdentityField = 20;
inline constexpr std::size_t kPipeMaxFrame = 2048;
inline constexpr std::uint32_t kPipeRelay = 0;
inline constexpr std::uint32_t kPipeUpdate = 1;

struct PipeRequest {
    std::string address;  // UTF-8; at most 23 bytes in its GBK form on the wire
    std::string identity; // UTF-8; at most 19 bytes in its GBK form on the wire
    std::uint32_t timeoutMs = 0;
    std::uint32_t waitFlag = 0;
    std::uint32_t kind = kPipeRelay;
    std::string payload; // the frame (kind 0) or the update text (kind 1), as bytes

    bool isSearch() const { return address.empty() && identity.empty(); }
};

std::string buildPipeRequest(const PipeRequest& request);
// Nothing when the message is shorter than the header.
std::optional<PipeRequest> parsePipeRequest(Bytes message);

struct PipeAnswer {
    bool end = false;   // "xxx": the exchange is over
    std::string sender; // UTF-8
    Bytes frame;        // the reply frame after the header (a view into the message)
};
// Reads an answer without passing its end: "xxx" → end; shorter than the header → nothing
// (it carries no frame); else the sender text (within the header) and the frame.
std::optional<PipeAnswer> readPipeAnswer(Bytes message);
std::string buildPipeAnswer(const std::string& sender, Bytes frame);
// The message that ends an exchange.
inline constexpr std::string_view kPipeEndAnswer = "xxx";

} // namespace quorvane
