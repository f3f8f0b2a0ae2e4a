// rights add|remove|check|clear|get|download|upload|copy|swipe: the rights dialog's
// operations on one controller (copy: from one to others), with the dialog's fields as options.
#include <ostream>

#include "commands.h"
#include "device_selection.h"
#include "rights/right_commands.h"
#include "rights/right_copy.h"
#include "rights/right_download.h"
#include "rights/right_list_operations.h"
#include "rights/right_reads.h"
#include "rights/right_upload.h"
#include "rights_args.h"
#include "session/tool_session.h"

namespace quorvane::cli {

namespace {

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
    return operation(*session, device, *fields).rc == 0 ? kOk : kFailed;
}

int status(int rc) {
    return rc == 0 ? kOk : kFailed;
}

// The controller at ip, refreshed; nothing after the refresh's timeout text.
std::optional<DeviceUIInfo> refreshed(CliContext& ctx, ToolSession& session,
                                      const std::string& ip) {
    if (!platform::parseIpv4(ip)) {
        *ctx.err << "not an IPv4 address: " << ip << "\n";
        return std::nullopt;
    }
    auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(limits::kRefresh.wait);
    auto record = session.refreshDevice(ip, static_cast<int>(limit.count()));
    if (!record)
        ctx.port->showMessage(
            "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本"
            "地的数据。");
    return record;
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
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return status(clearRights(*session, device));
}

int cmdRightsGet(CliContext& ctx) {
    long start = -1;
    if (!ctx.args.positionals().empty() || !ctx.args.has("--start") ||
        !numberOption(ctx, "--start", 0, 0xFFFFFFFFl, start))
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return status(readRightAt(*session, device, start, ctx.args.has("--forward")).rc);
}

int cmdRightsDownload(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    if (const std::string* card = ctx.args.value("--card"))
        return status(readRightOfCard(*session, device, *card).rc);
    bool forward = ctx.settings->readInt("common", "serach-right-mode", 1) != 0;
    return status(downloadRights(*session, *device, forward, true).rc);
}

int cmdRightsUpload(CliContext& ctx) {
    if (ctx.args.positionals().size() != 1)
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    return status(
        uploadRightFile(*session, *device, callerPath(ctx, ctx.args.positionals()[0])).rc);
}

int cmdRightsCopy(CliContext& ctx) {
    const std::string* from = ctx.args.value("--from");
    auto to = ctx.args.values("--to");
    if (!ctx.args.positionals().empty() || !from || to.empty())
        return kUsage;
    OnlineSession session(ctx);
    auto source = refreshed(ctx, *session, *from);
    if (!source)
        return kFailed;
    std::vector<DeviceUIInfo> targets;
    for (const auto& ip : to) {
        auto target = refreshed(ctx, *session, ip);
        if (!target)
            return kFailed;
        targets.push_back(*target);
    }
    return status(copyRights(*session, {*source}, targets));
}

int cmdRightsSwipe(CliContext& ctx) {
    long reader = 0;
    if (ctx.args.positionals().size() != 1 || !ctx.args.has("--readers") ||
        !numberOption(ctx, "--readers", 0, 255, reader))
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    RightFields fields;
    fields.numbers = ctx.args.positionals()[0];
    fields.readers = static_cast<unsigned>(reader);
    return status(simulateSwipe(*session, device, fields));
}

} // namespace quorvane::cli
