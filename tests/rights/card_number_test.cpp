#include <gtest/gtest.h>

#include <optional>

#include "infra/codepage.h"
#include "rights/card_number.h"

namespace quorvane {
namespace {

CardClassification classified(std::string_view text, CardSource source, CardOptions options = {}) {
    auto c = classifyCard(text, source, options);
    EXPECT_TRUE(std::holds_alternative<CardClassification>(c)) << text;
    return std::holds_alternative<CardClassification>(c) ? std::get<CardClassification>(c)
                                                         : CardClassification{};
}

TEST(CardNumber, CommaFormReadsFacilityAndCardAndPrintsBackByDisplay) {
    auto v = parseCardNumber("001,00001", {});
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, 0x00010001u);
    xRight r;
    r.cardLow = *v;
    EXPECT_EQ(formatCardNumber(r, true), "001,00001");
    EXPECT_EQ(formatCardNumber(r, false), "0000065537");
}

TEST(CardNumber, CommaInTheWrongPlaceOrMissingNumberIsRefusedNotMadeAllOnes) {
    for (std::string_view bad : {"1,5", "01,00001", "0001,1", ",", "abc,1", "001,", "001,x"})
        EXPECT_FALSE(parseCardNumber(bad, {})) << bad;
    auto c = classifyCard("01,00001", CardSource::NumberField, {});
    ASSERT_TRUE(std::holds_alternative<std::string>(c));
    EXPECT_EQ(std::get<std::string>(c), "卡号格式错误：01,00001");
}

TEST(CardNumber, ThreeByteOptionKeepsTwentyFourBits) {
    CardOptions o;
    o.threeByte = true;
    EXPECT_EQ(*parseCardNumber("16777217", o), 1u);
    EXPECT_EQ(*parseCardNumber("65546", o), 65546u);
}

TEST(CardNumber, EightHexDigitsWithAndWithoutReverse) {
    CardOptions o;
    EXPECT_EQ(*parseCardNumber("0A1B2C3D", o), 0x0A1B2C3Du);
    o.hexReverse = true;
    EXPECT_EQ(*parseCardNumber("0A1B2C3D", o), 0x3D2C1B0Au);
    // Eight decimal digits are hexadecimal too while the option is on.
    o.hexReverse = false;
    EXPECT_EQ(*parseCardNumber("12345678", o), 0x12345678u);
    o.eightDigitHex = false;
    EXPECT_EQ(*parseCardNumber("12345678", o), 12345678u);
}

// Eight characters read as "%08x" reads them: the sign and a "0x" count within the eight.
struct HexTextCase {
    const char* text;
    std::optional<std::uint32_t> value;
};

class EightCharacterHex : public ::testing::TestWithParam<HexTextCase> {};

TEST_P(EightCharacterHex, ReadsAsTheScanConversionDoes) {
    EXPECT_EQ(parseCardNumber(GetParam().text, {}), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    CardNumber, EightCharacterHex,
    ::testing::Values(HexTextCase{"+1234567", 0x01234567u}, HexTextCase{"-1234567", 0xFEDCBA99u},
                      HexTextCase{"-0000001", 0xFFFFFFFFu}, HexTextCase{"0x123456", 0x00123456u},
                      HexTextCase{"+0x12345", 0x00012345u}, HexTextCase{" 1234567", 0x01234567u},
                      HexTextCase{"1234567 ", 0x01234567u}, HexTextCase{"0x      ", 0u},
                      HexTextCase{"+       ", std::nullopt},
                      HexTextCase{"--123456", std::nullopt}));

TEST(CardNumber, DecimalBeyondThirtyTwoBitsOrWithoutDigitsIsRefused) {
    EXPECT_EQ(*parseCardNumber("4294967295", {}), 4294967295u);
    EXPECT_FALSE(parseCardNumber("4294967296", {}));
    EXPECT_FALSE(parseCardNumber("", {}));
    EXPECT_FALSE(parseCardNumber("-1", {}));
    EXPECT_EQ(*parseCardNumber("123", {}), 123u);
    EXPECT_EQ(parseCardNumber(" \t12345", {}), 12345u); // leading blanks are skipped
}

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

TEST(CardNumber, SeventeenDigitPrintOfOtherLengthFallsBackToTwentyDigits) {
    xRight r;
    r.cardHigh = 987654321; // nine digits
    r.cardLow = 1;
    EXPECT_EQ(formatCardNumber(r, false), "09876543210000000001");
    r.cardHigh = 12;
    r.cardLow = 1234567890; // ten digits
    EXPECT_EQ(formatCardNumber(r, false), "00000000121234567890");
}

TEST(CardNumber, TwentyDigitsAreLongOnlyFromTheNumberField) {
    auto field = classified("12345678900987654321", CardSource::NumberField);
    EXPECT_EQ(field.cardHigh, 1234567890u);
    EXPECT_EQ(field.cardLow, 987654321u);
    EXPECT_TRUE(field.longNumber);
    xRight r;
    applyCard(r, field);
    EXPECT_EQ(formatCardNumber(r, false), "12345678900987654321");
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
    c = classified(toGbk("张三"), CardSource::NumberField);
    EXPECT_EQ(c.cardHigh, 0xFDC8C5D5u);
    // Eighteen letters are a text identifier, not an identity number read as zeros.
    c = classified("ABCDEFGHIJKLMNOPQR", CardSource::NumberField);
    EXPECT_EQ(c.cardHigh, 0x44434241u);
}

TEST(CardNumber, RightLinesIgnoreTheHexOptions) {
    CardOptions o; // force-8byte-hex on by default
    EXPECT_EQ(classified("12345678", CardSource::NumberField, o).cardLow, 0x12345678u);
    EXPECT_EQ(classified("12345678", CardSource::RightLine, o).cardLow, 12345678u);
    o.threeByte = true;
    EXPECT_EQ(classified("001,00010", CardSource::RightLine, o).cardLow, 65546u);
}

TEST(CardNumber, SiteCodeScramblesBothWordsWithTheKnownKey) {
    xRight r;
    r.cardHigh = 1;
    r.cardLow = 0x12345678;
    applySiteCode(r, 0);
    EXPECT_EQ(r.cardLow, 0x12345678u);
    applySiteCode(r, 0x1234);
    EXPECT_EQ(r.cardHigh, 0xba699998u);
    EXPECT_EQ(r.cardLow, 0x7f72e70au);
}

} // namespace
} // namespace quorvane
