#include "sim_command_table.h"

#include <stdexcept>
#include <string>

#include "sim_module.h"

namespace quorvane::sim {

CommandTable::CommandTable() {
    for (const SimModule* m : simModules())
        m->addCommands(*this);
}

void CommandTable::add(std::uint8_t command, SimHandler handler) {
    if (handlers_[command])
        throw std::logic_error("command " + std::to_string(command) + " registered twice");
    handlers_[command] = handler;
}

std::optional<CommandTable::Answer> CommandTable::answer(SimController& controller,
                                                         const SimRequest& request) const {
    if (!request.checksumOk)
        return Answer{kErrorReplyCode, SimReply{kBadChecksum, {}}};
    SimHandler h = handlers_[request.command];
    if (!h)
        return Answer{kErrorReplyCode, SimReply{kUnknownCommand, {}}};
    auto reply = h(controller, request);
    if (!reply)
        return std::nullopt;
    return Answer{static_cast<std::uint8_t>(request.command + 1), *reply};
}

} // namespace quorvane::sim
