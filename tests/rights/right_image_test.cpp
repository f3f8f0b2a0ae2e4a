#include <gtest/gtest.h>

#include <vector>

#include "rights/right_image.h"

namespace quorvane {
namespace {

struct Images {
    std::vector<std::uint8_t> eeprom = std::vector<std::uint8_t>(kEepromImageSize);
    std::vector<std::uint8_t> flash = std::vector<std::uint8_t>(16 * 1024 * 1024);
    std::vector<std::string> messages;
    std::vector<std::string> debug;

    RightImage make(int rightMode, bool hashed = true) {
        if (hashed)
            ByteWriter(eeprom, kStorageFlagsAddress).putU32le(0xFFFFFFFF);
        return RightImage(
            eeprom, flash, rightMode, [this](const std::string& t) { messages.push_back(t); },
            [this](const std::string& t) { debug.push_back(t); });
    }
};

xRight card(std::uint32_t low) {
    xRight r;
    r.cardLow = low;
    r.timeZone = 1;
    return r;
}

// Cards of one bucket, in ascending card order.
std::vector<xRight> cardsOfBucket(unsigned bucket, std::size_t n) {
    std::vector<xRight> out;
    for (std::uint32_t low = 1; out.size() < n; ++low)
        if (RightImage::bucketOf(card(low)) == bucket)
            out.push_back(card(low));
    return out;
}

TEST(RightImage, BucketHashOverTheCardFieldAndOverflowGroups) {
    EXPECT_EQ(RightImage::bucketOf(card(1)), 437u);
    EXPECT_EQ(RightImage::bucketOf(card(12345678)), 423u);
    xRight id;
    id.cardHigh = 110105194;
    id.cardLow = 912310020;
    EXPECT_EQ(RightImage::bucketOf(id), 423u);
    // The overflow groups of a bucket.
    EXPECT_EQ(RightImage::overflowGroups(0), std::make_pair(0u, 2u));
    EXPECT_EQ(RightImage::overflowGroups(29), std::make_pair(50u, 52u));
    EXPECT_EQ(RightImage::overflowGroups(30), std::make_pair(0u, 2u));
    EXPECT_EQ(RightImage::overflowGroups(1), std::make_pair(1u, 4u));
}

TEST(RightImage, RecordGoesToTheFirstFreeSlotOfItsBucketPage) {
    Images m;
    auto image = m.make(1);
    auto cards = cardsOfBucket(437, 2);
    ASSERT_EQ(image.appendRight(cards[0]), 0);
    ASSERT_EQ(image.appendRight(cards[1]), 0);
    auto first = encodeRight(cards[0], 1);
    auto second = encodeRight(cards[1], 1);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), m.flash.begin() + 437 * 4096));
    EXPECT_TRUE(std::equal(second.begin(), second.end(), m.flash.begin() + 437 * 4096 + 24));
    // Without hashed storage every record goes to the overflow; twenty-byte records in
    // right-mode 0 leave the flags out.
    Images z;
    auto zero = z.make(0, false);
    xRight flagged = cardsOfBucket(0, 1)[0];
    flagged.flags = 0xFFFFFFFF;
    ASSERT_EQ(zero.appendRight(flagged), 0);
    EXPECT_FALSE(zero.slotUsed(0));
    EXPECT_TRUE(zero.slotUsed(zero.overflowBase()));
    EXPECT_EQ(z.eeprom[95 * 512 + 4], flagged.cardLow & 0xFF);
    EXPECT_EQ(z.eeprom[95 * 512 + 16], 1);
    EXPECT_EQ(z.eeprom[95 * 512 + 20], 0);
}

// Bucket 29 holds its page and groups 50..52: 170 + (2 * 8 + 1) * 21 = 527 records.
TEST(RightImage, FullBucketOverflowsIntoItsGroupsInOrderThenReportsOnceAndRefuses) {
    Images m;
    auto image = m.make(1);
    auto cards = cardsOfBucket(29, 530);
    for (std::size_t i = 0; i < 171; ++i)
        ASSERT_EQ(image.appendRight(cards[i]), 0);
    // Group 50 starts at overflow sector 400: EEPROM address (95 + 400) * 512.
    std::uint32_t j = 50 * 8 * 21;
    auto bytes = encodeRight(cards[170], 1);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), m.eeprom.begin() + (95 + 400) * 512));
    EXPECT_TRUE(image.slotUsed(image.overflowBase() + j));
    EXPECT_TRUE(image.testRightMask(true, (95 + 400) * 512, 512));
    // The tested positions reach one record past the range, into the next sector's first slot.
    EXPECT_TRUE(image.testRightMask(true, (95 + 399) * 512, 512));
    EXPECT_FALSE(image.testRightMask(true, (95 + 398) * 512, 512));

    for (std::size_t i = 171; i < 527; ++i)
        ASSERT_EQ(image.appendRight(cards[i]), 0) << i;
    EXPECT_TRUE(m.messages.empty());
    EXPECT_EQ(image.appendRight(cards[527]), -1);
    EXPECT_EQ(image.appendRight(cards[528]), -1);
    EXPECT_EQ(m.messages, std::vector<std::string>{"权限已满！（本消息只提示一次）"});
    EXPECT_EQ(image.rightCount(), 527u);
    EXPECT_EQ(image.bucketCounter(29), 529u);
    image.appendRight(cards[0], true);
    EXPECT_EQ(image.bucketCounter(29), 1u);
    // The last overflow sector (416) is in group 52.
    EXPECT_TRUE(image.testRightMask(true, (95 + 416) * 512, 512));
    EXPECT_EQ(image.rightsSummary(530), "预计记录数量：530，权限值：527，权限位统计值：527");
}

TEST(RightImage, MaskOfPagesFollowsTheSlotsAndEepromPagesTouchingTheBitmapAlwaysCount) {
    Images m;
    auto image = m.make(0);
    EXPECT_FALSE(image.testRightMask(false, 0, 512));
    auto c = cardsOfBucket(3, 30);
    for (auto& r : c)
        image.appendRight(r);
    // Slots 0..29 of bucket 3 cover bytes 0..599 of its page: the first two 512-byte pages.
    // The last page of bucket 2 reaches the first slot of bucket 3.
    std::vector<std::uint32_t> used;
    for (std::uint32_t p = 0; p < 4000; ++p)
        if (image.testRightMask(false, p * 512, 512))
            used.push_back(p * 512);
    EXPECT_EQ(used, (std::vector<std::uint32_t>{3 * 4096 - 512, 3 * 4096, 3 * 4096 + 512}));
    // EEPROM pages 58..95: 48,640 is still below 48,641.
    EXPECT_FALSE(image.testRightMask(true, 96 * 512, 512));
    int eepromPages = 0;
    for (std::uint32_t p = 58; p < 512; ++p)
        eepromPages += image.testRightMask(true, p * 512, 512);
    EXPECT_EQ(eepromPages, 95 - 58 + 1);
}

TEST(RightImage, AnIndexOutsideTheBitmapIsReportedAndAnImageTooSmallRefused) {
    Images m;
    auto image = m.make(1);
    auto before = m.eeprom;
    image.setRightMask(18944 * 8);
    EXPECT_FALSE(image.slotUsed(18944 * 8 + 5));
    EXPECT_EQ(m.eeprom, before);
    EXPECT_EQ(m.debug.size(), 2u);
    image.setRightMask(18944 * 8 - 1);
    EXPECT_EQ(m.eeprom[kBitmapAddress + 18943], 0x80);
    std::vector<std::uint8_t> small(1000);
    EXPECT_THROW(RightImage(small, m.flash, 0, nullptr, nullptr), std::invalid_argument);
}

} // namespace
} // namespace quorvane
