#include <gtest/gtest.h>

#include <filesystem>

#include "model/record_file.h"
#include "sample_frames.h"
#include "test_paths.h"

namespace quorvane {
namespace {

TEST(RecordFile, SaveThenLoadIsIdenticalFieldByField) {
    std::string home = test::scratchDir("records");
    DeviceUIInfo d = test::sampleDevice(6);
    d.blockVersion = 1;
    d.extMarker = kExtendedMarker;
    d.serverAddress = "10.9.8.7";
    d.serverPort = 4321;
    d.sourceAddress = "192.168.1.6:65534";
    d.statistics[3] = 77;
    d.searchModes = 6;
    d.doorOpenMs = 650030;
    ASSERT_TRUE(d.save(home));
    std::string path = recordFilePath(d, home);
    EXPECT_EQ(path, home + "/config/门禁6-192.168.1.6-4201912825242168.cfg");
    std::string bytes = test::readFile(path);
    ASSERT_EQ(bytes.size(), kRecordFileSize);
    // The texts are GBK on disk.
    EXPECT_NE(bytes.find("\xC3\xC5\xBD\xFB" "6"), std::string::npos);
    DeviceUIInfo back;
    ASSERT_EQ(back.load(path), 0);
    EXPECT_EQ(back, d);
}

TEST(RecordFile, ShortFileLoadsWhatIsThereAndMissingFileFails) {
    std::string home = test::scratchDir("records");
    DeviceUIInfo d = test::sampleDevice(2);
    std::string bytes = encodeRecordFile(d).substr(0, 100);
    test::writeFile(home + "/short.cfg", bytes);
    DeviceUIInfo back;
    ASSERT_EQ(loadRecordFile(home + "/short.cfg", back), 0);
    EXPECT_EQ(back.reportMode, d.reportMode);
    EXPECT_EQ(back.doorConfig[0], 0);
    EXPECT_EQ(back.name, "");
    EXPECT_EQ(loadRecordFile(home + "/none.cfg", back), -1);
}

TEST(RecordFile, ControllerNameCannotLeadOutOfTheConfigFolder) {
    DeviceUIInfo d;
    d.name = "../../etc/x";
    d.ip = "1.2.3.4";
    std::string path = recordFilePath(d, "/home/q");
    EXPECT_EQ(path.rfind("/home/q/config/", 0), 0u);
    EXPECT_EQ(path.find('/', 15), std::string::npos);
}

TEST(DoorBackup, WritesBytes32To423AndLoadsOnlyExactSize) {
    std::string dir = test::scratchDir("backup");
    DeviceUIInfo d = test::sampleDevice();
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
    EXPECT_EQ(block[0], 0);  // the counters are not part of the backup

    for (std::size_t n : {391u, 393u}) {
        test::writeFile(dir + "/bad.cfg", std::string(n, 'x'));
        std::array<std::uint8_t, kDoorBlockSize> untouched{};
        EXPECT_EQ(loadDoorBackup(dir + "/bad.cfg", untouched, ok), "读取失败或者文件大小不匹配！");
        EXPECT_FALSE(ok);
        EXPECT_EQ(untouched[100], 0);
    }
    EXPECT_EQ(saveDoorBackup(dir + "/no/such/dir/b.cfg", d.doorConfig), "保存失败！");
}

} // namespace
} // namespace quorvane
