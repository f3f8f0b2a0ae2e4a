// What a reader answers is judged over a pseudo terminal in the integration suite.
#include <gtest/gtest.h>

#include "platform/mw_sync_com.h"
#include "recording_user_port.h"
#include "remote/set485_reader.h"
#include "test_paths.h"

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct InputCase {
    const char* name;
    Set485Request request;
    const char* text;
};

class Set485Input : public ::testing::TestWithParam<InputCase> {};

} // namespace

TEST_P(Set485Input, IsRefusedWithItsMessage) {
    std::string dir = scratchDir("set485");
    writeFile(dir + "/config.ini", "[port]\ncom-device=" + dir + "/none%d\n");
    Settings settings(dir);
    RecordingUserPort port;
    EXPECT_EQ(setReaderFlag(settings, port, GetParam().request), -1);
    EXPECT_EQ(port.messages(), std::vector<std::string>{GetParam().text});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Set485Input,
    ::testing::Values(InputCase{"SevenCharacters", {"4187209", 3, 1}, "请输入8位出厂序号！"},
                      // Counted in the bytes that go on the line: eight characters, twelve
                      // bytes.
                      InputCase{"WideCharacters", {"出厂序号1234", 3, 1}, "请输入8位出厂序号！"},
                      InputCase{"NoPort", {"41872093", 3, 0}, "请选择串口号！"},
                      InputCase{"FlagZero", {"41872093", 0, 1}, "读头标志必须是1到255之间的数字！"},
                      InputCase{"MissingDevice", {"41872093", 3, 2}, "打开端口失败！"}),
    [](const auto& info) { return std::string(info.param.name); });

// Only the first mark is replaced, and nothing is read as a format.
TEST(SerialPath, TakesTheNumberMinusOneInPlaceOfItsMark) {
    EXPECT_EQ(platform::serialDevicePath("/dev/ttyUSB%d", 12), "/dev/ttyUSB11");
    EXPECT_EQ(platform::serialDevicePath("/x%d%d", 3), "/x2%d");
    EXPECT_EQ(platform::serialDevicePath("/dev/%s%n%d", 1), "/dev/%s%n0");
    EXPECT_FALSE(platform::serialDevicePath("/dev/ttyS0", 1));
    EXPECT_FALSE(platform::serialDevicePath("/dev/ttyS%d", 0));
}
