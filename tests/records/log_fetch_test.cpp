#include <gtest/gtest.h>

#include "infra/codepage.h"
#include "loopback_session.h"
#include "platform/files.h"
#include "records/fill_log.h"
#include "records/log_fetch.h"
#include "records/query_data.h"
#include "sample_frames.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using test::replyTo;
using test::SentFrame;

// The entry of a card record: index, card 12345 (low word), 2026-01-01 08:30:00, door 1.
std::string entry(std::uint32_t index) {
    return test::le32(index) + test::unhex("00000000 39300000 2134C043 0100 0800");
}

// A controller that answers each index of the range with its record, up to `answered` replies.
test::UdpController::Script records(std::size_t answered = 1000) {
    return [answered](const SentFrame& f) {
        std::vector<std::string> out;
        const std::string payload = f.payload(); // the reader views it
        ByteReader in(asBytes(payload));
        const std::uint32_t start = in.u32le(), end = in.u32le();
        for (std::uint32_t i = start; i < end && out.size() < answered; ++i)
            out.push_back(replyTo(f, 1, entry(i)));
        return out;
    };
}

struct LogFetch : ::testing::Test {
    std::string history() { return fromGbk(test::readFile(t.home + "/历史日志.txt")); }
    bool historyExists() { return platform::fileExists(t.home + "/历史日志.txt"); }
    test::LoopbackSession t{"log-fetch", 111, "get-log-timeouts=3"};
};

// 3 records from index 10 ask for the range 10 .. 13; the fill-log test for 7 records.
TEST_F(LogFetch, FramesAreByteExact) {
    t.controller.setScript(records());
    getLogStr(t.s(), t.device, 10, 3);
    fillLog(t.s(), t.device, 7);
    auto frames = t.controller.waitForFrames(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(test::hex(frames[0].bytes),
              test::hex(test::unhex(test::kSessionHeader + "300000080A0000000D0000004F")));
    EXPECT_EQ(test::hex(frames[1].bytes.substr(28)), test::hex(test::unhex("F100000407000000FC")));
}

// One record is a notice and makes no file; several go to the file, which opens, without notices.
TEST_F(LogFetch, OneRecordIsANoticeAndSeveralGoToTheFile) {
    t.controller.setScript(records());
    std::string one = getLogStr(t.s(), t.device, 10, 1);
    ASSERT_EQ(t.user.notices().size(), 1u);
    EXPECT_EQ(t.user.notices()[0] + "\n", one);
    EXPECT_EQ(one.rfind("获取记录成功，信息=【序号=0000000010,类型=刷卡记录", 0), 0u) << one;
    EXPECT_FALSE(historyExists());
    EXPECT_TRUE(t.s().dispatcher().noticesEnabled());

    std::string text = getLogStr(t.s(), t.device, 10, 2);
    EXPECT_EQ(t.user.notices().size(), 1u);
    EXPECT_EQ(history(), text);
    EXPECT_NE(text.find("\n获取记录成功，信息=【序号=0000000011"), std::string::npos);
    EXPECT_EQ(t.user.opened(), std::vector<std::string>{t.home + "/历史日志.txt"});
    EXPECT_EQ(t.user.busyDepth(), 0);
    // Every reply came: the wait never ran into the silence limit.
    EXPECT_EQ(t.clock.elapsed(), 0s);
}

TEST_F(LogFetch, SilenceAfterTheLastReplyEndsTheWaitAfterTheLimit) {
    t.controller.setScript(records(2));
    auto result = fetchRecords(t.s(), t.device, 0, 5);
    EXPECT_EQ(result.replies.size(), 2u);
    EXPECT_EQ(t.clock.elapsed(), 3s);
    EXPECT_EQ(history(), result.text);
    EXPECT_EQ(t.user.progressTexts().back(), "正在提取记录(2/5)");
    // Whether or not a viewer opened the file, the fetch says what came and where it went.
    EXPECT_EQ(t.user.messages(),
              std::vector<std::string>{
                  "操作部分成功！\n提取记录：共5，成功2，失败0，无应答3\n已保存到：" + t.home +
                  "/历史日志.txt\n用时3秒"});
}

TEST_F(LogFetch, AFailedReplyIsItsOwnLine) {
    t.controller.setScript([](const SentFrame& f) {
        return std::vector<std::string>{replyTo(f, 1, entry(0)), replyTo(f, 0),
                                        replyTo(f, 1, "short")};
    });
    std::string text = getLogStr(t.s(), t.device, 0, 3);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_NE(text.find("\n操作失败\n操作失败\n"), std::string::npos) << text;
}

TEST_F(LogFetch, NothingBackOrNothingToAskForWritesNothing) {
    EXPECT_EQ(getRecords(t.s(), std::nullopt, 0, 3), -1);
    EXPECT_EQ(fillLog(t.s(), std::nullopt, 1), -1);
    EXPECT_EQ(getRecords(t.s(), t.device, 0, 0), 0);
    EXPECT_TRUE(t.controller.received().empty());
    EXPECT_EQ(getLogStr(t.s(), t.device, 0, 4), "");
    EXPECT_EQ(
        t.user.messages(),
        (std::vector<std::string>{"请选择要操作的设备！", "请选择要操作的记录！", "没有返回数据"}));
    EXPECT_FALSE(historyExists());
}

TEST_F(LogFetch, QueryDataWithoutSaveTypeOpensTheDataFolderAndItsTokenIsTheKeyAndHour) {
    queryData(t.s(), 0);
    EXPECT_EQ(t.user.opened(), std::vector<std::string>{t.home + "/data"});
    // 1,780,000,000 s is hour 494,444.
    auto at = std::chrono::system_clock::from_time_t(1780000000);
    EXPECT_EQ(queryToken(at), "db69cadfcf1317962c5c8c84c5969828");
    EXPECT_NE(queryToken(at + 2000s), queryToken(at));
}

} // namespace
} // namespace quorvane
