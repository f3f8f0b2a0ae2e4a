#include "protocol/reader_flag.h"

namespace quorvane {

namespace {
constexpr std::uint8_t kStart = 0x09;
constexpr std::uint8_t kEnd = 0x0D;
constexpr std::uint8_t kAnswerStart = 0x0A;
constexpr char kHex[] = "0123456789ABCDEF";
} // namespace

std::array<std::uint8_t, kReaderFlagFrameSize> readerFlagFrame(std::string_view serial,
                                                               std::uint8_t flag) {
    std::array<std::uint8_t, kReaderFlagFrameSize> f{};
    ByteWriter w(f);
    w.putU8(kStart).putU8('A').putU8('X').putU8('C');
    w.putPadded(serial, kReaderSerialLength);
    w.putU8(flag);
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < w.pos(); ++i)
        x ^= f[i];
    w.putU8(static_cast<std::uint8_t>(kHex[x >> 4])).putU8(static_cast<std::uint8_t>(kHex[x & 15]));
    w.putU8(kEnd);
    return f;
}

bool readerFlagAccepted(Bytes reply, std::uint8_t flag) {
    ByteReader r(reply);
    const std::uint8_t first = r.u8();
    r.skip(1);
    const std::uint8_t third = r.u8();
    return r.ok() && first == kAnswerStart && third == flag;
}

} // namespace quorvane
