#pragma once
// The routing rule in one place: how a device record becomes the target of a request.
#include <cstdint>
#include <optional>
#include <string>

#include "model/device_info.h"
#include "protocol/device_target.h"

namespace quorvane {

class UserPort;

// A record found only through the host service is reached through it (by its name and global
// id); any other goes by UDP to its address on the device port.
DeviceTarget targetOf(const DeviceUIInfo& record, std::uint16_t devicePort);

// The destination named by an address text (the part before its first ':') on the device
// port, for device (the record the operation works on; none for a bare address). Nothing,
// after "设备地址非法！请选择设备记录！" (when port is given), when the text names no address.
std::optional<DeviceTarget> prepareDevAddress(const std::string& addressText,
                                              const DeviceUIInfo* device, std::uint16_t devicePort,
                                              UserPort* port);

// The same target id sent by broadcast (or multicast) to destination.
DeviceTarget broadcastTarget(const platform::Ipv4Endpoint& destination, bool multicast,
                             std::uint16_t targetId);

} // namespace quorvane
