// The simulator's log: where its records lie in EEPROM and FLASH (written out from the log
// layout: the viewer reads those areas back, so a layout wrong in both would pass unseen), and
// the fetch, fill and clear commands that change it.
#include <gtest/gtest.h>

#include <vector>

#include "sim_command_table.h"
#include "sim_identity_fixtures.h"
#include "sim_logs_state.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using ByteVec = std::vector<std::uint8_t>;

SimReply send(SimController& c, std::uint8_t command, const ByteVec& payload) {
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    return CommandTable().answer(c, r).value().reply;
}

ByteVec range(std::uint32_t start, std::uint32_t end) {
    ByteVec p(8);
    ByteWriter(p).putU32le(start).putU32le(end);
    return p;
}

ByteVec at(const SimController& c, MemoryType type, std::uint32_t address) {
    ByteVec out(16);
    EXPECT_TRUE(readLogMemory(c.logs, type, address, out));
    return out;
}

ByteVec record(const SimController& c, std::size_t i) {
    return ByteVec(c.logs.records.at(i).begin(), c.logs.records.at(i).end());
}

TEST(LogRing, FullBlocksLieInTheFlashRingAndTheCurrentOneInTheEepromBuffer) {
    SimController c = makeController({});
    seedLogs(c, 700);
    // 700 records: blocks 0 and 1 (0..511) are full, 512..699 are in the buffer.
    EXPECT_EQ(at(c, kFlash, 0x227000 + 4800), record(c, 300));
    EXPECT_EQ(at(c, kEeprom, 0x600 + 16 * 138), record(c, 650));
    // The buffer's slots past the newest record still hold the block before.
    EXPECT_EQ(at(c, kEeprom, 0x600 + 16 * 200), record(c, 456));
    EXPECT_EQ(at(c, kFlash, 0x227000 + 16 * 512), ByteVec(16, 0));
    ByteVec outside(16);
    EXPECT_FALSE(readLogMemory(c.logs, kEeprom, 0x5F8, outside));
    EXPECT_FALSE(readLogMemory(c.logs, kFlash, 0xC17FF8, outside));
    EXPECT_EQ(c.config.counters.reportIndex, 351u);
}

TEST(LogRing, FetchFillAndClear) {
    SimController c = makeController({});
    seedLogs(c, 3);
    SimReply r = send(c, 48, range(2, 5));
    ASSERT_EQ(r.more.size(), 2u);
    EXPECT_EQ(r.payload.substr(0, 4), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(ByteVec(r.payload.begin() + 4, r.payload.end()), record(c, 2));
    // Past the last record: index 4, an empty record (kind 0).
    EXPECT_EQ(r.more[1].payload, std::string("\x04\0\0\0", 4) + std::string(16, '\0'));
    EXPECT_EQ(send(c, 48, range(5, 5)).status, 0);

    EXPECT_EQ(send(c, 241, {10, 0, 0, 0}).status, 1);
    EXPECT_EQ(c.logs.records.size(), 13u);
    SimReply ids = send(c, 84, range(0, 4));
    ASSERT_EQ(ids.more.size(), 3u);
    EXPECT_EQ(ids.payload.size(), 4 + kIdentityMessageSize);
    EXPECT_EQ(ids.payload.substr(4 + 14 + 256, 3), "WLf");

    EXPECT_EQ(send(c, 64, {}).status, 1);
    EXPECT_TRUE(c.logs.records.empty());
    EXPECT_EQ(c.config.counters.reportIndex, 1u);
    EXPECT_EQ(at(c, kEeprom, 0x600), ByteVec(16, 0));
}

} // namespace
