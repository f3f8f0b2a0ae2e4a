// The offline commands as the runner reads their words: what each prints and its exit code.
// What each decoder or parser gives for every form is its own test; here the printing, the
// options reaching them and the refusals.
#include <gtest/gtest.h>

#include "cli_context.h"
#include "cli_run.h"

namespace quorvane::cli {
namespace {

enum class Match { Whole, Starts, Has };

struct OfflineRun {
    const char* name;
    Args words;
    int code;
    std::string out;
    Match match = Match::Whole;
};

class OfflineCommand : public ::testing::TestWithParam<OfflineRun> {};

TEST_P(OfflineCommand, PrintsAndExits) {
    const OfflineRun& c = GetParam();
    Outcome r = runReal(c.words);
    EXPECT_EQ(r.code, c.code) << r.err;
    if (c.match == Match::Whole)
        EXPECT_EQ(r.out, c.out);
    else if (c.match == Match::Starts)
        EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << r.out;
    else
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
}

const std::string kSearch =
    "55555555555555555555555555555555 FFFF FFFFFFFFFFFF FFFF 0100 02 00 0000 02";
const std::string kRight = "00000000 0A000100 0000000000000000 0301FFFF";
constexpr Match kStarts = Match::Starts, kHas = Match::Has;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cli, OfflineCommand, ::testing::Values(
    OfflineRun{"FrameSearch", {"decode", "frame", kSearch}, kOk,
               "kind=request\ntarget=65535\nsequence=1\ncommand=2 设备搜索\nlength=0\nchecksum=ok\n"},
    OfflineRun{"FrameReplyWithAnUnnamedCode", {"decode", "frame", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA FFFFFFFFFFFFFFFF 0102 0500 05 01 0000 06"}, kOk,
               "kind=reply\ntarget=258\nsequence=5\ncommand=5 \nstatus=1\nlength=0\nchecksum=ok\n"},
    // Hex words are joined like the other decoders'.
    OfflineRun{"FrameInWords", {"decode", "frame", "55555555555555555555555555555555", "FFFF", "FFFFFFFFFFFF", "FFFF 0100 02 00 0000", "02"}, kOk, "command=2 ", kHas},
    OfflineRun{"FrameBadChecksum", {"decode", "frame", kSearch.substr(0, kSearch.size() - 1) + "3"}, kFailed, "checksum=bad", kHas},
    OfflineRun{"FrameNotHex", {"decode", "frame", "zz"}, kUsage, ""},
    OfflineRun{"FrameMissing", {"decode", "frame"}, kUsage, ""},
    // Card record, data1 = 65546, kind 2, numbering mode 2, doorReader 0x18.
    OfflineRun{"Record", {"decode", "record", "00000000 0A000100 0000 0000 18 00 08 80", "--seq", "9"}, kOk,
               "【序号=0000000009,类型=刷卡记录(正常),子类型=正常记录        ,时间=2000-00-00 00:00:00,门号=2,读头=3,"
               "方向=未知,结果=成功,卡号数据=0000065546 】\ntype=刷卡记录\noffline=正常\ntime=2000-00-00 00:00:00\n"
               "door=2\nreader=3\ndir=未知\nresult=成功\nsubtype=正常记录\ncard=0000065546\ndata=\n"},
    OfflineRun{"RecordThreeByte", {"decode", "record", "000000000A0001000000000018000880", "--three-byte"}, kOk, "卡号数据=001,00010 】", kHas},
    OfflineRun{"RecordShort", {"decode", "record", "0011"}, kUsage, ""},
    OfflineRun{"Right", {"decode", "right", kRight + " 00000000", "--seq", "42"}, kOk,
               "【序号=0000000042;卡号=0000065546;生效时间=2000-00-00 00:00:00;失效时间=2000-00-00 00:00:00;时段=3;"
               "读头=1;次数余额=65535;位置=未知;类型=0;反潜回=0;包裹=0;欠费=0;用户标志1=0;用户标志2=0;用户标志3=0;】\n"},
    // 20 bytes are a stored right of right-mode 0; 22 are no right.
    OfflineRun{"RightOfTwentyBytes", {"decode", "right", kRight}, kOk, "卡号=0000065546;", kHas},
    OfflineRun{"RightOfTwentyTwoBytes", {"decode", "right", kRight + " 0000"}, kUsage, ""},
    OfflineRun{"StatusDecimal", {"decode", "status", "16777217", "--multi-line"}, kOk,
               "TCP/WEB网络连通:是;WEBSOCK连通:否\n系统有故障:否\n 串口", kStarts},
    OfflineRun{"StatusPastAWord", {"decode", "status", "0x1FFFFFFFF"}, kUsage, ""},
    OfflineRun{"CardCheck", {"card", "check", "11010519491231002x"}, kOk, "X\nok\n"},
    OfflineRun{"CardCheckFails", {"card", "check", "110105194912310021"}, kFailed, "X\nbad\n"},
    OfflineRun{"CardParse", {"card", "parse", "001,00001", "12345678900987654321", "01,1"}, kFailed,
               "high=0 low=65537 flag0=0\nhigh=1234567890 low=987654321 flag0=1\n卡号格式错误：01,1\n"},
    OfflineRun{"CardConvert", {"card", "convert", "--force", "87654321", "AB12"}, kOk,
               "876543210000000001\n003536120000000004\n共处理记录2条，转换成功2条，未转换直接使用0条\n"},
    OfflineRun{"CardConvertReverse", {"card", "convert", "--reverse", "abc"}, kOk,
               "24160052721020415920\n共处理记录1条，转换成功1条，未转换直接使用0条\n"},
    // A byte that is not UTF-8 is one "?": the letters after it still count.
    OfflineRun{"CardConvertBadByte", {"card", "convert", "--force", "\xff" "ABC"}, kOk, "003536370000000006\n共处理记录1条，转换成功1条，未转换直接使用0条\n"},
    OfflineRun{"RightText", {"right-text", "parse", "【序号=5;卡号=123;生效时间=2024-1-2 3:4:5;失效时间=2030-12-31 23:59:59;时段=1;"
               "读头=255;次数余额=9;位置=外部;类型=2;反潜回=1;包裹=0;欠费=0;用户标志1=0;用户标志2=0;用户标志3=1;】"}, kOk,
               "【序号=0000000000;卡号=0000000123;生效时间=2024-01-02 03:04:04;失效时间=2030-12-31 23:59:58;时段=1;"
               "读头=255;次数余额=9;位置=外部;类型=2;反潜回=1;包裹=0;欠费=0;用户标志1=0;用户标志2=0;用户标志3=1;】\n"},
    OfflineRun{"RightTextRefused", {"right-text", "parse", "garbage"}, kFailed, "权限格式错误：garbage\n"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
} // namespace quorvane::cli
