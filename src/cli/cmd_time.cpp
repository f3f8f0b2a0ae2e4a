// time get, time set: the controller's clock.
#include "commands.h"
#include "device_selection.h"
#include "session/remote_commands.h"

namespace quorvane::cli {

int cmdTimeGet(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return readTime(*session, device) == 0 ? kOk : kFailed;
}

} // namespace quorvane::cli

namespace quorvane::cli {

int cmdTimeSet(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return setTime(*session, device) == 0 ? kOk : kFailed;
}

} // namespace quorvane::cli
