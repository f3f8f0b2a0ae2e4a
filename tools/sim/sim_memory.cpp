// The memory module: firmware, EEPROM, FLASH and sound pages.
#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// Page read 32 and write 34, play sound 82, clear program 72 and firmware upgrade 128 are
// registered here as their handlers are written; until then each gets the general error reply.
void addCommands(CommandTable&) {}

void dump(const SimController& c, JsonWriter& out) {
    static const char* const kNames[kMemoryTypes] = {"firmware", "eeprom", "flash", "sound"};
    out.beginObject();
    for (std::size_t type = 0; type < kMemoryTypes; ++type) {
        out.key(kNames[type]).beginObject();
        out.field("pages", c.memory.pages[type].size());
        out.endObject();
    }
    out.endObject();
}

} // namespace

const SimModule kMemoryModule{"memory", addCommands, dump};

} // namespace quorvane::sim
