#include "sim_config_blocks.h"

#include <algorithm>

namespace quorvane::sim {

namespace {
constexpr std::size_t kNameRoom = 15;
constexpr std::size_t kFirmwareRoom = 7;
constexpr std::size_t kBasicSumAt = 115;
constexpr std::size_t kMarkerAt = 190;
constexpr std::size_t kExtendedSumAt = 191;

template <std::size_t N> void put(ByteWriter& w, const std::array<std::uint8_t, N>& a) {
    w.putBytes(Bytes(a));
}
template <std::size_t N> void take(ByteReader& r, std::array<std::uint8_t, N>& a) {
    Bytes b = r.take(N);
    if (b.size() == N)
        std::copy(b.begin(), b.end(), a.begin());
}
} // namespace

std::string encodeBasicBlock(const BasicSettings& s, bool extended) {
    std::string block(kExtendedFormSize, '\0');
    MutableBytes b(reinterpret_cast<std::uint8_t*>(block.data()), block.size());
    ByteWriter w(b);
    std::size_t nameLength = std::min(s.name.size(), kNameRoom);
    w.putU8(static_cast<std::uint8_t>(nameLength))
        .putPadded(s.name.substr(0, nameLength), kNameRoom);
    put(w, s.mac);
    put(w, s.ip);
    put(w, s.mask);
    put(w, s.gateway);
    put(w, s.hostAddress);
    w.putU16be(s.devicePort).putU16be(s.hostPort);
    w.putU8(s.reportMode).putU8(s.groupNo).putU8(s.hwVariant).putU8(s.deviceNo);
    put(w, s.operatorPassword);
    put(w, s.productSerial);
    put(w, s.reserved1);
    put(w, s.reserved2);
    w.putU8(static_cast<std::uint8_t>((s.ipAlloc & 0x0F) | ((s.blockVersion & 0x03) << 4) |
                                      (s.reservedBits << 6)));
    w.putU8(s.hwModel);
    put(w, s.reserved3);
    w.putU16le(s.netTimeout).putU16le(s.passTimeout);
    w.putPadded(s.firmware, kFirmwareRoom);
    w.putU8(sum8(Bytes(b).first(kBasicSumAt)));
    if (!extended)
        return block.substr(0, kBasicFormSize);
    put(w, s.pppoeAccount);
    put(w, s.pppoePassword);
    put(w, s.serverAddress);
    w.putU16be(s.serverPort);
    w.seek(kMarkerAt); // 26 reserved bytes stay zero
    w.putU8(kExtendedMarker);
    w.putU8(sum8(Bytes(b).first(kExtendedSumAt)));
    return block;
}

std::string encodeDoorBlock(const DoorCounters& c, std::uint32_t logCount, std::uint32_t rightCount,
                            const DoorSettings& settings) {
    std::string block(kDoorBlockSize, '\0');
    MutableBytes b(reinterpret_cast<std::uint8_t*>(block.data()), block.size());
    ByteWriter w(b);
    w.putU32le(logCount).putU32le(c.systemStatus).putU32le(rightCount).putU32le(c.reportIndex);
    put(w, c.reserved);
    w.putU16le(c.inCount).putU16le(c.outCount).putU16le(c.insideCount).putU16le(c.insideLimit);
    w.putU32le(c.runState);
    put(w, settings);
    return block;
}

std::optional<BasicSettings> decodeBasicBlock(Bytes block) {
    if (block.size() < kExtendedFormSize)
        return std::nullopt;
    if (sum8(block.first(kBasicSumAt)) != block[kBasicSumAt] ||
        sum8(block.first(kExtendedSumAt)) != block[kExtendedSumAt])
        return std::nullopt;
    BasicSettings s;
    ByteReader r(block);
    std::size_t nameLength = std::min<std::size_t>(r.u8(), kNameRoom);
    s.name = fieldText(r.take(kNameRoom).first(nameLength));
    take(r, s.mac);
    take(r, s.ip);
    take(r, s.mask);
    take(r, s.gateway);
    take(r, s.hostAddress);
    s.devicePort = r.u16be();
    s.hostPort = r.u16be();
    s.reportMode = r.u8();
    s.groupNo = r.u8();
    s.hwVariant = r.u8();
    s.deviceNo = r.u8();
    take(r, s.operatorPassword);
    take(r, s.productSerial);
    take(r, s.reserved1);
    take(r, s.reserved2);
    std::uint8_t bits = r.u8();
    s.ipAlloc = bits & 0x0F;
    s.blockVersion = (bits >> 4) & 0x03;
    s.reservedBits = bits >> 6;
    s.hwModel = r.u8();
    take(r, s.reserved3);
    s.netTimeout = r.u16le();
    s.passTimeout = r.u16le();
    s.firmware = fieldText(r.take(kFirmwareRoom));
    r.skip(1); // the basic sum
    take(r, s.pppoeAccount);
    take(r, s.pppoePassword);
    take(r, s.serverAddress);
    s.serverPort = r.u16be();
    return s;
}

} // namespace quorvane::sim
