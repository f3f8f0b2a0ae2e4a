// The field table against blocks built by hand at literal offsets of the documented layouts,
// never through the record encoder.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane {
namespace {

// Bytes nobody wrote read as 0xA5, so a field that reaches past its own bytes shows it.
constexpr std::uint8_t kBackground = 0xA5;

struct Patch {
    std::size_t at;
    std::vector<std::uint8_t> bytes;
};

std::size_t bufferSize(ConfigBlock block) {
    if (block == ConfigBlock::Door)
        return 424;
    return block == ConfigBlock::Basic || block == ConfigBlock::Extended ? 192 : 28;
}

std::vector<std::uint8_t> handBuilt(ConfigBlock block, const std::vector<Patch>& patches) {
    std::vector<std::uint8_t> b(bufferSize(block), kBackground);
    for (const auto& p : patches)
        std::copy(p.bytes.begin(), p.bytes.end(), b.begin() + p.at);
    return b;
}

std::vector<std::uint8_t> text(std::string_view s) {
    return {s.begin(), s.end()};
}

struct ReadCase {
    const char* name;
    const char* key;
    int index;
    std::vector<Patch> bytes;
    std::uint32_t number;
    std::string shown;
};

class FieldRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FieldRead, ReadsTheHandBuiltBytes) {
    const auto& c = GetParam();
    const ConfigField& f = configField(c.key);
    auto block = handBuilt(f.block, c.bytes);
    EXPECT_EQ(readNumber(f, block, c.index), c.number);
    EXPECT_EQ(readText(f, block, c.index), c.shown);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, FieldRead, ::testing::Values(
    ReadCase{"IpAllocIsBits0To3", "ipAlloc", 0, {{100, {0x92}}}, 2, "PPPOE"},
    ReadCase{"ReportModeOutsideItsTable", "reportMode", 0, {{42, {3}}}, 3, "未知"},
    ReadCase{"NameLengthBeyondFifteenStopsAtFifteen", "name", 0, {{0, {20}}, {1, text("ABCDEFGHIJKLMNO")}}, 0, "ABCDEFGHIJKLMNO"},
    ReadCase{"FirmwareIsGbk", "firmwareVersion", 0, {{108, {0xC3, 0xC5, 0xBD, 0xFB, 0, 0, 0}}}, 0, "门禁"},
    ReadCase{"LogCount32BitLittleEndian", "logCount", 0, {{0, {0x78, 0x56, 0x34, 0x12}}}, 0x12345678, "305419896"},
    ReadCase{"SystemStatusText", "systemStatus", 0, {{4, {0xF5, 0, 0, 0}}}, 245, "拨号或者DHCP分配IP失败"},
    ReadCase{"FourthRelayZoneStateBits6To7", "relay.zoneState", 3, {{301, {0xC0}}}, 3, "未知"},
    ReadCase{"SignalLogBitOnly", "signal.log", 2, {{315, {0xFE}}}, 0, "0"},
    ReadCase{"TimeZoneEndLastSecond", "timeZone.end", 7, {{394, {0x7D, 0xBF}}}, 0xBF7D, "23:59:58"},
    ReadCase{"WeekdaysSundayFirstBit7Aside", "timeZone.weekdays", 0, {{340, {0xC1}}}, 0x41, "1000001"},
    ReadCase{"TimeZoneReservedBytes", "timeZone.reserved", 1, {{349, {1, 2, 3}}}, 0, "1,2,3"},
    ReadCase{"Option32IsBit7OfD411", "optionsLow", 31, {{411, {0x80}}}, 1, "1"},
    ReadCase{"TimerTaskCondition", "timerTask.condition", 0, {{417, {0x75}}}, 5, "每小时1次"},
    ReadCase{"WgFormatLowFourBits", "reader.wgFormat", 0, {{3, {0xF6}}}, 6, "强制转身份证(串口)"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct WriteCase {
    const char* name;
    const char* key;
    int index;
    std::string input;
    // The only bytes that change; none: the text is refused and the block left as it was.
    std::vector<Patch> expect;
};

class FieldWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(FieldWrite, ChangesOnlyItsOwnBitsOrNothing) {
    const auto& c = GetParam();
    const ConfigField& f = configField(c.key);
    auto block = handBuilt(f.block, {});
    EXPECT_EQ(writeText(f, block, c.index, c.input), !c.expect.empty());
    EXPECT_EQ(block, handBuilt(f.block, c.expect));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Fields, FieldWrite, ::testing::Values(
    // 0xA5 with bits 2..5 replaced by 7: 1001 1101.
    WriteCase{"RelayZoneKeepsTheOtherFlagBits", "relay.zone", 2, "7", {{297, {0x9D}}}},
    WriteCase{"RelayOpenTimeDropsBelowTenMs", "relay.openTime", 0, "3005", {{290, {0x01, 0x2C}}}},
    WriteCase{"TimeWithoutSeconds", "timeZone.start", 0, "12:00", {{336, {0x00, 0x60}}}},
    WriteCase{"WeekdaysKeepBit7", "timeZone.weekdays", 3, "1000001", {{364, {0xC1}}}},
    WriteCase{"EnumerationText", "reader.direction", 0, "出门", {{0, {2}}}},
    WriteCase{"WgFormatKeepsHighBits", "reader.wgFormat", 0, "强制转身份证(串口)", {{3, {0xA6}}}},
    WriteCase{"Address", "ip", 0, "10.0.0.7", {{22, {10, 0, 0, 7}}}},
    WriteCase{"MacWithColons", "mac", 0, "a0:a1:a2:a3:a4:a5", {{16, {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}}}},
    // 16 GBK bytes cut to 14, never half a character; the length byte says 14.
    WriteCase{"NameCutToFifteenGbkBytes", "name", 0, "一二三四五六七八",
              {{0, {14, 0xD2, 0xBB, 0xB6, 0xFE, 0xC8, 0xFD, 0xCB, 0xC4, 0xCE, 0xE5, 0xC1, 0xF9, 0xC6, 0xDF, 0x00}}}},
    WriteCase{"FirmwareOfNineCharactersKeepsSeven", "firmwareVersion", 0, "123456789", {{108, text("1234567")}}},
    WriteCase{"Option64Off", "optionsHigh", 31, "0", {{403, {0x25}}}},
    WriteCase{"FourthPortBaud", "serialPort.baud", 3, "115200", {{140, {0x00, 0xC2, 0x01, 0x00}}}},
    WriteCase{"SignedCounter", "reportIndex", 0, "-1", {{12, {0xFF, 0xFF, 0xFF, 0xFF}}}},
    WriteCase{"HexadecimalNumber", "reportIndex", 0, "0x10", {{12, {0x10, 0, 0, 0}}}},
    WriteCase{"PortBigEndian", "serverPort", 0, "9000", {{162, {0x23, 0x28}}}},
    WriteCase{"RawBytes", "timeZone.reserved", 0, "1,2,3", {{341, {1, 2, 3}}}},
    WriteCase{"ZoneBeyondFourBits", "relay.zone", 0, "16", {}},
    WriteCase{"TrailingText", "insideLimit", 0, "12abc", {}},
    WriteCase{"NegativeUnsigned", "insideLimit", 0, "-1", {}},
    WriteCase{"BelowSigned32Bits", "reportIndex", 0, "-2147483649", {}},
    WriteCase{"ByteOf256", "procMode", 0, "256", {}},
    WriteCase{"HourOf24", "timeZone.start", 0, "24:00:00", {}},
    WriteCase{"HourAlone", "timeZone.start", 0, "12", {}},
    WriteCase{"EightWeekdays", "timeZone.weekdays", 0, "10000010", {}},
    WriteCase{"WeekdayDigitTwo", "timeZone.weekdays", 0, "1000002", {}},
    WriteCase{"TextOfNoEnumeration", "reader.direction", 0, "往返", {}},
    WriteCase{"FifthRelay", "relay.state", 4, "0", {}},
    WriteCase{"AddressPartOver255", "ip", 0, "10.0.0.256", {}},
    WriteCase{"AddressOfThreeParts", "ip", 0, "10.0.0", {}},
    WriteCase{"MacNotHex", "mac", 0, "zz.a1.a2.a3.a4.a5", {}},
    WriteCase{"FourRawBytesInThree", "timeZone.reserved", 0, "1,2,3,4", {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(FieldAccess, ShortBlocksAndWrongKindsAreRefused) {
    std::vector<std::uint8_t> shortBlock(100, 0xFF);
    const ConfigField& proc = configField("procMode"); // D412
    EXPECT_EQ(readNumber(proc, shortBlock), 0u);
    EXPECT_EQ(readText(proc, shortBlock), "");
    EXPECT_FALSE(writeNumber(proc, shortBlock, 0, 1));
    EXPECT_TRUE(fieldBytes(proc, Bytes(shortBlock)).empty());
    std::vector<std::uint8_t> door(424, 0);
    EXPECT_FALSE(writeNumber(configField("timeZone.reserved"), door, 0, 1));
    EXPECT_FALSE(writeNumber(configField("relay.zone"), door, 0, 16));
    // Options are numbered 1 to 64.
    EXPECT_FALSE(setOption(door, 0, true) || setOption(door, 65, true) || optionSet(door, 0));
    EXPECT_EQ(door, std::vector<std::uint8_t>(424, 0));
    EXPECT_EQ(findConfigField("noSuchField"), nullptr);
    EXPECT_THROW(configField("noSuchField"), std::out_of_range);
}

// Readers 1..4 sit at byte 8 of serial port entries D32 + 36i, readers 5..8 are the Wiegand
// entries D176 + 28i.
TEST(ReaderSetting, EightReadersAtTheirOffsets) {
    std::vector<std::uint8_t> door(424, 0);
    const std::size_t expected[] = {40, 76, 112, 148, 176, 204, 232, 260};
    for (int reader = 0; reader < kReaderCount; ++reader) {
        MutableBytes area = readerSetting(MutableBytes(door), reader);
        ASSERT_EQ(area.size(), 28u) << reader;
        EXPECT_EQ(static_cast<std::size_t>(area.data() - door.data()), expected[reader]) << reader;
    }
    EXPECT_TRUE(readerSetting(Bytes(door), 8).empty());
    EXPECT_TRUE(readerSetting(Bytes(door), -1).empty());
    door[260] = 2; // the eighth reader's direction
    EXPECT_EQ(readText(configField("reader.direction"), readerSetting(Bytes(door), 7)), "出门");
}

struct OptionBit {
    int option;
    std::size_t byte;
    int bit;
};

class Options : public ::testing::TestWithParam<OptionBit> {};

TEST_P(Options, EachOptionIsOneBit) {
    const auto& c = GetParam();
    std::vector<std::uint8_t> door(424, 0);
    door[c.byte] = static_cast<std::uint8_t>(1u << c.bit);
    for (int n = 1; n <= kOptionCount; ++n)
        EXPECT_EQ(optionSet(door, n), n == c.option) << n;
    std::vector<std::uint8_t> written(424, 0);
    ASSERT_TRUE(setOption(written, c.option, true));
    EXPECT_EQ(written, door);
    ASSERT_TRUE(setOption(written, c.option, false));
    EXPECT_EQ(written, std::vector<std::uint8_t>(424, 0));
}

INSTANTIATE_TEST_SUITE_P(LowAndHighWords, Options,
                         ::testing::Values(OptionBit{1, 408, 0}, OptionBit{8, 408, 7},
                                           OptionBit{9, 409, 0}, OptionBit{32, 411, 7},
                                           OptionBit{33, 400, 0}, OptionBit{64, 403, 7}));

// A bit range that lies inside a whole number at the same place (the timer-task byte and its
// condition, task and restart bits) describes the same bits twice on purpose.
bool subdividesAnother(const ConfigField& f) {
    if (f.bits == 0)
        return false;
    for (const auto& g : configFields())
        if (&g != &f && g.bits == 0 && g.block == f.block && g.group == f.group &&
            g.offset == f.offset && g.width == f.width && isNumeric(g))
            return true;
    return false;
}

// The layouts of the table checked against the documented ones: which bytes no field describes
// (exactly the reserved ones), no bit claimed twice, every element inside its block. The basic
// block is the start of the extended one. Keys are unique, enumerations exist, and record
// members belong to the basic or extended block.
TEST(FieldTable, ReservedBytesAreExactlyTheOnesNoFieldDescribesAndKeysAreUnique) {
    std::map<ConfigBlock, std::vector<std::uint32_t>> bitsTaken; // one bit mask per byte
    std::set<std::string_view> keys;
    for (const auto& f : configFields()) {
        EXPECT_TRUE(keys.insert(f.key).second) << f.key;
        EXPECT_TRUE(f.enumKey.empty() || !enumTexts(f.enumKey).empty()) << f.key;
        EXPECT_TRUE(f.member.index() == 0 || f.block == ConfigBlock::Basic ||
                    f.block == ConfigBlock::Extended)
            << f.key;
        if (subdividesAnother(f))
            continue;
        auto& taken = bitsTaken[f.block == ConfigBlock::Extended ? ConfigBlock::Basic : f.block];
        taken.resize(bufferSize(f.block), 0);
        for (int i = 0; i < elementCount(f); ++i) {
            ASSERT_TRUE(fieldFits(f, layoutSize(f.block), i)) << f.key << "[" << i << "]";
            // The bits this element owns: set them all through the table, see which change.
            std::vector<std::uint8_t> block(bufferSize(f.block), 0);
            if (isNumeric(f)) {
                ASSERT_TRUE(writeNumber(f, block, i, fieldMax(f))) << f.key;
            } else {
                MutableBytes own = fieldBytes(f, MutableBytes(block), i);
                std::fill(own.begin(), own.end(), 0xFF);
            }
            for (std::size_t at = 0; at < block.size(); ++at) {
                EXPECT_EQ(taken[at] & block[at], 0u)
                    << f.key << "[" << i << "] claims a bit of byte " << at << " twice";
                taken[at] |= block[at];
            }
        }
    }
    auto untouched = [&](ConfigBlock layout) {
        std::set<std::size_t> out;
        const auto& taken = bitsTaken[layout];
        for (std::size_t at = 0; at < taken.size(); ++at)
            if (taken[at] == 0)
                out.insert(at);
        return out;
    };
    std::set<std::size_t> basicReserved;
    for (std::size_t at = 164; at < 190; ++at)
        basicReserved.insert(at);
    EXPECT_EQ(untouched(ConfigBlock::Basic), basicReserved);
    EXPECT_EQ(untouched(ConfigBlock::Door),
              (std::set<std::size_t>{16, 17, 18, 19, 37, 38, 39, 73, 74, 75, 109, 110, 111, 145,
                                     146, 147}));
    EXPECT_EQ(untouched(ConfigBlock::ReaderSetting), (std::set<std::size_t>{11, 19, 27}));
    EXPECT_EQ(untouched(ConfigBlock::DeviceSetting), (std::set<std::size_t>{1}));
}

} // namespace
} // namespace quorvane
