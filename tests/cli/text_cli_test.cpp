// text, finger and preset: the words each takes or refuses, the targets in the order named,
// and what reaches a controller played by the test on loopback; and the memory, firmware and
// right-image commands' refusals and texts that no --json row shows.
#include <gtest/gtest.h>

#include "integration_home.h"
#include "sample_frames.h"
#include "summary_text.h"
#include "textcmd/text_presets.h"
#include "udp_controller.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct TextCase {
    const char* name;
    std::vector<std::string> words;
    int code;
    std::string out;
    std::vector<std::string> texts; // the text commands 127.0.0.2 receives, in order
};

class TextCli : public ::testing::TestWithParam<TextCase> {};

// 127.0.0.2 answers with id 0x0107; 127.0.0.3 has an id no text command may address.
UdpController::Script played(std::uint8_t group, std::uint8_t number) {
    return [=](const SentFrame& f) {
        DeviceUIInfo r = sampleDevice(1);
        r.groupNo = group;
        r.deviceNo = number;
        return std::vector{f.info.command == 2 ? deviceInformation(f, r) : replyTo(f, 1, "ok")};
    };
}

} // namespace

TEST_P(TextCli, SendsWhatTheWordsSay) {
    const TextCase& c = GetParam();
    IntegrationHome h;
    UdpController two("127.0.0.2", h.port, played(1, 7)),
        three("127.0.0.3", h.port, played(255, 240));
    ASSERT_TRUE(two.ready() && three.ready());
    writeFile(h.home + "/short.tpl", std::string(995, 'a'));
    int code = -1;
    EXPECT_EQ(withoutElapsed(h.cli(c.words, &code)), c.out);
    EXPECT_EQ(code, c.code);
    std::vector<std::string> texts;
    for (const SentFrame& f : two.received())
        if (f.info.command == 148)
            texts.push_back(f.payload().substr(8, f.payload().find('\0', 8) - 8));
    EXPECT_EQ(texts, c.texts);
}

using W = std::vector<std::string>;
const std::string kAnswered = "操作成功！ok\n";
const std::string kTo2 = "127.0.0.2";
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, TextCli, ::testing::Values(
    TextCase{"NoDevice", W{"text", "--cmd", "open1"}, 2, "", {}},
    TextCase{"EmptyCommand", W{"text", "-d", kTo2, "--cmd", ""}, 2, "文本指令不能为空！\n", {}},
    TextCase{"EachTargetInOrder", W{"text", "-d", kTo2, "--cmd", "a={DEVID};b={SEQ7}", "-d", kTo2}, 0,
             kAnswered + kAnswered + "操作成功！\n文本指令：共2，成功2，失败0，无应答0\n127.0.0.2：成功\n127.0.0.2：成功\n",
             {"a=00263;b=7", "a=00263;b=8"}},
    TextCase{"AnIdOf65500OrMoreIsNoTarget", W{"text", "-d", kTo2, "-d", "127.0.0.3", "--cmd", "x"}, 1, "", {}},
    TextCase{"Preset", W{"preset", "-d", kTo2, "3"}, 0, kAnswered, {kTextPresets[2].text}},
    TextCase{"PresetOutOfRange", W{"preset", "-d", kTo2, "4"}, 2, "", {}},
    TextCase{"FingerShortTemplate", W{"finger", "-d", kTo2, "short.tpl"}, 1, "数据错误！长度不匹配！\n", {}},
    TextCase{"MemoryFromAFileThatCannotBeRead", W{"--yes", "mem", "write", "flash", "-d", kTo2, "/nonexistent/f.bin"}, 1, "打开文件失败！\n", {}},
    TextCase{"FirmwareReadOff", W{"firmware", "read", "-d", kTo2, "/nonexistent/f.bin"}, 1, "读取固件功能未开启（enable-read-firmware=0）！\n", {}},
    TextCase{"FirmwareErase", W{"--yes", "firmware", "erase", "-d", kTo2}, 0, "清除程序操作成功！\n", {}},
    TextCase{"ImageWithTwoSources", W{"rights", "image", "-d", kTo2, "--ids", "--whitelist"}, 2, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
