#include "session/device_targets.h"

#include "session/user_port.h"

namespace quorvane {

namespace {
bool foundOnlyThroughService(const DeviceUIInfo& d) {
    return (d.searchModes & kFoundByPipe) &&
           (d.searchModes & (kFoundByBroadcast | kFoundByMulticast)) == 0;
}
} // namespace

DeviceTarget targetOf(const DeviceUIInfo& record, std::uint16_t devicePort) {
    DeviceTarget t;
    t.endpoint = {platform::parseIpv4(record.ip).value_or(0), devicePort};
    t.targetId = record.getTargetId();
    if (foundOnlyThroughService(record)) {
        t.route = Route::HostService;
        t.serviceName = record.name;
        t.globalId = record.getGlobalId();
    }
    return t;
}

std::optional<DeviceTarget> prepareDevAddress(const std::string& addressText,
                                              const DeviceUIInfo* device, std::uint16_t devicePort,
                                              UserPort* port) {
    auto host = platform::parseIpv4(addressText.substr(0, addressText.find(':')));
    // An address that does not parse would go to 0.0.0.0: refused like an empty one.
    if (!host) {
        if (port)
            port->showMessage("设备地址非法！请选择设备记录！");
        return std::nullopt;
    }
    DeviceTarget t = device ? targetOf(*device, devicePort) : DeviceTarget{};
    t.endpoint = {*host, devicePort};
    return t;
}

DeviceTarget broadcastTarget(const platform::Ipv4Endpoint& destination, bool multicast,
                             std::uint16_t targetId) {
    DeviceTarget t;
    t.endpoint = destination;
    t.route = multicast ? Route::Multicast : Route::Broadcast;
    t.targetId = targetId;
    return t;
}

} // namespace quorvane
