#include "cli_context.h"
#include "commands.h"

namespace quorvane::cli {

// One line per command; the handlers live in one file per group of commands.
static const CliCommand kCommands[] = {
    {"decode", "frame", true, cmdDecodeFrame, "decode frame HEX"},
    {"search", "", false, cmdSearch,
     "search [--mcast] [--pipe] [--to ADDR] [--port N] [--iface IP] [--wait MS] [--json]"},
};

std::span<const CliCommand> cliCommands() { return kCommands; }

} // namespace quorvane::cli
