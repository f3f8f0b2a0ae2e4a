// The memory, firmware and right-image commands' refusals and texts that no --json row shows,
// against a controller played by the test on loopback.
#include <gtest/gtest.h>

#include "integration_home.h"
#include "sample_frames.h"
#include "summary_text.h"
#include "udp_controller.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct MemoryWords {
    const char* name;
    // "IP" stands for the controller's address, "@name" for a file in the program directory.
    std::vector<std::string> words;
    int code;
    std::string out;
};

void PrintTo(const MemoryWords& w, std::ostream* os) {
    *os << w.name;
}

class MemoryCommands : public ::testing::TestWithParam<MemoryWords> {};

} // namespace

TEST_P(MemoryCommands, AnswerAsTheWindowWould) {
    IntegrationHome h;
    DeviceUIInfo record = sampleDevice(2);
    record.ip = "127.0.0.2";
    UdpController controller("127.0.0.2", h.port, [&](const SentFrame& f) {
        if (f.info.command == 2)
            return std::vector{deviceInformation(f, record)};
        return std::vector{replyTo(f)};
    });
    ASSERT_TRUE(controller.ready());
    std::vector<std::string> words;
    for (const auto& w : GetParam().words)
        words.push_back(w == "IP" ? "127.0.0.2" : w[0] == '@' ? h.home + "/" + w.substr(1) : w);
    int code = -1;
    // "@" in the expected output is the program directory.
    std::string out = GetParam().out;
    if (auto at = out.find('@'); at != std::string::npos)
        out.replace(at, 1, h.home + "/");
    EXPECT_EQ(withoutElapsed(h.cli(words, &code)), out);
    EXPECT_EQ(code, GetParam().code);
}

using W = std::vector<std::string>;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, MemoryCommands, ::testing::Values(
    MemoryWords{"UnreadableFile", W{"--yes", "mem", "write", "flash", "-d", "IP", "@none.bin"}, 1, "打开文件失败！\n"},
    MemoryWords{"ReadFirmwareOff", W{"firmware", "read", "-d", "IP", "@fw-read.bin"}, 1,
                "读取固件功能未开启（enable-read-firmware=0）！\n"},
    MemoryWords{"Erase", W{"--yes", "firmware", "erase", "-d", "IP"}, 0, "清除程序操作成功！\n"},
    MemoryWords{"ImageWithTwoSources", W{"rights", "image", "-d", "IP", "--ids", "--whitelist"}, 2, ""},
    MemoryWords{"ImageWithoutNumbers", W{"--yes", "rights", "image", "-d", "IP", "--ids"}, 1, "打开文件失败！文件名=@ids.txt\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
