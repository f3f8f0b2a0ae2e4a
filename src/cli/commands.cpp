#include "cli_context.h"
#include "commands.h"

namespace quorvane::cli {

// One line per command; the handlers live in one file per group of commands.
static const CliCommand kCommands[] = {
    {"decode", "frame", true, cmdDecodeFrame, "decode frame HEX"},
    {"decode", "record", true, cmdDecodeRecord, "decode record HEX [--seq N] [--three-byte]"},
    {"decode", "right", true, cmdDecodeRight, "decode right HEX [--seq N] [--three-byte]"},
    {"decode", "status", true, cmdDecodeStatus, "decode status WORD [--multi-line]"},
    {"decode", "idcard", true, cmdDecodeIdcard, "decode idcard HEX"},
    {"card", "check", true, cmdCardCheck, "card check NUMBER"},
    {"card", "parse", true, cmdCardParse, "card parse TEXT..."},
    {"card", "convert", true, cmdCardConvert, "card convert [--force] [--reverse] TEXT..."},
    {"right-text", "parse", true, cmdRightTextParse, "right-text parse LINE"},
};

std::span<const CliCommand> cliCommands() { return kCommands; }

} // namespace quorvane::cli
