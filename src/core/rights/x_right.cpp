#include "rights/x_right.h"

#include <algorithm>

#include "infra/codepage.h"

namespace quorvane {

std::array<std::uint8_t, 8> xRight::cardField() const {
    std::array<std::uint8_t, 8> out{};
    ByteWriter(out).putU32le(cardHigh).putU32le(cardLow);
    return out;
}

std::string xRight::nameText() const { return fromGbk(fieldText(name)); }

void xRight::setNameText(const std::string& utf8) {
    name.fill(0);
    ByteWriter(name).putPadded(gbkCut(utf8, name.size()), name.size());
}

std::size_t storedRightLength(int rightMode) { return rightMode == 0 ? 20 : 24; }

std::array<std::uint8_t, kRightPayloadLength> encodeRight(const xRight& r, int rightMode) {
    std::array<std::uint8_t, kRightPayloadLength> out{};
    ByteWriter w(out);
    w.putU32le(r.cardHigh).putU32le(r.cardLow);
    if (rightMode == 1) {
        w.putBytes(r.name);
    } else {
        w.putU16le(r.validFromDate).putU16le(r.validFromTime);
        w.putU16le(r.validToDate).putU16le(r.validToTime);
    }
    w.putU8(r.timeZone).putU8(r.readerMask).putU16le(r.remainingCount).putU32le(r.flags);
    return out;
}

std::optional<xRight> decodeRight(Bytes bytes, int rightMode) {
    if (bytes.size() < storedRightLength(rightMode)) return std::nullopt;
    ByteReader in(bytes);
    xRight r;
    r.cardHigh = in.u32le();
    r.cardLow = in.u32le();
    if (rightMode == 1) {
        auto n = in.take(8);
        std::copy(n.begin(), n.end(), r.name.begin());
    } else {
        r.validFromDate = in.u16le();
        r.validFromTime = in.u16le();
        r.validToDate = in.u16le();
        r.validToTime = in.u16le();
    }
    r.timeZone = in.u8();
    r.readerMask = in.u8();
    r.remainingCount = in.u16le();
    if (in.remaining() >= 4) r.flags = in.u32le();
    return r;
}

} // namespace quorvane
