// The text module: text commands and fingerprint templates.
#include "infra/codepage.h"
#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// Text command 148 and fingerprint template 42 are registered here as their handlers are
// written; until then each gets the general error reply.
void addCommands(CommandTable&) {}

Json dump(const SimController& c) {
    Json received = Json::array();
    for (const auto& text : c.text.received)
        received.push_back(fromGbk(text));
    return {{"received", std::move(received)}};
}

} // namespace

const SimModule kTextModule{"text", addCommands, dump};

} // namespace quorvane::sim
