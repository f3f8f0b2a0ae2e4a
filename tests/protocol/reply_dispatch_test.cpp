#include <gtest/gtest.h>

#include <filesystem>

#include "channel_fixture.h"
#include "infra/tool_log.h"
#include "protocol/reply_dispatch.h"
#include "protocol/reply_subscription.h"

namespace quorvane {
namespace {

using test::replyFrame;

struct Dispatch : ::testing::Test {
    std::string dir = test::scratchDir("dispatch");
    ToolLog log;
    std::vector<std::string> notices;
    ReplyDispatcher d{&log, dir, [this](const std::string& t) { notices.push_back(t); }};
    Dispatch() {
        log.setEcho(false);
        log.openToolLog(dir + "/tool.log");
    }
    int feed(const std::string& bytes) {
        return d.handleReply(asBytes(bytes), "127.0.0.1:65534", true);
    }
};

// A damaged frame with status 1 once made a waiting operation report success. A late reply to
// an earlier card once showed "添加权限结束，成功添加数量=1" for the card asked now.
TEST_F(Dispatch, ChecksumMismatchesAndRepliesTheWaitingOperationRefusesAnswerNobody) {
    int calls = 0;
    d.setHandler(17, [&](const Reply&) { return ++calls; });
    ReplySubscription waiting(d, ReplyInterest{{17}, {}, false});
    std::string f = replyFrame(17, 1);
    f.back() ^= 0x55;
    feed(f);
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(waiting.slot().tryTake());
    EXPECT_EQ(notices, std::vector<std::string>{"返回消息检验和失败！"});
    EXPECT_EQ(test::readFile(dir + "/Error-sum.bin"), f);

    ReplySubscription refusing(
        d, ReplyInterest{{19}, [](const Reply& r) { return r.sequence == 7; }, false});
    feed(replyFrame(19, 1));
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_FALSE(refusing.slot().tryTake());
}

// The text command's reply (149): its text follows the result (text_command_test) only when no
// zero byte lies within the length the frame gives; control bytes from the controller never reach
// the person raw. A save's reply disarms the pending watch.
TEST_F(Dispatch, StandardRepliesShowTheirMessages) {
    d.pendingReply.arm(std::chrono::seconds(5), "门禁配置保存失败或者操作返回超时！");
    feed(replyFrame(17, 1));
    feed(replyFrame(17, 0));
    feed(replyFrame(17, 2));
    feed(replyFrame(255, 0xFD));
    feed(replyFrame(255, 0x01));
    feed(replyFrame(65, 1));
    feed(replyFrame(103, 0));
    feed(replyFrame(244, 1, std::string("\x05", 1)));
    feed(replyFrame(73, 1));
    feed(replyFrame(15, 1));
    feed(replyFrame(149, 1, std::string("setIp\0", 6)));
    feed(replyFrame(149, 0, std::string("bad\0tail", 8)));
    feed(replyFrame(149, 1));
    feed(replyFrame(149, 1, "\xC9\xE8\xD6\xC3\x1B"));
    EXPECT_FALSE(d.pendingReply.armed());
    EXPECT_EQ(notices, (std::vector<std::string>{"操作成功！", "失败", "未知", "消息校验失败！",
                                                 "设备返回错误，错误码未知！", "操作成功！",
                                                 "操作失败！", "自测操作成功！返回码：5",
                                                 "清除程序操作成功！", "保存成功！", "操作成功！",
                                                 "操作失败！", "操作成功！", "操作成功！设置?"}));
}

// Codes 43, 25, 45 and 47 share the handlers of 19 and 21.
TEST_F(Dispatch, RightsRepliesShowTheirMessagesAndABatchOfChecksKeepsOnlyThePassesQuiet) {
    for (int code : {19, 21, 23}) {
        feed(replyFrame(static_cast<std::uint8_t>(code), 1));
        feed(replyFrame(static_cast<std::uint8_t>(code), 0));
    }
    d.setBatchQuiet(true);
    feed(replyFrame(23, 1));
    feed(replyFrame(23, 0));
    EXPECT_EQ(notices,
              (std::vector<std::string>{"添加权限结束，成功添加数量=1", "权限操作失败！",
                                        "权限操作成功！", "权限操作失败！", "权限验证通过！",
                                        "权限验证失败！", "权限验证失败！"}));
}

TEST_F(Dispatch, WrongPreamblesShortAndLyingDatagramsNeverReachAHandler) {
    int calls = 0;
    for (int c = 0; c < 256; ++c)
        d.setHandler(static_cast<std::uint8_t>(c), [&](const Reply&) { return ++calls, 0; });
    for (std::size_t i = 0; i < 24; ++i) {
        std::string f = replyFrame(17, 1);
        f[i] ^= 1;
        feed(f);
    }
    EXPECT_TRUE(notices.empty());
    // A wrong preamble is dropped silently but still dumped.
    log.flush();
    EXPECT_NE(test::readFile(dir + "/tool.log").find("buffer from 127.0.0.1:65534 dumped:"),
              std::string::npos);
    std::string good = replyFrame(17, 1, "xyz");
    // Every prefix of a valid reply, sized exactly (ASan sees any overrun), and a length past
    // the end in either of its bytes.
    for (std::size_t n = 0; n < good.size(); ++n)
        d.handleReply(std::vector<std::uint8_t>(good.begin(), good.begin() + long(n)), "x", true);
    for (unsigned len : {0x0100u, 0xFFFFu, 4u}) {
        std::string f = good;
        f[30] = static_cast<char>(len >> 8);
        f[31] = static_cast<char>(len);
        d.handleReply(std::vector<std::uint8_t>(f.begin(), f.end()), "x", true);
    }
    EXPECT_EQ(calls, 0);
    d.handleReply(asBytes(good), "x", true);
    EXPECT_EQ(calls, 1);
}

} // namespace
} // namespace quorvane
