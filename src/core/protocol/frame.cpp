#include "protocol/frame.h"

#include <algorithm>

#include "protocol/scramble.h"

namespace quorvane {

namespace {
constexpr std::uint32_t kPasswordKey = 0x3C9E5A17;

std::uint64_t packPassword(const std::array<std::uint8_t, 6>& b) {
    std::uint64_t v = 0;
    for (int i = 0; i < 6; ++i)
        v |= std::uint64_t(b[i]) << (8 * i);
    return v;
}
} // namespace

std::uint16_t ProtocolState::nextSequence() {
    std::uint16_t cur = sequence_.load();
    std::uint16_t use, next;
    do {
        use = cur == 0 ? 1 : cur;
        next = static_cast<std::uint16_t>(use + 1);
        if (next == 0)
            next = 1;
    } while (!sequence_.compare_exchange_weak(cur, next));
    return use;
}

void ProtocolState::fillOpPassword(std::string_view gbkText) {
    std::array<std::uint8_t, 6> field{};
    if (gbkText.empty()) {
        field.fill(0xFF);
    } else {
        std::size_t n = std::min<std::size_t>(gbkText.size(), 6);
        for (std::size_t i = 0; i < n; ++i)
            field[i] = static_cast<std::uint8_t>(gbkText[i]);
        ByteReader r(field, 2);
        std::uint32_t word = scramble(r.u32le(), kPasswordKey);
        ByteWriter(field, 2).putU32le(word);
    }
    password_.store(packPassword(field));
}

std::array<std::uint8_t, 6> ProtocolState::opPassword() const {
    std::uint64_t v = password_.load();
    std::array<std::uint8_t, 6> b{};
    for (int i = 0; i < 6; ++i)
        b[i] = static_cast<std::uint8_t>(v >> (8 * i));
    return b;
}

bool buildFrameHeader(MutableBytes frame, std::uint16_t targetId, std::uint8_t command,
                      ProtocolState& state) {
    if (frame.size() < kMinFrameSize)
        return false;
    std::fill(frame.begin(), frame.end(), 0);
    auto pw = state.opPassword();
    ByteWriter w(frame);
    w.fill(0x55, 16).fill(0xFF, 2).putBytes(pw).putU16be(targetId).putU16le(state.nextSequence());
    w.putU8(command);
    return true;
}

std::uint8_t frameChecksum(Bytes frame, std::size_t payloadLength) {
    std::size_t end = offsets::kPayload + payloadLength;
    if (end > frame.size())
        return 0;
    return sum8(frame.subspan(offsets::kCommand, end - offsets::kCommand));
}

bool finishFrame(MutableBytes frame, std::size_t payloadLength) {
    if (payloadLength > 0xFFFF || offsets::kPayload + payloadLength >= frame.size())
        return false;
    ByteWriter(frame, offsets::kLength).putU16be(static_cast<std::uint16_t>(payloadLength));
    frame[offsets::kPayload + payloadLength] = frameChecksum(frame, payloadLength);
    return true;
}

std::string buildRequest(std::uint16_t targetId, std::uint8_t command, Bytes payload,
                         ProtocolState& state) {
    std::string out(kMinFrameSize + payload.size(), '\0');
    MutableBytes frame(reinterpret_cast<std::uint8_t*>(out.data()), out.size());
    buildFrameHeader(frame, targetId, command, state);
    std::copy(payload.begin(), payload.end(), frame.begin() + offsets::kPayload);
    finishFrame(frame, payload.size());
    return out;
}

FrameInfo inspectFrame(Bytes data) {
    FrameInfo info;
    if (data.size() < kMinFrameSize)
        return info;
    info.isReply =
        std::all_of(data.begin(), data.begin() + 16, [](auto c) { return c == 0xAA; }) &&
        std::all_of(data.begin() + 16, data.begin() + 24, [](auto c) { return c == 0xFF; });
    info.isRequest =
        std::all_of(data.begin(), data.begin() + 16, [](auto c) { return c == 0x55; }) &&
        data[16] == 0xFF && data[17] == 0xFF;
    ByteReader r(data, offsets::kTarget);
    info.target = r.u16be();
    info.sequence = r.u16le();
    info.command = r.u8();
    info.status = r.u8();
    info.length = r.u16be();
    info.lengthFits = offsets::kPayload + std::size_t(info.length) < data.size();
    info.checksumOk = info.lengthFits &&
                      frameChecksum(data, info.length) == data[offsets::kPayload + info.length];
    return info;
}

Bytes declaredFrame(Bytes data) {
    FrameInfo info = inspectFrame(data);
    if (!info.lengthFits)
        return {};
    return data.first(kMinFrameSize + info.length);
}

} // namespace quorvane
