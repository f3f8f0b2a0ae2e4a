// time get, time set: the controller's clock.
#include "commands.h"
#include "device_selection.h"
#include "remote/remote_commands.h"

namespace quorvane::cli {

namespace {

template <class Operation> int onClock(CliContext& ctx, Operation operation) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return operation(s, d) == 0 ? kOk : kFailed;
    });
}

} // namespace

int cmdTimeGet(CliContext& ctx) {
    return onClock(ctx, readTime);
}

int cmdTimeSet(CliContext& ctx) {
    return onClock(ctx, setTime);
}

} // namespace quorvane::cli
