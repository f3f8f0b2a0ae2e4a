#include "session/tool_session.h"

#include <atomic>
#include <mutex>

#include <ace/Init_ACE.h>

#include "platform/files.h"
#include "protocol/admin_channel.h"
#include "protocol/pipe_channel.h"
#include "session/search_reply.h"

namespace quorvane {

namespace {
constexpr int kSearchPipeTimeoutMs = 3000;

DeviceListOptions listOptions(const Settings& s) {
    DeviceListOptions o;
    o.unique = s.readInt("net", "unique-dev-list", 1) != 0;
    o.sortKey = s.readInt("options", "sort-dev-list", 1);
    return o;
}
} // namespace

struct ToolSession::Impl {
    Impl(std::string dir, UserPort& userPort, Clock& clockIn)
        : programDir(std::move(dir)), port(userPort), clock(clockIn), settings(programDir),
          startup(readStartupValues(settings)),
          log(static_cast<std::uint64_t>(startup.logFileMaxSizeMiB) * 1048576ull),
          dispatcher(
              &log, settings.resolve(".\\data"),
              [this](const std::string& text) { port.showNotice(text); }, clock),
          devices(listOptions(settings)),
          channel(settings, dispatcher, startup.mcastDevAdminPort,
                  settings.readInt("net", "common-dev-admin-port", startup.commonDevAdminPort)),
          pipe(settings, dispatcher, pipeHooks()),
          replies(dispatcher, devices, static_cast<std::uint16_t>(channel.multicastDevicePort())),
          exchange(channel, dispatcher, protocol, clock, &port,
                   settings.readInt("net", "match-reply-sequence", 0) != 0),
          batch(exchange, port, dispatcher) {
        channel.setPipe(&pipe);
    }

    PipeHooks pipeHooks() {
        PipeHooks h;
        h.updateText = [this] { return devices.pipeUpdateText(); };
        h.beginBusy = [this] { port.beginBusy(); };
        h.endBusy = [this] { port.endBusy(); };
        return h;
    }

    std::string programDir;
    UserPort& port;
    Clock& clock;
    Settings settings;
    StartupValues startup;
    ToolLog log;
    ProtocolState protocol;
    ReplyDispatcher dispatcher;
    DeviceList devices;
    AdminChannel channel;
    Pipe_Thread_Pool pipe;
    SearchReplyHandler replies;
    Exchange exchange;
    BatchRunner batch;
    mutable std::mutex currentMutex;
    std::optional<DeviceUIInfo> current;
    ExchangeLimits oneShot = limits::kSendOnly;
    bool aceStarted = false;
    bool stopped = false;
};

ToolSession::ToolSession(std::string programDir, UserPort& port, Clock* clock)
    : impl_(std::make_unique<Impl>(std::move(programDir), port, clock ? *clock : systemClock())) {}

ToolSession::~ToolSession() {
    stop();
    // The pipe task still talks to the library's thread manager while it is destroyed: the
    // library ends only after the session's objects are gone.
    bool aceStarted = impl_->aceStarted;
    impl_.reset();
    if (aceStarted)
        ACE::fini();
}

int ToolSession::start() {
    auto& i = *impl_;
    platform::makeDirectories(i.settings.resolve(".\\log"));
    // Error captures of bad replies go here; without the folder they would be lost.
    platform::makeDirectories(i.settings.resolve(".\\data"));
    i.log.openToolLog(i.settings.resolve(".\\log\\" + std::string(kToolLogName)));
    int rc = i.channel.initAdminSocket();
    if (rc != 0)
        i.port.showNotice("初始化网络失败！" + i.channel.lastError());
    i.channel.startReceiveThread();
    if (!i.aceStarted && ACE::init() != -1)
        i.aceStarted = true;
    i.pipe.start();
    i.stopped = false;
    return rc == 0 ? 0 : rc;
}

void ToolSession::stop() {
    auto& i = *impl_;
    if (i.stopped)
        return;
    i.stopped = true;
    i.pipe.close();
    i.pipe.wait();
    i.channel.closeAdminSocket();
    i.log.closeToolLog();
}

Settings& ToolSession::settings() {
    return impl_->settings;
}
ToolLog& ToolSession::log() {
    return impl_->log;
}
ProtocolState& ToolSession::protocol() {
    return impl_->protocol;
}
ReplyDispatcher& ToolSession::dispatcher() {
    return impl_->dispatcher;
}
DeviceList& ToolSession::devices() {
    return impl_->devices;
}
AdminChannel& ToolSession::channel() {
    return impl_->channel;
}
Pipe_Thread_Pool& ToolSession::pipe() {
    return impl_->pipe;
}
UserPort& ToolSession::port() {
    return impl_->port;
}
Clock& ToolSession::clock() {
    return impl_->clock;
}
const Exchange& ToolSession::exchange() {
    return impl_->exchange;
}
const BatchRunner& ToolSession::batchRunner() {
    return impl_->batch;
}
void ToolSession::setOneShotLimits(const ExchangeLimits& limits) {
    impl_->oneShot = limits;
}
ExchangeLimits ToolSession::oneShotLimits() const {
    return impl_->oneShot;
}
std::uint16_t ToolSession::devicePort() const {
    return impl_->channel.devicePort();
}
const std::string& ToolSession::programDir() const {
    return impl_->programDir;
}

bool ToolSession::search(const SearchRequest& request) {
    auto& i = *impl_;
    if (!i.devices.tryClear())
        return false;
    if (request.multicast && !platform::parseIpv4(request.interfaceAddress)) {
        // Multicast leaves only through a chosen interface; without one nothing is sent.
        i.port.showMessage("首次使用，请选择要搜索控制器的网络接口！");
        return false;
    }
    i.devices.setListServiceDevices(request.listServiceDevices);
    i.pipe.setListServiceDevices(request.listServiceDevices);

    const Ipv4Endpoint destination{request.searchAddress, request.port};
    i.channel.setSearchDestination(destination);
    if (request.multicast) {
        if (request.remember) {
            i.settings.writeString("net", "mcast-broadcast-address",
                                   std::to_string(request.searchAddress));
            i.settings.writeString("net", "mcast-dev-admin-port", std::to_string(request.port));
        }
        i.replies.setMulticastPort(request.port);
        i.channel.chooseInterface(request.interfaceAddress, request.remember);
    } else {
        if (i.channel.initAdminSocket(request.interfaceAddress) != 0)
            i.port.showNotice("初始化网络失败！" + i.channel.lastError());
        i.channel.setDevicePort(request.port);
        if (request.remember) {
            // Unsigned decimal like the multicast address; the integer reader wraps it back.
            i.settings.writeString("net", "common-broadcast-address",
                                   std::to_string(request.searchAddress));
            i.settings.writeString("net", "common-dev-admin-port", std::to_string(request.port));
        }
        i.replies.setMulticastPort(i.channel.multicastDevicePort());
    }

    Frame33 frame{};
    buildFrameHeader(frame, kAnyTarget, 2, i.protocol);
    finishFrame(frame, 0);
    i.channel.sendto_log(frame, 0, broadcastTarget(destination, request.multicast, kAnyTarget),
                         kRouteUdp, kSearchPipeTimeoutMs, 0);
    i.pipe.sendPipe(frame, "", "", kSearchPipeTimeoutMs, 1);
    return true;
}

void ToolSession::setListChangedCallback(std::function<void()> callback) {
    impl_->replies.setListChangedCallback(std::move(callback));
}

DeviceTarget ToolSession::targetOf(const DeviceUIInfo& record) const {
    return quorvane::targetOf(record, devicePort());
}

std::optional<DeviceTarget> ToolSession::prepareDevAddress(const std::string& addressText,
                                                           const DeviceUIInfo* device) {
    return quorvane::prepareDevAddress(addressText, device, devicePort(), &impl_->port);
}

std::optional<DeviceUIInfo> ToolSession::refreshDevice(const std::string& ip, int timeoutMs) {
    auto target = quorvane::prepareDevAddress(ip, nullptr, devicePort(), nullptr);
    if (!target)
        return std::nullopt;
    return refreshOnce(*target, std::chrono::milliseconds(timeoutMs));
}

std::optional<DeviceUIInfo> ToolSession::refreshOnce(const DeviceTarget& target,
                                                     Clock::Duration wait) {
    auto& i = *impl_;
    ExchangeRequest request;
    request.target = target;
    request.command = 2;
    // The fresh record replaces the selected one; it does not enter the list.
    request.consume = true;
    auto outcome = i.exchange.run(request, ExchangeLimits{wait, 1});
    if (!outcome.answered() || outcome.reply->code != 3)
        return std::nullopt;
    const auto& r = *outcome.reply;
    return i.replies.decode(r.frame, r.source, r.viaUdp);
}

int ToolSession::refreshSelected(const std::optional<DeviceUIInfo>& selected, bool showErrors,
                                 DeviceUIInfo* refreshed) {
    auto& i = *impl_;
    if (i.settings.readInt("options", "get-config-before-show", 1) == 0)
        return 0;
    if (!selected) {
        if (showErrors)
            i.port.showMessage("请选择要操作的设备！");
        return -1;
    }
    auto target = prepareDevAddress(selected->ip, &*selected);
    if (!target)
        return -1;
    auto record = refreshOnce(*target, limits::kRefresh.wait);
    if (record) {
        if (refreshed)
            *refreshed = *record;
        return 0;
    }
    if (showErrors)
        i.port.showMessage(
            "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。");
    return 1;
}

void ToolSession::setCurrentDevice(std::optional<DeviceUIInfo> device) {
    std::lock_guard l(impl_->currentMutex);
    impl_->current = std::move(device);
}

std::optional<DeviceUIInfo> ToolSession::currentDevice() const {
    std::lock_guard l(impl_->currentMutex);
    return impl_->current;
}

} // namespace quorvane
