// Against a controller played over loopback, on a fake clock whose silent waits cost only its
// grace.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>

#include "infra/codepage.h"
#include "loopback_session.h"
#include "recording_user_port.h"
#include "rights/right_commands.h"
#include "rights/right_copy.h"
#include "rights/right_download.h"
#include "rights/right_list_operations.h"
#include "rights/right_reads.h"
#include "rights/right_test_operations.h"
#include "rights/right_upload.h"
#include "sample_frames.h"
#include "session/device_command.h"
#include "session/tool_session.h"
#include "test_paths.h"
#include "udp_controller.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using test::replyTo;
using test::SentFrame;

using test::le32;
using test::u32At;

// A stored right as a controller returns it: card words, validity, zones 0, readers 255,
// count 65535, no flags.
std::string storedRight(std::uint32_t low) {
    std::string r = le32(0) + le32(low);
    r += std::string("\x21\x00\x00\x00\x21\x3C\x7D\xBF\x00\xFF\xFF\xFF", 12) + le32(0);
    return r;
}

std::string rightLine(std::uint32_t position, std::uint32_t low) {
    char card[16], head[16];
    std::snprintf(card, sizeof card, "%010u", low);
    std::snprintf(head, sizeof head, "%010u", position);
    return std::string("【序号=") + head + ";卡号=" + card +
           ";生效时间=2000-01-01 00:00:00;失效时间=2030-01-01 23:59:58;时段=0;读头=255;"
           "次数余额=65535;位置=未知;类型=0;反潜回=0;包裹=0;欠费=0;用户标志1=0;用户标志2=0;"
           "用户标志3=0;】";
}

// Lets a test look at the files at the moment a message is shown.
struct WatchingPort : test::RecordingUserPort {
    std::function<void()> onShow;
    void showMessage(const std::string& text, const std::string& title = {}) override {
        if (onShow)
            onShow();
        RecordingUserPort::showMessage(text, title);
    }
};

struct RightsOps : ::testing::Test, test::LoopbackSessionOf<WatchingPort> {
    static void SetUpTestSuite() {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    // The controller answers every frame unless a test scripts it otherwise.
    RightsOps() : LoopbackSessionOf("rights-ops", 101, "code=0") {
        controller.setScript(
            [](const SentFrame& f) { return std::vector<std::string>{replyTo(f)}; });
    }
    std::string file(std::string_view name) {
        return fromGbk(test::readFile(home + "/" + std::string(name)));
    }
    std::vector<SentFrame> sent() { return controller.received(); }
};

// Each operation's first frame, against the layout: 55 x 16, FF FF, the empty password,
// target, sequence, command, 0, length, payload, sum.
struct FrameCase {
    const char* name;
    std::function<void(ToolSession&, const DeviceUIInfo&)> run;
    std::string tail; // from byte 28 (the command) to the sum, hex
};

class RightFrames : public RightsOps, public ::testing::WithParamInterface<FrameCase> {};

RightFields cardFields(std::string numbers, unsigned readers = 255) {
    RightFields f;
    f.numbers = std::move(numbers);
    f.readers = readers;
    return f;
}

} // namespace

TEST_P(RightFrames, AreByteExact) {
    ASSERT_TRUE(controller.ready());
    GetParam().run(s(), device);
    // Clear, swipe and the reads are not waited for: the frame may still be on its way.
    auto frames = controller.waitForFrames(1);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(test::hex(frames.front().bytes),
              test::hex(test::unhex(test::kSessionHeader + GetParam().tail)));
}

// Card 12345; valid 2000-01-01 00:00:00 (0x0021, 0) to 2030-01-01 23:59:59 (0x3C21, 0xBF7D: the
// seconds halved); zones 0, readers 255, 65535 uses, no flags: 57 bytes. Reader field 255 is
// reader 5.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Commands, RightFrames, ::testing::Values(
    FrameCase{"Add18", [](ToolSession& s, const DeviceUIInfo& d) { addRights(s, d, cardFields("12345")); },
              "12000018000000003930000021000000213C7DBF00FFFFFF000000004A"},
    FrameCase{"Remove20", [](ToolSession& s, const DeviceUIInfo& d) { removeRights(s, d, cardFields("12345")); },
              "14000008000000003930000085"},
    FrameCase{"Check22", [](ToolSession& s, const DeviceUIInfo& d) { checkRights(s, d, cardFields("12345")); },
              "1600000C00000000393000000500000090"},
    FrameCase{"Clear24", [](ToolSession& s, const DeviceUIInfo& d) {
                  dynamic_cast<test::RecordingUserPort&>(s.port()).answer(Answer::Yes);
                  clearRights(s, d); }, "1800000018"},
    FrameCase{"ReadAt52", [](ToolSession& s, const DeviceUIInfo& d) { readRightAt(s, d, 7, true); },
              "34000008070000000100000044"},
    FrameCase{"Swipe114", [](ToolSession& s, const DeviceUIInfo& d) { simulateSwipe(s, d, cardFields("12345;", 3)); },
              "7200000C000000003930000003000000EA"},
    FrameCase{"ReadOfCard116", [](ToolSession& s, const DeviceUIInfo& d) { readRightOfCard(s, d, " 12345\r\n"); },
              "740000080000000039300000E5"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RightsOps, OneCardShowsTheReplyNoticeAndSeveralTheSummaryAfterTheWholeGrantLog) {
    auto one = addRights(s(), device, cardFields("1"));
    EXPECT_EQ(one.rc, 0);
    EXPECT_EQ(user.notices(), std::vector<std::string>{"添加权限结束，成功添加数量=1"});
    EXPECT_TRUE(user.messages().empty());

    std::string cards, expected = "2026-05-28 20:26:40 1\r\n";
    for (int card = 1000; card < 1600; ++card) {
        cards += std::to_string(card) + ";";
        expected += "2026-05-28 20:26:40 " + std::to_string(card) + "\r\n";
    }
    // "操作成功！" may stay on the screen a long time: the log is whole before it shows.
    std::string atMessage;
    user.onShow = [&] { atMessage = file("授权日志-20260528.txt"); };
    addRights(s(), device, cardFields(cards));
    EXPECT_EQ(user.notices().size(), 1u);
    EXPECT_EQ(
        user.messages(),
        std::vector<std::string>{"操作成功！\n添加权限：共600，成功600，失败0，无应答0\n用时0秒"});
    EXPECT_EQ(atMessage, expected);
    EXPECT_TRUE(s().dispatcher().noticesEnabled());
    EXPECT_EQ(user.busyDepth(), 0);
    // Progress names the card from 1, the cards and those given up.
    EXPECT_EQ(user.progressTexts().back(), "正在添加权限(600/600,超时0)");
}

// A text that is no card is named, listed and not sent; a card the controller refuses is listed
// and kept out of the grant log.
TEST_F(RightsOps, ACardRefusedByTheControllerIsAFailureNotAGrant) {
    controller.setScript([](const SentFrame& f) {
        bool refuse = u32At(f.payload(), 4) == 22;
        return std::vector<std::string>{replyTo(f, refuse ? 0 : 1)};
    });
    auto r = addRights(s(), device, cardFields("21;22;12,345;23"));
    EXPECT_EQ(r.rc, -1);
    EXPECT_EQ(sent().size(), 3u);
    EXPECT_EQ(file("添加权限失败清单.txt"), "22\r\n12,345\r\n");
    EXPECT_EQ(user.opened(), std::vector<std::string>{home + "/添加权限失败清单.txt"});
    // The summary names the list even when no viewer opens it.
    EXPECT_EQ(user.messages(),
              (std::vector<std::string>{"卡号格式错误：12,345",
                                        "操作部分成功！\n添加权限：共4，成功2，失败2，无应答0\n"
                                        "未成功的已列入：" +
                                            home + "/添加权限失败清单.txt\n用时0秒"}));
    EXPECT_EQ(file("授权日志-20260528.txt"),
              "2026-05-28 20:26:40 21\r\n2026-05-28 20:26:40 23\r\n");
}

TEST_F(RightsOps, ASilentCardIsSentFourTimesThenLandsInTheFailureFile) {
    controller.setScript([](const SentFrame& f) {
        if (u32At(f.payload(), 4) == 8)
            return std::vector<std::string>{};
        return std::vector<std::string>{replyTo(f)};
    });
    removeRights(s(), device, cardFields("7 8 9"));
    EXPECT_EQ(file("删除权限失败清单.txt"), "8\r\n");
    EXPECT_EQ(user.progressTexts().back(), "正在删除权限(3/3,超时1)");
    // Four silent waits of 5 s on the session's clock.
    EXPECT_EQ(user.messages().back(),
              "操作部分成功！\n删除权限：共3，成功2，失败0，无应答1\n未成功的已列入：" + home +
                  "/删除权限失败清单.txt\n用时20秒");
}

TEST_F(RightsOps, ACheckThatFailsListsTheCardAndSeveralChecksStayQuiet) {
    controller.setScript([](const SentFrame& f) {
        return std::vector<std::string>{replyTo(f, u32At(f.payload(), 4) == 2 ? 0 : 1)};
    });
    checkRights(s(), device, cardFields("1;2;3", 8));
    EXPECT_EQ(file("检查权限失败清单.txt"), "2\r\n");
    EXPECT_TRUE(user.notices().empty());
    EXPECT_TRUE(s().dispatcher().batchQuiet());
    for (const auto& f : sent())
        EXPECT_EQ(u32At(f.payload(), 8), 8u);

    // One card: its notice shows, and the reply of a passing card shows once more.
    auto one = checkRights(s(), device, cardFields("3"));
    EXPECT_EQ(one.rc, 0);
    EXPECT_EQ(user.notices(), std::vector<std::string>{"权限验证通过！"});
    EXPECT_FALSE(s().dispatcher().batchQuiet());
}

TEST_F(RightsOps, RefusalsAreNamedAndNothingIsSent) {
    checkRights(s(), device, cardFields(" ;\r\n"));
    addRights(s(), std::nullopt, cardFields("1"));
    downloadRightsOrCard(s(), std::nullopt, cardFields(""));
    // "上传权限(&U)" before any frame: the selection, then the picked file (none: nothing happens).
    uploadRights(s(), std::nullopt);
    uploadRights(s(), device);
    user.file(home + "/missing.txt");
    EXPECT_EQ(uploadRights(s(), device).rc, -1);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(user.messages(),
              (std::vector<std::string>{"请填写要验证的证件号码！", "请选择要操作的记录！",
                                        "请选择要操作的设备！", "请选择要操作的记录！",
                                        "打开文件失败！"}));
}

TEST_F(RightsOps, ClearAndASwipeWithReaderZeroAskFirstAndSendNothingOnNo) {
    EXPECT_EQ(clearRights(s(), device), -1);
    EXPECT_EQ(simulateSwipe(s(), device, cardFields("12345", 0)), -1);
    EXPECT_TRUE(sent().empty());
    user.answer(Answer::Yes);
    EXPECT_EQ(simulateSwipe(s(), device, cardFields("12345", 0)), 0);
    controller.waitForFrames(1);
    const std::string swipe = "使用可用读头参数表示要模拟刷卡的读头，正常取值应该是1-8，"
                              "不在此范围时默认使用读头5，确定要继续吗？";
    EXPECT_EQ(user.questions(),
              (std::vector<std::string>{"确定要清除控制器上所有权限吗？", swipe, swipe}));
    // Only the second swipe was sent, with reader 5; a swipe is not waited for.
    auto frames = sent();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(u32At(frames[0].payload(), 8), 5u);
    EXPECT_EQ(simulateSwipe(s(), device, cardFields("", 3)), -1);
    EXPECT_EQ(user.messages().back(), "需要指定刷卡的卡号以及可用读头！");
}

namespace {
// A controller holding rights at the given positions: command 52 answers the right at the
// position (or, searching forward, the next one), and -1 past the last.
test::UdpController::Script storage(std::map<std::uint32_t, std::uint32_t> cardsByPosition,
                                    std::uint32_t silentFrom = 0) {
    return [cardsByPosition, silentFrom](const SentFrame& f) {
        std::uint32_t position = u32At(f.payload(), 0);
        if (silentFrom != 0 && position >= silentFrom)
            return std::vector<std::string>{};
        auto it = cardsByPosition.lower_bound(position);
        if (it == cardsByPosition.end())
            return std::vector<std::string>{
                replyTo(f, 1, le32(0xFFFFFFFF) + std::string(24, '\0'))};
        return std::vector<std::string>{replyTo(f, 1, le32(it->first) + storedRight(it->second))};
    };
}
} // namespace

// The controller answers with its own counter and repeats its previous reply before each new
// one: the repeat names an earlier position and is not taken for the answer.
TEST_F(RightsOps, ADownloadEndedByMinusOneHasEveryRightWithoutSequenceEchoes) {
    auto proper = storage({{3, 100}, {4, 101}, {9, 102}});
    controller.setScript([proper, previous = std::string()](const SentFrame& f) mutable {
        std::string reply = proper(f).front();
        reply[26] = reply[27] = '\x05';
        std::vector<std::string> out;
        if (!previous.empty())
            out.push_back(previous);
        out.push_back(previous = reply);
        return out;
    });
    // The device record's right count (D8) is the download's total.
    ByteWriter(device.doorConfig, 8).putU32le(3);
    auto r = downloadRights(s(), device, true, true);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(file("下载权限.txt"),
              rightLine(3, 100) + "\r\n" + rightLine(4, 101) + "\r\n" + rightLine(9, 102) + "\r\n");
    EXPECT_EQ(user.opened(), std::vector<std::string>{home + "/下载权限.txt"});
    // Positions asked: 1, then each answer's position + 1.
    std::vector<std::uint32_t> asked;
    for (const auto& f : sent())
        asked.push_back(u32At(f.payload(), 0));
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{1, 4, 5, 10}));
    EXPECT_EQ(user.progressTexts().front(), "正在下载权限(0/3)");
    EXPECT_EQ(user.progressTexts().back(), "正在下载权限(3/3)");
    EXPECT_TRUE(user.notices().empty());
    EXPECT_TRUE(user.messages().empty());
}

// A failed download once emptied the file of the last whole one.
TEST_F(RightsOps, ADownloadStopsAfterFiveSilentWaitsAndLeavesTheLastWholeFile) {
    controller.setScript(storage({{3, 100}, {9, 102}}, 4));
    test::writeFile(home + "/下载权限.txt", "earlier\r\n");
    auto r = downloadRights(s(), device, true, false);
    EXPECT_EQ(r.rc, -2);
    EXPECT_EQ(r.lines, std::vector<std::string>{rightLine(3, 100)});
    EXPECT_EQ(file("下载权限.txt"), "earlier\r\n");
    EXPECT_TRUE(user.opened().empty());
    EXPECT_EQ(user.messages(),
              std::vector<std::string>{"设备通信超时，请检查设备运行状态及网络连接！网络恢复前只能"
                                       "显示已经下载到本地的数据。"});
}

// A controller that never sends its end marker once kept a download reading without end.
TEST_F(RightsOps, ADownloadWithoutAnEndMarkerStopsPastTheStoredCountAndKeepsWhatCame) {
    controller.setScript([](const SentFrame& f) {
        std::uint32_t at = u32At(f.payload(), 0);
        return std::vector<std::string>{replyTo(f, 1, le32(at) + storedRight(at))};
    });
    ByteWriter(device.doorConfig, 8).putU32le(2);
    auto r = downloadRights(s(), device, true, false);
    EXPECT_EQ(r.rc, -2);
    EXPECT_EQ(sent().size(), 2u + 1024u);
    EXPECT_EQ(r.lines.size(), 2u + 1024u);
    EXPECT_EQ(
        user.messages(),
        std::vector<std::string>{"设备未发送权限结束标志，已读取的权限数量超过设备记录的权限数量，"
                                 "下载已停止，已下载权限数量=1026"});
}

// A download whose every answer goes back once asked the same positions without end; the
// answers are not taken now, and the silent waits end it.
TEST_F(RightsOps, ADownloadThatGoesBackwardsEnds) {
    controller.setScript([](const SentFrame& f) {
        return std::vector<std::string>{replyTo(f, 1, le32(2) + storedRight(5))};
    });
    auto r = downloadRights(s(), device, true, false);
    EXPECT_EQ(r.rc, -2);
    // Position 1 answered with 2; position 3, answered with 2 each time, is given up after
    // five silent waits.
    EXPECT_EQ(sent().size(), 1u + 5u);
    EXPECT_EQ(user.messages(), std::vector<std::string>{kSilentDeviceText});
}

TEST_F(RightsOps, AnUploadSendsEachCardOnceInCardOrderAndNamesTheFirstBadLine) {
    // Which of the two lines of a card wins is the right file reader's, tested where it is read.
    test::writeFile(home + "/rights.txt",
                    toGbk("garbage\r\n" + rightLine(0, 200) + "\r\n\r\n" + rightLine(0, 100) +
                          "\n" + rightLine(0, 200) + "\r\n"));
    auto r = uploadRightFile(s(), device, home + "/rights.txt");
    EXPECT_EQ(r.rc, 0);
    auto frames = sent();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(u32At(frames[0].payload(), 4), 100u);
    EXPECT_EQ(u32At(frames[1].payload(), 4), 200u);
    EXPECT_EQ(user.messages().front(), "权限格式错误：garbage");
    EXPECT_EQ(user.messages().back().rfind("操作成功！\n", 0), 0u);
    EXPECT_EQ(file("授权日志-20260528.txt"),
              "2026-05-28 20:26:40 0000000100\r\n2026-05-28 20:26:40 0000000200\r\n");
}

TEST_F(RightsOps, AnUploadWithASiteCodeScramblesBothCardWords) {
    writeConfig("code=305419896"); // 0x12345678
    test::writeFile(home + "/rights.txt", toGbk(rightLine(0, 0)));
    uploadRightFile(s(), device, home + "/rights.txt");
    ASSERT_EQ(sent().size(), 1u);
    // Every nibble of 0 becomes 9: 0x99999999 ^ 0x12345678 = 0x8BADCFE1, rotated left by
    // 0x12345678 mod 32 = 24 bits: 0xE18BADCF.
    EXPECT_EQ(u32At(sent()[0].payload(), 0), 0xE18BADCFu);
    EXPECT_EQ(u32At(sent()[0].payload(), 4), 0xE18BADCFu);
}

TEST_F(RightsOps, CancelStopsBetweenRightsAndListsWhatWasNotDone) {
    // The person presses Cancel just before the second card's answer leaves the controller:
    // pressed after it left, the cancel could come after the tool had already sent the third.
    int asked = 0;
    controller.setScript([&](const SentFrame& f) {
        if (++asked == 2)
            user.requestCancel();
        return std::vector<std::string>{replyTo(f)};
    });
    auto r = addRights(s(), device, cardFields("1;2;3;4;5"));
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(sent().size(), 2u);
    EXPECT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages().back().rfind(
                  "操作已取消！\n添加权限：共5，成功2，失败0，无应答0，未处理3\n", 0),
              0u);
    EXPECT_EQ(file("添加权限失败清单.txt"), "3\r\n4\r\n5\r\n");
}

TEST_F(RightsOps, ReadsShowTheRightTheyGot) {
    s().setOneShotLimits(limits::kCommand);
    controller.setScript([](const SentFrame& f) {
        if (f.info.command == 52)
            return std::vector<std::string>{replyTo(f, 1, le32(7) + storedRight(42))};
        // A late answer to an earlier read of card 41 comes first.
        return std::vector<std::string>{replyTo(f, 1, storedRight(41)),
                                        replyTo(f, 1, std::string(24, '\0'))};
    });
    auto at = readRightAt(s(), device, 1, true);
    EXPECT_EQ(at.rc, 0);
    EXPECT_EQ(at.line, rightLine(7, 42));
    EXPECT_EQ(readRightOfCard(s(), device, "42").line, "");
    EXPECT_EQ(user.notices().size(), 2u);
}

// Guards a found fault: the copy read the shared "下载权限.txt" again for each target, so a
// download elsewhere in the program directory meanwhile sent another controller's rights.
TEST_F(RightsOps, ACopySendsTheSourcesRightsToEveryTargetWhateverReplacesTheSharedFile) {
    const auto answer = [](const SentFrame& f) { return std::vector<std::string>{replyTo(f)}; };
    test::UdpController second("127.0.0.3", port, [&](const SentFrame& f) {
        test::writeFile(home + "/下载权限.txt", toGbk(rightLine(9, 999)) + "\r\n");
        return answer(f);
    });
    test::UdpController third("127.0.0.4", port, answer);
    controller.setScript(storage({{3, 100}, {5, 101}}));
    DeviceUIInfo toSecond = device, toThird = device;
    toSecond.ip = "127.0.0.3";
    toThird.ip = "127.0.0.4";
    EXPECT_EQ(copyRights(s(), {device}, {toSecond, toThird}), 0);
    // One summary for the copy, a line per target; the targets' batches show none.
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].substr(0, user.messages()[0].rfind('\n')),
              "操作成功！\n复制权限：共2，成功2，失败0，无应答0\n"
              "127.0.0.2到127.0.0.3：成功2，失败0，无应答0\n"
              "127.0.0.2到127.0.0.4：成功2，失败0，无应答0");
    for (const auto* target : {&second, &third}) {
        auto frames = target->received();
        ASSERT_EQ(frames.size(), 2u);
        EXPECT_EQ(frames[0].payload(), storedRight(100));
        EXPECT_EQ(frames[1].payload(), storedRight(101));
    }
    // A source that falls silent uploads nothing.
    controller.setScript(storage({{3, 100}}, 4));
    EXPECT_EQ(copyRights(s(), {device}, {toThird}), -1);
    EXPECT_NE(user.messages().back().find("\n从源控制器127.0.0.2下载权限失败！\n"),
              std::string::npos);
    EXPECT_EQ(third.received().size(), 2u);
}

TEST_F(RightsOps, TestButtonsMakeEighteenDigitCardsFourSecondsApartWithNoticesOff) {
    std::uint32_t next = 0;
    RandomSource random = [&next] { return 1000000u * 3 + ++next; };
    auto r = fillRights(s(), device, cardFields(""), 3, random);
    EXPECT_EQ(r.lastCard, "000007000008000009;");
    EXPECT_TRUE(user.notices().empty());
    EXPECT_TRUE(s().dispatcher().noticesEnabled());
    auto frames = sent();
    ASSERT_EQ(frames.size(), 3u);
    // 000001000002000003: the first 8 digits high, the next 9 low, the 18th dropped.
    EXPECT_EQ(u32At(frames[0].payload(), 0), 100u);
    EXPECT_EQ(u32At(frames[0].payload(), 4), 200000u);
    EXPECT_GE(clock.elapsed(), 8s);
}

} // namespace quorvane
