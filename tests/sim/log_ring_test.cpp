// The simulator's log: where its records lie in EEPROM and FLASH (written out from the log
// layout: the viewer reads those areas back, so a layout wrong in both would pass unseen), and
// the clear that empties it.
#include <gtest/gtest.h>

#include <vector>

#include "sim_command_table.h"
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

// The fetches and the fill are seen through the command line (integration); what a clear
// leaves is not.
TEST(LogRing, AClearEmptiesTheAreasAndNothingIsReported) {
    SimController c = makeController({});
    seedLogs(c, 3);
    EXPECT_EQ(send(c, 64, {}).status, 1);
    EXPECT_TRUE(c.logs.records.empty());
    EXPECT_EQ(c.config.counters.reportIndex, 1u);
    EXPECT_EQ(at(c, kEeprom, 0x600), ByteVec(16, 0));
}

} // namespace
