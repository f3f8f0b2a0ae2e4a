// What the command line writes: no byte a terminal would act on, one JSON document alone on
// standard output with --json, arguments that are not UTF-8, and the argument forms of the
// offline commands.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_context.h"
#include "cli_run.h"
#include "terminal_text.h"

namespace quorvane::cli {
namespace {

struct FilterCase {
    const char* name;
    std::string in;
    std::string out;
};

class TerminalFilter : public ::testing::TestWithParam<FilterCase> {};

std::string filtered(const std::vector<std::string>& writes) {
    std::ostringstream target;
    {
        TerminalTextFilter filter(target.rdbuf());
        std::ostream out(&filter);
        for (const auto& w : writes)
            out << w << std::flush;
    }
    return target.str();
}

TEST_P(TerminalFilter, ControlAndBadBytesBecomeQuestionMarks) {
    EXPECT_EQ(filtered({GetParam().in}), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, TerminalFilter,
    ::testing::Values(FilterCase{"PlainTextTabsAndLineFeedsPass", "门禁1\t127.0.0.1\n",
                                 "门禁1\t127.0.0.1\n"},
                      FilterCase{"EscapeSequence", "a\x1b[2J\x1b]0;title\x07z", "a?[2J?]0;title?z"},
                      FilterCase{"CarriageReturnAndBackspace", "ok\rno\b", "ok?no?"},
                      FilterCase{"Delete", "x\x7fy", "x?y"},
                      FilterCase{"C1ControlsAsUtf8",
                                 "a\xc2\x9b"
                                 "31mb\xc2\x85",
                                 "a?31mb?"},
                      FilterCase{"EightBitCsiByte",
                                 "a\x9b"
                                 "31m",
                                 "a?31m"},
                      FilterCase{"NotUtf8",
                                 "\xff\xfe"
                                 "AB\xe9\x97",
                                 "??AB??"},
                      FilterCase{"NoBreakSpaceIsText",
                                 "a\xc2\xa0"
                                 "b",
                                 "a\xc2\xa0"
                                 "b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TerminalFilter, ACharacterSplitAcrossWritesStaysWhole) {
    EXPECT_EQ(filtered({"\xe9", "\x97\xa8", "!"}), "门!");
    EXPECT_EQ(filtered({"\xe9\x97"}), "??");
}

// A command that shows what an operation shows and prints a document of its own.
int document(CliContext& ctx) {
    ctx.port->showNotice("返回消息检验和失败！");
    ctx.port->showMessage("name \x1b[31mred");
    *ctx.out << "[]\n";
    return kOk;
}
constexpr DeclaredOption kJson[] = {{"--json"}};
const CliCommand kDocumentCommands[] = {{"doc", "", true, document, "doc [--json]", kJson}};

TEST(MachineOutput, WithJsonNoticesGoToStandardErrorAndTheDocumentStandsAlone) {
    Outcome json = runWith(kDocumentCommands, {"doc", "--json"});
    EXPECT_EQ(json.out, "[]\n");
    EXPECT_EQ(json.err, "返回消息检验和失败！\nname ?[31mred\n");
    Outcome text = runWith(kDocumentCommands, {"doc"});
    EXPECT_EQ(text.out, "返回消息检验和失败！\nname ?[31mred\n[]\n");
}

TEST(CardConvert, AnEmptyTextIsNoDataAndBadBytesKeepWhatFollows) {
    Outcome empty = runReal({"card", "convert", ""});
    EXPECT_EQ(empty.code, kFailed);
    EXPECT_EQ(empty.out, "没有数据！\n");
    // The bad byte is one "?": the letters after it still count.
    Outcome bad = runReal({"card", "convert", "--force",
                           "\xff"
                           "ABC"});
    Outcome asQuestion = runReal({"card", "convert", "--force", "?ABC"});
    EXPECT_EQ(bad.code, kOk);
    EXPECT_EQ(bad.out, asQuestion.out);
    EXPECT_EQ(bad.out.rfind("00353637000000000", 0), 0u) << bad.out;
    Outcome twoLines = runReal({"card", "convert", "--force", "1", "2"});
    EXPECT_NE(twoLines.out.find("共处理记录2条"), std::string::npos);
}

TEST(DecodeFrame, HexWordsAreJoinedLikeTheOtherDecoders) {
    Outcome split = runReal({"decode", "frame", "55555555555555555555555555555555", "FFFF",
                             "FFFFFFFFFFFF", "FFFF 0100 02 00 0000", "02"});
    EXPECT_EQ(split.code, kOk) << split.err;
    EXPECT_NE(split.out.find("command=2 "), std::string::npos);
    EXPECT_EQ(runReal({"decode", "frame", ""}).code, kUsage);
}

} // namespace
} // namespace quorvane::cli
