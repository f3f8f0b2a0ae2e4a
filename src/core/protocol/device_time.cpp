#include "protocol/device_time.h"

#include <cstdio>

namespace quorvane {

namespace {
int fromBcd(std::uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }
std::uint8_t toBcd(int v) { return static_cast<std::uint8_t>(((v / 10) % 10) << 4 | (v % 10)); }
} // namespace

std::optional<std::string> deviceTimeText(Bytes payload) {
    if (payload.size() < 6) return std::nullopt;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", 2000 + fromBcd(payload[0]),
                  fromBcd(payload[1]), fromBcd(payload[2]), fromBcd(payload[3]),
                  fromBcd(payload[4]), fromBcd(payload[5]));
    return std::string(buf);
}

std::array<std::uint8_t, 7> setTimePayload(const std::tm& t) {
    return {toBcd(t.tm_year + 1900 - 2000), toBcd(t.tm_mon + 1), toBcd(t.tm_mday),
            toBcd(t.tm_hour),                toBcd(t.tm_min),     toBcd(t.tm_sec),
            toBcd(t.tm_wday)};
}

} // namespace quorvane
