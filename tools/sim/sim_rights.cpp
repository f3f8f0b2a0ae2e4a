// The rights module: the rights a controller stores.
#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// Set 18, delete 20, check 22, clear 24, fetch 52, virtual card 114 and read one 116 are
// registered here as their handlers are written; until then each gets the general error reply.
void addCommands(CommandTable&) {}

void dump(const SimController& c, JsonWriter& out) {
    out.beginObject();
    out.field("count", c.rights.records.size());
    out.key("records").beginArray();
    for (const auto& r : c.rights.records)
        out.hex(asBytes(r));
    out.endArray();
    out.endObject();
}

} // namespace

const SimModule kRightsModule{"rights", addCommands, dump};

} // namespace quorvane::sim
