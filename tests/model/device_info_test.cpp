#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "model/device_info.h"
#include "model/enums.h"
#include "model/packed_time.h"
#include "sample_frames.h"
#include "test_paths.h"

namespace quorvane {
namespace {

using test::deviceInfoReply;
using test::sampleDevice;

DeviceUIInfo decoded(const std::string& frame, int expect, bool expectExtended) {
    DeviceUIInfo r;
    bool ext = !expectExtended;
    EXPECT_EQ(getUIInfoFromMsg(asBytes(frame), ext, r), expect);
    EXPECT_EQ(ext, expectExtended);
    return r;
}

// The layout of every field is checked against hand-built bytes below; here only what the
// record derives from the basic form.
TEST(DeviceDecode, BasicReplyShowsTheSerialTextAsTheGlobalId) {
    auto r = decoded(deviceInfoReply(sampleDevice(3), false), 0, false);
    EXPECT_EQ(r.extMarker, 0);
    EXPECT_EQ(r.getGlobalId(), "2018102800000001");
    EXPECT_EQ(r.getTargetId(), 2 * 256 + 3);
}

// A payload laid out by hand at the documented offsets, independent of the encoder.
TEST(DeviceDecode, HandBuiltExtendedPayloadLandsInTheDocumentedFields) {
    std::vector<std::uint8_t> f(32 + 616 + 1, 0);
    for (int i = 0; i < 16; ++i)
        f[i] = 0xAA;
    for (int i = 16; i < 24; ++i)
        f[i] = 0xFF;
    f[28] = 3;
    f[29] = 1;
    f[30] = 616 >> 8;
    f[31] = 616 & 0xFF;
    std::uint8_t* p = f.data() + 32;
    p[0] = 2, p[1] = 'A', p[2] = 'B';
    for (int i = 0; i < 6; ++i)
        p[16 + i] = static_cast<std::uint8_t>(0xA0 + i);
    p[22] = 10, p[23] = 0, p[24] = 0, p[25] = 7; // ip
    p[26] = 255, p[29] = 0;                      // mask 255.0.0.0
    p[30] = 10, p[33] = 1;                       // gateway
    p[34] = 10, p[37] = 9;                       // host
    p[38] = 0x12, p[39] = 0x34;                  // device port, big-endian
    p[40] = 0xC3, p[41] = 0x50;                  // host port 50000
    p[42] = 2, p[43] = 4, p[44] = 1, p[45] = 6;
    std::memcpy(p + 46, "pw", 2);
    p[52] = 0x01, p[60] = 0x02, p[68] = 0x03, p[84] = 0x04;
    p[100] = 0x92; // ipAlloc 2, blockVersion 1, reservedBits 2
    p[101] = 15;
    p[102] = 0x34, p[103] = 0x12;
    p[104] = 30, p[105] = 1; // netTimeout 286
    p[106] = 8;
    std::memcpy(p + 108, "V2.0.1", 6);
    std::memcpy(p + 116, "acct", 4);
    std::memcpy(p + 148, "secret", 6);
    p[158] = 172, p[159] = 16, p[160] = 0, p[161] = 9;
    p[162] = 0x23, p[163] = 0x28; // 9000
    p[190] = 0xEE;
    p[192] = 0x5A, p[192 + 423] = 0xA5;
    p[115] = sum8(Bytes(p, 115));
    p[191] = sum8(Bytes(p, 191));
    f[648] = sum8(Bytes(f).subspan(28, 620));

    DeviceUIInfo r;
    bool ext = false;
    ASSERT_EQ(getUIInfoFromMsg(f, ext, r), 0);
    EXPECT_TRUE(ext);
    EXPECT_EQ(r.name, "AB");
    EXPECT_EQ(r.mac, "a0.a1.a2.a3.a4.a5");
    EXPECT_EQ(r.ip, "10.0.0.7");
    EXPECT_EQ(r.mask, "255.0.0.0");
    EXPECT_EQ(r.gateway, "10.0.0.1");
    EXPECT_EQ(r.hostAddress, "10.0.0.9");
    EXPECT_EQ(r.devicePort, 0x1234u);
    EXPECT_EQ(r.hostPort, 50000u);
    EXPECT_EQ(r.reportMode, 2u);
    EXPECT_EQ(r.groupNo, 4);
    EXPECT_EQ(r.hwVariant, 1);
    EXPECT_EQ(r.deviceNo, 6);
    EXPECT_EQ(r.operatorPassword[1], 'w');
    EXPECT_EQ(r.productSerial[0], 1);
    EXPECT_EQ(r.productSerial[8], 2);
    EXPECT_EQ(r.reserved1[0], 3);
    EXPECT_EQ(r.reserved2[0], 4);
    EXPECT_EQ(r.ipAlloc, 2);
    EXPECT_EQ(r.blockVersion, 1);
    EXPECT_EQ(r.reservedBits, 2);
    EXPECT_EQ(r.hwModel, 15);
    EXPECT_EQ(r.reserved3, 0x1234);
    EXPECT_EQ(r.netTimeout, 286);
    EXPECT_EQ(r.passTimeout, 8);
    EXPECT_EQ(r.firmwareVersion, "V2.0.1");
    EXPECT_EQ(r.pppoeAccount[3], 't');
    EXPECT_EQ(r.pppoePassword[5], 't');
    EXPECT_EQ(r.serverAddress, "172.16.0.9");
    EXPECT_EQ(r.serverPort, 9000);
    EXPECT_EQ(r.extMarker, 0xEE);
    EXPECT_EQ(r.doorConfig[0], 0x5A);
    EXPECT_EQ(r.doorConfig[423], 0xA5);
    EXPECT_EQ(r.getGlobalId(), "1677721600000000");
    // The encoder puts every field back where it came from.
    auto b = encodeBasicBlock(r);
    EXPECT_TRUE(std::equal(b.begin(), b.end(), p));
}

TEST(DeviceDecode, BasicChecksumOffByOneReturnsMinusOneAndLeavesRecord) {
    std::string f = deviceInfoReply(sampleDevice(), false);
    f[32 + 115] = static_cast<char>(f[32 + 115] + 1);
    DeviceUIInfo r;
    r.name = "untouched";
    bool ext = true;
    EXPECT_EQ(getUIInfoFromMsg(asBytes(f), ext, r), -1);
    EXPECT_FALSE(ext);
    EXPECT_EQ(r.name, "untouched");
}

TEST(DeviceDecode, ExtendedReplyShowsTheSerialAsTwoNumbers) {
    DeviceUIInfo src = sampleDevice(4);
    src.blockVersion = 1;
    src.extMarker = kExtendedMarker;
    auto r = decoded(deviceInfoReply(src, true), 0, true);
    EXPECT_EQ(r.extMarker, kExtendedMarker);
    // Sixteen digits from an extended-block controller are shown in the %08u%08u form.
    EXPECT_EQ(r.getGlobalId(), "4201912825242168");
}

TEST(DeviceDecode, ExtendedFailuresReturnMinusTwo) {
    DeviceUIInfo src = sampleDevice(4);
    src.blockVersion = 1;
    src.extMarker = kExtendedMarker;
    std::string good = deviceInfoReply(src, true);
    for (std::size_t at : {std::size_t{32 + 115}, std::size_t{32 + 191}, good.size() - 1}) {
        std::string f = good;
        f[at] ^= 0x40;
        if (at != good.size() - 1)
            test::refreshChecksum(f);
        DeviceUIInfo r;
        bool ext = false;
        EXPECT_EQ(getUIInfoFromMsg(asBytes(f), ext, r), -2) << at;
        EXPECT_TRUE(ext);
        EXPECT_EQ(r.name, "");
    }
}

TEST(DeviceDecode, ExtendedBitsWithoutMarkerFallBackToBasic) {
    DeviceUIInfo src = sampleDevice(5);
    src.blockVersion = 1; // byte 100 & 0x30 == 0x10
    std::string f = deviceInfoReply(src, false);
    auto r = decoded(f, 0, false);
    EXPECT_EQ(r.blockVersion, 1);
    EXPECT_EQ(r.doorConfig, src.doorConfig); // taken from payload byte 116
}

TEST(DeviceDecode, TruncatedRepliesAreRefusedNotOverread) {
    std::string f = deviceInfoReply(sampleDevice(), false);
    for (std::size_t n : {0u, 33u, 147u, 148u, 300u, 571u}) {
        std::vector<std::uint8_t> exact(f.begin(), f.begin() + static_cast<long>(n));
        DeviceUIInfo r;
        bool ext;
        EXPECT_LT(getUIInfoFromMsg(exact, ext, r), 0) << n;
    }
}

TEST(DeviceEncode, NameCutToFifteenGbkBytesAndFirmwareToSeven) {
    DeviceUIInfo d = sampleDevice();
    d.name = "一二三四五六七八"; // 16 GBK bytes
    d.firmwareVersion = "123456789";
    auto b = encodeBasicBlock(d);
    EXPECT_EQ(b[0], 14); // never half a character
    EXPECT_EQ(std::string(b.begin() + 108, b.begin() + 115), "1234567");
    d.ipAlloc = 2;
    d.blockVersion = 1;
    d.reservedBits = 0;
    EXPECT_EQ(encodeBasicBlock(d)[100], 0x12);
}

TEST(DeviceRecord, DerivedIdentifiersAndTexts) {
    DeviceUIInfo d;
    d.groupNo = 0;
    d.deviceNo = 0;
    d.mac = "00.11.22.33.01.02";
    EXPECT_EQ(d.getTargetId(), 258);
    d.mac = "garbage";
    EXPECT_EQ(d.getRawDeviceId(), 0);
    d.searchModes = 5;
    EXPECT_EQ(d.getSearchMode(), "广播;管道;");
    d.firmwareVersion = "1.2.3";
    d.hwModel = 10;
    d.hwVariant = 1;
    EXPECT_EQ(d.getHardwareInfo(), "1.2.3-brisca-B");
    d.hwVariant = 3;
    EXPECT_EQ(d.getHardwareInfo(), "1.2.3-brisca");
    d.hwModel = 7;
    EXPECT_EQ(d.getHardwareInfo(), "1.2.3-unknown");
    d.doorMode = 9;
    EXPECT_EQ(d.getDoorMode(), "未知");
    std::array<std::uint8_t, 4> a{};
    d.ip = "10.1";
    EXPECT_TRUE(d.getIp(a, IP_ADDR));
    EXPECT_EQ(a, (std::array<std::uint8_t, 4>{10, 1, 0, 0}));
    EXPECT_FALSE(d.getIp(a, 5));
}

TEST(DeviceRecord, ListOrderByAddressTargetOrName) {
    DeviceUIInfo a, b;
    a.ip = "192.168.1.9";
    b.ip = "192.168.1.10";
    EXPECT_TRUE(deviceLess(a, b, 1));
    EXPECT_FALSE(deviceLess(b, a, 1));
    a.name = "b";
    b.name = "a";
    EXPECT_TRUE(deviceLess(b, a, 3));
    a.groupNo = 1, a.deviceNo = 2;
    b.groupNo = 1, b.deviceNo = 1;
    EXPECT_TRUE(deviceLess(b, a, 2));
}

struct EnumCase {
    const char* key;
    long value;
    const char* text;
};

void PrintTo(const EnumCase& c, std::ostream* os) {
    *os << c.key << " " << c.value;
}

class Enumerations : public ::testing::TestWithParam<EnumCase> {};

TEST_P(Enumerations, TextOfValue) {
    EXPECT_EQ(enumText(GetParam().key, GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    AllKeys, Enumerations,
    ::testing::Values(EnumCase{"procmode", 9, "第10项(从1开始)"},
                      EnumCase{"procmode", 2, "Velmora图书馆"}, EnumCase{"dir", 7, "其它"},
                      EnumCase{"dir", 2, "出门"}, EnumCase{"devtype", 30, "未知"},
                      EnumCase{"devtype", 29, "中显VGUS屏"}, EnumCase{"devtype", -1, "未知"},
                      EnumCase{"relayerstate", 0, "自主控制"}, EnumCase{"mode", 16, "未知"},
                      EnumCase{"mode", 15, "备用4"}, EnumCase{"wgformat", 7, "5字节BCD码(串口)"},
                      EnumCase{"signaltype", 12, "防拆防暴检测"},
                      EnumCase{"needrpt", 2, "上报并等待确认"},
                      EnumCase{"timercond", 15, "用户自定义6"}, EnumCase{"timercond", 16, "未知"},
                      EnumCase{"timertask", 4, "22:30-6:30闭门4"}, EnumCase{"nosuchkey", 0, ""}));

TEST(DialogLists, WhereTheyDifferFromTheBlockEnumerations) {
    EXPECT_EQ(readerCardFormatNames()[6], "强制转身份证");
    EXPECT_EQ(readerCardFormatNames()[14], "备用9");
    EXPECT_EQ(portDeviceTypeNames()[8], "条码枪/串口主动设备");
    EXPECT_EQ(portDeviceTypeNames()[26], "体重计");
    // Each option caption starts with its own two-digit number.
    for (std::size_t i = 0; i < optionCaptions().size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%02zu.", i + 1);
        EXPECT_EQ(optionCaptions()[i].substr(0, 3), number) << i;
    }
    EXPECT_EQ(optionCaptions().back(), "57.启用Keep-Alive");
}

TEST(PackedTime, HoursMinutesAndHalvedSeconds) {
    EXPECT_EQ(packedTimeText(0x6000), "12:00:00");
    EXPECT_EQ(packedTimeText(0xBF7D), "23:59:58");
    EXPECT_EQ(packTime(23, 59, 58), 0xBF7D);
}

} // namespace
} // namespace quorvane
