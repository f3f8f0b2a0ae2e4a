// rights add|remove|check|clear|get|download|upload|copy|swipe: the rights dialog's
// operations on one controller (copy: from one to others), with the dialog's fields as options.
#include <ostream>

#include "commands.h"
#include "device_selection.h"
#include "rights/right_commands.h"
#include "rights/right_copy.h"
#include "rights/right_defaults.h"
#include "rights/right_download.h"
#include "rights/right_list_operations.h"
#include "rights/right_reads.h"
#include "rights/right_upload.h"
#include "rights_args.h"
#include "session/tool_session.h"

namespace quorvane::cli {

namespace {

int status(int rc) {
    return rc == 0 ? kOk : kFailed;
}

using ListOperation = RightBatchResult (*)(ToolSession&, const std::optional<DeviceUIInfo>&,
                                           const RightFields&);

int runList(CliContext& ctx, ListOperation operation) {
    OnlineSession session(ctx);
    auto fields = rightFieldsOf(ctx, session->clock());
    if (!fields)
        return kUsage;
    if (!addCardFile(ctx, *fields))
        return kFailed;
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return status(operation(*session, device, *fields).rc);
}

} // namespace

int cmdRightsAdd(CliContext& ctx) {
    return runList(ctx, addRights);
}
int cmdRightsRemove(CliContext& ctx) {
    return runList(ctx, removeRights);
}
int cmdRightsCheck(CliContext& ctx) {
    return runList(ctx, checkRights);
}

int cmdRightsClear(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onSelectedDevice(ctx, [](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return status(clearRights(s, d));
    });
}

int cmdRightsGet(CliContext& ctx) {
    long start = -1;
    if (!ctx.args.positionals().empty() || !ctx.args.has("--start") ||
        !numberOption(ctx, "--start", 0, 0xFFFFFFFFl, start))
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return status(readRightAt(s, d, start, ctx.args.has("--forward")).rc);
    });
}

int cmdRightsDownload(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        RightFields fields = readRightDefaults(s.settings(), s.clock());
        if (const std::string* card = ctx.args.value("--card"))
            fields.numbers = *card;
        return status(downloadRightsOrCard(s, d, fields));
    });
}

int cmdRightsUpload(CliContext& ctx) {
    if (ctx.args.positionals().size() != 1)
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return status(uploadRightFile(s, *d, callerPath(ctx, ctx.args.positionals()[0])).rc);
    });
}

int cmdRightsCopy(CliContext& ctx) {
    return onCopyDevices(ctx, [](ToolSession& s, CopyDevices& d) {
        return status(copyRights(s, {d.source}, d.targets));
    });
}

int cmdRightsSwipe(CliContext& ctx) {
    long reader = 0;
    if (ctx.args.positionals().size() != 1 || !ctx.args.has("--readers") ||
        !numberOption(ctx, "--readers", 0, 255, reader))
        return kUsage;
    RightFields fields;
    fields.numbers = ctx.args.positionals()[0];
    fields.readers = static_cast<unsigned>(reader);
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return status(simulateSwipe(s, d, fields));
    });
}

} // namespace quorvane::cli
