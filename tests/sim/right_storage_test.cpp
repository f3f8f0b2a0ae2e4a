// Where the simulator lays rights down in its controller's memories, with the addresses written
// out from the right-storage layout: the tool's rights download reads those memories back, so
// a layout the simulator got wrong would be read wrongly by both without a test failing.
#include <gtest/gtest.h>

#include <vector>

#include "sim_command_table.h"
#include "sim_memory_access.h"
#include "sim_right_storage.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using ByteVec = std::vector<std::uint8_t>;

// The status of one request's reply through the command table.
int send(SimController& c, std::uint8_t command, const ByteVec& payload) {
    SimRequest r;
    r.command = command;
    r.payload = Bytes(payload);
    return CommandTable().answer(c, r).value().reply.status;
}

CardKey card(std::uint32_t low) {
    CardKey k{};
    ByteWriter(k, 4).putU32le(low);
    return k;
}

// A right of 24 bytes: card words, validity or name, time zone, readers, count, flags.
ByteVec right(std::uint32_t low) {
    const CardKey k = card(low);
    ByteVec r(k.begin(), k.end());
    r.insert(r.end(),
             {0x21, 0x28, 0, 0, 0x3F, 0x3C, 0x7F, 0xBF, 0, 0xFF, 0xFF, 0xFF, 0x40, 0, 0, 0x10});
    return r;
}

ByteVec memory(const SimController& c, MemoryType type, std::uint32_t address, std::size_t n) {
    ByteVec out(n);
    readMemory(c.memory, type, address, out);
    return out;
}

bool bitmapBit(const SimController& c, std::uint32_t slot) {
    return (memory(c, kEeprom, 29696 + slot / 8, 1)[0] >> (slot % 8)) & 1;
}

// Card 0:1 hashes to bucket 437: its 8 bytes 00 00 00 00 01 00 00 00 give h = 33^3 = 35937.
constexpr std::uint32_t kBucket437 = 1;
// 0x050F0001 adds 15 x 33 + 5 = 500 to that: the same bucket.
constexpr std::uint32_t kAlsoBucket437 = 0x050F0001;

struct LayoutCase {
    const char* name;
    std::uint32_t rightMode;
    bool large;
    std::size_t recordLength;
    MemoryType type;
    std::uint32_t firstAddress; // where the first right of bucket 437 lies, the second after it
    std::uint32_t firstSlot;    // its bitmap index
};

class Layout : public ::testing::TestWithParam<LayoutCase> {};

} // namespace

// Bucket 437 of card 1 is where the layout rows find it.
TEST(RightHash, IsTheCardBytesTimes33Mod500) {
    // 255 x (33^7 + ... + 1) = 255 x 43,950,269,320 wraps in 32 bits to 1,749,001,336.
    EXPECT_EQ(bucketOfCard({255, 255, 255, 255, 255, 255, 255, 255}), 336u);
}

TEST_P(Layout, RightsLieWhereTheStorageImageSays) {
    const auto& p = GetParam();
    SimController c;
    setRightStorage(c.config, p.rightMode, p.large);
    const ByteVec first = right(kBucket437), second = right(kAlsoBucket437);
    EXPECT_EQ(send(c, 18, first), 1);
    EXPECT_EQ(send(c, 18, second), 1);
    const auto length = static_cast<long>(p.recordLength);
    ByteVec both(first.begin(), first.begin() + length);
    both.insert(both.end(), second.begin(), second.begin() + length);
    EXPECT_EQ(memory(c, p.type, p.firstAddress, both.size()), both);
    EXPECT_EQ((std::vector{bitmapBit(c, p.firstSlot), bitmapBit(c, p.firstSlot + 1),
                           bitmapBit(c, p.firstSlot + 2)}),
              (std::vector{true, true, false}));
    EXPECT_EQ(ByteReader(memory(c, kEeprom, 520, 4)).u32le(), 2u); // the right count
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Layout,
    ::testing::Values(
        // Overflow only: bucket 437 -> g = 17 -> groups 29..32; group 29 starts at overflow
        // sector 232 = EEPROM sector 327; slot 500 x 170 + 232 x 21.
        LayoutCase{"Overflow24", 1, false, 24, kEeprom, 327 * 512, 85000 + 232 * 21},
        // R = 20: 25 per sector, 204 per page.
        LayoutCase{"Overflow20", 0, false, 20, kEeprom, 327 * 512, 102000 + 232 * 25},
        // Hashed: FLASH page 437, slot 437 x K.
        LayoutCase{"Hashed24", 2, true, 24, kFlash, 437 * 4096, 437 * 170},
        LayoutCase{"Hashed20", 0, true, 20, kFlash, 437 * 4096, 437 * 204}),
    [](const auto& info) { return std::string(info.param.name); });
