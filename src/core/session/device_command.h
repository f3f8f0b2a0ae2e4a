#pragma once
// A one-shot command to one controller: built for the record's target, sent through the
// session's exchange with its one-shot limits. The reply's text is shown by its standard
// handling (a notice); what comes back here is whether and how it was answered. Where the
// session does not wait (the window), the pending-reply watch shows kSilentDeviceText when no
// reply comes within a command's wait.
#include <cstdint>
#include <vector>

#include "model/device_info.h"
#include "session/exchange.h"

namespace quorvane {

class ToolSession;

// What a controller that never answered is reported with.
inline constexpr const char* kSilentDeviceText =
    "设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能显示已经下载到本地的数据。";

// accept: further checks of a reply (it names the item asked), as ExchangeRequest::accept.
ExchangeOutcome sendDeviceCommand(ToolSession& session, const DeviceUIInfo& record,
                                  std::uint8_t command, std::vector<std::uint8_t> payload = {},
                                  std::function<bool(const Reply&)> accept = {});

// A command the controller answers by restarting (restart, clearing all data): sent without a
// wait, since no reply comes by design, and then sentText is shown. 0 once it went out.
int sendRestartingCommand(ToolSession& session, const DeviceUIInfo& record, std::uint8_t command,
                          const std::string& sentText);

// 0 when the command went out and, where the session waits, was answered with status 1;
// -1 otherwise. A silent controller is reported with the refresh's timeout text.
int commandResult(ToolSession& session, const ExchangeOutcome& outcome);

} // namespace quorvane
