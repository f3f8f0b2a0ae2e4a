// set485: an RS-485 reader's flag through a serial port of this computer (no network).
#include <ostream>

#include "commands.h"
#include "remote/set485_reader.h"

namespace quorvane::cli {

int cmdSet485(CliContext& ctx) {
    const std::string* serial = ctx.args.value("--serial");
    long com = 0, flag = 0;
    if (!ctx.args.positionals().empty() || !serial || !ctx.args.has("--com") ||
        !ctx.args.has("--flag")) {
        *ctx.err << "options --com, --serial and --flag are required\n";
        return kUsage;
    }
    if (!numberOption(ctx, "--com", 1, 255, com) || !numberOption(ctx, "--flag", 1, 255, flag))
        return kUsage;
    Set485Request request;
    request.serial = *serial;
    request.comNumber = static_cast<int>(com);
    request.flag = static_cast<int>(flag);
    return setReaderFlag(*ctx.settings, *ctx.port, request) == 0 ? kOk : kFailed;
}

} // namespace quorvane::cli
