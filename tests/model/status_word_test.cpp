#include <gtest/gtest.h>

#include "model/status_word.h"

namespace quorvane {
namespace {

// The one-line form is checked in the detail text.
TEST(StatusWord, MultiLineSeparators) {
    std::string text = statusWordText(0xFFFFFFFF, true);
    EXPECT_EQ(text, "TCP/WEB网络连通:是;WEBSOCK连通:是\n系统有故障:是\n "
                    "串口设备在线:是,是,是,是,\n韦根设备在线:是,是,是,是,\n门已打开:是,是,是,是,\n"
                    "门未关报警:是,是,是,是\n信号状态:是,是,是,是,是,是,是,是\n声音设备开:是\n");
    EXPECT_NE(statusWordText(1u << 9, false).find("信号状态:否,是,否"), std::string::npos);
    EXPECT_NE(statusWordText(1u << 17, false).find("串口设备在线:否,是,"), std::string::npos);
    EXPECT_NE(statusWordText(1u << 22, false).find("韦根设备在线:否,否,是,"), std::string::npos);
    EXPECT_NE(statusWordText(1u << 7, false).find("门已打开:否,否,否,是,"), std::string::npos);
    EXPECT_NE(statusWordText(1u << 25, false).find("声音设备开:是"), std::string::npos);
    EXPECT_NE(statusWordText(1u << 27, false).find("系统有故障:是"), std::string::npos);
    EXPECT_NE(statusWordText(1u << 26, false).find("WEBSOCK连通:是"), std::string::npos);
}

} // namespace
} // namespace quorvane
