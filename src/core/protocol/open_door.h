#pragma once
// The open-door command (16): the door number (1-based) and a 16-bit time value, big-endian.
// The value is the open time in milliseconds / 10; 65001..65005 are relay states instead.
#include <array>
#include <cstdint>
#include <optional>

namespace quorvane {

inline constexpr std::uint8_t kOpenDoorCommand = 16;
// Doors 1..4 are the on-board relays, 5..164 relays on serial extension boards.
inline constexpr int kDoorCount = 164;
// The longest time the 16-bit value carries: 65535 x 10 ms.
inline constexpr long kLongestOpenMs = 655350;

// The state values, each the open time of its menu item / 10.
enum class RelayCommand : std::uint16_t {
    Auto = 65001,          // "自主控制": back under the controller's control
    HoldReleased = 65002,  // "常闭（继电器保持断开）"
    HoldEnergised = 65003, // "常开（继电器保持闭合）"
    Energise = 65004,      // "只开（继电器闭合）"
    Release = 65005,       // "只关（继电器断开）"
};

// milliseconds / 10, the remainder dropped; nothing for a time that does not fit (below 0 or
// above kLongestOpenMs) rather than a wrapped one that would open for another time.
std::optional<std::uint16_t> openTimeValue(long milliseconds);

// Door number (1..255) and time value as the three payload bytes.
std::array<std::uint8_t, 3> openDoorPayload(std::uint8_t doorNumber, std::uint16_t timeValue);

} // namespace quorvane
