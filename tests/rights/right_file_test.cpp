#include <gtest/gtest.h>

#include "infra/codepage.h"
#include "rights/right_file.h"
#include "rights/right_frames.h"
#include "rights/right_replies.h"
#include "sample_frames.h"

namespace quorvane {
namespace {

std::string line(const std::string& card, int readers = 255) {
    return "【序号=0000000001;卡号=" + card +
           ";生效时间=2000-01-01 00:00:00;失效时间=2030-01-01 23:59:58;时段=0;读头=" +
           std::to_string(readers) +
           ";次数余额=65535;位置=未知;类型=0;反潜回=0;包裹=0;欠费=0;用户标志1=0;用户标志2=0;"
           "用户标志3=0;】";
}

using test::le32;

} // namespace

TEST(RightFile, LastLineOfACardWinsAndCardsGoInByteOrder) {
    std::string text = line("9", 1) + "\r\n" + line("10") + "\n\n\r\n" + line("9", 2) + "\r\n" +
                       line("0000000008") + "\r\n";
    auto c = readRightFile(toGbk(text), {});
    EXPECT_EQ(c.lines, 4);
    EXPECT_EQ(c.refused, 0);
    ASSERT_EQ(c.items.size(), 3u);
    // "0000000008" < "10" < "9" byte by byte.
    EXPECT_EQ(c.items[0].card, "0000000008");
    EXPECT_EQ(c.items[1].card, "10");
    EXPECT_EQ(c.items[2].card, "9");
    EXPECT_EQ(c.items[2].payload[17], 2);
}

TEST(RightFile, LinesThatAreNoRightsAreCountedAndTheFirstIsNamed) {
    std::string tooLong = line("5") + std::string(1100, ' ');
    std::string text = "hello\r\n" + line("") + "\r\n" + tooLong + "\r\n" + line("12,3") + "\r\n" +
                       line("7") + "\r\n";
    auto c = readRightFile(toGbk(text), {});
    EXPECT_EQ(c.lines, 5);
    EXPECT_EQ(c.refused, 4);
    EXPECT_EQ(c.firstRefusal, "权限格式错误：hello");
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_EQ(c.items[0].card, "7");
}

TEST(RightFile, NameFormLinesCarryTheNameInRightModeOne) {
    std::string text =
        "【序号=0000000001;卡号=0000000003;名称=王五;时段=0;读头=1;次数余额=1;位置=内部;"
        "类型=0;反潜回=0;包裹=0;欠费=0;用户标志1=0;用户标志2=0;用户标志3=0;】";
    auto c = readRightFile(toGbk(text), {1, {}, 0});
    ASSERT_EQ(c.items.size(), 1u);
    EXPECT_EQ(std::string(c.items[0].payload.begin() + 8, c.items[0].payload.begin() + 12),
              toGbk("王五"));
}

TEST(PositionReply, ReadsThePositionAndTheRightBehindIt) {
    std::string right(24, '\x11');
    auto r = readPositionReply(asBytes(le32(7) + right));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->position, 7u);
    EXPECT_EQ(r->right.size(), 24u);
    // The end marker may come alone; any other position needs at least 20 right bytes.
    auto end = readPositionReply(asBytes(le32(0xFFFFFFFF)));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->position, kNoMoreRights);
    EXPECT_FALSE(readPositionReply(asBytes(le32(7) + std::string(19, '\0'))));
    EXPECT_TRUE(readPositionReply(asBytes(le32(7) + std::string(20, '\0'))));
    EXPECT_FALSE(readPositionReply(asBytes(le32(7).substr(0, 3))));
}

TEST(ReadReplyNotice, ShowsTheRightNoRightOrFailure) {
    std::string right = le32(0) + le32(12345) + std::string(16, '\0');
    std::string withPosition = le32(3) + right;
    EXPECT_EQ(readReplyNotice(1, asBytes(withPosition), true, {}),
              "获取权限成功，信息=【序号=0000000003;卡号=0000012345;生效时间=2000-00-00 "
              "00:00:00;失效时间=2000-00-00 00:00:00;时段=0;读头=0;次数余额=0;位置=未知;类型=0;"
              "反潜回=0;包裹=0;欠费=0;用户标志1=0;用户标志2=0;用户标志3=0;】");
    EXPECT_EQ(readReplyNotice(1, asBytes(std::string(24, '\0')), false, {}),
              "操作成功，设备上没有要获取的权限！");
    EXPECT_EQ(readReplyNotice(0, asBytes(right), false, {}), "权限操作失败！");
    // Status 1 with a payload too short for its right once read as "no right on the device".
    EXPECT_EQ(readReplyNotice(1, asBytes(right.substr(0, 19)), false, {}), "权限操作失败！");
    EXPECT_EQ(readReplyNotice(1, asBytes(right.substr(0, 23)), true, {}), "权限操作失败！");
}

} // namespace quorvane
