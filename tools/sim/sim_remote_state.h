#pragma once
// What the one-shot commands leave in a controller: its clock, its relays, its restarts, the
// log clears and self tests it was asked for.
#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>

namespace quorvane::sim {

// The time values of the open-door command from 65001 on are states, not times.
inline constexpr std::uint16_t kRelayAuto = 65001; // back under the controller's control
inline constexpr std::uint16_t kRelayHeldReleased = 65002;
inline constexpr std::uint16_t kRelayHeldEnergised = 65003;
inline constexpr std::uint16_t kRelayEnergised = 65004;
inline constexpr std::uint16_t kRelayReleased = 65005;
inline constexpr int kOnBoardRelays = 4;
// Doors 5..164 are relays on serial extension boards.
inline constexpr int kLastDoor = 164;

struct RelayState {
    std::uint16_t lastValue = kRelayAuto; // the last time value (ms / 10) or state
    int commands = 0;                     // open-door commands it took
};

struct RemoteState {
    std::chrono::seconds clockOffset{0}; // device clock minus the local clock
    std::array<RelayState, kOnBoardRelays> relays{};
    std::map<int, RelayState> extensionRelays; // by door number, once commanded
    // Doors that answer every open-door command with this status and stay as they are (set
    // by door faults).
    std::map<int, std::uint8_t> doorStatus;
    int lastDoor = 0; // 1-based door of the last open-door command, 0 before any
    int restarts = 0;
    int logClears = 0;
    int selfTests = 0;
    std::uint32_t testFlags = 0; // the flag word of the last self test
    // The last payload of each command of this group as it arrived, by request code.
    std::map<int, std::string> payloads;
};

} // namespace quorvane::sim
