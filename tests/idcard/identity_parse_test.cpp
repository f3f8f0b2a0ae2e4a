#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "identity_block.h"
#include "idcard/country_table.h"
#include "idcard/identity_info.h"
#include "idcard/identity_reply.h"

namespace quorvane {
namespace {

using test::IdentityBlock;

std::vector<std::uint8_t> payload(const IdentityBlock& block, std::uint32_t index,
                                  const std::string& appendix = {}) {
    std::string gbk = toGbk(appendix);
    std::vector<std::uint8_t> p(4 + 1295 + gbk.size());
    ByteWriter w(p);
    w.putU32le(index).fill(0, 14).putBytes(block.bytes());
    const std::uint8_t signature[] = {'W', 'L', 'f'};
    w.putBytes(signature).fill(0, 1024 - 3 + 1).putBytes(asBytes(gbk));
    return p;
}

TEST(IdentityParse, ResidentCardFields) {
    auto info = parse2ndMsg(IdentityBlock::resident().bytes(), 0, 1);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, "张三");
    EXPECT_EQ(info->sex, "男");
    EXPECT_EQ(info->nation, "汉");
    EXPECT_EQ(info->birth, "19900101");
    EXPECT_EQ(info->address, "北京市东城区某街道1号");
    EXPECT_EQ(info->number, "11010519491231002X");
    EXPECT_EQ(info->authority, "北京市公安局东城分局");
    EXPECT_EQ(info->validFrom, "20200101");
    EXPECT_EQ(info->validTo, "20300101");
    EXPECT_EQ(info->kindText, "身份证$");
    EXPECT_EQ(identityDebugText(*info), "张三 男 汉 19900101 11010519491231002X 北京市东城区某街道1号 "
                                        "北京市公安局东城分局 20200101 20300101 身份证$\n");
}

TEST(IdentityParse, UnknownNationalityAndFemale) {
    auto b = IdentityBlock::resident();
    b.put(30, "2").put(32, "99");
    auto info = parse2ndMsg(b.bytes(), 0, 1);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->nation, "未知");
    EXPECT_EQ(info->sex, "女");
}

TEST(IdentityParse, ResidencePermitHasPassNumberAndNoNation) {
    auto b = IdentityBlock::resident();
    b.put(0, "李四").put(122, "810000199001010015").put(220, "H12345678").marker('J');
    auto info = parse2ndMsg(b.bytes(), 0, 1);
    ASSERT_TRUE(info);
    EXPECT_EQ(identityDocumentType(b.bytes()), IdentityDocument::ResidencePermit);
    EXPECT_EQ(info->nation, "");
    EXPECT_EQ(info->number, "810000199001010015");
    EXPECT_EQ(info->kindText, "港澳台居住证$H12345678");
}

IdentityBlock permanentResidence(const std::string& country) {
    IdentityBlock b;
    b.put(0, "JOHN SMITH").put(120, "1").put(122, "CHN110119900101").put(152, country);
    b.put(158, "约翰").put(188, "20200101").put(204, "20300101").put(220, "19900101");
    b.put(236, "01 ").marker('I');
    return b;
}

TEST(IdentityParse, PermanentResidenceCard) {
    auto b = permanentResidence("CHN");
    auto info = parse2ndMsg(b.bytes(), 0, 1);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, "约翰");
    EXPECT_EQ(info->sex, "男");
    EXPECT_EQ(info->nation, "中国");
    EXPECT_EQ(info->number, "CHN110119900101");
    EXPECT_EQ(info->birth, "19900101");
    EXPECT_EQ(info->authority, "");
    EXPECT_EQ(info->address, "");
    // An English name of two words keeps only its first.
    EXPECT_EQ(info->kindText, "永居证$JOHN");
    EXPECT_EQ(identityLine(payload(b, 3), "127.0.0.1:65534", 1), "此位置没有数据或者数据错误！");
}

TEST(IdentityParse, CountryCodesIncludingTheAddedOnes) {
    EXPECT_EQ(countryName("SRB"), "塞尔维亚");
    EXPECT_EQ(countryName("SSD"), "南苏丹");
    EXPECT_EQ(countryName("YUG"), "南斯拉夫");
    EXPECT_EQ(countryName("ZWE"), "津巴布韦");
    EXPECT_EQ(countryName("XYZ"), "未知");
    EXPECT_EQ(countryName("chn"), "未知");
    EXPECT_EQ(countryEntries().size(), 239u);
    EXPECT_EQ(nationName("56"), "基诺");
    EXPECT_EQ(nationName("98"), "外国血统");
    EXPECT_EQ(nationName("57"), "未知");
    auto info = parse2ndMsg(permanentResidence("TLS").bytes(), 0, 1);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->nation, "东帝汶");
    info = parse2ndMsg(permanentResidence("QQQ").bytes(), 0, 1);
    EXPECT_EQ(info->nation, "未知");
}

TEST(IdentityParse, NameStartingWithASpaceIsReadOverRunsOfSpaces) {
    auto b = IdentityBlock::resident();
    b.put(0, " 张三");
    EXPECT_FALSE(parseIdentityTyped(b.bytes()));
    auto info = parse2ndMsg(b.bytes(), 0, 1);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, "张三");
    EXPECT_EQ(info->sex, "男");
    EXPECT_EQ(info->nation, "汉");
    EXPECT_EQ(info->birth, "19900101");
    EXPECT_EQ(info->address, "北京市东城区某街道1号");
    EXPECT_EQ(info->number, "11010519491231002X");
    EXPECT_EQ(info->authority, "北京市公安局东城分局");
    EXPECT_EQ(info->validFrom, "20200101");
    EXPECT_EQ(info->validTo, "20300101");
    // With 2nd-parse-ver 0 every attempt reads over spaces.
    auto spaced = parse2ndMsg(IdentityBlock::resident().bytes(), 0, 0);
    ASSERT_TRUE(spaced);
    EXPECT_EQ(spaced->number, "11010519491231002X");
}

TEST(IdentityParse, EmptyBlockFailsEveryAttempt) {
    IdentityBlock blank;
    EXPECT_FALSE(parse2ndMsg(blank.bytes(), 0, 1));
    EXPECT_FALSE(parse2ndMsg(blank.bytes(), 3, 1));
    EXPECT_FALSE(parse2ndMsg(Bytes(blank.bytes()).first(200), 0, 1));
    auto noNumber = IdentityBlock::resident();
    noNumber.put(122, "                  ");
    EXPECT_FALSE(parseIdentityTyped(noNumber.bytes()));
    // The retry over spaces takes the next field for the number, which the check refuses.
    std::vector<std::uint8_t> p(4 + 14);
    p.resize(p.size() + 256);
    std::copy(noNumber.bytes().begin(), noNumber.bytes().end(), p.begin() + 18);
    EXPECT_EQ(identityLine(p, "", 1), "此位置没有数据或者数据错误！");
}

TEST(IdentityReply, LineForAValidNumber) {
    auto p = payload(IdentityBlock::resident(), 7, "附加");
    EXPECT_EQ(identityLine(p, "192.168.1.5:65534", 1),
              "00007,张三,男,汉,19900101,北京市东城区某街道1号,11010519491231002X,"
              "北京市公安局东城分局,20200101,20300101,,,身份证$,192.168.1.5:65534,附加");
    auto m = decodeIdentityReply(p);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->photo.size(), 1024u);
    EXPECT_EQ(m->photo[0], 'W');
    // A lower-case x passes the check too.
    auto lower = IdentityBlock::resident();
    lower.put(122, "11010519491231002x");
    EXPECT_EQ(identityLine(payload(lower, 1), "", 1).substr(0, 6), "00001,");
    // The index word prints signed.
    EXPECT_EQ(identityLine(payload(IdentityBlock::resident(), 0xFFFFFFFFu), "", 1).substr(0, 6),
              "-0001,");
    EXPECT_EQ(identityLine(payload(IdentityBlock::resident(), 0x80000000u), "", 1).substr(0, 12),
              "-2147483648,");
}

TEST(IdentityReply, BadNumberOrShortPayload) {
    auto b = IdentityBlock::resident();
    b.put(122, "110105194912310021");
    EXPECT_EQ(identityLine(payload(b, 1), "x", 1), "此位置没有数据或者数据错误！");
    auto p = payload(IdentityBlock::resident(), 1);
    EXPECT_EQ(identityLine(Bytes(p).first(200), "x", 1), "解析身份证信息失败！");
    EXPECT_EQ(identityLine(Bytes(p).first(3), "x", 1), "解析身份证信息失败！");
    // Text block without photo still parses; appendix absent.
    auto m = decodeIdentityReply(Bytes(p).first(4 + 270));
    ASSERT_TRUE(m);
    EXPECT_TRUE(m->photo.empty());
    EXPECT_EQ(m->appendix, "");
    EXPECT_EQ(identityLine(*m, "s", 1).rfind("00001,张三,男,", 0), 0u);
}

TEST(Unicode2Local, CharacterWithoutGbkFormIsLoggedAndReplaced) {
    std::vector<std::string> log;
    const std::uint8_t text[] = {'A', 0, 0x01, 0x0E, 'B', 0, 0, 0, 'C', 0};
    std::string gbk = UNICODE2LOCAL(text, [&](const std::string& l) { log.push_back(l); });
    EXPECT_EQ(gbk, "A?B");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "UNICODE2LOCAL error2, lastError=84, wcslen=3, bufferLen=8\n");
    const std::uint8_t odd[] = {'A', 0, 'B'};
    EXPECT_EQ(UNICODE2LOCAL(odd), "A");
}

} // namespace
} // namespace quorvane
