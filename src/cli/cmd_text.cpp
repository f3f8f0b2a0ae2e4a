// text, finger, preset: text commands to one controller or many (variables filled in per
// target, in the order the -d options name them), the fingerprint template, the three presets.
#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "commands.h"
#include "device_selection.h"
#include "json_report.h"
#include "session/batch_runner.h"
#include "session/device_command.h"
#include "textcmd/text_commands.h"

namespace quorvane::cli {

namespace {

int exitCodeOf(int result) {
    return result == 0 ? kOk : kFailed;
}

// The controllers of the -d options, refreshed, in the order given.
std::optional<std::vector<DeviceUIInfo>> textTargets(CliContext& ctx, ToolSession& session,
                                                     int& code) {
    std::vector<DeviceUIInfo> targets;
    for (const std::string& ip : ctx.args.values("--device")) {
        auto device = refreshNamedDevice(ctx, session, ip, code);
        if (!device)
            return std::nullopt;
        if (!textTargetAllowed(*device)) {
            *ctx.err << "the controller at " << ip << " has the id " << device->getTargetId()
                     << ", which takes no text commands\n";
            code = kFailed;
            return std::nullopt;
        }
        targets.push_back(*device);
    }
    return targets;
}

} // namespace

int cmdText(CliContext& ctx) {
    const std::string* command = ctx.args.value("--cmd");
    if (!ctx.args.positionals().empty() || ctx.args.values("--device").empty() || !command)
        return kUsage;
    if (command->empty()) {
        ctx.port->showMessage("文本指令不能为空！");
        return kUsage;
    }
    OnlineSession session(ctx);
    int code = kOk;
    auto targets = textTargets(ctx, *session, code);
    if (!targets)
        return code;
    TextRun run{*command, std::move(*targets), std::nullopt};
    if (ctx.args.has("--broadcast")) {
        const bool multicast = ctx.settings->readInt("net", "enable-mcast", 1) != 0;
        run.broadcast = session->channel().configuredSearchTarget(multicast);
    }
    // Every target was refreshed at its checked address, so each is one item of the batch.
    std::vector<std::string> names;
    for (const auto& target : run.targets)
        names.push_back(target.ip);
    const BatchResult result = runTextCommand(*session, run, textRandom(session->clock()));
    if (ctx.json)
        putBatch(ctx.json->document(), result, names);
    if (!result.givenUp.empty())
        ctx.port->showMessage(kSilentDeviceText);
    return result.allSucceeded() ? kOk : kFailed;
}

int cmdFinger(CliContext& ctx) {
    if (ctx.args.positionals().size() != 1)
        return kUsage;
    const std::string file = callerPath(ctx, ctx.args.positionals()[0]);
    if (ctx.json)
        ctx.json->document()["file"] = file;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return exitCodeOf(uploadFingerTemplate(s, d, file));
    });
}

int cmdPreset(CliContext& ctx) {
    const auto& words = ctx.args.positionals();
    if (words.size() != 1 || words[0].size() != 1 || words[0][0] < '1' || words[0][0] > '3')
        return kUsage;
    const int preset = words[0][0] - '0';
    if (ctx.json)
        ctx.json->document()["preset"] = preset;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        return exitCodeOf(sendTextPreset(s, d, preset));
    });
}

} // namespace quorvane::cli
