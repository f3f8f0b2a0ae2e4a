#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "infra/codepage.h"
#include "recording_user_port.h"
#include "rights/local_rights.h"
#include "rights/right_image.h"
#include "session/tool_session.h"
#include "test_paths.h"

namespace quorvane {
namespace {

std::string fields(int n, const std::string& last) {
    std::string line;
    for (int i = 1; i < n; ++i)
        line += "f" + std::to_string(i) + (i % 2 ? "\t" : "|");
    return line + last;
}

struct LocalRights : ::testing::Test {
    LocalRights() {
        ::setenv("HOME", home.c_str(), 1);
        test::writeFile(home + "/config.ini", "[net]\nenable-pipe=0\n");
    }
    RightImage image(int rightMode = 0) {
        return RightImage(eeprom, flash, rightMode, nullptr, nullptr);
    }
    std::string home = test::scratchDir("local-rights");
    test::RecordingUserPort port;
    ToolSession session{home, port};
    std::vector<std::uint8_t> eeprom = std::vector<std::uint8_t>(kEepromImageSize);
    std::vector<std::uint8_t> flash = std::vector<std::uint8_t>(kFlashRightAreaSize);
};

} // namespace

// A template line gives its sixteenth field, a whitelist line its first field trimmed, a number
// file one number per line.
TEST(LocalSources, EachFileKindGivesItsNumbers) {
    std::string text =
        fields(16, "4001") + "\r\n" + fields(15, "4002") + "\n" + fields(17, "x") + "\r\n\r\n";
    // 17 fields: the 16th is f16.
    EXPECT_EQ(templateNumbers(text), (std::vector<std::string>{"4001", "f16"}));
    EXPECT_EQ(whitelistNumbers("12345=abc\r\n 678 ;\n\t:|;\n=99;x\n"),
              (std::vector<std::string>{"12345", "678", "99"}));
    EXPECT_EQ(numberFileNumbers("1\r\n\r\n 2 \n3"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(localRightSourceNames("/home/a/template.txt").front(),
              "从带格式文件/home/a/template.txt提取卡号");
}

TEST_F(LocalRights, TheSameNumberTwiceIsHeldOnceButPlacedTwiceAndTheTemplateGoesThroughTmpTxt) {
    test::writeFile(home + "/ids.txt", "5\r\n5\r\n6\r\n");
    std::set<std::string> cards;
    RightImage img = image();
    EXPECT_EQ(loadLocalRights(session, LocalRightSource::Ids, {}, {false, &cards, &img}), 3);
    EXPECT_EQ(cards, (std::set<std::string>{"5", "6"}));
    EXPECT_EQ(img.rightCount(), 3u);
    EXPECT_TRUE(port.questions().empty());
    EXPECT_TRUE(port.messages().empty()); // no question asked: no count shown either
    test::writeFile(home + "/template.txt", fields(16, "77") + "\r\n" + fields(3, "x") + "\r\n");
    cards.clear();
    EXPECT_EQ(loadLocalRights(session, LocalRightSource::Template, {}, {false, &cards, nullptr}),
              1);
    EXPECT_EQ(cards, std::set<std::string>{"77"});
    EXPECT_EQ(test::readFile(home + "/tmp.txt"), "77\r\n");
}

TEST_F(LocalRights, AMissingFileSaysSoAndNamesIt) {
    // Taking numbers into the dialog (no question) says so too, with where it looked.
    EXPECT_EQ(loadLocalRights(session, LocalRightSource::Whitelist, {}, {}), -1);
    EXPECT_EQ(port.messages().back(), "打开文件失败！文件名=" + home + "/白名单.txt");
    // No user file picked: asked for one.
    EXPECT_EQ(loadLocalRights(session, LocalRightSource::UserFile, {}, {}), -1);
    EXPECT_EQ(port.messages().back(), "请选择文件！");
    port.file(home + "/nothing.txt");
    EXPECT_EQ(loadLocalRights(session, LocalRightSource::UserFile, {}, {}), -1);
    EXPECT_EQ(port.messages().back(), "打开文件失败！文件名=" + home + "/nothing.txt");
}

TEST_F(LocalRights, AskingShowsTheCountAndTheSummaryAndNoBuildsNothing) {
    test::writeFile(home + "/white.txt", toGbk("12345678901234567890\r\n李四\r\n1\r\n"));
    port.file(home + "/white.txt");
    RightImage img = image(2); // 24-byte records: the flags are stored
    EXPECT_EQ(loadLocalRights(session, LocalRightSource::UserFile, {}, {true, nullptr, &img}), -2);
    EXPECT_EQ(port.questions(),
              std::vector<std::string>{"已经成功加载所有卡号，数量=3，要批量同步卡权限到控制器吗？"
                                       "【注意：此操作将清除控制器上原有权限并以新的权限替代】"});
    EXPECT_EQ(img.rightCount(), 0u);

    port.file(home + "/white.txt");
    port.answer(Answer::Yes);
    RightFields f;
    f.readers = 0x10;
    f.timeZones = 2;
    f.times = 3;
    f.name = "名字";
    f.parcel = true;
    EXPECT_EQ(loadLocalRights(session, LocalRightSource::UserFile, f, {true, nullptr, &img}), 3);
    EXPECT_EQ(port.messages(),
              std::vector<std::string>{"预计记录数量：3，权限值：3，权限位统计值：3"});
    // Zones, readers and uses from the fields; no name; of the flags only bit 0, for the
    // 20-digit number and the name.
    std::multiset<std::uint32_t> flags;
    for (std::uint32_t slot = img.overflowBase(); slot < 151552; ++slot)
        if (img.slotUsed(slot)) {
            ByteReader in(eeprom, img.overflowAddress(slot - img.overflowBase()) + 8);
            in.skip(8);
            EXPECT_EQ(in.u8(), 2);
            EXPECT_EQ(in.u8(), 0x10);
            EXPECT_EQ(in.u16le(), 3);
            flags.insert(in.u32le());
        }
    EXPECT_EQ(flags, (std::multiset<std::uint32_t>{0, 1, 1}));
}

} // namespace quorvane
