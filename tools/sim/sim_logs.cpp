// The logs module: log records and cached identity documents.
#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// Record fetch 48, identity documents 84 and fill-log 241 are registered here as their
// handlers are written; until then each gets the general error reply.
void addCommands(CommandTable&) {}

Json dump(const SimController& c) {
    return {{"count", c.logs.records.size()},
            {"identityDocuments", c.logs.identityDocuments.size()}};
}

} // namespace

const SimModule kLogsModule{"logs", addCommands, dump};

} // namespace quorvane::sim
