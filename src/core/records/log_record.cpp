#include "records/log_record.h"

namespace quorvane {
namespace {
unsigned rotatedRight3(std::uint8_t b) {
    return ((b >> 3) | ((b & 7) << 5)) & 0xFF;
}
} // namespace

unsigned LogRecord::door() const {
    unsigned r = rotatedRight3(doorReader);
    switch (numberingMode()) {
    case 1:
        return r;
    case 2:
        return (r + 1) / 2;
    default:
        return doorReader & 7;
    }
}

unsigned LogRecord::reader() const {
    return numberingMode() == 0 ? unsigned(doorReader >> 3) : rotatedRight3(doorReader);
}

std::optional<LogRecord> LogRecord::decode(Bytes bytes) {
    if (bytes.size() < kLogRecordSize)
        return std::nullopt;
    ByteReader in(bytes);
    LogRecord r;
    r.data0 = in.u32le();
    r.data1 = in.u32le();
    r.packedDate = in.u16le();
    r.packedTime = in.u16le();
    r.doorReader = in.u8();
    r.resultCode = in.u8();
    r.kindByte = in.u8();
    r.subtypeByte = in.u8();
    return r;
}

std::optional<LogEntry> LogEntry::decode(Bytes bytes) {
    if (bytes.size() < kLogEntrySize)
        return std::nullopt;
    LogEntry e;
    e.sequence = ByteReader(bytes).u32le();
    e.record = *LogRecord::decode(bytes.subspan(4));
    return e;
}

} // namespace quorvane
