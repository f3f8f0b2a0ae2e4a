#include <gtest/gtest.h>

#include <optional>

#include "rights/card_number.h"

namespace quorvane {
namespace {

CardClassification classified(std::string_view text, CardSource source, CardOptions options = {}) {
    auto c = classifyCard(text, source, options);
    EXPECT_TRUE(std::holds_alternative<CardClassification>(c)) << text;
    return std::holds_alternative<CardClassification>(c) ? std::get<CardClassification>(c)
                                                         : CardClassification{};
}

// The options: t = three-byte form, - = eight digits not read as hexadecimal, r = that
// hexadecimal byte-reversed.
struct ParseCase {
    const char* text;
    const char* options;
    std::optional<std::uint32_t> value;
};

CardOptions optionsOf(std::string_view o) {
    CardOptions c;
    c.threeByte = o.find('t') != o.npos;
    c.eightDigitHex = o.find('-') == o.npos;
    c.hexReverse = o.find('r') != o.npos;
    return c;
}

class ParseCardNumber : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCardNumber, ReadsTheTextAsTheCardFieldDoes) {
    const auto& c = GetParam();
    EXPECT_EQ(parseCardNumber(c.text, optionsOf(c.options)), c.value)
        << c.text << " [" << c.options << "]";
}

// A comma in the wrong place or a missing number is refused, never made all ones; eight
// characters read as "%08x" reads them: the sign and a "0x" count within the eight.
INSTANTIATE_TEST_SUITE_P(
    CardNumber, ParseCardNumber,
    ::testing::Values(
        ParseCase{"001,00001", "", 0x00010001u}, ParseCase{"1,5", "", std::nullopt},
        ParseCase{"01,00001", "", std::nullopt}, ParseCase{"abc,1", "", std::nullopt},
        ParseCase{"001,", "", std::nullopt}, ParseCase{"16777217", "t", 1u},
        ParseCase{"65546", "t", 65546u}, ParseCase{"0A1B2C3D", "", 0x0A1B2C3Du},
        ParseCase{"0A1B2C3D", "r", 0x3D2C1B0Au}, ParseCase{"12345678", "", 0x12345678u},
        ParseCase{"12345678", "-", 12345678u}, ParseCase{"+1234567", "", 0x01234567u},
        ParseCase{"-1234567", "", 0xFEDCBA99u}, ParseCase{"0x123456", "", 0x00123456u},
        ParseCase{"+0x12345", "", 0x00012345u}, ParseCase{" 1234567", "", 0x01234567u},
        ParseCase{"1234567 ", "", 0x01234567u}, ParseCase{"0x      ", "", 0u},
        ParseCase{"+       ", "", std::nullopt}, ParseCase{"--123456", "", std::nullopt},
        ParseCase{"4294967295", "", 4294967295u}, ParseCase{"4294967296", "", std::nullopt},
        ParseCase{"", "", std::nullopt}, ParseCase{"-1", "", std::nullopt},
        ParseCase{"123", "", 123u},
        ParseCase{" \t12345", "", 12345u})); // leading blanks are skipped

TEST(CardNumber, CheckCharacterFollowsMod11_2IncludingX) {
    EXPECT_EQ(*idCheckCharacter("11010519491231002"), 'X');
    EXPECT_TRUE(isValidIdNumber("11010519491231002X"));
    EXPECT_TRUE(isValidIdNumber("11010519491231002x"));
    EXPECT_FALSE(isValidIdNumber("110105194912310021"));
    EXPECT_FALSE(isValidIdNumber("11010519491231002"));
    EXPECT_FALSE(isValidIdNumber("A10105194912310021"));
    EXPECT_FALSE(idCheckCharacter("1234"));
}

TEST(CardNumber, EighteenDigitsStoreSeventeenAndPrintBackWithCheckCharacter) {
    auto c = classified("11010519491231002X", CardSource::NumberField);
    EXPECT_EQ(c.cardHigh, 11010519u);
    EXPECT_EQ(c.cardLow, 491231002u);
    EXPECT_FALSE(c.longNumber);
    xRight r;
    applyCard(r, c);
    EXPECT_EQ(formatCardNumber(r, false), "11010519491231002X");
    // A lower-case x is dropped on entry and comes back upper case.
    applyCard(r, classified("11010519491231002x", CardSource::NumberField));
    EXPECT_EQ(formatCardNumber(r, false), "11010519491231002X");
}

TEST(CardNumber, TwentyDigitsAreLongOnlyFromTheNumberField) {
    auto field = classified("12345678900987654321", CardSource::NumberField);
    EXPECT_EQ(field.cardHigh, 1234567890u);
    EXPECT_EQ(field.cardLow, 987654321u);
    EXPECT_TRUE(field.longNumber);
    EXPECT_FALSE(classified("12345678900987654321", CardSource::RightLine).longNumber);
    // A half that does not fit 32 bits is refused rather than stored as all ones.
    EXPECT_TRUE(std::holds_alternative<std::string>(
        classifyCard("99999999999999999999", CardSource::NumberField, {})));
}

TEST(CardNumber, TextIdentifiersKeepTheirFirstEightBytes) {
    auto c = classified("ABC", CardSource::NumberField);
    EXPECT_EQ(c.cardHigh, 0x00434241u);
    EXPECT_EQ(c.cardLow, 0u);
    EXPECT_TRUE(c.longNumber);
    c = classified("ABCDEFGHIJ", CardSource::RightLine);
    EXPECT_EQ(c.cardHigh, 0x44434241u);
    EXPECT_EQ(c.cardLow, 0x48474645u);
    // Eighteen letters are a text identifier, not an identity number read as zeros.
    c = classified("ABCDEFGHIJKLMNOPQR", CardSource::NumberField);
    EXPECT_EQ(c.cardHigh, 0x44434241u);
}

// A byte that is no character, or a NUL, once fell out on the way to GBK and the rest of the
// text was granted as a number: "555\x81" as card 555, "111\0" "222" as card 111.
TEST(CardNumber, ATextWithABrokenByteOrANulIsRefusedNotShortened) {
    using namespace std::string_literals;
    for (const std::string& text : {"555\x81"s, "111\0"s + "222"}) {
        auto gbk = classifyCard(text, CardSource::NumberField, {});
        auto typed = classifyCardText(text, CardSource::NumberField, {});
        EXPECT_TRUE(std::holds_alternative<std::string>(gbk) &&
                    std::holds_alternative<std::string>(typed));
    }
    auto typed =
        std::get<CardClassification>(classifyCardText("张三", CardSource::NumberField, {}));
    EXPECT_EQ(typed.cardHigh, 0xFDC8C5D5u);
}

TEST(CardNumber, RightLinesIgnoreTheHexOptions) {
    CardOptions o; // force-8byte-hex on by default
    EXPECT_EQ(classified("12345678", CardSource::NumberField, o).cardLow, 0x12345678u);
    EXPECT_EQ(classified("12345678", CardSource::RightLine, o).cardLow, 12345678u);
    o.threeByte = true;
    EXPECT_EQ(classified("001,00010", CardSource::RightLine, o).cardLow, 65546u);
}

} // namespace
} // namespace quorvane
