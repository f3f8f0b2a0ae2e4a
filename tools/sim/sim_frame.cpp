#include "sim_frame.h"

#include <algorithm>

namespace quorvane::sim {

namespace {
constexpr std::size_t kTargetAt = 24;
constexpr std::size_t kCommandAt = 28;
} // namespace

std::optional<SimRequest> readRequest(Bytes d) {
    if (d.size() < kFrameHeaderSize + 1)
        return std::nullopt;
    bool prefix = std::all_of(d.begin(), d.begin() + 16, [](auto c) { return c == 0x55; }) &&
                  d[16] == 0xFF && d[17] == 0xFF;
    if (!prefix)
        return std::nullopt;
    ByteReader r(d, kTargetAt);
    SimRequest q;
    q.target = r.u16be();
    q.sequence = r.u16le();
    q.command = r.u8();
    r.skip(1);
    std::size_t length = r.u16be();
    if (kFrameHeaderSize + length >= d.size())
        return std::nullopt;
    q.payload = d.subspan(kFrameHeaderSize, length);
    q.checksumOk = sum8(d.subspan(kCommandAt, 4 + length)) == d[kFrameHeaderSize + length];
    return q;
}

std::string buildReply(std::uint16_t deviceId, std::uint16_t sequence, std::uint8_t code,
                       const SimReply& reply) {
    std::string frame(kFrameHeaderSize + reply.payload.size() + 1, '\0');
    MutableBytes b(reinterpret_cast<std::uint8_t*>(frame.data()), frame.size());
    ByteWriter w(b);
    w.fill(0xAA, 16).fill(0xFF, 8).putU16be(deviceId).putU16le(sequence);
    w.putU8(code).putU8(reply.status).putU16be(static_cast<std::uint16_t>(reply.payload.size()));
    w.putBytes(asBytes(reply.payload));
    w.putU8(sum8(Bytes(b).subspan(kCommandAt, 4 + reply.payload.size())));
    return frame;
}

} // namespace quorvane::sim
