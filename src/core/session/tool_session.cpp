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
    Impl(std::string dir, UserPort& userPort)
        : programDir(std::move(dir)),
          port(userPort),
          settings(programDir),
          startup(readStartupValues(settings)),
          log(static_cast<std::uint64_t>(startup.logFileMaxSizeMiB) * 1048576ull),
          dispatcher(&log, settings.resolve(".\\data"),
                     [this](const std::string& text) { port.showNotice(text); }),
          devices(listOptions(settings)),
          channel(settings, dispatcher, startup.mcastDevAdminPort,
                  settings.readInt("net", "common-dev-admin-port", startup.commonDevAdminPort)),
          pipe(settings, dispatcher, devices, &port),
          replies(dispatcher, devices,
                  static_cast<std::uint16_t>(channel.multicastDevicePort())) {
        channel.setPipe(&pipe);
    }

    std::string programDir;
    UserPort& port;
    Settings settings;
    StartupValues startup;
    ToolLog log;
    ProtocolState protocol;
    ReplyDispatcher dispatcher;
    DeviceList devices;
    AdminChannel channel;
    Pipe_Thread_Pool pipe;
    SearchReplyHandler replies;
    bool aceStarted = false;
    bool stopped = false;
};

ToolSession::ToolSession(std::string programDir, UserPort& port)
    : impl_(std::make_unique<Impl>(std::move(programDir), port)) {}

ToolSession::~ToolSession() {
    stop();
    // The pipe task still talks to the library's thread manager while it is destroyed: the
    // library ends only after the session's objects are gone.
    bool aceStarted = impl_->aceStarted;
    impl_.reset();
    if (aceStarted) ACE::fini();
}

int ToolSession::start() {
    auto& i = *impl_;
    platform::makeDirectories(i.settings.resolve(".\\log"));
    // Error captures of bad replies go here; without the folder they would be lost.
    platform::makeDirectories(i.settings.resolve(".\\data"));
    i.log.openToolLog(i.settings.resolve(".\\log\\" + std::string(kToolLogName)));
    int rc = i.channel.initAdminSocket();
    if (rc != 0) i.port.showNotice("初始化网络失败！" + i.channel.lastError());
    i.channel.startReceiveThread();
    if (!i.aceStarted && ACE::init() != -1) i.aceStarted = true;
    i.pipe.start();
    i.stopped = false;
    return rc == 0 ? 0 : rc;
}

void ToolSession::stop() {
    auto& i = *impl_;
    if (i.stopped) return;
    i.stopped = true;
    i.pipe.close();
    i.pipe.wait();
    i.channel.closeAdminSocket();
    i.log.closeToolLog();
}

Settings& ToolSession::settings() { return impl_->settings; }
ToolLog& ToolSession::log() { return impl_->log; }
ProtocolState& ToolSession::protocol() { return impl_->protocol; }
ReplyDispatcher& ToolSession::dispatcher() { return impl_->dispatcher; }
DeviceList& ToolSession::devices() { return impl_->devices; }
AdminChannel& ToolSession::channel() { return impl_->channel; }
Pipe_Thread_Pool& ToolSession::pipe() { return impl_->pipe; }
UserPort& ToolSession::port() { return impl_->port; }
const std::string& ToolSession::programDir() const { return impl_->programDir; }

bool ToolSession::search(const SearchRequest& request) {
    auto& i = *impl_;
    if (!i.devices.tryClear()) return false;
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
    i.channel.sendto_log(frame, 0, destination, kRouteUdp, kSearchPipeTimeoutMs, 0);
    i.pipe.sendPipe(frame, "", "", kSearchPipeTimeoutMs, 1);
    return true;
}

void ToolSession::setListChangedCallback(std::function<void()> callback) {
    impl_->replies.setListChangedCallback(std::move(callback));
}

std::optional<DeviceUIInfo> ToolSession::refreshDevice(const std::string& ip, int timeoutMs) {
    return refreshOnce(kAnyTarget, ip, std::nullopt, timeoutMs);
}

std::optional<DeviceUIInfo> ToolSession::refreshOnce(std::uint16_t target, const std::string& ip,
                                                     const std::optional<DeviceUIInfo>& device,
                                                     int timeoutMs) {
    auto& i = *impl_;
    Frame33 frame{};
    buildFrameHeader(frame, target, 2, i.protocol);
    finishFrame(frame, 0);
    auto destination = i.channel.prepareDevAddress(ip, device);
    if (!destination) return std::nullopt;
    i.replies.armRefresh();
    i.channel.sendto_log(frame, 0, *destination, kRouteByDevice, 0, 1);
    return i.replies.awaitRefresh(std::chrono::milliseconds(timeoutMs),
                                  [&i] { i.port.pumpEvents(); });
}

int ToolSession::refreshSelected(const std::optional<DeviceUIInfo>& selected, bool showErrors,
                                 DeviceUIInfo* refreshed) {
    auto& i = *impl_;
    if (i.settings.readInt("options", "get-config-before-show", 1) == 0) return 0;
    if (!selected) {
        if (showErrors) i.port.showMessage("请选择要操作的设备！");
        return -1;
    }
    if (selected->ip.empty()) {
        i.port.showMessage("设备地址非法！请选择设备记录！");
        return -1;
    }
    // Ten polls of 100 ms: a second, ended at once by the reply.
    auto record = refreshOnce(selected->getTargetId(), selected->ip, selected, 1000);
    if (record) {
        if (refreshed) *refreshed = *record;
        return 0;
    }
    if (showErrors)
        i.port.showMessage("设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。");
    return 1;
}

void ToolSession::setCurrentDevice(std::optional<DeviceUIInfo> device) {
    impl_->channel.setCurrentDevice(std::move(device));
}

std::optional<DeviceUIInfo> ToolSession::currentDevice() const {
    return impl_->channel.currentDevice();
}

} // namespace quorvane
