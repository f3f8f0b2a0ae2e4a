// What the command line writes: no byte a terminal would act on, one JSON document alone on
// standard output with --json, and progress only where it is wanted.
#include <gtest/gtest.h>

#include <sstream>

#include "cli_context.h"
#include "cli_run.h"
#include "fake_clock.h"
#include "integration_home.h"
#include "json_report.h"
#include "progress_line.h"
#include "terminal_text.h"

namespace quorvane::cli {
namespace {

struct FilterCase {
    const char* name;
    std::vector<std::string> writes;
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
    EXPECT_EQ(filtered(GetParam().writes), GetParam().out);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, TerminalFilter, ::testing::Values(
    FilterCase{"PlainTextTabsAndLineFeedsPass", {"门禁1\t127.0.0.1\n"}, "门禁1\t127.0.0.1\n"},
    FilterCase{"EscapeSequence", {"a\x1b[2J\x1b]0;title\x07z"}, "a?[2J?]0;title?z"},
    FilterCase{"CarriageReturnAndBackspace", {"ok\rno\b"}, "ok?no?"},
    FilterCase{"Delete", {"x\x7fy"}, "x?y"},
    FilterCase{"C1ControlsAsUtf8", {"a\xc2\x9b" "31mb\xc2\x85"}, "a?31mb?"},
    FilterCase{"NotUtf8", {"\xff\xfe" "AB\xe9\x97"}, "??AB??"},
    FilterCase{"NoBreakSpaceIsText", {"a\xc2\xa0" "b"}, "a\xc2\xa0" "b"},
    FilterCase{"ACharacterSplitAcrossWritesStaysWhole", {"\xe9", "\x97\xa8", "!"}, "门!"},
    FilterCase{"ACharacterCutAtTheEnd", {"\xe9\x97"}, "??"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A command that shows progress and what an operation shows, and prints a document of its own.
int document(CliContext& ctx) {
    ctx.port->progress("步骤", 1, 2);
    ctx.port->showNotice("返回消息检验和失败！");
    ctx.port->showMessage("name \x1b[31mred");
    *ctx.out << "[]\n";
    if (ctx.json)
        ctx.json->markPrinted();
    return kOk;
}
constexpr DeclaredOption kJson[] = {{"--json"}};
const CliCommand kDocumentCommands[] = {{"doc", "", true, document, "doc [--json]", kJson}};
const std::string kShown = "返回消息检验和失败！\nname ?[31mred\n";

// With --json what is shown goes to standard error and the document stands alone; progress is
// shown on a terminal or when asked, and ended before what is shown next.
TEST(MachineOutput, ShownTextDocumentAndProgressEachGoWhereTheRunSays) {
    Outcome json = runWith(kDocumentCommands, {"doc", "--json"});
    EXPECT_EQ(json.out, "[]\n");
    EXPECT_EQ(json.err, kShown);
    Outcome text = runWith(kDocumentCommands, {"doc"});
    EXPECT_EQ(text.out, kShown + "[]\n");
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(runWith(kDocumentCommands, {"--progress", "doc"}).err, "步骤  50% 1/2\n");
    std::ostringstream out, err;
    runCliWith(kDocumentCommands, {"doc"}, out, err, true);
    EXPECT_EQ(err.str(), "\r步骤  50% 1/2\x1b[K\n");
    EXPECT_EQ(out.str(), kShown + "[]\n");
}

// A run of 1,000 steps, one every millisecond of the fake clock, then a second run.
TEST(ProgressLine, AtMostFourUpdatesASecondWithTheFirstAndLastStepOfEachRun) {
    test::FakeClock clock;
    std::ostringstream lines, inPlace;
    ProgressLine listed(lines, ProgressLine::Mode::Lines, clock);
    ProgressLine rewritten(inPlace, ProgressLine::Mode::InPlace, clock);
    for (long done = 0; done <= 1000; ++done) {
        listed.show("添加\x07", done, 1000);
        rewritten.show("添加\x07", done, 1000);
        clock.advance(std::chrono::milliseconds(1));
    }
    listed.show("下载", 0, 5);
    auto shown = test::splitLines(lines.str());
    ASSERT_EQ(shown.size(), 6u); // at 0, 250, 500, 750 and 1000 ms of the first run
    EXPECT_EQ(shown.front(), "添加?  0% 0/1000");
    EXPECT_EQ(shown[1], "添加?  25% 250/1000 1000/s");
    EXPECT_EQ(shown[4], "添加?  100% 1000/1000 1000/s");
    EXPECT_EQ(shown[5], "下载  0% 0/5");
    // In place: each update returns to the line's start and erases its rest; no line feed
    // until something else is written.
    EXPECT_EQ(inPlace.str().find('\n'), std::string::npos);
    EXPECT_TRUE(inPlace.str().ends_with("\r添加?  100% 1000/1000 1000/s\x1b[K"));
    rewritten.close();
    rewritten.close();
    EXPECT_TRUE(inPlace.str().ends_with("\x1b[K\n"));
}

} // namespace
} // namespace quorvane::cli
