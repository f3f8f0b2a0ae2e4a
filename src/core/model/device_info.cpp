#include "model/device_info.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "infra/codepage.h"

namespace quorvane {

namespace {
// "%x.%x.%x.%x.%x.%x" / "%d.%d.%d.%d" reading: parts that fail to parse, and the ones after
// them, are 0.
template <std::size_t N> std::array<std::uint8_t, N> parseParts(const std::string& text, int base) {
    std::array<std::uint8_t, N> out{};
    const char* p = text.c_str();
    for (std::size_t i = 0; i < N; ++i) {
        char* end = nullptr;
        long v = std::strtol(p, &end, base);
        if (end == p) break;
        out[i] = static_cast<std::uint8_t>(v);
        p = end;
        if (i + 1 < N) {
            if (*p != '.') break;
            ++p;
        }
    }
    return out;
}

template <std::size_t N> void copyInto(std::array<std::uint8_t, N>& dst, Bytes src) {
    for (std::size_t i = 0; i < N; ++i) dst[i] = i < src.size() ? src[i] : 0;
}

} // namespace

std::array<std::uint8_t, 4> parseDotted(const std::string& text) { return parseParts<4>(text, 10); }

std::array<std::uint8_t, 6> parseMac(const std::string& text) { return parseParts<6>(text, 16); }

std::string macText(Bytes six) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02x.%02x.%02x.%02x.%02x.%02x", six[0], six[1], six[2], six[3],
                  six[4], six[5]);
    return buf;
}

std::string dottedText(Bytes four) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%d.%d.%d.%d", four[0], four[1], four[2], four[3]);
    return buf;
}

std::uint32_t addressNumber(const std::string& text) {
    auto b = parseDotted(text);
    return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) |
           b[3];
}

std::uint16_t DeviceUIInfo::getRawDeviceId() const {
    auto m = parseMac(mac);
    return static_cast<std::uint16_t>(m[4] * 256 + m[5]);
}

std::uint16_t DeviceUIInfo::getTargetId() const {
    auto id = static_cast<std::uint16_t>(groupNo * 256 + deviceNo);
    return id != 0 ? id : getRawDeviceId();
}

bool DeviceUIInfo::getMac(std::array<std::uint8_t, 6>& out) const {
    out = parseMac(mac);
    return true;
}

bool DeviceUIInfo::getIp(std::array<std::uint8_t, 4>& out, int type) const {
    const std::string* texts[] = {&ip, &mask, &gateway, &hostAddress, &serverAddress};
    if (type < 0 || type > 4) return false;
    out = parseDotted(*texts[type]);
    return true;
}

std::string DeviceUIInfo::getUniqueName() const { return name + "-" + ip + "-" + getGlobalId(); }

std::string DeviceUIInfo::getSearchMode() const {
    std::string s;
    if (searchModes & kFoundByBroadcast) s += "广播;";
    if (searchModes & kFoundByMulticast) s += "组播;";
    if (searchModes & kFoundByPipe) s += "管道;";
    return s;
}

std::string DeviceUIInfo::getDoorMode() const {
    static const char* kModes[] = {"常开", "常关", "自主判断", "刷卡即开", "刷卡不动作"};
    return doorMode < 5 ? kModes[doorMode] : "未知";
}

std::string DeviceUIInfo::getRptMode() const { return reportFlag == 0 ? "否" : "是"; }

std::string DeviceUIInfo::getHardwareInfo() const {
    const char* model = "unknown";
    switch (hwModel) {
    case 0:
    case 255: model = "ambrit"; break;
    case 5: model = "tovrel"; break;
    case 10: model = "brisca"; break;
    case 15: model = "quenmar"; break;
    default: break;
    }
    static const char* kSuffix[] = {"-A", "-B", "-C"};
    return firmwareVersion + "-" + model + (hwVariant < 3 ? kSuffix[hwVariant] : "");
}

std::string DeviceUIInfo::getGlobalId() const {
    bool digits = true;
    for (auto c : productSerial) digits = digits && c >= '0' && c <= '9';
    if (digits && blockVersion == 0)
        return std::string(productSerial.begin(), productSerial.end());
    ByteReader r(productSerial);
    std::uint32_t a = r.u32be() % 100000000u;
    std::uint32_t b = r.u32be() % 100000000u;
    char buf[24];
    std::snprintf(buf, sizeof buf, "%08u%08u", a, b);
    return buf;
}

std::array<std::uint8_t, kRecordImageSize> DeviceUIInfo::toImage() const {
    std::array<std::uint8_t, kRecordImageSize> img{};
    ByteWriter w(img);
    w.putU32le(reportMode).putU32le(baudIndex).putU8(groupNo).putU8(hwVariant).putU8(deviceNo);
    w.putBytes(operatorPassword).putBytes(productSerial).putBytes(reserved1).putBytes(reserved2);
    w.putU8(ipAlloc).putU8(blockVersion).putU8(reservedBits).putU8(hwModel).putU16le(reserved3);
    w.putU32le(doorOpenMs).putU32le(doorMode).putU32le(reportFlag).putU32le(devicePort);
    w.putU32le(hostPort);
    for (auto s : statistics) w.putU32le(s);
    w.putU16le(passTimeout).putU16le(netTimeout).putU32le(searchModes).putBytes(doorConfig);
    w.putBytes(pppoeAccount).putBytes(pppoePassword).putU16le(serverPort).putBytes(reserved4);
    w.putU8(extMarker);
    return img;
}

void DeviceUIInfo::fromImage(Bytes image) {
    std::array<std::uint8_t, kRecordImageSize> img{};
    std::copy_n(image.begin(), std::min(image.size(), img.size()), img.begin());
    ByteReader r(img);
    reportMode = r.u32le();
    baudIndex = r.u32le();
    groupNo = r.u8();
    hwVariant = r.u8();
    deviceNo = r.u8();
    copyInto(operatorPassword, r.take(6));
    copyInto(productSerial, r.take(16));
    copyInto(reserved1, r.take(16));
    copyInto(reserved2, r.take(16));
    ipAlloc = r.u8();
    blockVersion = r.u8();
    reservedBits = r.u8();
    hwModel = r.u8();
    reserved3 = r.u16le();
    doorOpenMs = r.u32le();
    doorMode = r.u32le();
    reportFlag = r.u32le();
    devicePort = r.u32le();
    hostPort = r.u32le();
    for (auto& s : statistics) s = r.u32le();
    passTimeout = r.u16le();
    netTimeout = r.u16le();
    searchModes = r.u32le();
    copyInto(doorConfig, r.take(kDoorBlockSize));
    copyInto(pppoeAccount, r.take(32));
    copyInto(pppoePassword, r.take(10));
    serverPort = r.u16le();
    copyInto(reserved4, r.take(26));
    extMarker = r.u8();
}

bool deviceLess(const DeviceUIInfo& a, const DeviceUIInfo& b, int sortKey) {
    switch (sortKey) {
    case 2: return a.getTargetId() < b.getTargetId();
    case 3: return toGbk(a.name) < toGbk(b.name);
    default: return addressNumber(a.ip) < addressNumber(b.ip);
    }
}

} // namespace quorvane
