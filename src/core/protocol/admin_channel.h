#pragma once
// The administration channel: one UDP socket for every request and reply, a receive thread that
// takes datagrams off the socket, a handling thread that hands each one, in arrival order, to
// the reply dispatcher (a lone reply that finds it idle is handed over by the receive thread
// itself), and the send that decides per device whether a frame goes by UDP or through the
// host-service pipe.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/bytes.h"
#include "platform/datagram_batch.h"
#include "platform/udp_socket.h"
#include "protocol/device_target.h"
#include "protocol/frame_sender.h"
#include "protocol/receive_queue.h"

namespace quorvane {

class Settings;
class ReplyDispatcher;
class Pipe_Thread_Pool;

using platform::Ipv4Endpoint;

// Where searches go in the current mode.
struct SearchTarget {
    bool multicast = false;
    Ipv4Endpoint destination;
};

class AdminChannel final : public FrameSender {
  public:
    // mcastPortAtStart: `mcast-dev-admin-port` as read at program start (the default of every
    // later read); devicePort: `common-dev-admin-port` as read when the window was created,
    // until a search on another port replaces it.
    AdminChannel(Settings& settings, ReplyDispatcher& dispatcher, int mcastPortAtStart,
                 int devicePort);
    ~AdminChannel();
    AdminChannel(const AdminChannel&) = delete;
    AdminChannel& operator=(const AdminChannel&) = delete;

    // (Re)creates and binds the socket to localIp (empty: `local-admin-ip`, empty: any).
    // 0, -1 when the socket cannot be created or bound, -3 when multicast loop is refused.
    int initAdminSocket(const std::string& localIp = {});
    // The receive thread and the handling thread: every datagram goes to handleReply, in the
    // order it came, on the handling thread.
    void startReceiveThread();
    // Waits for datagrams and queues every one waiting (each at most 20 000 bytes) for the
    // handling thread: their count, -1 on a socket error, 0 when woken or after our own stop
    // datagram "xxx".
    int receiveDatagram(platform::DatagramBatch& batch);
    // Stops the receive thread (locally, through its wakeup: nothing is sent), hands what it
    // received to handleReply, leaves the group and closes the socket. 0.
    int closeAdminSocket();

    std::vector<std::string> localInterfaces() const;

    // Sends one frame to a target: route 1 forces the pipe, 0 forces UDP, 2 lets the target
    // decide (the pipe when it was reached only through the host service). The UDP byte count
    // (-1 on error), or the length for the pipe. Never waits for the reply.
    int sendto_log(Bytes data, int flags, const DeviceTarget& to, int route, int timeoutMs,
                   int waitFlag) override;
    void setPipe(Pipe_Thread_Pool* pipe);

    // The multicast box: stores the state in `enable-mcast` and sets the search destination;
    // multicast on also applies the interface choice for interfaceAddress.
    SearchTarget applyMulticastMode(bool enabled, const std::string& interfaceAddress);
    // The interface box: `mcast-local-address`, outgoing multicast interface and membership.
    // A one-run choice (remember false) leaves the setting as it is.
    void chooseInterface(const std::string& interfaceAddress, bool remember = true);
    SearchTarget searchTarget() const;
    // The search address and port the settings name for a mode, without changing anything.
    SearchTarget configuredSearchTarget(bool multicast) const;
    void setSearchDestination(const Ipv4Endpoint& destination);
    // The port that marks a reply as a multicast find.
    std::uint16_t multicastDevicePort() const;
    // The port commands to a controller go to.
    std::uint16_t devicePort() const { return devicePort_.load(); }
    // A search on port found its controllers there: later commands go there as well.
    void setDevicePort(std::uint16_t port) { devicePort_.store(port); }
    std::string groupText() const;

    std::string lastError() const;
    bool hasSocket() const;
    std::optional<Ipv4Endpoint> localEndpoint() const;

  private:
    void setError(std::string text);
    void leaveGroupLocked();
    void receiveLoop();
    bool isOwnAddress(const Ipv4Endpoint& from, const Ipv4Endpoint& local) const;

    Settings& settings_;
    ReplyDispatcher& dispatcher_;
    const int mcastPortAtStart_;
    std::atomic<std::uint16_t> devicePort_;

    mutable std::mutex m_;
    std::condition_variable released_;
    std::shared_ptr<platform::UdpSocket> socket_;
    bool receiverHolds_ = false; // the receive thread polls a socket it took from socket_
    bool joined_ = false;
    std::uint32_t joinedGroup_ = 0;
    std::uint32_t joinedInterface_ = 0;
    std::string groupText_ = "224.10.0.0";
    std::string lastError_;
    SearchTarget search_;
    Pipe_Thread_Pool* pipe_ = nullptr;
    std::atomic<bool> setupFlag_{false};

    platform::Wakeup wakeup_;
    std::atomic<bool> stopping_{false};
    std::thread receiver_;
    ReceiveQueue received_;
};

} // namespace quorvane
