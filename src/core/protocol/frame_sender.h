#pragma once
// What an exchange needs of the channel: hand one frame to a target and return at once. The
// administration channel is the one the tool uses; tests hand in a link of their own that
// answers in the same call.
#include "platform/bytes.h"
#include "protocol/device_target.h"

namespace quorvane {

// The route argument of sendto_log.
inline constexpr int kRouteUdp = 0;
inline constexpr int kRoutePipe = 1;
inline constexpr int kRouteByDevice = 2;

class FrameSender {
  public:
    virtual ~FrameSender() = default;
    // route: 1 the pipe, 0 UDP, 2 as the target says. The bytes sent, or -1.
    virtual int sendto_log(Bytes data, int flags, const DeviceTarget& to, int route,
                           int timeoutMs, int waitFlag) = 0;
};

} // namespace quorvane
