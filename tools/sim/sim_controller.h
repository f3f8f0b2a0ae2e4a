#pragma once
// One simulated controller: the state of each command group, each kept by the module that
// answers that group's commands, and the requests it took.
#include <cstdint>
#include <map>
#include <string>

#include "sim_config_state.h"
#include "sim_logs_state.h"
#include "sim_memory_state.h"
#include "sim_remote_state.h"
#include "sim_rights_state.h"
#include "sim_text_state.h"

namespace quorvane::sim {

struct SimController {
    std::uint32_t address = 0; // the address it answers from (host order)
    ConfigState config;
    RemoteState remote;
    RightsState rights;
    MemoryState memory;
    LogsState logs;
    TextState text;
    std::map<std::uint8_t, int> requests; // requests addressed to it, by command code

    // The id a request must carry to reach it (besides the id of every controller).
    std::uint16_t targetId() const;
};

// What a controller starts from, chosen on the command line.
struct ControllerSeed {
    int number = 1; // from 1
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    std::string namePrefix; // UTF-8
    int group = 1;
    bool extended = false;
    std::uint32_t rightMode = 1;  // D404: 0 stores 20-byte rights, others 24
    bool largeRights = false;     // option 3: rights hashed into FLASH pages first
    long logs = 0;                // log records it starts with
};

SimController makeController(const ControllerSeed& seed);

} // namespace quorvane::sim
