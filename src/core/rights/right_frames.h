#pragma once
// The rights commands and their payloads (all integers little-endian), and the right a read
// reply carries.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/bytes.h"
#include "protocol/reply_dispatch.h"
#include "rights/x_right.h"

namespace quorvane {

namespace right_command {
inline constexpr std::uint8_t kAdd = 18;         // xRight, 24 bytes
inline constexpr std::uint8_t kRemove = 20;      // card words
inline constexpr std::uint8_t kCheck = 22;       // card words, reader u32
inline constexpr std::uint8_t kClear = 24;       // nothing
inline constexpr std::uint8_t kReadAt = 52;      // position u32, search forward u32
inline constexpr std::uint8_t kSwipe = 114;      // card words, reader u32
inline constexpr std::uint8_t kReadOfCard = 116; // card words
} // namespace right_command

// The position a read reply gives when the controller has no more rights.
inline constexpr std::uint32_t kNoMoreRights = 0xFFFFFFFFu;

std::vector<std::uint8_t> addPayload(const xRight& right, int rightMode);
std::vector<std::uint8_t> cardPayload(std::uint32_t cardHigh, std::uint32_t cardLow);
std::vector<std::uint8_t> cardReaderPayload(std::uint32_t cardHigh, std::uint32_t cardLow,
                                            std::uint32_t reader);
std::vector<std::uint8_t> positionPayload(std::uint32_t position, bool searchForward);

// A reply to a read by position: the position u32, then the 24-byte right (the end marker may
// come without one). Nothing when the payload is too short.
struct PositionedRight {
    std::uint32_t position = 0;
    Bytes right; // the right's bytes as they arrived (formatRightReply reads them)
};
std::optional<PositionedRight> readPositionReply(Bytes payload);

// Whether a read reply answers the read asked, for a controller that does not echo sequence
// numbers: a reply to a read by card names that card or none (zero: no right); a reply to a
// read by position names that position, a later one or the end, never an earlier one. A
// failure, or a reply too short to name anything, answers: it reports the failure.
bool answersReadOfCard(const Reply& reply, Bytes askedCard);
bool answersReadAt(const Reply& reply, std::uint32_t askedPosition);

} // namespace quorvane
