// One-shot control: open a door or switch a relay (16), restart (66).
#include "sim_commands.h"

namespace quorvane::sim {

namespace {
std::optional<SimReply> openDoor(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 3) return SimReply{kBadFormat, {}};
    int doorNo = r.payload[0];
    if (doorNo < 1 || doorNo > 4) return SimReply{kBadParameter, {}};
    c.lastOpenDoor = doorNo;
    c.lastOpenValue = (r.payload[1] << 8) | r.payload[2];
    return SimReply{1, {}};
}

std::optional<SimReply> restart(SimController& c, const SimRequest&) {
    ++c.restarts;
    return SimReply{1, {}};
}
} // namespace

void addControlCommands(CommandTable& table) {
    table.add(16, openDoor);
    table.add(66, restart);
}

} // namespace quorvane::sim
