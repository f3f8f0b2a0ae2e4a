#include "protocol/open_door.h"

#include "platform/bytes.h"

namespace quorvane {

std::optional<std::uint16_t> openTimeValue(long milliseconds) {
    if (milliseconds < 0 || milliseconds > kLongestOpenMs)
        return std::nullopt;
    return static_cast<std::uint16_t>(milliseconds / 10);
}

std::array<std::uint8_t, 3> openDoorPayload(std::uint8_t doorNumber, std::uint16_t timeValue) {
    std::array<std::uint8_t, 3> p{};
    ByteWriter(p).putU8(doorNumber).putU16be(timeValue);
    return p;
}

} // namespace quorvane
