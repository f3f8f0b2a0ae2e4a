#pragma once
// Setting the flag of a reader on the RS-485 bus: a 16-byte line to the reader named by its
// factory serial, and the reader's short answer.
#include <array>
#include <cstdint>
#include <string_view>

#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kReaderSerialLength = 8;
inline constexpr std::size_t kReaderFlagFrameSize = 16;
// The reader answers with at most this many bytes.
inline constexpr std::size_t kReaderFlagReplyMax = 7;

// 0x09, "AXC", the 8 serial bytes, the flag, the XOR of those 13 bytes as two upper-case
// hexadecimal characters, 0x0D. serial must hold exactly 8 bytes (checked by the caller).
std::array<std::uint8_t, kReaderFlagFrameSize> readerFlagFrame(std::string_view serial,
                                                               std::uint8_t flag);

// The reader took the flag: its answer starts with 0x0A and its third byte is the flag.
bool readerFlagAccepted(Bytes reply, std::uint8_t flag);

} // namespace quorvane
