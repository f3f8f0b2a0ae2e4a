#include "protocol/admin_channel.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include "infra/settings.h"
#include "platform/interfaces.h"
#include "protocol/pipe_channel.h"
#include "protocol/reply_dispatch.h"

namespace quorvane {

namespace {
constexpr std::size_t kReceiveBufferSize = 20000;
// Datagrams taken off the socket with one call.
constexpr std::size_t kBatchSlots = 64;
// Datagrams received but not yet handled; a burst of ten thousand replies is a few megabytes.
constexpr std::size_t kQueuedBytesLimit = std::size_t{64} << 20;
// Replies of a search come in bursts; a roomy socket buffer keeps a burst of many controllers
// from overflowing it while the receive thread works on earlier ones.
constexpr int kSocketReceiveBuffer = 4 * 1024 * 1024;
constexpr auto kReleaseWait = std::chrono::seconds(2);

std::uint32_t groupNumber(const std::string& text) {
    return platform::parseIpv4(text).value_or(0);
}
} // namespace

AdminChannel::AdminChannel(Settings& settings, ReplyDispatcher& dispatcher, int mcastPortAtStart,
                           int devicePort)
    : settings_(settings), dispatcher_(dispatcher), mcastPortAtStart_(mcastPortAtStart),
      devicePort_(static_cast<std::uint16_t>(devicePort)),
      received_(
          [this](Bytes d, const std::string& source) { dispatcher_.handleReply(d, source, true); },
          [this](std::uint64_t dropped) {
              dispatcher_.logLine(
                  "receive queue full, datagrams dropped=" + std::to_string(dropped) + "\n");
          },
          kQueuedBytesLimit) {
    search_.destination = {0xFFFFFFFFu, devicePort_.load()};
}

AdminChannel::~AdminChannel() {
    closeAdminSocket();
}

void AdminChannel::setError(std::string text) {
    std::lock_guard l(m_);
    lastError_ = std::move(text);
}

std::string AdminChannel::lastError() const {
    std::lock_guard l(m_);
    return lastError_;
}

bool AdminChannel::hasSocket() const {
    std::lock_guard l(m_);
    return socket_ != nullptr;
}

std::optional<Ipv4Endpoint> AdminChannel::localEndpoint() const {
    std::lock_guard l(m_);
    if (!socket_)
        return std::nullopt;
    return socket_->localEndpoint();
}

void AdminChannel::leaveGroupLocked() {
    if (socket_ && joined_)
        socket_->dropMembership(joinedGroup_, joinedInterface_);
    joined_ = false;
}

int AdminChannel::initAdminSocket(const std::string& localIp) {
    setupFlag_.store(true);
    std::unique_lock l(m_);
    if (socket_) {
        leaveGroupLocked();
        auto old = std::move(socket_);
        // The receive thread may be waiting on the old socket: wake it and let it drop its
        // reference, so the old socket is closed (and its port free) before the new bind.
        wakeup_.signal();
        released_.wait_for(l, kReleaseWait, [this] { return !receiverHolds_; });
    }
    auto sock = std::make_shared<platform::UdpSocket>();
    if (!sock->open()) {
        lastError_ = "创建socket失败！";
        return -1;
    }
    if (settings_.readInt("net", "admin-is-broadcast", 1) != 0)
        sock->setBroadcast(true);
    sock->setReceiveBuffer(kSocketReceiveBuffer);
    std::string address = localIp.empty() ? settings_.readString("net", "local-admin-ip") : localIp;
    std::optional<std::uint32_t> bindAddress = std::uint32_t{0};
    if (!address.empty())
        bindAddress = platform::parseIpv4(address);
    int port = settings_.readInt("net", "local-admin-port", 0);
    if (!bindAddress || port < 0 || port > 65535 ||
        !sock->bind(*bindAddress, static_cast<std::uint16_t>(port))) {
        lastError_ = "绑定端口并监听失败！";
        // The socket stays open: sends still work from a system-chosen port.
        socket_ = sock;
        l.unlock();
        wakeup_.signal();
        return -1;
    }
    socket_ = sock;
    if (!sock->setMulticastLoop(true)) {
        lastError_ = "setsockopt():IP_MULTICAST_LOOP";
        l.unlock();
        wakeup_.signal();
        return -3;
    }
    groupText_ = settings_.readString("net", "mcast-address", groupText_);
    l.unlock();
    wakeup_.signal();
    return 0;
}

void AdminChannel::startReceiveThread() {
    if (receiver_.joinable())
        return;
    stopping_.store(false);
    received_.start();
    receiver_ = std::thread([this] { receiveLoop(); });
}

// Receiving, and handling a lone datagram when the handling thread is idle: the datagrams of a
// burst are decoded, listed and dumped on the handling thread, so that the burst is taken off
// the socket before it overflows.
void AdminChannel::receiveLoop() {
    platform::DatagramBatch batch(kBatchSlots, kReceiveBufferSize);
    while (!stopping_.load()) {
        int n = receiveDatagram(batch);
        if (n < 0 && !stopping_.load()) {
            // A socket error that persists would otherwise spin; the wakeup still ends this wait.
            wakeup_.wait(50);
        }
    }
}

bool AdminChannel::isOwnAddress(const Ipv4Endpoint& from, const Ipv4Endpoint& local) const {
    if (from.port != local.port)
        return false;
    if (local.address != 0)
        return from.address == local.address;
    if (platform::isLoopback(from.address))
        return true;
    for (const auto& a : platform::localInterfaces())
        if (platform::parseIpv4(a) == from.address)
            return true;
    return false;
}

int AdminChannel::receiveDatagram(platform::DatagramBatch& batch) {
    std::shared_ptr<platform::UdpSocket> sock;
    {
        std::lock_guard l(m_);
        sock = socket_;
        receiverHolds_ = sock != nullptr;
    }
    auto release = [&] {
        std::lock_guard l(m_);
        sock.reset();
        receiverHolds_ = false;
        released_.notify_all();
    };
    if (!sock) {
        // No socket (closed by a stop datagram or not yet set up): sleep until set-up or stop.
        wakeup_.wait();
        wakeup_.consume();
        return 0;
    }
    auto w = sock->waitReadable(&wakeup_);
    if (w == platform::UdpSocket::Wait::Woken) {
        wakeup_.consume();
        release();
        return 0;
    }
    int n = w == platform::UdpSocket::Wait::Error ? -1 : batch.receive(*sock);
    if (n < 0) {
        int err = w == platform::UdpSocket::Wait::Error ? sock->lastErrno() : batch.lastErrno();
        release();
        char text[128];
        std::snprintf(text, sizeof text, "数据错误，返回值=%d,错误码=%d", n, err);
        setError(text);
        return -1;
    }
    std::optional<Ipv4Endpoint> local;
    bool stopDatagram = false;
    int queued = 0;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        Bytes d = batch.datagram(i);
        // The stop datagram counts only from our own socket: "xxx" from any other sender is an
        // ordinary (and, lacking the reply prefix, ignored) datagram.
        if (d.size() == 3 && std::memcmp(d.data(), "xxx", 3) == 0) {
            if (!local)
                local = sock->localEndpoint();
            if (local && isOwnAddress(batch.source(i), *local)) {
                stopDatagram = true;
                continue;
            }
        }
        if (d.empty())
            continue;
        // A lone reply while an operation waits for one (a stop-and-wait exchange) is handled
        // here when the handling thread is idle; a burst, or a search's replies, which nobody
        // waits for one by one, go to the queue, so that the socket is emptied first.
        const bool lone = batch.size() == 1 && dispatcher_.slotCount() > 0;
        if (!lone || !received_.handleIfIdle(d, batch.source(i)))
            received_.push(d, batch.source(i));
        ++queued;
    }
    if (stopDatagram) {
        std::lock_guard l(m_);
        if (socket_ == sock) {
            leaveGroupLocked();
            socket_.reset();
        }
        sock.reset();
        receiverHolds_ = false;
        released_.notify_all();
        return 0;
    }
    release();
    return queued;
}

int AdminChannel::closeAdminSocket() {
    stopping_.store(true);
    wakeup_.signal();
    if (receiver_.joinable())
        receiver_.join();
    // What was received before the stop is still handled; nothing reaches a handler after.
    received_.stop();
    std::lock_guard l(m_);
    leaveGroupLocked();
    socket_.reset();
    return 0;
}

std::vector<std::string> AdminChannel::localInterfaces() const {
    return platform::localInterfaces();
}

void AdminChannel::setPipe(Pipe_Thread_Pool* pipe) {
    std::lock_guard l(m_);
    pipe_ = pipe;
}

int AdminChannel::sendto_log(Bytes data, int flags, const DeviceTarget& to, int route,
                             int timeoutMs, int waitFlag) {
    std::shared_ptr<platform::UdpSocket> sock;
    Pipe_Thread_Pool* pipe;
    {
        std::lock_guard l(m_);
        sock = socket_;
        pipe = pipe_;
    }
    bool viaPipe = to.route == Route::HostService;
    if (route == kRoutePipe)
        viaPipe = true;
    if (route == kRouteUdp)
        viaPipe = false;
    if (viaPipe) {
        // The service knows a controller by its name and global id; without them the
        // destination text is all it gets.
        std::string address = to.serviceName.empty() ? to.endpoint.text() : to.serviceName;
        if (pipe)
            pipe->sendPipe(data, address, to.globalId, timeoutMs, waitFlag);
        return static_cast<int>(data.size());
    }
    if (!sock)
        return -1;
    return sock->sendTo(data, to.endpoint, flags);
}

SearchTarget AdminChannel::configuredSearchTarget(bool multicast) const {
    SearchTarget t;
    t.multicast = multicast;
    if (multicast) {
        std::uint32_t def = groupNumber(groupText());
        t.destination.address = static_cast<std::uint32_t>(
            settings_.readInt("net", "mcast-broadcast-address", static_cast<int>(def)));
        t.destination.port = multicastDevicePort();
    } else {
        t.destination.address =
            static_cast<std::uint32_t>(settings_.readInt("net", "common-broadcast-address", -1));
        t.destination.port =
            static_cast<std::uint16_t>(settings_.readInt("net", "common-dev-admin-port", 65534));
    }
    return t;
}

SearchTarget AdminChannel::applyMulticastMode(bool enabled, const std::string& interfaceAddress) {
    settings_.writeString("net", "enable-mcast", enabled ? "1" : "0");
    SearchTarget t = configuredSearchTarget(enabled);
    {
        std::lock_guard l(m_);
        search_ = t;
    }
    if (enabled)
        chooseInterface(interfaceAddress);
    return t;
}

void AdminChannel::chooseInterface(const std::string& interfaceAddress, bool remember) {
    if (remember)
        settings_.writeString("net", "mcast-local-address", interfaceAddress);
    auto iface = platform::parseIpv4(interfaceAddress);
    std::lock_guard l(m_);
    // Without a chosen interface nothing is joined and the outgoing interface stays unset:
    // the caller must not send multicast then (it would leave by the default route).
    if (!socket_ || !iface) {
        std::fputs("setsockopt():IP_MULTICAST_IF\n", stderr);
        return;
    }
    if (!socket_->setMulticastInterface(*iface))
        std::fputs("setsockopt():IP_MULTICAST_IF\n", stderr);
    std::uint32_t group = groupNumber(groupText_);
    socket_->dropMembership(group, *iface);
    if (joined_ && (joinedGroup_ != group || joinedInterface_ != *iface))
        socket_->dropMembership(joinedGroup_, joinedInterface_);
    joined_ = socket_->addMembership(group, *iface);
    if (joined_) {
        joinedGroup_ = group;
        joinedInterface_ = *iface;
    } else {
        std::fputs("setsockopt():IP_ADD_MEMBERSHIP\n", stderr);
    }
}

SearchTarget AdminChannel::searchTarget() const {
    std::lock_guard l(m_);
    return search_;
}

void AdminChannel::setSearchDestination(const Ipv4Endpoint& destination) {
    std::lock_guard l(m_);
    search_.destination = destination;
}

std::uint16_t AdminChannel::multicastDevicePort() const {
    return static_cast<std::uint16_t>(
        settings_.readInt("net", "mcast-dev-admin-port", mcastPortAtStart_));
}

std::string AdminChannel::groupText() const {
    std::lock_guard l(m_);
    return groupText_;
}

} // namespace quorvane
