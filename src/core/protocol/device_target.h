#pragma once
// Where one request goes, as a value made when a device is selected: the destination, how the
// frame travels there, and the id written into the frame. Operations on several controllers
// at once and worker threads each hold their own; nothing reads a shared "current device".
#include <cstdint>
#include <string>

#include "platform/udp_socket.h"

namespace quorvane {

enum class Route {
    Direct,      // UDP to the controller's own address
    Broadcast,   // UDP to the broadcast address of the channel
    Multicast,   // UDP to the multicast group
    HostService, // through the host service's pipe
};

struct DeviceTarget {
    platform::Ipv4Endpoint endpoint;
    Route route = Route::Direct;
    // For the host service: the name it knows the controller by and its global id (the
    // service resolves the id first).
    std::string serviceName;
    std::string globalId;
    std::uint16_t targetId = 0xFFFF;

    // A bare address reached directly, with the id any controller answers to.
    static DeviceTarget at(const platform::Ipv4Endpoint& endpoint) {
        DeviceTarget t;
        t.endpoint = endpoint;
        return t;
    }

    // Whether a reply's sender can be checked against the destination: only a direct UDP
    // exchange knows who must answer.
    bool checksSender() const { return route == Route::Direct; }
    // True when a reply from source ("a.b.c.d:port", via UDP or not) may answer this target.
    bool acceptsSender(const std::string& source, bool viaUdp) const;
    std::string text() const;
};

} // namespace quorvane
