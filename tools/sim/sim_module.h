#pragma once
// The state modules, one per group of commands. Each owns one part of a controller's state
// (see SimController), answers the commands of its group, and writes its part of the dump.
// A new command goes into its module's file: a handler, and one line in that module's
// addCommands that registers it under its request code.
#include <span>

#include "sim_json.h"

namespace quorvane::sim {

class CommandTable;
struct SimController;

struct SimModule {
    const char* name; // its key in each controller's entry of the dump
    void (*addCommands)(CommandTable& table);
    Json (*dump)(const SimController& controller); // one JSON object
};

extern const SimModule kConfigModule; // sim_config.cpp
extern const SimModule kRemoteModule; // sim_remote.cpp
extern const SimModule kRightsModule; // sim_rights.cpp
extern const SimModule kMemoryModule; // sim_memory.cpp
extern const SimModule kLogsModule;   // sim_logs.cpp
extern const SimModule kTextModule;   // sim_text.cpp

// Every module, in the order of the dump.
std::span<const SimModule* const> simModules();

} // namespace quorvane::sim
