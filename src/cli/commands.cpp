#include "cli_context.h"
#include "commands.h"

namespace quorvane::cli {

// One line per command; the handlers live in one file per group of commands.
static const CliCommand kCommands[] = {
    {"decode", "frame", true, cmdDecodeFrame, "decode frame HEX"},
};

std::span<const CliCommand> cliCommands() { return kCommands; }

} // namespace quorvane::cli
