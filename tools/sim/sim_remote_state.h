#pragma once
// What the one-shot commands leave in a controller: its clock, its relays, its restarts.
#include <array>
#include <chrono>
#include <cstdint>

namespace quorvane::sim {

// The time values of the open-door command from 65001 on are states, not times.
inline constexpr std::uint16_t kRelayAuto = 65001; // back under the controller's control
inline constexpr std::uint16_t kRelayHeldReleased = 65002;
inline constexpr std::uint16_t kRelayHeldEnergised = 65003;
inline constexpr std::uint16_t kRelayEnergised = 65004;
inline constexpr std::uint16_t kRelayReleased = 65005;
inline constexpr int kOnBoardRelays = 4;

struct RelayState {
    std::uint16_t lastValue = kRelayAuto; // the last time value (ms / 10) or state
    int commands = 0;                     // open-door commands it took
};

struct RemoteState {
    std::chrono::seconds clockOffset{0}; // device clock minus the local clock
    std::array<RelayState, kOnBoardRelays> relays{};
    int lastDoor = 0; // 1-based door of the last open-door command, 0 before any
    int restarts = 0;
};

} // namespace quorvane::sim
