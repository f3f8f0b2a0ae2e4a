#include <gtest/gtest.h>

#include <filesystem>

#include "basic_block_golden.h"
#include "model/record_file.h"
#include "test_paths.h"

namespace quorvane {
namespace {

TEST(RecordFile, SaveThenLoadIsIdenticalFieldByField) {
    std::string home = test::scratchDir("records");
    DeviceUIInfo d = test::goldenRecord(true);
    d.sourceAddress = "192.168.1.6:65534";
    d.statistics[3] = 77;
    d.searchModes = 6;
    d.doorOpenMs = 650030;
    ASSERT_TRUE(d.save(home));
    std::string path = recordFilePath(d, home);
    EXPECT_EQ(path, home + "/config/东门-192.168.1.20-4201912825242168.cfg");
    std::string bytes = test::readFile(path);
    ASSERT_EQ(bytes.size(), kRecordFileSize);
    EXPECT_NE(bytes.find("\xB6\xAB\xC3\xC5"), std::string::npos); // the texts are GBK on disk
    DeviceUIInfo back;
    ASSERT_EQ(back.load(path), 0);
    EXPECT_EQ(back, d);

    test::writeFile(home + "/short.cfg", bytes.substr(0, 100));
    DeviceUIInfo shortBack;
    ASSERT_EQ(loadRecordFile(home + "/short.cfg", shortBack), 0);
    EXPECT_EQ(shortBack.reportMode, d.reportMode);
    EXPECT_EQ(shortBack.doorConfig[0], 0);
    EXPECT_EQ(shortBack.name, "");
    EXPECT_EQ(loadRecordFile(home + "/none.cfg", shortBack), -1);

    d.name = "../../etc/x";
    path = recordFilePath(d, "/home/q");
    EXPECT_EQ(path.rfind("/home/q/config/", 0), 0u);
    EXPECT_EQ(path.find('/', 15), std::string::npos);
}

// The record image is a file format: every field at its documented offset, little-endian.
TEST(RecordFile, ImageFieldsSitAtTheirOffsets) {
    DeviceUIInfo d;
    d.reportMode = 0x01020304;
    d.baudIndex = 7;
    d.groupNo = 0x11;
    d.hwVariant = 0x12;
    d.deviceNo = 0x13;
    d.operatorPassword[0] = 0x14;
    d.productSerial[0] = 0x15;
    d.reserved1[0] = 0x16;
    d.reserved2[15] = 0x17;
    d.ipAlloc = 0x18;
    d.blockVersion = 0x19;
    d.reservedBits = 0x1A;
    d.hwModel = 0x1B;
    d.reserved3 = 0x1D1C;
    d.doorOpenMs = 0x1E;
    d.doorMode = 0x1F;
    d.reportFlag = 0x20;
    d.devicePort = 0x21;
    d.hostPort = 0x22;
    d.statistics[0] = 0x23;
    d.statistics[9] = 0x24;
    d.passTimeout = 0x25;
    d.netTimeout = 0x26;
    d.searchModes = 0x27;
    d.doorConfig[0] = 0x28;
    d.doorConfig[423] = 0x29;
    d.pppoeAccount[0] = 0x2A;
    d.pppoePassword[0] = 0x2B;
    d.serverPort = 0x2D2C;
    d.extMarker = 0xEE;
    auto img = d.toImage();
    const std::pair<std::size_t, std::uint8_t> at[] = {
        {0, 0x04},   {3, 0x01},   {4, 7},      {8, 0x11},   {9, 0x12},   {10, 0x13},  {11, 0x14},
        {17, 0x15},  {33, 0x16},  {64, 0x17},  {65, 0x18},  {66, 0x19},  {67, 0x1A},  {68, 0x1B},
        {69, 0x1C},  {70, 0x1D},  {71, 0x1E},  {75, 0x1F},  {79, 0x20},  {83, 0x21},  {87, 0x22},
        {91, 0x23},  {127, 0x24}, {131, 0x25}, {133, 0x26}, {135, 0x27}, {139, 0x28}, {562, 0x29},
        {563, 0x2A}, {595, 0x2B}, {605, 0x2C}, {606, 0x2D}, {633, 0xEE},
    };
    for (auto [offset, value] : at)
        EXPECT_EQ(img[offset], value) << offset;
    DeviceUIInfo back;
    back.fromImage(img);
    EXPECT_EQ(back, d);
}

TEST(DoorBackup, WritesBytes32To423AndLoadsOnlyExactSize) {
    std::string dir = test::scratchDir("backup");
    DeviceUIInfo d = test::goldenRecord(false);
    EXPECT_EQ(saveDoorBackup(dir + "/b.cfg", d.doorConfig), "保存成功！");
    std::string bytes = test::readFile(dir + "/b.cfg");
    ASSERT_EQ(bytes.size(), kDoorBackupSize);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), d.doorConfig[32]);

    std::array<std::uint8_t, kDoorBlockSize> block{};
    bool ok = false;
    EXPECT_EQ(loadDoorBackup(dir + "/b.cfg", block, ok),
              "从文件加载配置成功，请检查配置并点击确定按钮保存！");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(std::equal(block.begin() + 32, block.end(), d.doorConfig.begin() + 32));
    EXPECT_EQ(block[0], 0); // the counters are not part of the backup

    test::writeFile(dir + "/bad.cfg", std::string(kDoorBackupSize + 1, 'x'));
    std::array<std::uint8_t, kDoorBlockSize> untouched{};
    EXPECT_EQ(loadDoorBackup(dir + "/bad.cfg", untouched, ok), "读取失败或者文件大小不匹配！");
    EXPECT_FALSE(ok);
    EXPECT_EQ(untouched[100], 0);
}

} // namespace
} // namespace quorvane
