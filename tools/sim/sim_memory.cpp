// The memory module: firmware, EEPROM, FLASH and sound pages.
#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// Page read 32 and write 34, play sound 82, clear program 72 and firmware upgrade 128 are
// registered here as their handlers are written; until then each gets the general error reply.
void addCommands(CommandTable&) {}

Json dump(const SimController& c) {
    static const char* const kNames[kMemoryTypes] = {"firmware", "eeprom", "flash", "sound"};
    Json out = Json::object();
    for (std::size_t type = 0; type < kMemoryTypes; ++type)
        out[kNames[type]] = {{"pages", c.memory.pages[type].size()}};
    return out;
}

} // namespace

const SimModule kMemoryModule{"memory", addCommands, dump};

} // namespace quorvane::sim
