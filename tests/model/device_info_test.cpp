#include <gtest/gtest.h>

#include <cstdio>

#include "basic_block_golden.h"
#include "model/device_info.h"
#include "model/enums.h"

namespace quorvane {
namespace {

using test::goldenPayload;
using test::goldenRecord;
using test::goldenReply;

int decode(const std::string& frame, DeviceUIInfo& r, bool& extended) {
    return getUIInfoFromMsg(asBytes(frame), extended, r);
}

class BlockForm : public ::testing::TestWithParam<bool> {};

// Both forms against the hand-built reply: every field where the layout puts it, and the
// encoder writes every field back to the same bytes.
TEST_P(BlockForm, HandBuiltReplyDecodesIntoTheRecordAndEncodesBack) {
    const bool ext = GetParam();
    DeviceUIInfo r;
    bool extended = !ext;
    ASSERT_EQ(decode(goldenReply(ext), r, extended), 0);
    EXPECT_EQ(extended, ext);
    EXPECT_EQ(r, goldenRecord(ext));
    // Sixteen digits are the serial as they are from a basic block, two numbers from an
    // extended one.
    EXPECT_EQ(r.getGlobalId(), ext ? "4201912825242168" : "2018102800000001");
    auto block = encodeBasicBlock(r);
    auto payload = goldenPayload(ext);
    std::size_t n = ext ? kExtendedBlockSize : kBasicBlockSize;
    EXPECT_TRUE(std::equal(payload.begin(), payload.begin() + static_cast<long>(n), block.begin()));
}

INSTANTIATE_TEST_SUITE_P(Device, BlockForm, ::testing::Bool());

// A bad sum leaves the record untouched. A basic reply is 32 + 540 + 1 bytes: without its
// checksum byte the block is refused, not completed with whatever follows.
TEST(DeviceDecode, ABadSumOrATruncatedReplyIsRefused) {
    std::string basic = goldenReply(false);
    basic[32 + 115] = static_cast<char>(basic[32 + 115] + 1);
    DeviceUIInfo r;
    r.name = "untouched";
    bool ext = true;
    EXPECT_EQ(decode(basic, r, ext), -1);
    EXPECT_FALSE(ext);
    // The extended form fails on either block sum or on the frame's checksum, even when the
    // block sums are right.
    const std::string good = goldenReply(true);
    for (std::size_t at : {std::size_t{32 + 115}, std::size_t{32 + 191}, good.size() - 1}) {
        std::string f = good;
        f[at] ^= 0x40;
        EXPECT_EQ(decode(f, r, ext), -2) << at;
        EXPECT_TRUE(ext);
    }
    EXPECT_EQ(r.name, "untouched");

    const std::string whole = goldenReply(false);
    ASSERT_EQ(whole.size(), 573u);
    for (std::size_t n : {0u, 33u, 147u, 148u, 300u, 571u, 572u}) {
        std::vector<std::uint8_t> exact(whole.begin(), whole.begin() + static_cast<long>(n));
        EXPECT_LT(getUIInfoFromMsg(exact, ext, r), 0) << n;
    }
    std::vector<std::uint8_t> noSum(good.begin(), good.end() - 1);
    EXPECT_LT(getUIInfoFromMsg(noSum, ext, r), 0);
}

TEST(DeviceDecode, ExtendedBitsWithoutTheMarkerAreABasicBlock) {
    auto p = goldenPayload(false);
    p[100] = 0x91; // block version 1, byte 190 (a door byte here) is not 0xEE
    p[115] = static_cast<std::uint8_t>(p[115] + 0x10);
    std::string f = goldenReply(false);
    std::copy(p.begin(), p.end(), f.begin() + 32);
    f.back() = static_cast<char>(f.back() + 0x20); // both changed bytes are in the frame's sum
    DeviceUIInfo r;
    bool ext = true;
    ASSERT_EQ(decode(f, r, ext), 0);
    EXPECT_FALSE(ext);
    EXPECT_EQ(r.blockVersion, 1);
    EXPECT_EQ(r.doorConfig, goldenRecord(false).doorConfig); // from payload byte 116
}

TEST(DeviceRecord, DerivedIdentifiersAndTexts) {
    DeviceUIInfo d;
    d.groupNo = 0;
    d.deviceNo = 0;
    d.mac = "00.11.22.33.01.02";
    EXPECT_EQ(d.getTargetId(), 258);
    d.mac = "garbage";
    EXPECT_EQ(d.getRawDeviceId(), 0);
    d.searchModes = 5;
    EXPECT_EQ(d.getSearchMode(), "广播;管道;");
    d.firmwareVersion = "1.2.3";
    d.hwModel = 10;
    for (auto [variant, model, text] :
         {std::tuple{1, 10, "1.2.3-brisca-B"}, std::tuple{3, 10, "1.2.3-brisca"},
          std::tuple{0, 7, "1.2.3-unknown-A"}}) {
        d.hwVariant = static_cast<std::uint8_t>(variant);
        d.hwModel = static_cast<std::uint8_t>(model);
        EXPECT_EQ(d.getHardwareInfo(), text);
    }
    d.doorMode = 9;
    EXPECT_EQ(d.getDoorMode(), "未知");
    std::array<std::uint8_t, 4> a{};
    d.ip = "10.1";
    EXPECT_TRUE(d.getIp(a, IP_ADDR));
    EXPECT_EQ(a, (std::array<std::uint8_t, 4>{10, 1, 0, 0}));
    EXPECT_FALSE(d.getIp(a, 5));
}

TEST(DeviceRecord, ListOrderByAddressTargetOrName) {
    DeviceUIInfo a, b;
    a.ip = "192.168.1.9";
    b.ip = "192.168.1.10";
    EXPECT_TRUE(deviceLess(a, b, 1));
    a.name = "b";
    b.name = "a";
    EXPECT_TRUE(deviceLess(b, a, 3));
    a.groupNo = 1, a.deviceNo = 2;
    b.groupNo = 1, b.deviceNo = 1;
    EXPECT_TRUE(deviceLess(b, a, 2));
}

TEST(Enumerations, TextOfValue) {
    const std::tuple<const char*, long, const char*> cases[] = {{"procmode", 9, "第10项(从1开始)"},
                                                                {"procmode", 2, "Velmora图书馆"},
                                                                {"devtype", 30, "未知"},
                                                                {"devtype", 29, "中显VGUS屏"},
                                                                {"devtype", -1, "未知"},
                                                                {"nosuchkey", 0, ""}};
    for (auto [key, value, text] : cases)
        EXPECT_EQ(enumText(key, value), text) << key << " " << value;
}

TEST(DialogLists, WhereTheyDifferFromTheBlockEnumerations) {
    EXPECT_EQ(readerCardFormatNames()[6], "强制转身份证");
    EXPECT_EQ(portDeviceTypeNames()[8], "条码枪/串口主动设备");
    // Each option caption starts with its own two-digit number.
    for (std::size_t i = 0; i < optionCaptions().size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%02zu.", i + 1);
        EXPECT_EQ(optionCaptions()[i].substr(0, 3), number) << i;
    }
    EXPECT_EQ(optionCaptions().back(), "57.启用Keep-Alive");
}

} // namespace
} // namespace quorvane
