// Setting an RS-485 reader's flag through a serial port: the test plays the reader at the other
// end of a socat pseudo-terminal pair and answers with success, a wrong flag, or not at all.
#include <gtest/gtest.h>

#include <future>

#include "integration_home.h"
#include "platform/mw_sync_com.h"
#include "recording_user_port.h"
#include "remote/set485_reader.h"
#include "socat_pty.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

// Serial 41872093, flag 3: 0x09 "AXC" serial flag, the XOR 0x52 as "52", 0x0D.
const std::string kFrame = unhex("09 415843 3431383732303933 03 3532 0D");

struct ReaderCase {
    const char* name;
    std::string answer; // empty: silence
    const char* text;
};

// The tool's COM1 is one end of the pair; the reader listens on the other.
struct ReaderBench {
    ReaderBench()
        : h(0, "\n[port]\ncom-device=" + scratch + "/com%d"),
          pty(scratch + "/com0", scratch + "/reader") {}
    // Plays the reader once: reads the tool's line, then answers (or not). Its port is open
    // before the tool writes (opening drops what waits in a port).
    std::future<std::string> play(const std::string& answer) {
        if (!reader.open(pty.far, platform::SerialSettings{}))
            ADD_FAILURE() << "reader port did not open";
        return std::async(std::launch::async, [this, answer] {
            std::string got(32, '\0');
            auto n = reader.read(
                MutableBytes(reinterpret_cast<std::uint8_t*>(got.data()), got.size()), 10s, 300ms);
            got.resize(n);
            if (!answer.empty())
                reader.write(asBytes(answer));
            return got;
        });
    }
    platform::MWSyncCom reader;
    std::string scratch = scratchDir("set485");
    IntegrationHome h;
    SocatPty pty;
};

class ReaderAnswer : public ::testing::TestWithParam<ReaderCase> {};

} // namespace

TEST_P(ReaderAnswer, TheLineIsSentAndTheAnswerJudged) {
    ReaderBench bench;
    ASSERT_TRUE(bench.pty.ready) << bench.pty.socat.output();
    auto reader = bench.play(GetParam().answer);
    RecordingUserPort port;
    Settings settings(bench.h.home);
    int rc = setReaderFlag(settings, port, Set485Request{"41872093", 3, 1});
    EXPECT_EQ(hex(reader.get()), hex(kFrame));
    EXPECT_EQ(port.messages(), std::vector<std::string>{GetParam().text});
    EXPECT_EQ(rc, std::string(GetParam().text) == "操作成功！" ? 0 : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderAnswer,
    ::testing::Values(ReaderCase{"Success", std::string("\x0A\x00\x03\x00\x00\x00\x0D", 7),
                                 "操作成功！"},
                      ReaderCase{"Silence", std::string(), "操作失败！"}),
    [](const auto& info) { return std::string(info.param.name); });

// The command line prints the reader's answer and exits with its code; which answers pass is the
// answer check's own table.
TEST(Set485Cli, AWrongFlagAnsweredIsAFailure) {
    ReaderBench bench;
    ASSERT_TRUE(bench.pty.ready) << bench.pty.socat.output();
    auto reader = bench.play(std::string("\x0A\x00\x05\x00\x00\x00\x0D", 7));
    int code = -1;
    std::string out =
        bench.h.cli({"set485", "--com", "1", "--serial", "41872093", "--flag", "3"}, &code);
    EXPECT_EQ(hex(reader.get()), hex(kFrame));
    EXPECT_EQ(out, "操作失败！\n");
    EXPECT_EQ(code, 1);
}
