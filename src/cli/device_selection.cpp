#include "device_selection.h"

#include <algorithm>
#include <ostream>

#include "infra/codepage.h"
#include "platform/udp_socket.h"

namespace quorvane::cli {

namespace {
constexpr const char* kTimeoutText =
    "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。";
} // namespace

OnlineSession::OnlineSession(CliContext& ctx) : session_(ctx.home, *ctx.port) {
    session_.log().setEcho(false);
    session_.start();
    session_.protocol().fillOpPassword(toGbk(ctx.opPassword));
    session_.setOneShotLimits(limits::kCommand);
}

OnlineSession::~OnlineSession() {
    session_.stop();
}

std::optional<DeviceUIInfo> selectDevice(CliContext& ctx, ToolSession& session, int& code) {
    const std::string* ip = ctx.args.value("--device");
    const std::string* file = ctx.args.value("--record");
    code = kUsage;
    if ((ip != nullptr) == (file != nullptr)) {
        *ctx.err << "choose the device with -d IP or --record FILE\n";
        return std::nullopt;
    }
    if (file) {
        DeviceUIInfo record;
        if (record.load(callerPath(ctx, *file)) != 0) {
            *ctx.err << "cannot read the record file " << *file << "\n";
            code = kFailed;
            return std::nullopt;
        }
        return record;
    }
    return refreshNamedDevice(ctx, session, *ip, code);
}

std::optional<DeviceUIInfo> refreshNamedDevice(CliContext& ctx, ToolSession& session,
                                               const std::string& ip, int& code) {
    code = kUsage;
    if (!platform::parseIpv4(ip)) {
        *ctx.err << "not an IPv4 address: " << ip << "\n";
        return std::nullopt;
    }
    auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(limits::kRefresh.wait);
    auto record = session.refreshDevice(ip, static_cast<int>(limit.count()));
    if (!record) {
        ctx.port->showMessage(kTimeoutText);
        code = kFailed;
        return std::nullopt;
    }
    if (record->ip != ip) {
        // The address asked is the one acted on: a record may name any address.
        *ctx.err << "the controller at " << ip << " names " << record->ip
                 << " in its record; acting on " << ip << "\n";
        record->ip = ip;
    }
    code = kOk;
    return record;
}

std::optional<CopyDevices> selectCopyDevices(CliContext& ctx, ToolSession& session, int& code) {
    code = kUsage;
    const std::string* from = ctx.args.value("--from");
    const auto to = ctx.args.values("--to");
    if (!from || to.empty())
        return std::nullopt;
    std::vector<std::string> all = to;
    all.push_back(*from);
    auto bad = std::find_if(all.begin(), all.end(),
                            [](const std::string& ip) { return !platform::parseIpv4(ip); });
    if (bad != all.end()) {
        *ctx.err << "not an IPv4 address: " << *bad << "\n";
        return std::nullopt;
    }
    CopyDevices devices;
    auto source = refreshNamedDevice(ctx, session, *from, code);
    if (!source)
        return std::nullopt;
    devices.source = *source;
    for (const auto& ip : to) {
        auto target = refreshNamedDevice(ctx, session, ip, code);
        if (!target)
            return std::nullopt;
        devices.targets.push_back(*target);
    }
    return devices;
}

} // namespace quorvane::cli
