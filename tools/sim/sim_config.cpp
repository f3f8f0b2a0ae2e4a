// The door-access configuration: read (12) and write (14).
#include <algorithm>

#include "model/door_block.h"
#include "sim_commands.h"

namespace quorvane::sim {

namespace {
std::optional<SimReply> readConfig(SimController& c, const SimRequest&) {
    const auto& b = c.record.doorConfig;
    return SimReply{1, std::string(reinterpret_cast<const char*>(b.data()), b.size())};
}

// The counters at the front of the block are the controller's own; a write sets the rest.
std::optional<SimReply> writeConfig(SimController& c, const SimRequest& r) {
    if (r.payload.size() != kDoorBlockSize) return SimReply{0, {}};
    std::copy(r.payload.begin() + door::kSerialPorts, r.payload.end(),
              c.record.doorConfig.begin() + door::kSerialPorts);
    return SimReply{1, {}};
}
} // namespace

void addConfigCommands(CommandTable& table) {
    table.add(12, readConfig);
    table.add(14, writeConfig);
}

} // namespace quorvane::sim
