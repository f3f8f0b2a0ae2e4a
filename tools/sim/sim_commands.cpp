#include "sim_commands.h"

namespace quorvane::sim {

CommandTable::CommandTable() {
    addInfoCommands(*this);
    addConfigCommands(*this);
    addTimeCommands(*this);
    addControlCommands(*this);
}

std::optional<CommandTable::Answer> CommandTable::answer(SimController& controller,
                                                         const SimRequest& request) const {
    if (!request.checksumOk) return Answer{kErrorReplyCode, SimReply{kBadChecksum, {}}};
    SimHandler h = handlers_[request.command];
    if (!h) return Answer{kErrorReplyCode, SimReply{kUnknownCommand, {}}};
    auto reply = h(controller, request);
    if (!reply) return std::nullopt;
    return Answer{static_cast<std::uint8_t>(request.command + 1), *reply};
}

} // namespace quorvane::sim
