#include <gtest/gtest.h>

#include "fake_clock.h"
#include "infra/codepage.h"
#include "infra/settings.h"
#include "test_paths.h"
#include "textcmd/command_files.h"
#include "textcmd/text_variables.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct Expansion {
    const char* name;
    const char* command;
    std::vector<std::uint16_t> ids;
    std::vector<std::string> expected; // one text per id, in order
};

class Expand : public ::testing::TestWithParam<Expansion> {};

// Draws 40000, 40001, …: beyond 16 bits only for the raw value, so each modulus shows.
TextRandom counting(int& draws) {
    return [&draws] { return 40000u + static_cast<unsigned>(draws++); };
}

} // namespace

TEST_P(Expand, EachTargetGetsItsOwnValues) {
    const Expansion& e = GetParam();
    FakeClock clock;
    int draws = 0;
    auto sequence = TextSequence::find(e.command);
    std::vector<std::string> texts;
    for (std::uint16_t id : e.ids)
        texts.push_back(expandVariables(e.command, id, sequence, clock, counting(draws)));
    EXPECT_EQ(texts, e.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, Expand,
    ::testing::Values(
        Expansion{
            "SequenceTwiceOneValuePerTarget", "a={SEQ5};b={SEQ5}", {1, 2}, {"a=5;b=5", "a=6;b=6"}},
        Expansion{"OpenSequenceSentAsTyped", "x={SEQ7;y={DEVID}", {42}, {"x={SEQ7;y=00042"}},
        Expansion{"BareSequenceStartsAtZero", "{SEQ}", {1, 2}, {"0", "1"}},
        Expansion{"NegativeSequenceLeftAlone", "{SEQ-3}", {1}, {"{SEQ-3}"}},
        Expansion{"OnlyTheFirstSequenceTokenCounts", "{SEQ1}{SEQ9}", {1}, {"1{SEQ9}"}},
        Expansion{"DeviceIdsLongerNameFirst",
                  "{DEVID}/{DEVID_LAST2}",
                  {42, 12345, 7},
                  {"00042/42", "12345/45", "00007/07"}},
        // One draw per variable per target, shared by its occurrences: 40000 % 256 = 64.
        Expansion{"RandomSharedByOccurrences",
                  "{RAND1},{RAND1},{RAND2},{RAND4}",
                  {1, 2},
                  {"64,64,40001,40002", "67,67,40004,40005"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Text, SystemTimeIsTheClocksLocalTimeWithTheWeekday) {
    std::tm t{};
    t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 14, t.tm_min = 7, t.tm_sec = 9;
    t.tm_isdst = -1;
    FakeClock clock(std::chrono::milliseconds(0),
                    std::chrono::system_clock::from_time_t(std::mktime(&t)));
    std::optional<TextSequence> none;
    EXPECT_EQ(expandVariables("settime={SYSTIME}", 1, none, clock, [] { return 0u; }),
              "settime=2024-03-05 14:07:09 2");
}

// Read back as the dialog reads it: every CR and LF splits, empty pieces go; a repeated command
// stays once, as the last line.
TEST(Text, HistoryKeepsOneCopyOfARepeatedCommandAsTheLastLine) {
    const std::string home = scratchDir("text-history");
    Settings settings(home);
    writeFile(home + "/cmd-hist.txt", toGbk("open1\r\n\r\nsetIp=1\rsettime\n"));
    ASSERT_TRUE(rememberCommand(settings, nullptr, "setIp=1"));
    ASSERT_TRUE(rememberCommand(settings, nullptr, "开门"));
    ASSERT_TRUE(rememberCommand(settings, nullptr, "开门"));
    EXPECT_EQ(readFile(home + "/cmd-hist.txt"), toGbk("open1\r\nsettime\r\nsetIp=1\r\n开门"));
    writeFile(home + "/cmd-list.txt", toGbk("b\n\na\r\n"));
    EXPECT_EQ(readCommandFile(settings, kReferenceFileName), (std::vector<std::string>{"b", "a"}));
}

TEST(Text, ReplaceAllDoesNotScanItsReplacements) {
    EXPECT_EQ(replaceAll("{SEQ1}-{SEQ1}", "{SEQ1}", "{SEQ1}{SEQ1}"), "{SEQ1}{SEQ1}-{SEQ1}{SEQ1}");
}
