#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "idcard/country_table.h"
#include "idcard/identity_info.h"
#include "idcard/identity_reply.h"
#include "idcard/unicode_local.h"
#include "identity_block.h"
#include "infra/codepage.h"

namespace quorvane {
namespace {

using test::IdentityBlock;

std::vector<std::uint8_t> payload(const IdentityBlock& block, std::uint32_t index,
                                  const std::string& appendix = {}) {
    const std::string m = test::identityMessage(block, index, toGbk(appendix));
    return {m.begin(), m.end()};
}

IdentityBlock permanentResidence(std::u16string_view country) {
    IdentityBlock b;
    b.put(0, u"JOHN SMITH").put(120, u"1").put(122, u"CHN110119900101").put(152, country);
    b.put(158, u"约翰").put(188, u"20200101").put(204, u"20300101").put(220, u"19900101");
    return b.put(236, u"01 ").marker(u'I');
}

const std::string kResident = "张三 男 汉 19900101 11010519491231002X 北京市东城区某街道1号 "
                              "北京市公安局东城分局 20200101 20300101 身份证$\n";

struct ParseCase {
    const char* name;
    IdentityBlock block;
    int parseVersion;
    std::optional<std::string> fields; // the debug line: every field, in order
};

class IdentityParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(IdentityParse, ReadsEveryFieldOrFailsEveryAttempt) {
    auto info = parse2ndMsg(GetParam().block.bytes(), 0, GetParam().parseVersion);
    ASSERT_EQ(info.has_value(), GetParam().fields.has_value());
    if (info) {
        EXPECT_EQ(identityDebugText(*info), *GetParam().fields);
    }
}

// The parse over runs of spaces knows no document kind.
const std::string kSpaced = kResident.substr(0, kResident.size() - 11) + "\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, IdentityParse,
    ::testing::Values(
        ParseCase{"Resident", IdentityBlock::resident(), 1, kResident},
        ParseCase{"UnknownNationalityAndFemale",
                  IdentityBlock::resident().put(30, u"2").put(32, u"99"), 1,
                  "张三 女 未知 19900101 11010519491231002X 北京市东城区某街道1号 "
                  "北京市公安局东城分局 20200101 20300101 身份证$\n"},
        ParseCase{"ResidencePermitHasPassNumberAndNoNation",
                  IdentityBlock::resident()
                      .put(0, u"李四")
                      .put(122, u"810000199001010015")
                      .put(220, u"H12345678")
                      .marker(u'J'),
                  1,
                  "李四 男  19900101 810000199001010015 北京市东城区某街道1号 "
                  "北京市公安局东城分局 20200101 20300101 港澳台居住证$H12345678\n"},
        // An English name of two words keeps only its first.
        ParseCase{"PermanentResidence", permanentResidence(u"CHN"), 1,
                  "约翰 男 中国 19900101 CHN110119900101   20200101 20300101 永居证$JOHN\n"},
        ParseCase{"NameStartingWithASpaceIsReadOverRunsOfSpaces",
                  IdentityBlock::resident().put(0, u" 张三"), 1, kSpaced},
        ParseCase{"VersionZeroReadsOverRunsOfSpaces", IdentityBlock::resident(), 0, kSpaced},
        ParseCase{"Empty", IdentityBlock(), 1, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IdentityTables, CountriesIncludingTheAddedOnesAndNations) {
    EXPECT_EQ(countryName("SRB"), "塞尔维亚");
    EXPECT_EQ(countryName("SSD"), "南苏丹");
    EXPECT_EQ(countryName("ZWE"), "津巴布韦");
    EXPECT_EQ(countryName("chn"), "未知");
    EXPECT_EQ(countryEntries().size(), 239u);
    EXPECT_EQ(nationName("56"), "基诺");
    EXPECT_EQ(nationName("98"), "外国血统");
    EXPECT_EQ(nationName("57"), "未知");
}

TEST(IdentityReply, TheLineOfAValidNumberAndTheMessagesOtherwise) {
    auto p = payload(IdentityBlock::resident(), 7, "附加");
    EXPECT_EQ(identityLine(p, "192.168.1.5:65534", 1),
              "00007,张三,男,汉,19900101,北京市东城区某街道1号,11010519491231002X,"
              "北京市公安局东城分局,20200101,20300101,,,身份证$,192.168.1.5:65534,附加");
    auto m = decodeIdentityReply(p);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->photo.size(), 1024u);
    EXPECT_EQ(m->photo[0], 'W');
    // A lower-case x passes the number check too; the index word prints signed.
    auto lower = IdentityBlock::resident().put(122, u"11010519491231002x");
    EXPECT_EQ(identityLine(payload(lower, 1), "", 1).substr(0, 6), "00001,");
    EXPECT_EQ(identityLine(payload(IdentityBlock::resident(), 0xFFFFFFFFu), "", 1).substr(0, 6),
              "-0001,");
    const std::string noData = "此位置没有数据或者数据错误！", broken = "解析身份证信息失败！";
    auto badNumber = IdentityBlock::resident().put(122, u"110105194912310021");
    EXPECT_EQ(identityLine(payload(badNumber, 1), "x", 1), noData);
    EXPECT_EQ(identityLine(payload(permanentResidence(u"CHN"), 3), "x", 1), noData);
    // Over runs of spaces the next field is taken for the number, which the check refuses.
    auto noNumber = IdentityBlock::resident().put(122, u"                  ");
    EXPECT_EQ(identityLine(payload(noNumber, 1), "x", 1), noData);
    p = payload(IdentityBlock::resident(), 1);
    EXPECT_EQ(identityLine(Bytes(p).first(200), "x", 1), broken);
    EXPECT_EQ(identityLine(Bytes(p).first(3), "x", 1), broken);
    EXPECT_FALSE(parse2ndMsg(Bytes(p).subspan(18, 200), 0, 1));
    // A text block without photo still reads; the appendix is absent.
    m = decodeIdentityReply(Bytes(p).first(4 + 270));
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->photo.empty());
    EXPECT_EQ(m->appendix, "");
    EXPECT_EQ(identityLine(*m, "s", 1).rfind("00001,张三,男,", 0), 0u);
}

TEST(Unicode2Local, CharacterWithoutGbkFormIsLoggedAndReplaced) {
    std::vector<std::string> log;
    const std::uint8_t text[] = {'A', 0, 0x01, 0x0E, 'B', 0, 0, 0, 'C', 0};
    EXPECT_EQ(UNICODE2LOCAL(text, [&](const std::string& l) { log.push_back(l); }), "A?B");
    EXPECT_EQ(log, std::vector<std::string>{
                       "UNICODE2LOCAL error2, lastError=84, wcslen=3, bufferLen=8\n"});
    const std::uint8_t odd[] = {'A', 0, 'B'};
    EXPECT_EQ(UNICODE2LOCAL(odd), "A");
}

} // namespace
} // namespace quorvane
