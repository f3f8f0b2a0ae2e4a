#pragma once
// What a controller remembers of the rights commands beyond the rights themselves, which lie
// in its memories (sim_right_storage.h): the checks and swipes it was asked to make.
#include <array>
#include <cstdint>

namespace quorvane::sim {

struct SwipeRecord {
    std::array<std::uint8_t, 8> card{};
    std::uint32_t reader = 0;
    bool granted = false;
};

struct RightsState {
    int checks = 0;        // checks answered
    int checksPassed = 0;  // of those, passed
    int swipes = 0;        // simulated swipes
    SwipeRecord lastSwipe; // the latest of them
};

} // namespace quorvane::sim
