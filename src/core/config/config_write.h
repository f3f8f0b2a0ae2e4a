#pragma once
// The two configuration writes (basic block, command 4; door-access block, command 14) share
// how they leave: the pending-reply watch is armed with the write's text, then the frame goes
// out through the session's one-shot limits. The write's reply (5 or 15) disarms the watch and
// shows its notice; without a reply the watch shows its text when its time runs out.
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/device_target.h"
#include "protocol/frame_sender.h"
#include "session/exchange.h"

namespace quorvane {

class ToolSession;

// How long a write waits for its reply before the watch speaks (five ticks of the window's
// one-second timer).
inline constexpr auto kPendingReplyTime = std::chrono::seconds(5);

ExchangeOutcome sendConfigWrite(ToolSession& session, const DeviceTarget& target,
                                std::uint8_t command, std::vector<std::uint8_t> payload,
                                const std::string& watchText, int route = kRouteByDevice);

// kOperationDone when the write went out (and, where the session waits, was answered with
// status 1). A wait that ran out shows the watch's text at once: its time has passed too.
int configWriteResult(ToolSession& session, const ExchangeOutcome& outcome);

} // namespace quorvane
