#include <gtest/gtest.h>

#include "cli_context.h"
#include "cli_run.h"

namespace quorvane::cli {
namespace {

// The offline commands as the runner reads their words; what each decoder or parser gives for
// every form is its own test, here the printing and the exit codes.
TEST(CodecCommands, DecodeRecordPrintsLineAndFields) {
    // Card record, data1 = 65546, kind 2, numbering mode 2, doorReader 0x18.
    auto r = runReal({"decode", "record", "00000000 0A000100 0000 0000 18 00 08 80", "--seq", "9"});
    EXPECT_EQ(r.code, kOk);
    EXPECT_EQ(r.out, "【序号=0000000009,类型=刷卡记录(正常),子类型=正常记录        ,"
                     "时间=2000-00-00 00:00:00,门号=2,读头=3,方向=未知,结果=成功,"
                     "卡号数据=0000065546 】\n"
                     "type=刷卡记录\noffline=正常\ntime=2000-00-00 00:00:00\ndoor=2\nreader=3\n"
                     "dir=未知\nresult=成功\nsubtype=正常记录\ncard=0000065546\ndata=\n");
    // The option reaches the decoder, whose three-byte form has its own test.
    auto three = runReal({"decode", "record", "000000000A0001000000000018000880", "--three-byte"});
    EXPECT_NE(three.out.find("卡号数据=001,00010 】"), std::string::npos);
    EXPECT_EQ(runReal({"decode", "record", "0011"}).code, kUsage);
    EXPECT_EQ(runReal({"decode", "record", "zz"}).code, kUsage);
}

TEST(CodecCommands, DecodeRightAndStatus) {
    auto r = runReal(
        {"decode", "right", "00000000 0A000100 0000000000000000 0301FFFF 00000000", "--seq", "42"});
    EXPECT_EQ(r.code, kOk);
    EXPECT_EQ(r.out, "【序号=0000000042;卡号=0000065546;生效时间=2000-00-00 00:00:00;"
                     "失效时间=2000-00-00 00:00:00;时段=3;读头=1;次数余额=65535;位置=未知;类型=0;"
                     "反潜回=0;包裹=0;欠费=0;用户标志1=0;用户标志2=0;用户标志3=0;】\n");
    // 20 bytes are a stored right of right-mode 0; 22 are no right.
    EXPECT_EQ(runReal({"decode", "right", "00000000 0A000100 0000000000000000 0301FFFF"}).code,
              kOk);
    EXPECT_EQ(runReal({"decode", "right", "00000000 0A000100 0000000000000000 0301FFFF 0000"}).code,
              kUsage);
    // The status word's texts are the model's test; here the number forms and the option.
    auto multi = runReal({"decode", "status", "16777217", "--multi-line"});
    EXPECT_EQ(multi.out.rfind("TCP/WEB网络连通:是;WEBSOCK连通:否\n系统有故障:否\n 串口", 0), 0u);
    EXPECT_EQ(runReal({"decode", "status", "0x01000001"}).out,
              runReal({"decode", "status", "16777217"}).out);
    EXPECT_EQ(runReal({"decode", "status", "0x1FFFFFFFF"}).code, kUsage);
}

TEST(CodecCommands, CardCheckAndParse) {
    auto ok = runReal({"card", "check", "11010519491231002x"});
    EXPECT_EQ(ok.out, "X\nok\n");
    EXPECT_EQ(ok.code, kOk);
    auto bad = runReal({"card", "check", "110105194912310021"});
    EXPECT_EQ(bad.out, "X\nbad\n");
    EXPECT_EQ(bad.code, kFailed);
    // Every form a number takes is the card-number test's; here the printing and the exit.
    auto parsed = runReal({"card", "parse", "001,00001", "12345678900987654321", "01,1"});
    EXPECT_EQ(parsed.out, "high=0 low=65537 flag0=0\n"
                          "high=1234567890 low=987654321 flag0=1\n"
                          "卡号格式错误：01,1\n");
    EXPECT_EQ(parsed.code, kFailed);
}

TEST(CodecCommands, CardConvertAndRightText) {
    auto c = runReal({"card", "convert", "--force", "87654321", "AB12"});
    EXPECT_EQ(c.out, "876543210000000001\n003536120000000004\n"
                     "共处理记录2条，转换成功2条，未转换直接使用0条\n");
    auto rev = runReal({"card", "convert", "--reverse", "abc"});
    EXPECT_EQ(rev.out, "24160052721020415920\n共处理记录1条，转换成功1条，未转换直接使用0条\n");
    std::string line =
        "【序号=5;卡号=123;生效时间=2024-1-2 3:4:5;失效时间=2030-12-31 23:59:59;时段=1;"
        "读头=255;次数余额=9;位置=外部;类型=2;反潜回=1;包裹=0;欠费=0;用户标志1=0;"
        "用户标志2=0;用户标志3=1;】";
    auto t = runReal({"right-text", "parse", line});
    EXPECT_EQ(t.out, "【序号=0000000000;卡号=0000000123;生效时间=2024-01-02 03:04:04;"
                     "失效时间=2030-12-31 23:59:58;时段=1;读头=255;次数余额=9;位置=外部;类型=2;"
                     "反潜回=1;包裹=0;欠费=0;用户标志1=0;用户标志2=0;用户标志3=1;】\n");
    auto refused = runReal({"right-text", "parse", "garbage"});
    EXPECT_EQ(refused.out, "权限格式错误：garbage\n");
    EXPECT_EQ(refused.code, kFailed);
}

} // namespace
} // namespace quorvane::cli
