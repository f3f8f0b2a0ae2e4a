#include <gtest/gtest.h>

#include "infra/codepage.h"

namespace quorvane {
namespace {

TEST(CodePage, RoundTripsAndCountsGbkBytes) {
    std::string text = "门禁控制器 A1";
    std::string gbk = toGbk(text);
    EXPECT_EQ(gbk.size(), 13u);
    EXPECT_EQ(fromGbk(gbk), text);
    EXPECT_EQ(gbkLength("权限已满"), 8u);
}

TEST(CodePage, CutsNeverSplitACharacter) {
    EXPECT_EQ(fromGbk(gbkCut("一二三", 5)), "一二");
    EXPECT_EQ(gbkCut("abc", 2), "ab");
    std::string padded = gbkPadded("名", 16);
    EXPECT_EQ(padded.size(), 16u);
    EXPECT_EQ(padded.substr(0, 2), "\xC3\xFB");
    EXPECT_EQ(padded[2], '\0');
}

TEST(CodePage, BadInputNeverFails) {
    EXPECT_FALSE(toGbkStrict("\xF0\x9F\x98\x80").has_value());
    EXPECT_EQ(fromGbk("a\xFF"), "a\xEF\xBF\xBD");
    EXPECT_EQ(fromGbk(std::string("\x81", 1)), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(u"门\xD800x"), "门\xEF\xBF\xBDx");
    EXPECT_EQ(utf16ToGbk(u"门").value(), "\xC3\xC5");
}

// Each byte that is not part of a UTF-8 character becomes one "?" and the text after it is
// kept; a whole character that GBK cannot hold is one "?".
struct BadUtf8Case {
    const char* name;
    std::string utf8;
    std::string gbk;
};

class BadUtf8 : public ::testing::TestWithParam<BadUtf8Case> {};

TEST_P(BadUtf8, EachBadByteIsOneQuestionMarkAndNothingAfterItIsLost) {
    EXPECT_EQ(toGbk(GetParam().utf8), GetParam().gbk);
}

// Octal escapes: a hexadecimal one would run on into the letters after it.
INSTANTIATE_TEST_SUITE_P(
    CodePage, BadUtf8,
    ::testing::Values(BadUtf8Case{"LeadByteFF", "\377ABC", "?ABC"},
                      BadUtf8Case{"LoneContinuation", "a\200b", "a?b"},
                      BadUtf8Case{"Overlong", "\300\200x", "??x"},
                      BadUtf8Case{"CutCharacterBeforeText", "\351\227AB", "??AB"},
                      BadUtf8Case{"CutCharacterAtEnd", "AB\351\227", "AB??"},
                      BadUtf8Case{"Surrogate", "\355\240\200z", "???z"},
                      BadUtf8Case{"EmojiIsOneCharacter", "\360\237\230\200AB", "?AB"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvane
