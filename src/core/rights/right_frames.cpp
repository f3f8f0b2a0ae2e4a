#include "rights/right_frames.h"

#include <algorithm>

namespace quorvane {

std::vector<std::uint8_t> addPayload(const xRight& right, int rightMode) {
    auto bytes = encodeRight(right, rightMode);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> cardPayload(std::uint32_t cardHigh, std::uint32_t cardLow) {
    std::vector<std::uint8_t> p(8);
    ByteWriter(p).putU32le(cardHigh).putU32le(cardLow);
    return p;
}

std::vector<std::uint8_t> cardReaderPayload(std::uint32_t cardHigh, std::uint32_t cardLow,
                                            std::uint32_t reader) {
    std::vector<std::uint8_t> p(12);
    ByteWriter(p).putU32le(cardHigh).putU32le(cardLow).putU32le(reader);
    return p;
}

bool answersReadOfCard(const Reply& reply, Bytes askedCard) {
    if (reply.status != 1 || reply.payload.size() < askedCard.size())
        return true;
    const Bytes named = reply.payload.first(askedCard.size());
    return std::equal(named.begin(), named.end(), askedCard.begin()) ||
           std::all_of(named.begin(), named.end(), [](std::uint8_t b) { return b == 0; });
}

bool answersReadAt(const Reply& reply, std::uint32_t askedPosition) {
    if (reply.status != 1)
        return true;
    auto read = readPositionReply(reply.payload);
    return !read || read->position >= askedPosition;
}

std::vector<std::uint8_t> positionPayload(std::uint32_t position, bool searchForward) {
    std::vector<std::uint8_t> p(8);
    ByteWriter(p).putU32le(position).putU32le(searchForward ? 1 : 0);
    return p;
}

std::optional<PositionedRight> readPositionReply(Bytes payload) {
    ByteReader in(payload);
    PositionedRight r;
    r.position = in.u32le();
    if (!in.ok())
        return std::nullopt;
    // The end marker needs no right behind it; any other reply carries at least the part a
    // controller stores (20 bytes in right-mode 0).
    std::size_t rightBytes = std::min(in.remaining(), kRightPayloadLength);
    if (r.position != kNoMoreRights && rightBytes < storedRightLength(0))
        return std::nullopt;
    r.right = in.take(rightBytes);
    return r;
}

} // namespace quorvane
