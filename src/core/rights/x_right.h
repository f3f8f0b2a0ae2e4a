#pragma once
// The access right as the controller stores it and as it travels in command payloads:
// 24 bytes, little-endian. Bytes 8..15 hold either the validity period or, in right-mode 1,
// the holder's name; in right-mode 0 the controller stores only the first 20 bytes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kRightPayloadLength = 24;

// Bits of xRight::flags.
inline constexpr std::uint32_t kFlagLongNumber = 1u << 0; // card field holds text or 20 digits
inline constexpr std::uint32_t kFlagParcel = 1u << 1;
inline constexpr std::uint32_t kFlagArrears = 1u << 2;
inline constexpr std::uint32_t kFlagUser1 = 1u << 3;
inline constexpr std::uint32_t kFlagUser2 = 1u << 4;
inline constexpr std::uint32_t kFlagUser3 = 1u << 5;
inline constexpr std::uint32_t kFlagAntiPassback = 1u << 6;
inline constexpr int kReservedShift = 7;  // 16 bits
inline constexpr int kLocationShift = 26; // 2 bits
inline constexpr int kTypeShift = 28;     // 4 bits

struct xRight {
    std::uint32_t cardHigh = 0;
    std::uint32_t cardLow = 0;
    std::uint16_t validFromDate = 0;
    std::uint16_t validFromTime = 0;
    std::uint16_t validToDate = 0;
    std::uint16_t validToTime = 0;
    // right-mode 1 only: the name in GBK, NUL-padded.
    std::array<std::uint8_t, 8> name{};
    std::uint8_t timeZone = 0;
    std::uint8_t readerMask = 0;
    std::uint16_t remainingCount = 0;
    std::uint32_t flags = 0;

    bool operator==(const xRight&) const = default;

    // Bytes 0..7 as they lie in memory: the card field.
    std::array<std::uint8_t, 8> cardField() const;

    unsigned location() const { return (flags >> kLocationShift) & 3; }
    unsigned type() const { return (flags >> kTypeShift) & 0xF; }
    unsigned reserved() const { return (flags >> kReservedShift) & 0xFFFF; }
    void setLocation(unsigned v) { setBits(kLocationShift, 3, v); }
    void setType(unsigned v) { setBits(kTypeShift, 0xF, v); }
    void setReserved(unsigned v) { setBits(kReservedShift, 0xFFFF, v); }
    void setFlag(std::uint32_t bit, bool on) { flags = on ? (flags | bit) : (flags & ~bit); }
    bool flag(std::uint32_t bit) const { return (flags & bit) != 0; }

    // The name as UTF-8 (at most 8 GBK bytes, up to the first NUL).
    std::string nameText() const;
    // Stores the GBK form of a UTF-8 name cut to 8 bytes without splitting a character.
    void setNameText(const std::string& utf8);

  private:
    void setBits(int shift, std::uint32_t mask, unsigned v) {
        flags = (flags & ~(mask << shift)) | ((std::uint32_t(v) & mask) << shift);
    }
};

// 20 bytes in right-mode 0, otherwise 24.
std::size_t storedRightLength(int rightMode);

// The 24-byte payload form; bytes 8..15 by right-mode.
std::array<std::uint8_t, kRightPayloadLength> encodeRight(const xRight& r, int rightMode);
// Reads a right from at least storedRightLength(rightMode) bytes (20 bytes in right-mode 0
// leave the flags 0); nothing when fewer bytes are given.
std::optional<xRight> decodeRight(Bytes bytes, int rightMode);

} // namespace quorvane
