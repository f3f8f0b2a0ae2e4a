#include "sample_frames.h"

#include <algorithm>

#include "platform/bytes.h"
#include "protocol/frame.h"

namespace quorvane::test {

std::string replyFrame(const std::string& idAndSequence, int code, int status,
                       const std::string& payload) {
    std::string f = std::string(16, '\xAA') + std::string(8, '\xFF') + idAndSequence;
    f += {char(code), char(status), char(payload.size() >> 8), char(payload.size())};
    f += payload + '\0';
    refreshChecksum(f);
    return f;
}

std::string deviceInfoReply(const DeviceUIInfo& r, bool extended) {
    auto block = encodeBasicBlock(r);
    std::string payload(reinterpret_cast<const char*>(block.data()),
                        extended ? kExtendedBlockSize : kBasicBlockSize);
    payload.append(reinterpret_cast<const char*>(r.doorConfig.data()), r.doorConfig.size());
    return replyFrame({'\x12', '\x34', '\x07', '\0'}, 3, 1, payload);
}

void refreshChecksum(std::string& frame) {
    unsigned sum = 0;
    for (std::size_t i = 28; i + 1 < frame.size(); ++i)
        sum += static_cast<unsigned char>(frame[i]);
    frame.back() = static_cast<char>(sum & 0xFF);
}

DeviceUIInfo sampleDevice(int n) {
    DeviceUIInfo d;
    d.name = "门禁" + std::to_string(n);
    d.mac = "00.11.22.33.01.0" + std::to_string(n % 10);
    d.ip = "192.168.1." + std::to_string(n);
    d.mask = "255.255.255.0";
    d.gateway = "192.168.1.254";
    d.hostAddress = "192.168.1.100";
    d.devicePort = 65534;
    d.hostPort = 50000;
    d.reportMode = 1;
    d.groupNo = 2;
    d.hwVariant = 1;
    d.deviceNo = static_cast<std::uint8_t>(n);
    d.operatorPassword = {'1', '2', '3', 0, 0, 0};
    std::string serial = "2018102800000001";
    std::copy(serial.begin(), serial.end(), d.productSerial.begin());
    d.reserved1.fill(0x11);
    d.reserved2.fill(0x22);
    d.ipAlloc = 1;
    d.blockVersion = 0;
    d.reservedBits = 2;
    d.hwModel = 10;
    d.reserved3 = 0xBEEF;
    d.netTimeout = 30;
    d.passTimeout = 7;
    d.firmwareVersion = "1.2.3";
    for (std::size_t i = 0; i < d.doorConfig.size(); ++i)
        d.doorConfig[i] = static_cast<std::uint8_t>(i * 7 + n);
    return d;
}

std::string le32(std::uint32_t v) {
    std::string s(4, '\0');
    ByteWriter(MutableBytes(reinterpret_cast<std::uint8_t*>(s.data()), 4)).putU32le(v);
    return s;
}

std::uint32_t u32At(const std::string& s, std::size_t at) {
    return ByteReader(asBytes(s), at).u32le();
}

} // namespace quorvane::test
