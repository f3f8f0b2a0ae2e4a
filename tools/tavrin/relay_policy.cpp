#include "relay_policy.h"

#include "protocol/frame.h"

namespace quorvane::tavrin {

namespace {
constexpr std::uint8_t kDeviceInformation = 2;
}

std::string requestFrameFault(Bytes frame) {
    FrameInfo info = inspectFrame(frame);
    if (frame.size() < kMinFrameSize)
        return "shorter than a frame (" + std::to_string(frame.size()) + " bytes)";
    if (!info.isRequest)
        return "no request prefix";
    if (!info.lengthFits || frame.size() != kMinFrameSize + info.length)
        return "the length field says " + std::to_string(info.length) + " payload bytes, " +
               std::to_string(frame.size()) + " bytes came";
    if (!info.checksumOk)
        return "wrong checksum";
    return {};
}

std::string searchFrameFault(Bytes frame) {
    std::string fault = requestFrameFault(frame);
    if (fault.empty() && inspectFrame(frame).command != kDeviceInformation)
        fault = "a search carries the device-information request, not command " +
                std::to_string(inspectFrame(frame).command);
    return fault;
}

std::string relayTargetFault(const platform::Ipv4Endpoint& target) {
    const std::uint32_t a = target.address;
    if (a == 0)
        return "no address";
    if (a == 0xFFFFFFFFu)
        return "the broadcast address";
    if ((a >> 28) == 0xE)
        return "a multicast address";
    if ((a >> 28) == 0xF)
        return "a reserved address";
    if (target.port == 0)
        return "port 0";
    return {};
}

} // namespace quorvane::tavrin
