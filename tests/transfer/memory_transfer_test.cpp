// On a fake clock a silent wait costs only its grace.
#include <gtest/gtest.h>

#include <map>

#include "loopback_session.h"
#include "platform/files.h"
#include "rights/right_image.h"
#include "sample_frames.h"
#include "transfer/firmware.h"
#include "transfer/memory_transfer.h"
#include "transfer/right_image_write.h"
#include "transfer/scan_prompts.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using test::replyTo;
using test::SentFrame;

using test::le32;
using test::u32At;

// Bytes that differ from page to page and within one.
std::string pattern(std::size_t n, unsigned seed = 7) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 31 + seed + i / 512) % 251 + 1);
    return s;
}

// A controller's memories as the test keeps them: pages written by 34 are read back by 32.
struct PlayedMemory {
    std::shared_ptr<std::map<std::pair<std::uint32_t, std::uint32_t>, std::string>> held =
        std::make_shared<std::map<std::pair<std::uint32_t, std::uint32_t>, std::string>>();
    std::vector<std::string> operator()(const SentFrame& f) const {
        auto& pages = *held; // the controller thread alone answers
        std::string p = f.payload();
        auto key = std::make_pair(u32At(p, 4), u32At(p, 0));
        if (f.info.command == 34)
            pages[key] = p.substr(8);
        if (f.info.command != 32)
            return {replyTo(f)};
        auto it = pages.find(key);
        return {replyTo(
            f, 1, p.substr(0, 8) + (it == pages.end() ? std::string(512, '\0') : it->second))};
    }
};

struct TransferOps : ::testing::Test, test::LoopbackSession {
    // The controller answers every frame unless a test scripts it otherwise.
    TransferOps() : LoopbackSessionOf("transfer-ops", 102) {
        controller.setScript(
            [](const SentFrame& f) { return std::vector<std::string>{replyTo(f)}; });
    }
    std::vector<SentFrame> sent() { return controller.received(); }
    std::string writeInput(const std::string& name, const std::string& bytes) {
        test::writeFile(home + "/" + name, bytes);
        return home + "/" + name;
    }
    MemoryImages images;
};

// The header of a page frame: preamble, empty password, target 0xFFFF (every page frame),
// sequence 0x1234.
const std::string kPageHeader = "55555555555555555555555555555555FFFFFFFFFFFFFFFFFFFF3412";

struct FrameCase {
    const char* name;
    std::function<void(ToolSession&, const DeviceUIInfo&, MemoryImages&)> run;
    std::string head; // the frame from byte 0, hex (the first 60 bytes at most)
    std::size_t length;
};

class TransferFrames : public TransferOps, public ::testing::WithParamInterface<FrameCase> {};

} // namespace

TEST_P(TransferFrames, AreByteExact) {
    ASSERT_TRUE(controller.ready());
    controller.setScript(PlayedMemory{});
    GetParam().run(s(), device, images);
    auto frames = controller.waitForFrames(1);
    ASSERT_FALSE(frames.empty());
    const std::string& f = frames.front().bytes;
    EXPECT_EQ(f.size(), GetParam().length);
    std::string head = test::unhex(GetParam().head);
    EXPECT_EQ(test::hex(f.substr(0, head.size())), test::hex(head));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, TransferFrames, ::testing::Values(
    // Page 1 of EEPROM: address 512, type 1, sum 0x2B.
    FrameCase{"ReadPage32", [](ToolSession& s, const DeviceUIInfo& d, MemoryImages& m) { download_EEPROM(s, d, m, 1, 2, ""); },
              kPageHeader + "2000000800020000010000002B", 41},
    FrameCase{"WritePage34", [](ToolSession& s, const DeviceUIInfo& d, MemoryImages& m) { m.flash[1024] = 0xAB; upload_FLASH(s, d, m, 2, 3, "", {}); },
              kPageHeader + "220002080004000002000000AB00", 553},
    // The confirmation code is the setting's, or "CLRPROG!"; the controller's own id 0x0102.
    FrameCase{"ClearProgram72", [](ToolSession& s, const DeviceUIInfo& d, MemoryImages&) {
                  dynamic_cast<test::RecordingUserPort&>(s.port()).answer(Answer::Yes); clearProgram(s, d); },
              "55555555555555555555555555555555FFFFFFFFFFFFFFFF0102341248000008434C5250524F4721" "8A", 41},
    FrameCase{"PlaySound82", [](ToolSession& s, const DeviceUIInfo& d, MemoryImages&) { playSound(s, d, 2, 5, true); },
              "55555555555555555555555555555555FFFFFFFFFFFFFFFF0102341252000003020501" "5D", 36}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(TransferOps, AnEepromReadSavesTheWholeImageWithoutTheDeviceSpecificBytes) {
    const std::string memory = pattern(kEepromBytes);
    controller.setScript([&memory](const SentFrame& f) {
        std::string p = f.payload();
        return std::vector<std::string>{replyTo(f, 1, p + memory.substr(u32At(p, 0), 512))};
    });
    auto r = download_EEPROM(s(), device, images, 0, 0, "");
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.pages, 512);
    std::string saved = test::readFile(home + "/data/download_eeprom.bin");
    ASSERT_EQ(saved.size(), 262144u);
    std::string expected = memory;
    std::fill(expected.begin() + 6, expected.begin() + 64, '\0');
    std::fill(expected.begin() + 936, expected.begin() + 1536, '\0');
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(test::readFile(home + "/data/eeprom_random.bin").size(), 16777216u);
    EXPECT_EQ(user.progressTexts().front(), "正在下载EEPROM(0/512)...");
    EXPECT_EQ(user.busyDepth(), 0);
}

TEST_F(TransferOps, AFlashWrittenFromAFileReadsBackAsTheSameFile) {
    controller.setScript(PlayedMemory{});
    // Pages 100..163 carry data; the rest of the file is what an untouched memory reads.
    std::string file(kFlashBytes, '\0');
    file.replace(100 * 512, 64 * 512, pattern(64 * 512));
    auto in = writeInput("in.bin", file);
    ASSERT_EQ(upload_FLASH(s(), device, images, 100, 164, in, {}).rc, 0);
    MemoryImages fresh;
    auto out = download_FLASH(s(), device, fresh, 100, 164, home + "/out.bin");
    EXPECT_EQ(out.rc, 0);
    EXPECT_TRUE(test::readFile(home + "/out.bin") == file);
}

TEST_F(TransferOps, ASoundFileGoesAsWholePagesPaddedWithFF) {
    auto r = upload_SOUND(s(), device, writeInput("s.wav", pattern(1000)));
    EXPECT_EQ(r.rc, 0);
    auto f = sent();
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(u32At(f[1].payload(), 0), 512u);
    EXPECT_EQ(u32At(f[1].payload(), 4), 3u);
    EXPECT_EQ(f[1].payload().substr(8), pattern(1000).substr(512) + std::string(24, '\xFF'));
    EXPECT_EQ(user.progressTexts().at(1), "正在上传语音文件(第1页/共2页)...");
}

TEST_F(TransferOps, FirmwareGoesPaddedWithZerosAndIsCommittedWithItsSizeAndSum) {
    s().setOneShotLimits(limits::kCommand);
    const std::string fw = pattern(1000, 3);
    std::uint32_t sum = 0;
    for (unsigned char c : fw)
        sum += c;
    auto r = upload_FIRMWARE(s(), device, kFirmwareBase, writeInput("fw.bin", fw), false);
    EXPECT_EQ(r.rc, 0);
    auto f = sent();
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(u32At(f[1].payload(), 0), 0x08040200u);
    EXPECT_EQ(u32At(f[1].payload(), 4), 0u);
    EXPECT_EQ(f[1].payload().substr(8), fw.substr(512) + std::string(24, '\0'));
    EXPECT_EQ(f[2].info.command, 128);
    EXPECT_EQ(f[2].payload(), le32(0x08040000) + le32(1000) + le32(sum));
    EXPECT_EQ(user.notices(),
              std::vector<std::string>{"升级操作处理中，请等待设备升级完成后自动重新启动！"});
}

// 512 pages is a damaged file; one byte less or more is sent, each with its commit.
TEST_F(TransferOps, FirmwareOfExactly512PagesIsRefusedAndOthersSent) {
    const auto upload = [this](std::size_t size) {
        return upload_FIRMWARE(s(), device, kFirmwareBase,
                               writeInput("fw.bin", std::string(size, 'x')), false)
            .rc;
    };
    EXPECT_EQ(upload(261633), -1);
    EXPECT_EQ(upload(262144), -1);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(user.messages(), std::vector<std::string>(2, "固件文件已经损坏！"));
    upload(261632);
    upload(262145);
    EXPECT_EQ(controller.waitForFrames(512 + 514).size(), 512u + 514u);
}

// The broadcast reaches only a controller that listens on every address.
struct BroadcastOps : TransferOps {
    BroadcastOps() {
        port = test::testPort(103);
        writeConfig({});
    }
    test::UdpController everyone{"0.0.0.0", test::testPort(103)};
};

TEST_F(BroadcastOps, TheUpgradeGoesToTheBroadcastAddressAndCommitsHalfASecondAfterTheLastPage) {
    ASSERT_TRUE(everyone.ready());
    everyone.setScript([](const SentFrame& f) { return std::vector<std::string>{replyTo(f)}; });
    // A record without an address: only the broadcast can reach the controller.
    device.ip.clear();
    upload_FIRMWARE(s(), device, kFirmwareBase, writeInput("fw.bin", pattern(1500)), true);
    auto f = everyone.waitForFrames(4);
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[3].info.command, 128);
    // The summary's time is left out: a slow reply may move the clock.
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].rfind("操作成功！\n上传固件：共3，成功3，失败0，无应答0\n", 0),
              0u);
    // The operation's own pauses: a reply slowed by a loaded machine may add a wait, never a pause.
    EXPECT_EQ(clock.sleeps(), (std::vector<Clock::Duration>{100ms, 100ms, 500ms}));
}

TEST_F(TransferOps, AnEmptyRightImageSendsTheBitmapPagesAndNoFlashPage) {
    clearEepromImage(images);
    RightImage image(images.eeprom, images.flash, 1, nullptr, nullptr);
    auto r =
        uploadRightImage(s(), device, images, [&image](bool e, std::uint32_t a, std::uint32_t n) {
            return image.testRightMask(e, a, n);
        });
    EXPECT_EQ(r.rc, 0);
    std::vector<std::uint32_t> pages;
    for (const auto& f : sent()) {
        EXPECT_EQ(u32At(f.payload(), 4), 1u);
        pages.push_back(u32At(f.payload(), 0) / 512);
    }
    ASSERT_EQ(pages.size(), 38u);
    EXPECT_EQ(pages.front(), 58u);
    EXPECT_EQ(pages.back(), 95u);
}

// The resends without end and their cancel are the exchange's (exchange_test); four sends that
// take 40 s show the page wait of 10 s.
TEST_F(TransferOps, ASilentControllerIsAskedEveryTenSecondsUntilCancelled) {
    controller.setScript([&](const SentFrame&) {
        if (sent().size() == 4)
            user.requestCancel();
        return std::vector<std::string>{};
    });
    auto r = download_FLASH(s(), device, images, 7, 9, "");
    EXPECT_EQ(r.rc, -1);
    EXPECT_EQ(user.messages(),
              std::vector<std::string>{"操作已取消！\n下载FLASH：共2，成功0，失败0，"
                                       "无应答0，未处理2\n用时40秒"});
    EXPECT_FALSE(platform::fileExists(home + "/data/download_flash.bin"));
}

TEST_F(TransferOps, APageReplyPastItsImageIsDroppedAndThePageAskedAgain) {
    int reads = 0;
    controller.setScript([&reads](const SentFrame& f) {
        std::string p = f.payload();
        // First past the end of EEPROM, then an unknown memory type, then the page.
        ++reads;
        if (reads == 1)
            return std::vector<std::string>{replyTo(f, 1, p + std::string(1024, '\x11'))};
        if (reads == 2)
            return std::vector<std::string>{
                replyTo(f, 1, p.substr(0, 4) + le32(9) + std::string(512, '\x22'))};
        return std::vector<std::string>{replyTo(f, 1, p + std::string(512, '\x33'))};
    });
    auto r = download_EEPROM(s(), device, images, 511, 512, home + "/e.bin");
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(sent().size(), 3u);
    EXPECT_EQ(images.eeprom.back(), 0x33);
}

// The dialog's OK: each slot's condition in bytes 84..99 of the basic block saved (command 4),
// each description kept in the settings under its slot number.
TEST_F(TransferOps, SwipePromptsGoIntoTheBasicBlockAndTheirTextsIntoTheSettings) {
    device.mask = "255.0.0.0";
    device.mac = "00.11.22.33.44.55";
    ScanPrompts p;
    for (int i = 0; i < kScanPromptSlots; ++i)
        p.conditions[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i + 1);
    p.descriptions[0] = "刷卡成功";
    p.descriptions[15] = "无权限";
    EXPECT_EQ(saveScanPrompts(s(), device, p), 0);
    // The window sends the save without waiting: the frame may still be on its way.
    auto f = controller.waitForFrames(1);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].info.command, 4);
    EXPECT_EQ(test::hex(f[0].payload().substr(84, 16)),
              test::hex(test::unhex("0102030405060708090A0B0C0D0E0F10")));
    ScanPrompts back = readScanPrompts(s().settings(), device);
    EXPECT_EQ(back.descriptions[0], "刷卡成功");
    EXPECT_EQ(back.descriptions[15], "无权限");
    EXPECT_EQ(back.descriptions[1], "");
}

} // namespace quorvane
