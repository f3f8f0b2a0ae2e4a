// Configuration: the detail text, the basic-configuration save, the door-access block (show,
// backup file, restore from one) and its copy between controllers.
#include <ostream>

#include "commands.h"
#include "config/config_save.h"
#include "config/device_detail.h"
#include "config/door_config.h"
#include "config_json.h"
#include "device_selection.h"
#include "infra/codepage.h"
#include "json_report.h"
#include "model/config_text.h"
#include "model/record_file.h"
#include "operation_exit.h"
#include "platform/udp_socket.h"
#include "protocol/admin_channel.h"
#include "session/batch_runner.h"
#include "session/host_service.h"

namespace quorvane::cli {

namespace {

constexpr std::size_t kNameBytes = 15;

// The status text the main window shows in its service group.
std::string serviceState(CliContext& ctx) {
    return serviceStatusText(HostService(ctx.home, *ctx.port).isRunning());
}

// A text option: true when absent or valid (out set); false after printing why.
bool addressOption(CliContext& ctx, std::string_view name, std::string& out) {
    const std::string* text = ctx.args.value(name);
    if (!text)
        return true;
    if (!platform::parseIpv4(*text)) {
        *ctx.err << "option " << name << " takes a dotted IPv4 address, not " << *text << "\n";
        return false;
    }
    out = *text;
    return true;
}

template <class T>
bool numberField(CliContext& ctx, std::string_view name, long lo, long hi, T& out) {
    long v = static_cast<long>(out);
    if (!numberOption(ctx, name, lo, hi, v))
        return false;
    out = static_cast<T>(v);
    return true;
}

// The record's fields with the options given on top of them.
bool fieldsFromOptions(CliContext& ctx, BasicConfigFields& f) {
    if (const std::string* name = ctx.args.value("--name")) {
        if (gbkLength(*name) > kNameBytes) {
            *ctx.err << "option --name takes at most " << kNameBytes << " bytes (GBK)\n";
            return false;
        }
        f.name = *name;
    }
    if (const std::string* mac = ctx.args.value("--mac")) {
        if (!isMacText(*mac)) {
            *ctx.err << "option --mac takes six hexadecimal parts joined by '.', not " << *mac
                     << "\n";
            return false;
        }
        f.mac = *mac;
    }
    return addressOption(ctx, "--ip", f.ip) && addressOption(ctx, "--mask", f.mask) &&
           addressOption(ctx, "--gateway", f.gateway) &&
           addressOption(ctx, "--host-ip", f.hostAddress) &&
           addressOption(ctx, "--server-ip", f.serverAddress) &&
           numberField(ctx, "--host-port", 0, 65535, f.hostPort) &&
           numberField(ctx, "--server-port", 0, 65535, f.serverPort) &&
           numberField(ctx, "--group", 0, 255, f.groupNo) &&
           numberField(ctx, "--number", 0, 255, f.deviceNo) &&
           numberField(ctx, "--report-mode", 0, 2, f.reportMode) &&
           numberField(ctx, "--ip-alloc", 0, 2, f.ipAlloc);
}

// Where a broadcast save goes: the search destination of the mode the settings name, as the
// window has it. Multicast leaves only through the chosen interface.
std::optional<SearchTarget> broadcastDestination(CliContext& ctx, ToolSession& session) {
    const bool multicast = ctx.settings->readInt("net", "enable-mcast", 1) != 0;
    SearchTarget to = session.channel().configuredSearchTarget(multicast);
    if (!multicast)
        return to;
    const std::string iface = ctx.settings->readString("net", "mcast-local-address");
    if (!platform::parseIpv4(iface)) {
        ctx.port->showMessage("首次使用，请选择要搜索控制器的网络接口！");
        return std::nullopt;
    }
    session.channel().chooseInterface(iface);
    return to;
}

} // namespace

int cmdDetail(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    return onSelectedDevice(ctx, [&](ToolSession& s, const std::optional<DeviceUIInfo>& d) {
        const std::string service = serviceState(ctx);
        if (ctx.json) {
            ctx.json->document()["service"] = service;
            ctx.json->document()["device"] = deviceJson(*d);
        }
        return operationExitCode(showDevDetailInfo(s, d, service, ctx.args.has("--file")));
    });
}

int cmdSave(CliContext& ctx) {
    if (!ctx.args.positionals().empty() ||
        (ctx.args.has("--broadcast") && ctx.args.has("--broadcast-all")))
        return kUsage;
    // The command's own --op-password is the same box as the common one: it fills every frame
    // and is saved as the controller's operation password.
    if (const std::string* pw = ctx.args.value("--op-password"))
        ctx.opPassword = *pw;
    BasicConfigFields probe;
    if (!fieldsFromOptions(ctx, probe))
        return kUsage;

    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    BasicConfigFields fields = basicFieldsOf(*device);
    fieldsFromOptions(ctx, fields);
    fields.opPassword = ctx.opPassword;

    SaveMode mode = SaveMode::ToDevice;
    SearchTarget to;
    if (ctx.args.has("--broadcast") || ctx.args.has("--broadcast-all")) {
        mode = ctx.args.has("--broadcast") ? SaveMode::BroadcastToDevice : SaveMode::BroadcastToAll;
        auto destination = broadcastDestination(ctx, *session);
        if (!destination)
            return kFailed;
        if (!destination->multicast && !confirmBroadcastSave(*ctx.port))
            return kAnsweredNo;
        to = *destination;
    }
    return operationExitCode(SaveConfigImpl(*session, device, fields, mode, to));
}

int cmdDoorConfig(CliContext& ctx) {
    const std::string* backup = ctx.args.value("--backup");
    const std::string* restore = ctx.args.value("--restore");
    if (!ctx.args.positionals().empty() ||
        int(ctx.args.has("--show")) + int(backup != nullptr) + int(restore != nullptr) != 1)
        return kUsage;
    OnlineSession session(ctx);
    int code = kOk;
    auto device = selectDevice(ctx, *session, code);
    if (!device)
        return code;
    if (ctx.args.has("--show")) {
        if (ctx.json)
            ctx.json->document()["door"] = doorBlockJson(device->doorConfig);
        else
            *ctx.out << doorBlockText(device->doorConfig) << std::flush;
        return kOk;
    }
    if (backup) {
        const std::string message = saveDoorBackup(callerPath(ctx, *backup), device->doorConfig);
        ctx.port->showMessage(message);
        return message == "保存成功！" ? kOk : kFailed;
    }
    if (!restore)
        return kUsage;
    // The file's 392 bytes go over D32..D423 of the refreshed block as they are.
    const std::string path = callerPath(ctx, *restore);
    DoorConfigSteps steps;
    steps.dialog = [&](DoorBlock& working) {
        bool ok = false;
        std::string message = loadDoorBackup(path, working, ok);
        if (!ok)
            ctx.port->showMessage(message);
        return ok;
    };
    auto outcome = editDoorConfig(*session, device, true, steps);
    return outcome.result == kOperationDone ? kOk : kFailed;
}

int cmdCopyConfig(CliContext& ctx) {
    return onCopyDevices(ctx, [&ctx](ToolSession& s, CopyDevices& d) {
        // Every target was refreshed at its checked address, so each is one item of the batch.
        std::vector<std::string> names;
        for (const auto& target : d.targets)
            names.push_back(target.ip);
        BatchResult batch;
        const int result = copyDoorConfig(s, d.source, d.targets, &batch);
        if (ctx.json)
            putBatch(ctx.json->document(), batch, names);
        return operationExitCode(result);
    });
}

} // namespace quorvane::cli
