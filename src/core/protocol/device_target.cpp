#include "protocol/device_target.h"

namespace quorvane {

bool DeviceTarget::acceptsSender(const std::string& source, bool viaUdp) const {
    switch (route) {
    case Route::Direct: {
        if (!viaUdp)
            return false;
        auto host = platform::parseIpv4(source.substr(0, source.find(':')));
        return host && *host == endpoint.address;
    }
    case Route::HostService:
        return !viaUdp;
    case Route::Broadcast:
    case Route::Multicast:
        return true;
    }
    return false;
}

std::string DeviceTarget::text() const {
    switch (route) {
    case Route::HostService:
        return serviceName.empty() ? endpoint.text() : serviceName;
    default:
        return endpoint.text();
    }
}

} // namespace quorvane
