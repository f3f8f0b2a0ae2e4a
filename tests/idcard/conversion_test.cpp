#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "idcard/stored_identity.h"
#include "idcard/text_to_number.h"
#include "idcard/wlt_check.h"
#include "infra/codepage.h"
#include "test_paths.h"

namespace quorvane {
namespace {

// Plain numbers are kept unless forced or unless the print of their value differs from the
// line; digits and letters become an identity number; the reverse mode uses the digest.
TEST(TextToNumber, EachLineBecomesAnIdentityNumberOrIsKept) {
    const std::tuple<const char*, bool, bool, const char*> rows[] = {
        {"87654321", false, false, "87654321"},
        {"87654321", true, false, "876543210000000001"},
        {"0123", false, false, "000001230000000001"},
        {"0", false, false, "0"},
        {"12345", true, false, "00012345000000000X"},
        {"AB12", true, false, "003536120000000004"},
        {"4294967296", false, false, "429496720000000964"},
        {"11010519491231002X", true, false, "11010519491231002X"},
        {"11010519491231002x", false, false, "11010519491231002X"},
        {"abc", false, true, "24160052721020415920"}};
    for (auto [line, force, reverse, number] : rows) {
        auto r = convertTextsToNumbers(line, force, reverse);
        EXPECT_EQ(r.lines, 1) << line;
        EXPECT_EQ(r.output, std::string(number) + "\r\n") << line;
    }
}

TEST(TextToNumber, CountsAndMessages) {
    auto r = convertTextsToNumbers("87654321\r\n\r\n12345\nAB12\r", false, false);
    EXPECT_EQ(r.output, "87654321\r\n12345\r\n003536120000000004\r\n");
    EXPECT_EQ(r.message, "共处理记录3条，转换成功1条，未转换直接使用2条");
    auto empty = convertTextsToNumbers("", true, false);
    EXPECT_TRUE(empty.noData);
    EXPECT_EQ(empty.message, "没有数据！");
}

TEST(WltCheck, SignatureAndRuns) {
    std::vector<std::uint8_t> wlt(1024);
    EXPECT_FALSE(wltAcceptable(wlt, 10));
    wlt[0] = 'W';
    wlt[1] = 'L';
    wlt[2] = 'f';
    for (std::size_t i = 3; i < wlt.size(); ++i)
        wlt[i] = std::uint8_t(i * 7);
    EXPECT_TRUE(wltAcceptable(wlt, 10));
    for (std::size_t i = 100; i < 111; ++i)
        wlt[i] = 0x55; // a run of 11
    EXPECT_EQ(wltLongestRepeat(wlt), 10);
    EXPECT_TRUE(wltAcceptable(wlt, 10));
    wlt[111] = 0x55; // a run of 12
    EXPECT_FALSE(wltAcceptable(wlt, 10));
    const std::uint8_t zeros[] = {0, 0, 0};
    EXPECT_EQ(wltLongestRepeat(zeros), 3); // the byte before the first counts as 0
}

TEST(StoredIdentity, LookupBelowTheProgramDirectoryAndFieldsOfTheLine) {
    std::string home = test::scratchDir("stored-identity");
    test::writeFile(home + "/xml/11010519491231002X.txt",
                    toGbk("0\t张三\t男\t汉\t19900101\t北京\t11010519491231002X\t公安局\t"
                          "20200101\t20300101\tx\r\n"));
    auto s = lookupStoredIdentity(home, "11010519491231002X");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->name(), "张三");
    EXPECT_EQ(s->number(), "11010519491231002X");
    EXPECT_EQ(s->validTo(), "20300101");
    EXPECT_EQ(s->field(15), "");
    EXPECT_FALSE(parseStoredIdentity("0\t张三\t男\t汉\t1\t2\t\t3"));
    EXPECT_FALSE(parseStoredIdentity("0\t1\t2"));
    EXPECT_FALSE(lookupStoredIdentity(home, "110105194912310000"));
    EXPECT_FALSE(storedIdentityPath(home, "../xml/11010519491231002X"));
}

} // namespace
} // namespace quorvane
