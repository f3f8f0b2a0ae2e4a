// rights add|remove|check|clear|get|download|upload|copy|swipe: the rights dialog's
// operations on one controller (copy: from one to others), with the dialog's fields as options.
#include <ostream>

#include "commands.h"
#include "device_selection.h"
#include "json_report.h"
#include "rights/card_list.h"
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
    const RightBatchResult result = operation(*session, device, *fields);
    if (ctx.json)
        putBatch(ctx.json->document(), result);
    return status(result.rc);
}

// The right read, as its text form; null when none came or it has no card.
nlohmann::ordered_json rightJson(const RightReadResult& read) {
    return read.line.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(read.line);
}

// The download of every right (or of the one card of --card) as data; the file is written as
// the window writes it.
int downloadAsJson(CliContext& ctx, ToolSession& s, const DeviceUIInfo& device,
                   const RightFields& fields) {
    auto& document = ctx.json->document();
    if (!wholeCard(fields.numbers).empty()) {
        const RightReadResult read = readRightOfCard(s, device, fields.numbers);
        document["card"] = fields.numbers;
        document["right"] = rightJson(read);
        return status(read.rc);
    }
    const DownloadResult result = downloadRights(s, device, fields.searchForward, true);
    document["complete"] = result.rc == 0;
    document["cancelled"] = result.cancelled;
    document["count"] = result.lines.size();
    document["rights"] = result.lines;
    if (!result.file.empty())
        document["file"] = result.file;
    return status(result.rc);
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
        const RightReadResult read = readRightAt(s, d, start, ctx.args.has("--forward"));
        if (ctx.json) {
            ctx.json->document()["position"] = start;
            ctx.json->document()["right"] = rightJson(read);
        }
        return status(read.rc);
    });
}

int cmdRightsDownload(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        RightFields fields = readRightDefaults(s.settings(), s.clock());
        if (const std::string* card = ctx.args.value("--card"))
            fields.numbers = *card;
        if (ctx.json)
            return downloadAsJson(ctx, s, *d, fields);
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
