// The rights module: each command through the command table, and where the rights land in the
// controller's memories, with the addresses written out from the right-storage layout.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "sim_exchange.h"
#include "sim_memory_access.h"
#include "sim_right_storage.h"

using namespace quorvane;
using namespace quorvane::sim;

namespace {

using quorvane::sim::test::Answer;
using quorvane::sim::test::ByteVec;
using quorvane::sim::test::send;

ByteVec u32(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

ByteVec withU32(ByteVec bytes, std::uint32_t v) {
    ByteVec tail = u32(v);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

ByteVec card(std::uint32_t high, std::uint32_t low) {
    return withU32(u32(high), low);
}

// A right of 24 bytes: card words, validity or name, time zone, readers, count, flags.
ByteVec right(std::uint32_t high, std::uint32_t low, std::uint8_t readers = 0xFF,
              std::uint8_t zones = 0) {
    ByteVec r = card(high, low);
    const ByteVec rest = {0x21,  0x28,    0x00, 0x00, 0x3F, 0x3C, 0x7F, 0xBF,
                          zones, readers, 0xFF, 0xFF, 0x40, 0x00, 0x00, 0x10};
    r.insert(r.end(), rest.begin(), rest.end());
    return r;
}

ByteVec withReader(ByteVec c, std::uint32_t reader) {
    return withU32(std::move(c), reader);
}

ByteVec memory(const SimController& c, MemoryType type, std::uint32_t address, std::size_t n) {
    ByteVec out(n);
    readMemory(c.memory, type, address, out);
    return out;
}

bool bitmapBit(const SimController& c, std::uint32_t slot) {
    return (memory(c, kEeprom, 29696 + slot / 8, 1)[0] >> (slot % 8)) & 1;
}

std::uint32_t countWord(const SimController& c) {
    return ByteReader(memory(c, kEeprom, 520, 4)).u32le();
}

SimController controller(std::uint32_t rightMode, bool large) {
    SimController c;
    setRightStorage(c.config, rightMode, large);
    return c;
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
    std::uint32_t firstAddress;  // where the first right of bucket 437 lies
    std::uint32_t secondAddress; // the second one
    std::uint32_t firstSlot;     // its bitmap index
};

class Layout : public ::testing::TestWithParam<LayoutCase> {};

} // namespace

TEST(RightHash, IsTheCardBytesTimes33Mod500) {
    EXPECT_EQ(bucketOfCard({0, 0, 0, 0, 1, 0, 0, 0}), 437u);
    EXPECT_EQ(bucketOfCard({0, 0, 0, 0, 1, 0, 15, 5}), 437u);
    EXPECT_EQ(bucketOfCard({0, 0, 0, 0, 0, 0, 0, 0}), 0u);
    // 255 x (33^7 + ... + 1) = 255 x 43,950,269,320 wraps in 32 bits to 1,749,001,336.
    EXPECT_EQ(bucketOfCard({255, 255, 255, 255, 255, 255, 255, 255}), 336u);
}

TEST_P(Layout, RightsLieWhereTheStorageImageSays) {
    const auto& p = GetParam();
    SimController c = controller(p.rightMode, p.large);
    ByteVec first = right(0, kBucket437);
    ByteVec second = right(0, kAlsoBucket437);
    EXPECT_EQ(send(c, 18, first).status, 1);
    EXPECT_EQ(send(c, 18, second).status, 1);

    EXPECT_EQ(memory(c, p.type, p.firstAddress, p.recordLength),
              ByteVec(first.begin(), first.begin() + static_cast<long>(p.recordLength)));
    EXPECT_EQ(memory(c, p.type, p.secondAddress, p.recordLength),
              ByteVec(second.begin(), second.begin() + static_cast<long>(p.recordLength)));
    EXPECT_TRUE(bitmapBit(c, p.firstSlot));
    EXPECT_TRUE(bitmapBit(c, p.firstSlot + 1));
    EXPECT_FALSE(bitmapBit(c, p.firstSlot + 2));
    EXPECT_EQ(countWord(c), 2u);
    // The door-access block reports the count at D8.
    Answer door = send(c, 12, {});
    ASSERT_GE(door.payload.size(), 12u);
    EXPECT_EQ(ByteReader(door.payload, 8).u32le(), 2u);

    // Read back by position: the slot's index + 1; a 20-byte record comes back with zero flags.
    Answer read = send(c, 52, {1, 0, 0, 0, 1, 0, 0, 0});
    ASSERT_EQ(read.payload.size(), 28u);
    EXPECT_EQ(ByteReader(read.payload).u32le(), p.firstSlot + 1);
    ByteVec expected = first;
    std::fill(expected.begin() + static_cast<long>(p.recordLength), expected.end(), 0);
    EXPECT_EQ(ByteVec(read.payload.begin() + 4, read.payload.end()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Layout,
    ::testing::Values(
        // Overflow only: bucket 437 -> g = 17 -> groups 29..32; group 29 starts at overflow
        // sector 232 = EEPROM sector 327; slot 500 x 170 + 232 x 21.
        LayoutCase{"Overflow24", 1, false, 24, kEeprom, 327 * 512, 327 * 512 + 24,
                   85000 + 232 * 21},
        // R = 20: 25 per sector, 204 per page.
        LayoutCase{"Overflow20", 0, false, 20, kEeprom, 327 * 512, 327 * 512 + 20,
                   102000 + 232 * 25},
        // Hashed: FLASH page 437, slot 437 x K.
        LayoutCase{"Hashed24", 2, true, 24, kFlash, 437 * 4096, 437 * 4096 + 24, 437 * 170},
        LayoutCase{"Hashed20", 0, true, 20, kFlash, 437 * 4096, 437 * 4096 + 20, 437 * 204}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimRights, AddingACardAgainReplacesItsRight) {
    SimController c = controller(1, true);
    EXPECT_EQ(send(c, 18, right(0, 7, 0x01)).status, 1);
    EXPECT_EQ(send(c, 18, right(0, 7, 0x10)).status, 1);
    EXPECT_EQ(countWord(c), 1u);
    Answer read = send(c, 116, card(0, 7));
    EXPECT_EQ(read.code, 117);
    EXPECT_EQ(read.payload, right(0, 7, 0x10));
}

TEST(SimRights, RemoveFreesTheSlotAndRefusesAnUnknownCard) {
    SimController c = controller(1, false);
    send(c, 18, right(0, kBucket437));
    EXPECT_EQ(send(c, 20, card(0, kBucket437)), (Answer{21, 1, {}}));
    EXPECT_EQ(countWord(c), 0u);
    EXPECT_FALSE(bitmapBit(c, 85000 + 232 * 21));
    EXPECT_EQ(memory(c, kEeprom, 327 * 512, 24), ByteVec(24, 0));
    EXPECT_EQ(send(c, 20, card(0, kBucket437)).status, 0);
    // The freed slot is taken again first.
    send(c, 18, right(0, kAlsoBucket437));
    EXPECT_TRUE(bitmapBit(c, 85000 + 232 * 21));
}

TEST(SimRights, CheckPassesOnlyAtAReaderOfTheRightsMask) {
    SimController c = controller(1, true);
    send(c, 18, right(0, 9, 0x10));        // Wiegand 1 = reader 5
    send(c, 18, right(0, 10, 0xFF, 0x01)); // opening forbidden
    EXPECT_EQ(send(c, 22, withReader(card(0, 9), 5)).status, 1);
    EXPECT_EQ(send(c, 22, withReader(card(0, 9), 1)).status, 0);
    EXPECT_EQ(send(c, 22, withReader(card(0, 9), 255)).status, 0);
    EXPECT_EQ(send(c, 22, withReader(card(0, 10), 5)).status, 0);
    EXPECT_EQ(send(c, 22, withReader(card(0, 11), 5)).status, 0);
    EXPECT_EQ(c.rights.checks, 5);
    EXPECT_EQ(c.rights.checksPassed, 1);
}

TEST(SimRights, ReadByPositionSearchesForwardAndEndsWithMinusOne) {
    SimController c = controller(1, true);
    send(c, 18, right(0, kBucket437));
    const std::uint32_t position = 437 * 170 + 1;
    // Searching forward from 1 finds it; from the next position there is nothing more.
    EXPECT_EQ(ByteReader(send(c, 52, {1, 0, 0, 0, 1, 0, 0, 0}).payload).u32le(), position);
    ByteVec after = u32(position + 1);
    for (auto b : u32(1))
        after.push_back(b);
    Answer end = send(c, 52, after);
    EXPECT_EQ(end.status, 1);
    ByteVec endMarker(28, 0);
    std::fill(endMarker.begin(), endMarker.begin() + 4, 0xFF);
    EXPECT_EQ(end.payload, endMarker);
    // Without searching, a free slot answers its own position with an empty right, and a
    // position past the last slot (85,000 + 8,757) answers -1.
    Answer free = send(c, 52, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(ByteReader(free.payload).u32le(), 1u);
    EXPECT_EQ(ByteVec(free.payload.begin() + 4, free.payload.end()), ByteVec(24, 0));
    ByteVec past = u32(93757 + 1);
    for (auto b : u32(0))
        past.push_back(b);
    EXPECT_EQ(ByteReader(send(c, 52, past).payload).u32le(), 0xFFFFFFFFu);
}

TEST(SimRights, ClearEmptiesEveryArea) {
    SimController c = controller(1, true);
    for (std::uint32_t n = 1; n <= 50; ++n)
        send(c, 18, right(0, n));
    EXPECT_EQ(countWord(c), 50u);
    EXPECT_EQ(send(c, 24, {}), (Answer{25, 1, {}}));
    EXPECT_EQ(countWord(c), 0u);
    EXPECT_FALSE(nextUsedSlot(c, 0));
    EXPECT_EQ(ByteReader(send(c, 52, {1, 0, 0, 0, 1, 0, 0, 0}).payload).u32le(), 0xFFFFFFFFu);
    EXPECT_EQ(send(c, 116, card(0, 1)).payload, ByteVec(24, 0));
}

TEST(SimRights, ABucketWhoseOverflowGroupsAreFullRefusesTheNextCard) {
    // Bucket 29 searches groups 50..52: 2 x 8 sectors and the last single one, 17 x 21 slots.
    SimController c = controller(1, false);
    int stored = 0;
    std::uint32_t low = 0;
    while (stored < 17 * 21) {
        ++low;
        if (bucketOfCard({0, 0, 0, 0, std::uint8_t(low), std::uint8_t(low >> 8),
                          std::uint8_t(low >> 16), std::uint8_t(low >> 24)}) != 29)
            continue;
        ASSERT_EQ(send(c, 18, right(0, low)).status, 1) << stored;
        ++stored;
    }
    // The last of them lies in the last sector (416 = EEPROM sector 511), last slot.
    EXPECT_EQ(ByteReader(memory(c, kEeprom, 511 * 512 + 20 * 24, 8), 4).u32le(), low);
    do {
        ++low;
    } while (bucketOfCard({0, 0, 0, 0, std::uint8_t(low), std::uint8_t(low >> 8),
                           std::uint8_t(low >> 16), std::uint8_t(low >> 24)}) != 29);
    EXPECT_EQ(send(c, 18, right(0, low)).status, 0);
    EXPECT_EQ(countWord(c), static_cast<std::uint32_t>(17 * 21));
}

TEST(SimRights, SwipeIsRecordedWithWhetherItWouldOpen) {
    SimController c = controller(1, true);
    send(c, 18, right(0, 9, 0x10));
    Answer a = send(c, 114, withReader(card(0, 9), 5));
    EXPECT_EQ(a.code, 115);
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(c.rights.swipes, 1);
    EXPECT_TRUE(c.rights.lastSwipe.granted);
    EXPECT_EQ(c.rights.lastSwipe.reader, 5u);
    send(c, 114, withReader(card(0, 8), 5));
    EXPECT_FALSE(c.rights.lastSwipe.granted);
}

TEST(SimRights, MalformedRequestsGetTheFormatStatus) {
    SimController c = controller(1, true);
    for (auto [command, size] : std::vector<std::pair<std::uint8_t, std::size_t>>{
             {18, 20}, {20, 12}, {22, 8}, {24, 1}, {52, 4}, {114, 8}, {116, 9}})
        EXPECT_EQ(send(c, command, ByteVec(size, 1)).status, 0xFE) << int(command);
    EXPECT_EQ(countWord(c), 0u);
}
