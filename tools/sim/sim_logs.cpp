// The logs module: record fetch (48), identity documents (84), the fill-log test (241).
#include <algorithm>
#include <ctime>

#include "sim_command_table.h"
#include "sim_controller.h"
#include "sim_identity_fixtures.h"
#include "sim_json.h"
#include "sim_logs_state.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// One request answers at most this many indices (records, identity documents): a range from
// outside must not make a controller send without end.
constexpr std::uint32_t kLongestRange = 65536;
constexpr std::uint32_t kLongestIdentityRange = 1024;
constexpr std::time_t kFirstRecordTime = 1767225600; // 2026-01-01 00:00 UTC

using Record = std::array<std::uint8_t, kLogRecordSize>;

// Record i of the test log: kinds 1 (events), 2 (cards) and 3 (operations) in turn, every
// subtype 0..9, every direction, sources from the command codes, now and then offline.
Record testRecord(std::size_t i) {
    static constexpr std::uint8_t kSources[] = {16, 38, 64, 241, 4, 14, 2, 50};
    const unsigned kind = 1 + unsigned(i % 3);
    const unsigned subtype = unsigned(i / 3 % 10);
    std::uint32_t data0 = 0;
    std::uint32_t data1 = 0;
    if (kind == 2)
        data1 = 3000000 + std::uint32_t(i);
    else if (kind == 3)
        data0 = kSources[i % std::size(kSources)], data1 = std::uint32_t(i % 4 + 1);
    else
        data0 = std::uint32_t(i % 8), data1 = std::uint32_t(i % 2);
    std::time_t t = kFirstRecordTime + std::time_t(i) * 60;
    std::tm tm{};
    gmtime_r(&t, &tm);
    Record r{};
    ByteWriter w(r);
    w.putU32le(data0).putU32le(data1);
    w.putU16le(std::uint16_t(((tm.tm_year - 100) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday));
    w.putU16le(std::uint16_t((tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2)));
    w.putU8(std::uint8_t(i % 4 | (i % 4) << 4));
    w.putU8(i % 5 == 4 ? 4 : 0);
    w.putU8(std::uint8_t(i % 4 | kind << 2 | (i % 7 == 6 ? 0x80 : 0)));
    w.putU8(std::uint8_t(subtype << 1 | (i % 4) << 6));
    return r;
}

std::uint32_t blockStart(std::size_t count) {
    return std::uint32_t(count / kLogBlockRecords * kLogBlockRecords);
}

// The record a slot of an area holds now, or null.
const Record* atSlot(const LogsState& logs, MemoryType type, std::uint32_t slot) {
    const std::size_t n = logs.records.size();
    const std::uint32_t full = blockStart(n);
    if (type == kFlash) {
        if (slot >= full)
            return nullptr;
        // The newest record that went to this slot of the ring.
        return &logs.records[slot +
                             std::size_t(kLogRingRecords) * ((full - 1 - slot) / kLogRingRecords)];
    }
    if (full + slot < n)
        return &logs.records[full + slot];
    // The buffer still holds the block before, which the ring has too.
    return full >= kLogBlockRecords ? &logs.records[full - kLogBlockRecords + slot] : nullptr;
}

std::optional<SimReply> rangeReplies(const SimRequest& r, const SimController& c,
                                     std::uint32_t longest,
                                     std::string (*item)(const SimController&, std::uint32_t)) {
    ByteReader in(r.payload);
    const std::uint32_t start = in.u32le();
    const std::uint32_t end = in.u32le();
    if (!in.ok() || end <= start)
        return SimReply{kFailed, {}};
    const std::uint32_t count = std::min(end - start, longest);
    SimReply first{kDone, item(c, start)};
    for (std::uint32_t k = 1; k < count; ++k)
        first.more.push_back(SimReply{kDone, item(c, start + k)});
    return first;
}

std::string indexed(std::uint32_t index, std::string_view body) {
    std::string p(4, '\0');
    for (int b = 0; b < 4; ++b)
        p[std::size_t(b)] = char(index >> (8 * b));
    return p.append(body);
}

// Past the last record a record of kind 0, which reads as "no data".
std::string recordEntry(const SimController& c, std::uint32_t index) {
    Record r{};
    if (index < c.logs.records.size())
        r = c.logs.records[index];
    return indexed(index, {reinterpret_cast<const char*>(r.data()), r.size()});
}

std::string identityEntry(const SimController& c, std::uint32_t index) {
    const auto& docs = c.logs.identityDocuments;
    return indexed(index,
                   index < docs.size() ? docs[index] : std::string(kIdentityMessageSize, '\0'));
}

std::optional<SimReply> getRecords(SimController& c, const SimRequest& r) {
    return rangeReplies(r, c, kLongestRange, recordEntry);
}

std::optional<SimReply> getIdentities(SimController& c, const SimRequest& r) {
    return rangeReplies(r, c, kLongestIdentityRange, identityEntry);
}

std::optional<SimReply> fillLog(SimController& c, const SimRequest& r) {
    ByteReader in(r.payload);
    const std::uint32_t count = in.u32le();
    if (!in.ok())
        return SimReply{kFailed, {}};
    appendTestRecords(c, std::min(count, kLongestRange));
    return SimReply{kDone, {}};
}

void addCommands(CommandTable& table) {
    table.add(48, getRecords);
    table.add(84, getIdentities);
    table.add(241, fillLog);
}

Json dump(const SimController& c) {
    return {{"count", c.logs.records.size()},
            {"identityDocuments", c.logs.identityDocuments.size()}};
}

} // namespace

bool readLogMemory(const LogsState& logs, MemoryType type, std::uint32_t address,
                   MutableBytes out) {
    std::uint32_t base = 0;
    std::uint32_t slots = 0;
    if (type == kEeprom)
        base = kLogBufferAddress, slots = kLogBlockRecords;
    else if (type == kFlash)
        base = kLogRingAddress, slots = kLogRingRecords;
    else
        return false;
    const std::uint64_t end = std::uint64_t(base) + std::uint64_t(slots) * kLogRecordSize;
    if (address < base || address + std::uint64_t(out.size()) > end)
        return false;
    for (std::size_t k = 0; k < out.size();) {
        const std::uint32_t offset = address - base + std::uint32_t(k);
        const std::uint32_t slot = offset / kLogRecordSize;
        const std::size_t within = offset % kLogRecordSize;
        const std::size_t n = std::min(out.size() - k, kLogRecordSize - within);
        const Record* r = atSlot(logs, type, slot);
        for (std::size_t b = 0; b < n; ++b)
            out[k + b] = r ? (*r)[within + b] : 0;
        k += n;
    }
    return true;
}

void appendTestRecords(SimController& c, std::uint32_t count) {
    auto& records = c.logs.records;
    records.reserve(records.size() + count);
    for (std::uint32_t k = 0; k < count; ++k)
        records.push_back(testRecord(records.size()));
}

void clearLogRing(SimController& c) {
    c.logs.records.clear();
    c.config.counters.reportIndex = 1;
}

void seedLogs(SimController& c, long records) {
    appendTestRecords(c, std::uint32_t(records));
    if (records > 0)
        c.config.counters.reportIndex = std::uint32_t(records / 2 + 1);
    c.logs.identityDocuments = identityFixtures();
}

const SimModule kLogsModule{"logs", addCommands, dump};

} // namespace quorvane::sim
