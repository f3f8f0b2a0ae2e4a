#pragma once
// The controller's 16-byte journal record and the 20-byte entry (sequence number + record)
// that a get-log reply carries. Multi-byte fields are little-endian.
#include <array>
#include <cstdint>
#include <optional>

#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kLogRecordSize = 16;
inline constexpr std::size_t kLogEntrySize = 20;

// Record kinds (bits 6..2 of kindByte).
inline constexpr unsigned kKindNone = 0;
inline constexpr unsigned kKindEvent = 1;
inline constexpr unsigned kKindCard = 2;
inline constexpr unsigned kKindOperation = 3;

struct LogRecord {
    std::uint32_t data0 = 0;
    std::uint32_t data1 = 0;
    std::uint16_t packedDate = 0;
    std::uint16_t packedTime = 0;
    std::uint8_t doorReader = 0;
    std::uint8_t resultCode = 0;
    std::uint8_t kindByte = 0;
    std::uint8_t subtypeByte = 0;

    bool operator==(const LogRecord&) const = default;

    unsigned direction() const { return kindByte & 3; }
    unsigned kind() const { return (kindByte >> 2) & 0x1F; }
    bool offline() const { return (kindByte & 0x80) != 0; }
    // Set: a card number with a non-zero high word prints as 20 digits.
    bool longNumberForm() const { return (subtypeByte & 1) != 0; }
    unsigned subtype() const { return (subtypeByte >> 1) & 0x1F; }
    unsigned numberingMode() const { return subtypeByte >> 6; }

    // Door (门号) and reader (读头) by the numbering mode.
    unsigned door() const;
    unsigned reader() const;

    // Nothing when fewer than 16 bytes are given.
    static std::optional<LogRecord> decode(Bytes bytes);
};

struct LogEntry {
    std::uint32_t sequence = 0;
    LogRecord record;

    static std::optional<LogEntry> decode(Bytes bytes);
};

} // namespace quorvane
