#include "controller_table.h"

#include "model/device_info.h"
#include "protocol/frame.h"

namespace quorvane::tavrin {

bool ControllerTable::learn(Bytes frame, const platform::Ipv4Endpoint& source) {
    FrameInfo info = inspectFrame(frame);
    if (!info.isReply || info.command != 3 || !info.lengthFits) return false;
    DeviceUIInfo record;
    bool extended = false;
    if (getUIInfoFromMsg(frame, extended, record) != 0) return false;
    byName_[record.name] = source;
    byGlobalId_[record.getGlobalId()] = source;
    return true;
}

std::optional<platform::Ipv4Endpoint> ControllerTable::resolve(const std::string& address,
                                                               const std::string& identity,
                                                               std::uint16_t defaultPort) const {
    if (auto it = byName_.find(address); it != byName_.end()) return it->second;
    if (auto e = platform::parseEndpoint(address, defaultPort)) return e;
    if (auto it = byGlobalId_.find(identity); !identity.empty() && it != byGlobalId_.end())
        return it->second;
    return std::nullopt;
}

} // namespace quorvane::tavrin
