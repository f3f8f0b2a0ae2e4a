#include <gtest/gtest.h>

#include <mutex>

#include "fake_clock.h"
#include "integration_home.h"
#include "recording_user_port.h"
#include "sample_frames.h"
#include "session/tool_session.h"
#include "textcmd/text_commands.h"
#include "udp_controller.h"

using namespace quorvane;
using namespace quorvane::test;
using namespace std::chrono_literals;

namespace {

DeviceUIInfo played(std::uint8_t number, const std::string& ip = "127.0.0.2") {
    DeviceUIInfo r = sampleDevice(number);
    r.groupNo = 1;
    r.deviceNo = number;
    r.ip = ip;
    return r;
}

std::string textOf(const SentFrame& f) {
    const std::string p = f.payload();
    return p.substr(8, p.find('\0', 8) - 8);
}

// Each controller answers at once with its text, and notes the fake clock's time of arrival.
struct TextCmd : ::testing::Test {
    TextCmd() : session(h.home, port, &clock) {
        session.start();
        session.log().setEcho(false);
        session.setOneShotLimits(limits::kCommand);
    }
    ~TextCmd() override { session.stop(); }
    UdpController::Script answering() {
        return [this](const SentFrame& f) {
            std::lock_guard l(m);
            arrivals.push_back(clock.elapsed());
            return std::vector{replyTo(f, 1, "setIp")};
        };
    }

    IntegrationHome h;
    FakeClock clock{50ms};
    RecordingUserPort port;
    ToolSession session;
    std::mutex m;
    std::vector<std::chrono::nanoseconds> arrivals;
};

} // namespace

TEST_F(TextCmd, ASequenceGivesConsecutiveAddressesInTargetOrder) {
    UdpController a("127.0.0.2", h.port, answering()), b("127.0.0.3", h.port, answering()),
        c("127.0.0.4", h.port, answering());
    ASSERT_TRUE(a.ready() && b.ready() && c.ready());
    TextRun run{"setIp=127.0.0.{SEQ100};setIpAlloc=0",
                {played(7, "127.0.0.3"), played(8, "127.0.0.2"), played(9, "127.0.0.4")},
                std::nullopt};
    EXPECT_EQ(runTextCommand(session, run, [] { return 0u; }).succeeded, 3);
    ASSERT_EQ(b.received().size(), 1u);
    EXPECT_EQ(hex(b.frame(0).substr(0, 40)),
              hex(unhex("55555555555555555555555555555555 FFFF FFFFFFFFFFFF"
                        "0107 0100 94 00 0208 0000000000000000")));
    EXPECT_EQ(textOf(b.received()[0]), "setIp=127.0.0.100;setIpAlloc=0");
    EXPECT_EQ(textOf(a.received().at(0)), "setIp=127.0.0.101;setIpAlloc=0");
    EXPECT_EQ(textOf(c.received().at(0)), "setIp=127.0.0.102;setIpAlloc=0");
    EXPECT_EQ(port.notices(), std::vector<std::string>(3, "操作成功！setIp"));
}

TEST_F(TextCmd, TheBroadcastRunSendsEachTargetsIdHalfASecondApart) {
    UdpController everyone("0.0.0.0", h.port, answering());
    ASSERT_TRUE(everyone.ready());
    TextRun run{"open1",
                {played(1), played(2), played(3)},
                session.channel().configuredSearchTarget(false)};
    EXPECT_EQ(runTextCommand(session, run, [] { return 0u; }).items, 3);
    auto frames = everyone.received();
    ASSERT_EQ(frames.size(), 3u);
    std::lock_guard l(m);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(frames[i].info.target, 0x0101 + i);
        EXPECT_EQ(arrivals[i], i * std::chrono::nanoseconds(500ms));
    }
}

TEST_F(TextCmd, ALongCommandIsCutAt500BytesAndOnlyATemplateOf996CharactersIsSent) {
    UdpController controller("127.0.0.2", h.port, answering());
    ASSERT_TRUE(controller.ready());
    // 499 ASCII bytes and one double-byte character make 501 bytes: the character goes whole.
    EXPECT_EQ(sendTextCmd(session, std::string(499, 'a') + "开", played(1)), 0);
    EXPECT_EQ(sendTextCmd(session, std::string(498, 'a') + "开x", played(1)), 0);
    std::string bytes, digits;
    for (int i = 0; i < 498; ++i) {
        bytes.push_back(static_cast<char>(i));
        digits += hex(bytes.substr(bytes.size() - 1));
    }
    digits += "a";
    for (std::size_t n : {995u, 997u, 996u}) {
        const std::string file = h.home + "/t" + std::to_string(n) + ".tpl";
        writeFile(file, digits.substr(0, n));
        EXPECT_EQ(uploadFingerTemplate(session, played(1), file), n == 996 ? 0 : -1) << n;
    }
    EXPECT_EQ(port.messages(), std::vector<std::string>(2, kTemplateLengthText));
    auto frames = controller.received();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].bytes.size(), 553u);
    EXPECT_EQ(frames[0].payload(),
              std::string(8, '\0') + std::string(499, 'a') + std::string(13, '\0'));
    EXPECT_EQ(frames[1].payload().substr(8, 501), std::string(498, 'a') + "\xBF\xAA" + '\0');
    EXPECT_EQ(frames[2].info.command, kFingerTemplateCommand);
    EXPECT_EQ(frames[2].payload(), unhex("00000000 05000000") + bytes + std::string(14, '\0'));
}
