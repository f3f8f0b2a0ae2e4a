#include "sim_controller.h"

#include <cstdio>

#include "model/door_block.h"
#include "platform/udp_socket.h"

namespace quorvane::sim {

namespace {
void putU32(door::Block& b, std::size_t at, std::uint32_t v) {
    ByteWriter(b, at).putU32le(v);
}
} // namespace

SimController makeController(int n, std::uint32_t address, std::uint16_t port,
                             const std::string& namePrefix, int group, bool extended) {
    SimController c;
    c.address = address;
    c.extended = extended;
    DeviceUIInfo& d = c.record;
    d.name = namePrefix + std::to_string(n);
    char mac[32];
    std::snprintf(mac, sizeof mac, "00.1a.2b.%02x.%02x.%02x", (n >> 16) & 0xFF, (n >> 8) & 0xFF,
                  n & 0xFF);
    d.mac = mac;
    d.ip = platform::ipv4Text(address);
    d.mask = platform::isLoopback(address) ? "255.0.0.0" : "255.255.255.0";
    d.gateway = platform::ipv4Text((address & 0xFFFFFF00u) | 0xFE);
    d.hostAddress = platform::ipv4Text((address & 0xFFFFFF00u) | 0x64);
    d.devicePort = port;
    d.hostPort = 50000;
    d.reportMode = 1;
    d.groupNo = static_cast<std::uint8_t>(group);
    d.deviceNo = static_cast<std::uint8_t>(n % 255 + 1);
    d.hwVariant = static_cast<std::uint8_t>(n % 3);
    static const std::uint8_t kModels[] = {0, 5, 10, 15};
    d.hwModel = kModels[n % 4];
    char serial[17];
    std::snprintf(serial, sizeof serial, "2024%012d", n);
    for (int i = 0; i < 16; ++i) d.productSerial[i] = static_cast<std::uint8_t>(serial[i]);
    d.ipAlloc = 0;
    d.blockVersion = extended ? 1 : 0;
    d.netTimeout = 50;
    d.passTimeout = 5;
    d.firmwareVersion = "2.1." + std::to_string(n % 10);
    if (extended) {
        d.extMarker = kExtendedMarker;
        d.serverAddress = d.hostAddress;
        d.serverPort = 8080;
    }
    putU32(d.doorConfig, door::kLogCount, static_cast<std::uint32_t>(100 + n));
    putU32(d.doorConfig, door::kSystemStatus, 0);
    putU32(d.doorConfig, door::kRightCount, static_cast<std::uint32_t>(10 * n));
    putU32(d.doorConfig, door::kReportIndex, static_cast<std::uint32_t>(n));
    putU32(d.doorConfig, door::kRightMode, 1);
    return c;
}

} // namespace quorvane::sim
