// time get, time set: the controller's clock.
#include "commands.h"
#include "device_selection.h"
#include "json_report.h"
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
    return onClock(ctx, [&ctx](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        std::string time;
        const int rc = readTime(s, d, &time);
        if (ctx.json && rc == 0)
            ctx.json->document()["time"] = time;
        return rc;
    });
}

int cmdTimeSet(CliContext& ctx) {
    return onClock(ctx, setTime);
}

} // namespace quorvane::cli
