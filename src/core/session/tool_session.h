#pragma once
// The running tool's state shared by the main window and the command line: settings, tool log,
// protocol words, reply dispatch, the administration channel, the pipe worker, the device list.
// The window and the CLI each own one and speak to the person through their UserPort.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "infra/clock.h"
#include "infra/settings.h"
#include "infra/tool_log.h"
#include "model/device_info.h"
#include "protocol/frame.h"
#include "protocol/reply_dispatch.h"
#include "session/batch_runner.h"
#include "session/device_list.h"
#include "session/device_targets.h"
#include "session/exchange.h"
#include "session/user_port.h"

namespace quorvane {

class AdminChannel;
class Pipe_Thread_Pool;

struct SearchRequest {
    bool multicast = false;
    std::uint32_t searchAddress = 0xFFFFFFFFu; // host byte order
    std::uint16_t port = 65534;
    std::string interfaceAddress;    // dotted; empty: bind as at start
    bool listServiceDevices = false; // also list controllers reached by the service
    bool remember = true;            // write address, port and interface back
};

class ToolSession {
  public:
    // clock: where waits and dates take their time (the system clock when none is given).
    ToolSession(std::string programDir, UserPort& port, Clock* clock = nullptr);
    ~ToolSession();
    ToolSession(const ToolSession&) = delete;
    ToolSession& operator=(const ToolSession&) = delete;

    // The start-up order: log, socket, receive thread, pipe worker. Failures are reported as
    // notices ("初始化网络失败！..."); returns 0 when the channel is up.
    int start();
    // Stops the pipe worker, the receive thread and the socket, closes the log.
    void stop();

    Settings& settings();
    ToolLog& log();
    ProtocolState& protocol();
    ReplyDispatcher& dispatcher();
    DeviceList& devices();
    AdminChannel& channel();
    Pipe_Thread_Pool& pipe();
    UserPort& port();
    Clock& clock();
    const std::string& programDir() const;
    // Send and wait for one reply, pumping this session's port while waiting.
    const Exchange& exchange();
    // Many items through exchange(), with progress and cancel on this session's port.
    const BatchRunner& batchRunner();
    // How one-shot commands (open a door, read the time …) wait for their reply: the window
    // sends and shows the reply as a notice when it comes (the default, limits::kSendOnly);
    // the command line waits for it (limits::kCommand).
    void setOneShotLimits(const ExchangeLimits& limits);
    ExchangeLimits oneShotLimits() const;
    // The port every command to one controller goes to: `common-dev-admin-port` as read when
    // the session was made, or the port of the last search that was not by multicast.
    std::uint16_t devicePort() const;

    // Empties the list (unless busy), sends the search frame by UDP and queues it for the host
    // service. Returns false when the list was busy and nothing was sent.
    bool search(const SearchRequest& request);
    // Called on the receive or pipe thread after a search reply changed the list.
    void setListChangedCallback(std::function<void()> callback);

    // The target of a record (its address on the device port, or the host service).
    DeviceTarget targetOf(const DeviceUIInfo& record) const;
    // The target named by an address text for device (or a bare address); nothing after the
    // message box when the text names no address.
    std::optional<DeviceTarget> prepareDevAddress(const std::string& addressText,
                                                  const DeviceUIInfo* device);

    // Sends the device-information request (to any id) to one address and waits (up to
    // timeoutMs) for its reply from that address; the fresh record, which does not enter the
    // list.
    std::optional<DeviceUIInfo> refreshDevice(const std::string& ip, int timeoutMs);
    // Refreshes the selected record before it is shown (unless `get-config-before-show` is 0):
    // 0 done or not wanted, 1 timed out (after about a second), -1 no record or no address.
    // The fresh record goes to refreshed when given.
    int refreshSelected(const std::optional<DeviceUIInfo>& selected, bool showErrors,
                        DeviceUIInfo* refreshed = nullptr);

    // The record the running operation works on, as the window shows it. Nothing routes by it:
    // every send takes its own target.
    void setCurrentDevice(std::optional<DeviceUIInfo> device);
    std::optional<DeviceUIInfo> currentDevice() const;

  private:
    std::optional<DeviceUIInfo> refreshOnce(const DeviceTarget& target, Clock::Duration wait);

    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quorvane
