// The memory, firmware and right-image commands' own surface: the words each refuses, the
// questions that stop them without --yes, the texts they print and the files they write,
// against a controller played by the test on loopback that answers every page.
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
    const char* written = nullptr; // a file the command leaves, below the program directory
    std::size_t size = 0;
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
        const std::string page = f.info.command == 32 ? std::string(512, '\x5A') : "";
        return std::vector{replyTo(f, 1, f.info.command == 32 ? f.payload() + page : "")};
    });
    ASSERT_TRUE(controller.ready());
    writeFile(h.home + "/fw.bin", std::string(1000, '\x01'));
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
    if (GetParam().written) {
        EXPECT_EQ(readFile(h.home + "/" + GetParam().written).size(), GetParam().size);
    }
}

using W = std::vector<std::string>;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, MemoryCommands, ::testing::Values(
    MemoryWords{"ReadEeprom", W{"mem", "read", "eeprom", "-d", "IP", "@e.bin"}, 0,
                "操作成功！\n下载EEPROM：共512，成功512，失败0，无应答0\n", "e.bin", 262144},
    MemoryWords{"UnknownMemory", W{"mem", "read", "disk", "-d", "IP", "@e.bin"}, 2, ""},
    MemoryWords{"FlashAsksFirst", W{"mem", "write", "flash", "-d", "IP", "@f.bin"}, 3, ""},
    MemoryWords{"UnreadableFile", W{"--yes", "mem", "write", "flash", "-d", "IP", "@none.bin"}, 1, "打开文件失败！\n"},
    MemoryWords{"UpgradeAsksFirst", W{"firmware", "upgrade", "-d", "IP", "@fw.bin"}, 3, ""},
    MemoryWords{"Upgrade", W{"--yes", "firmware", "upgrade", "-d", "IP", "@fw.bin"}, 0,
                "操作成功！\n上传固件：共2，成功2，失败0，无应答0\n"
                "升级操作处理中，请等待设备升级完成后自动重新启动！\n"},
    MemoryWords{"ReadFirmwareOff", W{"firmware", "read", "-d", "IP", "@fw-read.bin"}, 1,
                "读取固件功能未开启（enable-read-firmware=0）！\n"},
    MemoryWords{"Erase", W{"--yes", "firmware", "erase", "-d", "IP"}, 0, "清除程序操作成功！\n"},
    MemoryWords{"ImageWithoutSource", W{"rights", "image", "-d", "IP"}, 2, ""},
    MemoryWords{"ImageWithTwoSources", W{"rights", "image", "-d", "IP", "--ids", "--whitelist"}, 2, ""},
    MemoryWords{"ImageWithoutNumbers", W{"--yes", "rights", "image", "-d", "IP", "--ids"}, 1, "打开文件失败！文件名=@ids.txt\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on
