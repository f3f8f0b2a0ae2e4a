#pragma once
// The simulator's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim_command_faults.h"

namespace quorvane::sim {

struct SimOptions {
    int count = 8;
    std::string firstAddress = "127.0.0.1";
    std::vector<std::string> addresses; // given explicitly; overrides count/first
    std::uint16_t port = 65534;
    std::string bindAddress = "0.0.0.0";
    std::string multicastGroup; // empty: no multicast
    std::uint16_t multicastPort = 3366;
    std::string multicastInterface; // required with a group
    std::string block = "basic";    // basic, extended or mixed
    std::string namePrefix = "门禁";
    int group = 1;
    std::uint32_t rightMode = 1; // the controllers' right record format (D404)
    bool largeRights = false;    // option 3 set: rights hashed into FLASH pages
    long logs = 0;               // log records every controller starts with
    double dropRate = 0;
    double duplicateRate = 0;
    double corruptRate = 0;
    int delayMs = 0;
    int rate = 0; // replies per second; 0: no limit
    std::uint32_t seed = 1;
    std::vector<CommandFault> faults; // --fault, in the order given
    std::string dumpPath;             // --dump; empty: no dumps
    bool allowRemote = false;
    bool verbose = false;
};

extern const char* const kSimHelp;

// The options, or nothing after printing the problem on standard error. help is set for --help.
std::optional<SimOptions> parseSimOptions(int argc, char** argv, bool& help);

} // namespace quorvane::sim
