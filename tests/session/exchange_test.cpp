// The exchange and the batch runner against a scripted link on a fake clock: resend counts and
// waits are exact, and a batch of silent waits takes no real time.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "fake_clock.h"
#include "recording_user_port.h"
#include "scripted_link.h"
#include "session/batch_runner.h"
#include "session/device_targets.h"
#include "session/exchange.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::replyTo;
using test::ScriptedLink;
using test::SentFrame;

struct Engine : ::testing::Test {
    FakeClock clock;
    test::RecordingUserPort port;
    std::vector<std::string> notices;
    ReplyDispatcher dispatcher{nullptr, "", [this](const std::string& t) { notices.push_back(t); },
                               clock};
    ProtocolState protocol;
    ScriptedLink::Script script = [](const SentFrame&) { return std::vector<std::string>{}; };
    ScriptedLink link{dispatcher, [this](const SentFrame& f) { return script(f); }};
    Exchange exchange{link, dispatcher, protocol, clock, &port};
    BatchRunner batch{exchange, port, dispatcher};

    ExchangeRequest request(std::uint8_t command, std::vector<std::uint8_t> payload = {}) {
        ExchangeRequest r;
        r.target = DeviceTarget::at({0x7F000002, 65534});
        r.target.targetId = 0x0102;
        r.command = command;
        r.payload = std::move(payload);
        return r;
    }
    // Items 0..count-1 (no end when count is negative), each a request with its number.
    BatchPlan plan(long count, std::uint8_t command = 18) {
        BatchPlan p;
        p.limits = limits::kRight;
        p.next = [this, count, command](long i) -> std::optional<ExchangeRequest> {
            if (count >= 0 && i >= count)
                return std::nullopt;
            return request(command, {static_cast<std::uint8_t>(i)});
        };
        return p;
    }
};

TEST_F(Engine, ASilentCardIsSentFourTimesEachWithItsOwnSequenceNumber) {
    auto outcome = exchange.run(request(18, {1, 2, 3}), limits::kRight);
    EXPECT_EQ(outcome.kind, ExchangeOutcome::Kind::Timeout);
    EXPECT_EQ(outcome.sends, 4);
    auto sent = link.sent();
    ASSERT_EQ(sent.size(), 4u);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].info.target, 0x0102);
        EXPECT_EQ(sent[i].payload(), std::string("\x01\x02\x03", 3));
        EXPECT_EQ(sent[i].info.sequence, i + 1);
    }
    EXPECT_EQ(clock.elapsed(), 20s);
    EXPECT_EQ(dispatcher.slotCount(), 0u);
}

// A controller that answers with its own counter is served unless sequences must match; when
// they must, an earlier request's late reply is not taken for the next one.
TEST_F(Engine, SequenceNumbersAreMatchedOnlyWhenAsked) {
    script = [](const SentFrame& f) {
        std::string reply = replyTo(f);
        reply[26] = '\x77'; // its own counter, not the request's sequence number
        reply[27] = '\x77';
        return std::vector{reply};
    };
    auto served = exchange.run(request(16), limits::kCommand);
    EXPECT_TRUE(served.ok());
    EXPECT_EQ(served.sends, 1);
    Exchange strict{link, dispatcher, protocol, clock, &port, true};
    EXPECT_EQ(strict.run(request(16), limits::kCommand).kind, ExchangeOutcome::Kind::Timeout);

    std::vector<SentFrame> seen;
    script = [&](const SentFrame& f) {
        seen.push_back(f);
        std::vector<std::string> out;
        if (seen.size() == 1)
            out.push_back(replyTo(f, 1, "first"));
        // The second request gets only a repeat of the first one's reply; its resend is
        // answered.
        if (seen.size() == 2)
            out.push_back(replyTo(seen[0], 1, "first"));
        if (seen.size() == 3)
            out.push_back(replyTo(f, 1, "second"));
        return out;
    };
    ASSERT_TRUE(strict.run(request(16), ExchangeLimits{5s, 2}).ok());
    auto second = strict.run(request(16), ExchangeLimits{5s, 2});
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.sends, 2);
    EXPECT_EQ(std::string(second.reply->payload.begin(), second.reply->payload.end()), "second");
    EXPECT_EQ(second.reply->sequence, seen[2].info.sequence);
}

TEST_F(Engine, WhoMayAnswerFollowsTheRoute) {
    ScriptedLink stranger{dispatcher, [](const SentFrame& f) { return std::vector{replyTo(f)}; },
                          "127.0.0.3:65534"};
    Exchange viaStranger{stranger, dispatcher, protocol, clock, &port};
    // A direct request is answered only by its own address …
    EXPECT_EQ(viaStranger.run(request(16), limits::kCommand).kind, ExchangeOutcome::Kind::Timeout);
    // … a broadcast by anyone.
    ExchangeRequest all = request(4);
    all.target = broadcastTarget({0xFFFFFFFF, 65534}, false, 0xFFFF);
    EXPECT_TRUE(viaStranger.run(all, limits::kCommand).ok());
}

TEST_F(Engine, TheGeneralErrorReplyAnswers) {
    script = [](const SentFrame& f) { return std::vector{replyTo(f, 0xFF, {}, 255)}; };
    auto refused = exchange.run(request(200), limits::kCommand);
    EXPECT_TRUE(refused.answered());
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.reply->code, 255);
    EXPECT_EQ(refused.sends, 1);
    EXPECT_EQ(notices, std::vector<std::string>{"不支持的命令字！"});
}

TEST_F(Engine, CancelEndsAPageRequestThatWouldBeAskedWithoutEnd) {
    int sends = 0;
    script = [&](const SentFrame&) {
        if (++sends == 3)
            port.requestCancel();
        return std::vector<std::string>{};
    };
    auto outcome = exchange.run(request(32), limits::kPage);
    EXPECT_EQ(outcome.kind, ExchangeOutcome::Kind::Cancelled);
    EXPECT_EQ(outcome.sends, 3);
}

// Rights are sent one after another; a controller that loses the first two replies to each
// still gets every one, with two resends each, and the notices stay off meanwhile.
TEST_F(Engine, ABatchWhoseFirstTwoRepliesPerItemAreLostFinishesWhole) {
    std::map<std::string, int> seenPerItem;
    script = [&](const SentFrame& f) {
        if (++seenPerItem[f.payload()] <= 2)
            return std::vector<std::string>{};
        return std::vector{replyTo(f)};
    };
    auto result = batch.run(plan(100, 16));
    EXPECT_EQ(result.succeeded, 100);
    EXPECT_EQ(result.resends, 200);
    EXPECT_EQ(clock.elapsed(), 200 * 5s);
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(dispatcher.noticesEnabled());
}

TEST_F(Engine, UnansweredItemsAreListedOrEndTheBatchAsThePlanSays) {
    script = [](const SentFrame& f) {
        std::uint8_t item = static_cast<std::uint8_t>(f.payload()[0]);
        if (item == 3 || item == 7)
            return std::vector<std::string>{};
        return std::vector{replyTo(f)};
    };
    BatchPlan ten = plan(10);
    auto listed = batch.run(ten);
    EXPECT_EQ(listed.givenUp, (std::vector<long>{3, 7}));
    EXPECT_EQ(listed.succeeded, 8);
    EXPECT_EQ(listed.resends, 6);

    ten.limits = limits::kDownloadStep;
    ten.onGiveUp = GiveUp::StopBatch;
    auto stopped = batch.run(ten);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.items, 4);
    EXPECT_EQ(stopped.resends, 4);

    // An end marker in a reply ends the batch as well.
    ten.answered = [](long i, const ReceivedReply&) { return i < 1; };
    EXPECT_EQ(batch.run(ten).items, 2);
}

TEST_F(Engine, CancelStopsABatchWithinOneWaitAndSaysHowFarItGot) {
    script = [&](const SentFrame& f) {
        if (f.payload()[0] == 5) {
            port.requestCancel();
            return std::vector<std::string>{};
        }
        return std::vector{replyTo(f)};
    };
    auto result = batch.run(plan(-1));
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.items, 6);
    EXPECT_EQ(result.succeeded, 5);
    EXPECT_EQ(link.sent().size(), 6u);
    EXPECT_LE(clock.elapsed(), limits::kRight.wait);
}

// The window's copies send without a wait, to a controller that stays silent: such items count
// as done. A step that is more than one exchange (one target of a copy) is counted alike, and
// Cancel stops before the next.
TEST_F(Engine, SendOnlyItemsAndWholeStepsAreCountedAndStopAtCancel) {
    BatchPlan three = plan(3, 14);
    three.limits = limits::kSendOnly;
    auto sent = batch.run(three);
    EXPECT_EQ(sent.items, 3);
    EXPECT_TRUE(sent.allSucceeded());
    EXPECT_EQ(clock.elapsed(), 0s);

    auto steps = batch.runSteps(5, [this](long i) {
        if (i == 2)
            port.requestCancel();
        return i != 1;
    });
    EXPECT_TRUE(steps.cancelled);
    EXPECT_EQ(steps.items, 3);
    EXPECT_EQ(steps.succeeded, 2);
}

} // namespace
} // namespace quorvane
