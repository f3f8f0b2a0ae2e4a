#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "fake_clock.h"
#include "infra/codepage.h"
#include "infra/settings.h"
#include "rights/card_list.h"
#include "rights/right_builder.h"
#include "rights/right_defaults.h"
#include "test_paths.h"

namespace quorvane {
namespace {

struct BuildCase {
    const char* name;
    std::string card;
    RightFields fields;
    RightSettings settings;
    xRight expected;
};

RightFields everyField() {
    RightFields f;
    f.name = "张三丰李四王五"; // 14 GBK bytes: cut to 8, whole characters only
    f.times = 12;
    f.readers = 0x31;
    f.timeZones = 0x06;
    f.validFrom = {2024, 2, 29, 8, 30, 15};
    f.validTo = {2030, 12, 31, 23, 59, 59};
    f.antiPassback = true;
    f.parcel = true;
    f.arrears = true;
    f.userFlag1 = false;
    f.userFlag2 = true;
    f.userFlag3 = false;
    f.typeIndex = 9;
    f.reserved = 0xBEEF;
    return f;
}

xRight everyFieldRight(int rightMode) {
    xRight r;
    r.cardLow = 4000000001u;
    if (rightMode == 1) {
        // 张三丰李 in GBK.
        const std::uint8_t name[8] = {0xD5, 0xC5, 0xC8, 0xFD, 0xB7, 0xE1, 0xC0, 0xEE};
        std::copy(name, name + 8, r.name.begin());
    } else {
        r.validFromDate = static_cast<std::uint16_t>((24 << 9) | (2 << 5) | 29);
        r.validFromTime = static_cast<std::uint16_t>((8 << 11) | (30 << 5) | 7);
        r.validToDate = static_cast<std::uint16_t>((30 << 9) | (12 << 5) | 31);
        r.validToTime = static_cast<std::uint16_t>((23 << 11) | (59 << 5) | 29);
    }
    r.timeZone = 0x06;
    r.readerMask = 0x31;
    r.remainingCount = 12;
    // parcel (1), arrears (2), user flag 2 (4), anti-passback (6), reserved 0xBEEF at 7, type 9
    // at 28; right-mode 1 also sets bit 0.
    r.flags = (1u << 1) | (1u << 2) | (1u << 4) | (1u << 6) | (0xBEEFu << 7) | (9u << 28) |
              (rightMode == 1 ? 1u : 0u);
    return r;
}

// The right of a card with an empty dialog: 2000-01-01 to 2030-01-01 23:59:58, every reader,
// no count limit.
xRight emptyDialogRight(std::uint32_t high, std::uint32_t low, std::uint32_t flags = 0) {
    xRight r;
    r.cardHigh = high;
    r.cardLow = low;
    r.validFromDate = 0x0021;
    r.validToDate = 0x3C21;
    r.validToTime = 0xBF7D;
    r.readerMask = 0xFF;
    r.remainingCount = 0xFFFF;
    r.flags = flags;
    return r;
}

RightFields noTypeChosen() {
    RightFields f;
    f.typeIndex = -1;
    return f;
}

class BuildRight : public ::testing::TestWithParam<BuildCase> {};

} // namespace

TEST_P(BuildRight, TheDialogsFieldsReachTheRecord) {
    const auto& p = GetParam();
    auto built = buildRightOfText(p.card, p.fields, p.settings);
    ASSERT_TRUE(std::holds_alternative<xRight>(built)) << std::get<std::string>(built);
    EXPECT_EQ(std::get<xRight>(built), p.expected);
}

// A 20-digit number marks the card field as a long number; the site code 1 turns 0 into
// 0x99999999 ^ 1, rotated left by 1: 0x33333331.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, BuildRight, ::testing::Values(
    BuildCase{"ValidityForm", "4000000001", everyField(), {0, {}, 0}, everyFieldRight(0)},
    BuildCase{"NameForm", "4000000001", everyField(), {1, {}, 0}, everyFieldRight(1)},
    BuildCase{"NoTypeChosenIsTypeZero", "5", noTypeChosen(), {2, {}, 0}, emptyDialogRight(0, 5)},
    BuildCase{"TwentyDigits", "12345678900000000042", {}, {0, {}, 0}, emptyDialogRight(1234567890, 42, 1)},
    BuildCase{"SiteCodeScramblesBothWords", "0", {}, {0, {}, 1}, emptyDialogRight(0x33333331, 0x33333331)}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(BuildRight, RemoveAndCheckUseTheCardUnscrambledWithEveryCardOption) {
    RightSettings s{0, {false, true, true}, 77};
    // Eight digits read as hexadecimal, byte-swapped.
    auto card = cardOfText("12345678", s);
    ASSERT_TRUE(std::holds_alternative<CardClassification>(card));
    EXPECT_EQ(std::get<CardClassification>(card).cardLow, 0x78563412u);
    EXPECT_EQ(std::get<std::string>(cardOfText("1234,5", s)), "卡号格式错误：1234,5");
}

TEST(CardList, SplitsAtEverySeparatorAndKeepsOrder) {
    EXPECT_EQ(splitCardList("3;1 2\r\n\t;;5"), (std::vector<std::string>{"3", "1", "2", "5"}));
    EXPECT_TRUE(splitCardList("; \r\n").empty());
    EXPECT_EQ(wholeCard(" 12 34;\r\n"), "12 34");
    EXPECT_EQ(wholeCard(";;"), "");
}

TEST(CardList, GeneratorCountsUpInTenDigits) {
    EXPECT_EQ(generateCardNumbers("7", 3), "0000000007\r\n0000000008\r\n0000000009\r\n");
    EXPECT_EQ(generateCardNumbers("4294967295", 2), "4294967295\r\n0000000000\r\n");
    EXPECT_EQ(generateCardNumbers("7", 1), "0000000007\r\n");
    const std::pair<const char*, long> refused[] = {
        {"", 3}, {"x1", 3}, {"1", 0}, {"1", kMaxGeneratedCards + 1}};
    for (auto [first, count] : refused)
        EXPECT_FALSE(generateCardNumbers(first, count)) << first << " " << count;
    EXPECT_EQ(cardSetText({"9", "10"}), "10;\r\n9;\r\n");
}

TEST(RightDefaults, ComeFromTheRightSectionAndGoBack) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    std::string home = test::scratchDir("right-defaults");
    Settings settings(home);
    test::FakeClock clock; // 2026-05-28 20:26:40 UTC
    RightFields f = readRightDefaults(settings, clock);
    EXPECT_EQ(std::tuple(f.times, f.readers, f.timeZones, f.searchForward),
              std::tuple(65535u, 255u, 0u, true));
    // Without settings ten years from now: 315,360,000 s = 3,650 days, 2036-05-25 (two leap
    // days on the way); with no seconds the fixed end.
    EXPECT_EQ(f.validTo, (RightDateTime{2036, 5, 25, 20, 26, 40}));
    test::writeFile(home + "/config.ini", "[right]\ndefault-seconds=0\n");
    EXPECT_EQ(readRightDefaults(settings, clock).validTo, (RightDateTime{2030, 1, 1, 23, 59, 59}));

    test::writeFile(home + "/config.ini",
                    toGbk("[right]\ndefault-times=9\ndefault-reader=16\ndefault-timezone=3\n"
                          "default-seconds=86400\ndefault-antiback=1\ndefault-debt=1\n"
                          "default-flag3=1\ndefault-mantype=2\ndefault-group=6\n"
                          "[common]\nserach-right-mode=0\nman-types=员工;;访客;临时\n"));
    f = readRightDefaults(settings, clock);
    EXPECT_EQ(std::tuple(f.times, f.readers, f.timeZones, f.typeIndex, f.groupIndex),
              std::tuple(9u, 16u, 3u, 2, 6));
    EXPECT_EQ(f.validFrom, (RightDateTime{2000, 1, 1, 0, 0, 0}));
    EXPECT_EQ(f.validTo, (RightDateTime{2026, 5, 29, 20, 26, 40}));
    EXPECT_TRUE(f.antiPassback && f.arrears && f.userFlag3);
    EXPECT_FALSE(f.parcel || f.userFlag1 || f.userFlag2 || f.localReader || f.searchForward);
    EXPECT_EQ(readManTypes(settings), (std::vector<std::string>{"员工", "访客", "临时"}));

    f.times = 100;
    f.parcel = true;
    f.antiPassback = false;
    f.localReader = true;
    saveRightDefaults(settings, f);
    saveSearchForward(settings, true);
    EXPECT_EQ(std::tuple(settings.readInt("right", "default-times", 0),
                         settings.readInt("right", "default-package", 0),
                         settings.readInt("right", "default-antiback", 1),
                         settings.readInt("right", "default-enable-localreader", 0),
                         settings.readInt("right", "default-seconds", 0),
                         settings.readInt("common", "serach-right-mode", 0)),
              std::tuple(100, 1, 0, 1, 86400, 1));
}

} // namespace quorvane
