#include "protocol/pipe_message.h"

#include <cstring>

#include "infra/codepage.h"

namespace quorvane {

std::string buildPipeRequest(const PipeRequest& r) {
    std::string out(kPipeHeaderSize + r.payload.size(), '\0');
    MutableBytes bytes(reinterpret_cast<std::uint8_t*>(out.data()), out.size());
    ByteWriter w(bytes);
    // Each text keeps its terminating zero inside its field.
    w.putPadded(gbkCut(r.address, kPipeAddressField - 1), kPipeAddressField);
    w.putPadded(gbkCut(r.identity, kPipeIdentityField - 1), kPipeIdentityField);
    w.putU32le(r.timeoutMs).putU32le(r.waitFlag).putU32le(r.kind);
    w.putBytes(asBytes(r.payload));
    return out;
}

std::optional<PipeRequest> parsePipeRequest(Bytes message) {
    if (message.size() < kPipeHeaderSize)
        return std::nullopt;
    ByteReader rd(message);
    PipeRequest r;
    r.address = fromGbk(fieldText(rd.take(kPipeAddressField)));
    r.identity = fromGbk(fieldText(rd.take(kPipeIdentityField)));
    r.timeoutMs = rd.u32le();
    r.waitFlag = rd.u32le();
    r.kind = rd.u32le();
    Bytes payload = message.subspan(kPipeHeaderSize);
    r.payload.assign(reinterpret_cast<const char*>(payload.data()), payload.size());
    return r;
}

std::optional<PipeAnswer> readPipeAnswer(Bytes message) {
    PipeAnswer a;
    if (message.size() >= 3 && std::memcmp(message.data(), "xxx", 3) == 0) {
        a.end = true;
        return a;
    }
    if (message.size() < kPipeHeaderSize)
        return std::nullopt;
    a.sender = fromGbk(fieldText(message.first(kPipeHeaderSize)));
    a.frame = message.subspan(kPipeHeaderSize);
    return a;
}

std::string buildPipeAnswer(const std::string& sender, Bytes frame) {
    std::string out(kPipeHeaderSize + frame.size(), '\0');
    MutableBytes bytes(reinterpret_cast<std::uint8_t*>(out.data()), out.size());
    ByteWriter w(bytes);
    w.putPadded(gbkCut(sender, kPipeHeaderSize - 1), kPipeHeaderSize);
    w.putBytes(frame);
    return out;
}

} // namespace quorvane
