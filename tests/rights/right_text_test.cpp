#include <gtest/gtest.h>

#include "infra/codepage.h"
#include "model/packed_time.h"
#include "rights/right_text.h"
#include "test_paths.h"

namespace quorvane {
namespace {

xRight sampleRight() {
    xRight r;
    r.cardLow = 65546;
    r.validFromDate = packDate(2024, 1, 2);
    r.validFromTime = packTime(3, 4, 6);
    r.validToDate = packDate(2099, 12, 31);
    r.validToTime = packTime(23, 59, 58);
    r.timeZone = 3;
    r.readerMask = 0xF1;
    r.remainingCount = 65535;
    r.setLocation(3);
    r.setType(15);
    r.setFlag(kFlagAntiPassback, true);
    r.setFlag(kFlagArrears, true);
    r.setFlag(kFlagUser3, true);
    return r;
}

// The fields after the validity (or the name), all zero.
const std::string kZeroTail = "时段=0;读头=0;次数余额=0;位置=未知;类型=0;反潜回=0;包裹=0;欠费=0;"
                              "用户标志1=0;用户标志2=0;用户标志3=0;】";

xRight parsed(std::string_view line, RightTextOptions o, std::uint32_t code = 0) {
    auto v = parseRightText(line, o, code);
    EXPECT_TRUE(std::holds_alternative<xRight>(v)) << line;
    return std::holds_alternative<xRight>(v) ? std::get<xRight>(v) : xRight{};
}

TEST(RightText, ValidityFormPrintsEveryField) {
    EXPECT_EQ(formatRightText(sampleRight(), 7, {0, false}),
              "【序号=0000000007;卡号=0000065546;生效时间=2024-01-02 03:04:06;"
              "失效时间=2099-12-31 23:59:58;时段=3;读头=241;次数余额=65535;位置=机密区;类型=15;"
              "反潜回=1;包裹=0;欠费=1;用户标志1=0;用户标志2=0;用户标志3=1;】");
}

// The validity form is printed and read from hand-written lines above and below; the name form
// puts the name where the times were, and an empty one keeps the fields after it.
TEST(RightText, NameFormCarriesTheNameInPlaceOfTheTimes) {
    xRight named = sampleRight();
    named.validFromDate = named.validFromTime = named.validToDate = named.validToTime = 0;
    RightTextOptions one{1, false};
    for (std::string name : {"张三丰", ""}) {
        named.setNameText(name);
        std::string line = formatRightText(named, 12, one);
        EXPECT_NE(line.find(";名称=" + name + ";时段=3;读头=241;"), std::string::npos) << line;
        // Read through its GBK file form.
        EXPECT_EQ(parsed(fromGbk(toGbk(line)), one), named);
    }
}

TEST(RightText, LongNameIsCutToEightBytesWithoutSplittingACharacter) {
    // Eight bytes that end on a whole character are BuildRight/NameForm's.
    xRight r;
    r.setNameText("A一二三四");
    EXPECT_EQ(r.nameText(), "A一二三");
    xRight p = parsed("【序号=1;卡号=5;名称=ABCDEFGHIJKL;" + kZeroTail, {1, false});
    EXPECT_EQ(p.nameText(), "ABCDEFGH");
}

TEST(RightText, ParsingReadsPartialTimesLocationsAndIgnoresLabel) {
    xRight r =
        parsed("【序号=99;号码=12345;生效时间=2030-5;失效时间=2031-06-07 08:09;时段=1;读头=2;"
               "次数余额=70000;位置=内部;类型=17;反潜回=2;包裹=1;欠费=0;用户标志1=1;"
               "用户标志2=1;用户标志3=0;】\r\n",
               {0, false});
    EXPECT_EQ(r.cardLow, 12345u);
    EXPECT_EQ(r.validFromDate, packDate(2030, 5, 0));
    EXPECT_EQ(r.validFromTime, 0);
    EXPECT_EQ(r.validToTime, packTime(8, 9, 0));
    EXPECT_EQ(r.remainingCount, std::uint16_t(70000));
    EXPECT_EQ(r.location(), 2u);
    EXPECT_EQ(r.type(), 1u);
    EXPECT_EQ(r.flags & 0x7F, kFlagAntiPassback | kFlagParcel | kFlagUser1 | kFlagUser2);
    // A place the form does not know is 未知.
    std::string unknownPlace = "【序号=1;卡号=1;生效时间=;失效时间=;" + kZeroTail;
    auto other = parsed(unknownPlace.replace(unknownPlace.find("未知"), 6, "外部X"), {0, false});
    EXPECT_EQ(other.location(), 0u);
}

TEST(RightText, LinesNotInTheFormAreRefusedWithAMessage) {
    RightTextOptions o{0, false};
    // The fifth is whole but for its opening bracket; the last is the name form in right-mode 0.
    for (const std::string& bad :
         {std::string(), std::string("hello"), std::string("【序号=1;卡号=1;"),
          std::string("序号=1;卡号=1;生效时间=;失效时间=;时段=0;】"),
          "序号=1;卡号=1;生效时间=;失效时间=;" + kZeroTail,
          "【序号=1;卡号=1;名称=x;" + kZeroTail}) {
        auto v = parseRightText(bad, o);
        ASSERT_TRUE(std::holds_alternative<std::string>(v)) << bad;
        EXPECT_EQ(std::get<std::string>(v).rfind("权限格式错误：", 0), 0u);
    }
    auto card = parseRightText("【序号=1;卡号=1,2;生效时间=;失效时间=;" + kZeroTail, o);
    ASSERT_TRUE(std::holds_alternative<std::string>(card));
    EXPECT_EQ(std::get<std::string>(card), "卡号格式错误：1,2");
}

TEST(RightText, ShortReplyIsEmptyAndACommaFormZeroCardStillPrints) {
    auto bytes = encodeRight(sampleRight(), 0);
    EXPECT_EQ(formatRightReply(Bytes(bytes).first(10), true, {0, false}), "");
    // The all-zero line's layout is the read notice's (right_file_test).
    EXPECT_EQ(formatRightText(xRight{}, 0, {0, true}, true)
                  .rfind("【序号=0000000000;卡号=000,00000;生效", 0),
              0u);
}

std::string hexOf(Bytes b) {
    return test::hex(std::string(b.begin(), b.end()));
}

// The 24 bytes written from the documented layout: card words, validity (or the name), zones,
// readers, count, then flags E4 E6 55 FC = type 15, location 3, reserved 0xABCD, anti-passback,
// user flag 3 and arrears.
TEST(RightRecord, LayoutByRightMode) {
    xRight r = sampleRight();
    r.cardHigh = 0x01020304;
    r.setReserved(0xABCD);
    auto zero = encodeRight(r, 0);
    EXPECT_EQ(hexOf(zero),
              "04 03 02 01 0A 00 01 00 22 30 83 18 9F C7 7D BF 03 F1 FF FF E4 E6 55 FC");
    EXPECT_EQ(*decodeRight(zero, 2), r);
    r.setNameText("AB");
    auto one = encodeRight(r, 1);
    EXPECT_EQ(hexOf(Bytes(one).subspan(8, 8)), "41 42 00 00 00 00 00 00");
    EXPECT_EQ(decodeRight(one, 1)->nameText(), "AB");
    // Twenty stored bytes in right-mode 0: no flags.
    auto stored = decodeRight(Bytes(zero).first(20), 0);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->flags, 0u);
    EXPECT_FALSE(decodeRight(Bytes(zero).first(20), 1));
}

TEST(PackedTime, YearsWrapAsTheControllerExpects) {
    for (auto [year, field] : {std::pair{2000, 0u}, {2127, 127u}, {2128, 0u}, {24, 24u}})
        EXPECT_EQ(yearField(year), field) << year;
    EXPECT_EQ(packedDateTimeText(packDate(2024, 2, 29), packTime(23, 59, 59)),
              "2024-02-29 23:59:58");
}

} // namespace
} // namespace quorvane
