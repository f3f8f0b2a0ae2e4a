#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

#include "cli_context.h"
#include "cli_run.h"
#include "platform/terminal.h"
#include "session/start_gate.h"
#include "test_paths.h"

namespace quorvane::cli {
namespace {

// Commands of the test's own, to drive the common rules.
int probe(CliContext& ctx) {
    if (!ctx.args.positionals().empty())
        return kUsage;
    ctx.port->showMessage("操作成功！");
    ctx.port->progress("working", 1, 2);
    *ctx.out << "home=" << ctx.home << '\n';
    return kOk;
}
int question(CliContext& ctx) {
    return ctx.port->askYesNo("确定要清除所有权限吗？") ? kOk : kFailed;
}
constexpr DeclaredOption kProbeOptions[] = {
    {"--device", Arity::Value, "-d"}, {"--to", Arity::Repeated}, {"--json"}};
const CliCommand kTestCommands[] = {
    {"probe", "", false, probe, "probe", kProbeOptions},
    {"ask", "", true, question, "ask", {}},
    {"offline", "run", true, probe, "offline run", kProbeOptions},
};

class CliCommonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::unsetenv("QUORVANE_PASSWORD");
        home = test::scratchDir("cli");
        test::writeFile(home + "/config.ini",
                        test::readFile(test::sourceDir() + "/dist/config.ini"));
    }
    std::string home;
};

TEST_F(CliCommonTest, UsageErrorsExitTwoWithUsageOnStandardError) {
    Outcome none = runReal({});
    EXPECT_EQ(none.code, kUsage);
    EXPECT_NE(none.err.find("usage:"), std::string::npos);

    Outcome unknown = runReal({"--home", home, "no-such-command"});
    EXPECT_EQ(unknown.code, kUsage);
    EXPECT_NE(unknown.err.find("unknown command: no-such-command"), std::string::npos);
    EXPECT_TRUE(unknown.out.empty());

    EXPECT_EQ(runReal({"--frobnicate", "decode", "frame", "AA"}).code, kUsage);
    EXPECT_EQ(runReal({"--home"}).code, kUsage);

    Outcome badSub = runReal({"--home", home, "decode", "nothing"});
    EXPECT_EQ(badSub.code, kUsage);
    EXPECT_NE(badSub.err.find("decode frame HEX"), std::string::npos);

    EXPECT_EQ(runWith(kTestCommands, {"--home", home + "/absent", "offline", "run"}).code, kUsage);
}

// The gate refuses a wrong or missing password, which offline commands do not need (they take the
// home from the environment), and opens with the option's, the environment's or the marker.
TEST_F(CliCommonTest, TheGateAndTheOfflineCommands) {
    Outcome wrong = runWith(kTestCommands, {"--home", home, "--password", "000000", "probe"});
    EXPECT_EQ(wrong.code, kGateRefused);
    EXPECT_EQ(wrong.err, "密码错误\n");
    EXPECT_TRUE(wrong.out.empty());

    if (!platform::stdinIsTerminal()) {
        Outcome missing = runWith(kTestCommands, {"--home", home, "probe"});
        EXPECT_EQ(missing.code, kGateRefused);
        EXPECT_EQ(missing.err, "密码错误\n");
    }

    ::setenv("QUORVANE_HOME", home.c_str(), 1);
    Outcome r = runWith(kTestCommands, {"--password", "000000", "offline", "run"});
    ::unsetenv("QUORVANE_HOME");
    EXPECT_EQ(r.code, kOk);
    EXPECT_NE(r.out.find("home=" + home + "\n"), std::string::npos);

    Outcome right = runWith(kTestCommands, {"--home", home, "--password", "720418", "probe"});
    EXPECT_EQ(right.code, kOk);
    EXPECT_EQ(right.out, "操作成功！\nhome=" + home + "\n");
    EXPECT_EQ(right.err, ""); // progress only on a terminal or with --progress

    ::setenv("QUORVANE_PASSWORD", "720418", 1);
    EXPECT_EQ(runWith(kTestCommands, {"--home", home, "probe"}).code, kOk);
    ::unsetenv("QUORVANE_PASSWORD");

    Settings s(home);
    ASSERT_TRUE(startGateCheckPassword(s, "720418", true));
    EXPECT_EQ(runWith(kTestCommands, {"--home", home, "--password", "000000", "probe"}).code, kOk);
}

TEST_F(CliCommonTest, ASettingsFileThatCannotBeReadIsNamedBeforeTheRefusal) {
    test::writeFile(home + "/config.ini",
                    "\xEF\xBB\xBF[db]\nxstr=961b74e72e3212585228372772981543\n");
    Outcome bom = runWith(kTestCommands, {"--home", home, "--password", "720418", "probe"});
    EXPECT_EQ(bom.code, kGateRefused);
    EXPECT_EQ(bom.err.rfind("设置文件是UTF-8编码的", 0), 0u) << bom.err;
    EXPECT_NE(bom.err.find("\n密码错误\n"), std::string::npos);

    std::filesystem::remove(home + "/config.ini");
    std::filesystem::create_directories(home + "/config.ini");
    Outcome unreadable = runWith(kTestCommands, {"--home", home, "--password", "720418", "probe"});
    EXPECT_EQ(unreadable.code, kGateRefused);
    EXPECT_EQ(unreadable.err.rfind("设置文件无法读取：" + home + "/config.ini", 0), 0u)
        << unreadable.err;
}

TEST_F(CliCommonTest, QuestionsAreAnsweredYesByTheOptionAndNoWithoutATerminal) {
    EXPECT_EQ(runWith(kTestCommands, {"--home", home, "--yes", "ask"}).code, kOk);
    if (platform::stdinIsTerminal())
        GTEST_SKIP() << "standard input is a terminal";
    Outcome no = runWith(kTestCommands, {"--home", home, "ask"});
    EXPECT_EQ(no.code, kAnsweredNo);
    EXPECT_NE(no.err.find("确定要清除所有权限吗？"), std::string::npos);
}

TEST(CliOptions, DeclaredOptionsSeparateOptionsFromWords) {
    std::ostringstream err;
    auto a = parseArgs({"-d", "10.0.0.5", "--to", "1.1.1.1", "--to", "2.2.2.2", "FILE", "--json",
                        "-5", "--", "--literal"},
                       kProbeOptions, err);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->has("--json"));
    ASSERT_NE(a->value("--device"), nullptr);
    EXPECT_EQ(*a->value("--device"), "10.0.0.5");
    EXPECT_EQ(a->values("--to"), (Args{"1.1.1.1", "2.2.2.2"}));
    EXPECT_EQ(a->positionals(), (Args{"FILE", "-5", "--literal"}));
    EXPECT_TRUE(err.str().empty());
}

struct Refusal {
    Args words;
    const char* reason;
};

class CliRefusals : public CliCommonTest, public ::testing::WithParamInterface<Refusal> {};

// Each refusal names its reason, then the usage once, and exits 2 before the command runs.
TEST_P(CliRefusals, UsageErrorPrintedOnce) {
    Args args = {"--home", home, "--password", "720418", "probe"};
    args.insert(args.end(), GetParam().words.begin(), GetParam().words.end());
    Outcome r = runWith(kTestCommands, args);
    EXPECT_EQ(r.code, kUsage);
    EXPECT_EQ(r.out, "");
    std::string reason = GetParam().reason;
    EXPECT_EQ(r.err, (reason.empty() ? "" : reason + "\n") + "usage: quorvane-cli probe\n");
}

INSTANTIATE_TEST_SUITE_P(Options, CliRefusals,
                         ::testing::Values(Refusal{{"--wait", "5"}, "unknown option: --wait"},
                                           Refusal{{"-d", "1.1.1.1", "--device", "2.2.2.2"},
                                                   "option --device given more than once"},
                                           Refusal{{"-d"}, "option -d needs a value"},
                                           Refusal{{"stray"}, ""}));

} // namespace
} // namespace quorvane::cli
