#pragma once
// One simulated controller: its device record (basic or extended block, MAC, group and
// number, name, door-access block with counters), its clock and what it was last told to do.
#include <chrono>
#include <cstdint>
#include <string>

#include "model/device_info.h"

namespace quorvane::sim {

struct SimController {
    DeviceUIInfo record;
    bool extended = false;
    std::uint32_t address = 0;               // the address it answers from (host order)
    std::chrono::seconds clockOffset{0};     // device clock minus the local clock
    int lastOpenDoor = 0;                    // 1-based door of the last open command
    int lastOpenValue = 0;                   // its time value (ms / 10, or a state 65001..65005)
    int restarts = 0;
};

// The n-th controller (n from 1) at address; extended chooses the block it reports.
SimController makeController(int n, std::uint32_t address, std::uint16_t port,
                             const std::string& namePrefix, int group, bool extended);

} // namespace quorvane::sim
