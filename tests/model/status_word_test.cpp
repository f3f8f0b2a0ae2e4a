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
    const std::pair<int, const char*> bits[] = {
        {9, "信号状态:否,是,否"},     {17, "串口设备在线:否,是,"}, {22, "韦根设备在线:否,否,是,"},
        {7, "门已打开:否,否,否,是,"}, {25, "声音设备开:是"},       {27, "系统有故障:是"},
        {26, "WEBSOCK连通:是"}};
    for (auto [bit, shown] : bits)
        EXPECT_NE(statusWordText(1u << bit, false).find(shown), std::string::npos) << bit;
}

} // namespace
} // namespace quorvane
