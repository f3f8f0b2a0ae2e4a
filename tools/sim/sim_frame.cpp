#include "sim_frame.h"

#include "protocol/frame.h"

namespace quorvane::sim {

std::optional<SimRequest> readRequest(Bytes datagram) {
    FrameInfo info = inspectFrame(datagram);
    if (!info.isRequest || !info.lengthFits) return std::nullopt;
    SimRequest r;
    r.target = info.target;
    r.sequence = info.sequence;
    r.command = info.command;
    r.payload = datagram.subspan(offsets::kPayload, info.length);
    r.checksumOk = info.checksumOk;
    return r;
}

std::string buildReply(std::uint16_t deviceId, std::uint16_t sequence, std::uint8_t code,
                       const SimReply& reply) {
    std::string frame(kMinFrameSize + reply.payload.size(), '\0');
    MutableBytes b(reinterpret_cast<std::uint8_t*>(frame.data()), frame.size());
    ByteWriter w(b);
    w.fill(0xAA, 16).fill(0xFF, 8).putU16be(deviceId).putU16le(sequence);
    w.putU8(code).putU8(reply.status).putU16be(static_cast<std::uint16_t>(reply.payload.size()));
    w.putBytes(asBytes(reply.payload));
    w.putU8(frameChecksum(b, reply.payload.size()));
    return frame;
}

} // namespace quorvane::sim
