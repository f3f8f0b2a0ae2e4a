#include <gtest/gtest.h>

#include <algorithm>

#include "infra/codepage.h"
#include "model/packed_time.h"
#include "model/status_word.h"
#include "records/record_decoder.h"
#include "records/record_tables.h"

namespace quorvane {
namespace {

// The few command names these records refer to.
std::string_view testCommandName(unsigned code) {
    return code == 4 ? "保存基本配置" : code == 112 ? "连接变化" : code == 225 ? "内部定时器" : "";
}

RecordDecodeOptions options(bool threeByte = false) {
    return {threeByte, testCommandName};
}

LogRecord record(unsigned kind, unsigned subtype, std::uint32_t data0, std::uint32_t data1,
                 std::uint8_t result = 0) {
    LogRecord r;
    r.resultCode = result;
    r.kindByte = static_cast<std::uint8_t>(kind << 2);
    r.subtypeByte = static_cast<std::uint8_t>(subtype << 1);
    r.data0 = data0;
    r.data1 = data1;
    return r;
}

TEST(RecordDecoder, AllZeroRecordDecodesAsNoData) {
    RecordFieldMap map;
    std::string line = decodeRecord(&map, LogRecord{}, 0, options());
    EXPECT_EQ(line, "【序号=0000000000,类型=没有数据(正常),子类型=正常记录        ,"
                    "时间=2000-00-00 00:00:00,门号=0,读头=0,方向=未知,结果=成功,字节数据=0;0 】");
    // The map's keys and their order are the command line's decoded Record row.
    EXPECT_EQ(map.get("type"), "没有数据");
    EXPECT_EQ(map.get("card"), "0;0");
}

TEST(RecordDecoder, CardRecordLineWithEveryField) {
    LogRecord r = record(2, 0, 0, 65546);
    r.kindByte |= 0x80 | 1;
    r.packedDate = packDate(2024, 3, 9);
    r.packedTime = packTime(14, 5, 31);
    r.resultCode = 4;
    r.doorReader = 0x18;
    r.subtypeByte |= 2 << 6;
    EXPECT_EQ(
        decodeRecord(nullptr, r, 123, options()),
        "【序号=0000000123,类型=刷卡记录(脱机),子类型=正常记录        ,"
        "时间=2024-03-09 14:05:30,门号=2,读头=3,方向=进入,结果=无权限,卡号数据=0000065546 】");
    EXPECT_NE(decodeRecord(nullptr, r, 123, options(true)).find("卡号数据=001,00010 】"),
              std::string::npos);
}

TEST(RecordDecoder, CardNumbersInEveryForm) {
    EXPECT_EQ(recordCardText(record(2, 0, 87654321, 987654321), false), "876543219876543212");
    EXPECT_EQ(recordCardText(record(2, 0, 987654321, 1), false), "09876543210000000001");
    LogRecord longForm = record(2, 0, 87654321, 987654321);
    longForm.subtypeByte |= 1;
    EXPECT_EQ(recordCardText(longForm, false), "00876543210987654321");
    // Other kinds print both words signed, under their own label.
    std::string line = decodeRecord(nullptr, record(1, 0, 4294967295u, 255), 1, options());
    EXPECT_NE(line.find(",事件数据=-1;255 】"), std::string::npos) << line;
}

// Signal, fire, alarm, connection-change and debug records name their data in brackets.
TEST(RecordDecoder, ExtraTexts) {
    const std::pair<LogRecord, std::string> cases[] = {
        {record(1, 1, 0, 255), "[系统启动]"},
        {record(1, 1, 3, 1), "[通道3按下/触发]"},
        {record(1, 4, 2, 0), "[通道2松开/恢复]"},
        {record(1, 1, 4294967295u, 1), "[通道-1按下/触发]"},
        {record(1, 0, 3, 1), ""},
        {record(1, 5, 2, 255), "[闯入]警告消除,动作继电器=无"},
        {record(1, 5, 2, 3, 1), "[闯入]警告触发,动作继电器=3"},
        {record(1, 5, 7, 1), "[未知]警告消除,动作继电器=1"},
        {record(1, 3, 112, 201), "[连接变化;WEBSOCK连接失败]"},
        {record(1, 3, 112, 7), "[连接变化;未知]"},
        {record(1, 3, 5, 201), "[;]"},
        // Only the whole data0 of 112 is a connection change, not its low byte.
        {record(1, 3, 0x170, 201), "[连接变化;]"},
        // The status word follows two semicolons.
        {record(1, 6, 225, 0x01000001), "[触发命令=内部定时器;数据=16777217/0x01000001;;" +
                                            statusWordText(0x01000001, false) + "]"},
        {record(1, 6, 4, 10), "[触发命令=保存基本配置;数据=10/0x0000000a;;]"}};
    for (const auto& [r, text] : cases)
        EXPECT_EQ(recordExtraText(r, testCommandName), text);
}

TEST(RecordDecoder, OperationLogLine) {
    LogRecord r = record(3, 7, 4, 2);
    RecordFieldMap map;
    map.set("card", "old");
    std::string line = decodeRecord(&map, r, 5, options());
    EXPECT_EQ(line, "【序号=0000000005,类型=操作日志(正常),子类型=更新配置        ,"
                    "时间=2000-00-00 00:00:00,门号=0,读头=0,方向=未知,结果=成功,"
                    "操作对象=门禁配置,来源命令=保存基本配置 】");
    EXPECT_EQ(map.get("subtype"), "更新配置");
    EXPECT_EQ(map.get("data"), "保存基本配置");
    EXPECT_EQ(map.get("card"), "old"); // an operation log sets no card
    EXPECT_EQ(map.entries().front().first, "card");
    EXPECT_NE(decodeRecord(nullptr, record(3, 0, 4, 99), 5, options()).find("操作对象=,"),
              std::string::npos);
    // Without a table of its own the decoder names the code from the protocol's table.
    EXPECT_NE(decodeRecord(nullptr, r, 5, {}).find("来源命令=保存基本配置 】"), std::string::npos);
}

TEST(RecordDecoder, SubtypeNamesArePaddedToSixteenGbkBytes) {
    for (unsigned s = 0; s < 33; ++s) {
        std::string_view padded = subtypeNamePadded(s);
        EXPECT_EQ(gbkLength(padded), 16u) << s;
        EXPECT_EQ(padded.substr(0, subtypeName(s).size()), subtypeName(s));
    }
    EXPECT_EQ(subtypeNamePadded(1), "信号状态变化事件");
    EXPECT_EQ(subtypeNamePadded(6), "调试            ");
    EXPECT_EQ(subtypeName(10), "未知");
}

// Door and reader by numbering mode (the top two subtype bits); 0x0B reads as R = 0x61.
TEST(RecordDecoder, NumberingModesGiveDoorAndReader) {
    struct Case {
        std::uint8_t doorReader;
        unsigned mode, door, reader;
    };
    const Case cases[] = {{0x18, 0, 0, 3},      {0x18, 1, 3, 3},       {0x18, 2, 2, 3},
                          {0x18, 3, 0, 3},      {0x0B, 1, 0x61, 0x61}, {0x0B, 3, 3, 0x61},
                          {0x0B, 2, 0x31, 0x61}};
    for (const auto& c : cases) {
        LogRecord r;
        r.doorReader = c.doorReader;
        r.subtypeByte = static_cast<std::uint8_t>(c.mode << 6);
        EXPECT_EQ(std::pair(r.door(), r.reader()), std::pair(c.door, c.reader))
            << int(c.doorReader) << " " << c.mode;
    }
}

} // namespace
} // namespace quorvane
