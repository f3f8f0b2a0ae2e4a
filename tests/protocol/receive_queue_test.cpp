#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/datagram_batch.h"
#include "platform/udp_socket.h"
#include "protocol/receive_queue.h"

namespace quorvane {
namespace {

using platform::Ipv4Endpoint;

std::string text(Bytes b) {
    return std::string(b.begin(), b.end());
}

TEST(DatagramBatch, TakesEveryWaitingDatagramWithItsSenderAndCutsOverlongOnes) {
    platform::UdpSocket receiver, senderA, senderB;
    receiver.open();
    receiver.bind(*platform::parseIpv4("127.0.0.1"), 0);
    const Ipv4Endpoint to = *receiver.localEndpoint();
    senderA.open();
    senderB.open();
    senderA.bind(*platform::parseIpv4("127.0.0.5"), 0);
    senderB.bind(*platform::parseIpv4("127.0.0.6"), 0);
    senderA.sendTo(asBytes(std::string("first")), to);
    senderB.sendTo(asBytes(std::string("second, longer than a slot")), to);
    senderA.sendTo(asBytes(std::string("")), to);
    ASSERT_EQ(receiver.waitReadable(nullptr, 5000), platform::UdpSocket::Wait::Readable);
    platform::DatagramBatch batch(8, 10);
    ASSERT_EQ(batch.receive(receiver), 3);
    EXPECT_EQ(text(batch.datagram(0)), "first");
    EXPECT_EQ(batch.source(0), *senderA.localEndpoint());
    EXPECT_EQ(text(batch.datagram(1)), "second, lo");
    EXPECT_EQ(batch.source(1), *senderB.localEndpoint());
    EXPECT_EQ(batch.datagram(2).size(), 0u);
    EXPECT_EQ(batch.receive(receiver), 0);
    EXPECT_EQ(batch.size(), 0u);
}

// Records what it was handed, from where and on which thread; "block" holds the handling thread
// until release(), an optional pause slows every item.
struct Consumer {
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::string> handled;
    std::vector<std::thread::id> threads;
    bool blocking = false, released = false;
    std::chrono::microseconds perItem{};

    ReceiveQueue::Consumer fn() {
        return [this](Bytes d, const std::string& source) {
            if (perItem.count())
                std::this_thread::sleep_for(perItem);
            std::unique_lock l(m);
            if (text(d) == "block") {
                blocking = true;
                cv.notify_all();
                cv.wait(l, [this] { return released; });
            }
            handled.push_back(text(d) + "@" + source);
            threads.push_back(std::this_thread::get_id());
            cv.notify_all();
        };
    }
    template <class Condition> void waitUntil(Condition holds) {
        std::unique_lock l(m);
        cv.wait(l, holds);
    }
    void release() {
        std::lock_guard l(m);
        released = true;
        cv.notify_all();
    }
};

const Ipv4Endpoint kFrom{0x7F000009, 65534};

TEST(ReceiveQueue, HandsEveryDatagramOnInArrivalOrderAndStopHandlesTheRest) {
    Consumer c;
    c.perItem = std::chrono::microseconds(200);
    ReceiveQueue q(c.fn(), {}, 1 << 20);
    q.start();
    std::vector<std::string> want;
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(q.push(asBytes(std::to_string(i)), kFrom));
        want.push_back(std::to_string(i) + "@127.0.0.9:65534");
    }
    // The handler is slower than the pushes: stop still hands on everything received.
    q.stop();
    EXPECT_EQ(c.handled, want);
}

TEST(ReceiveQueue, BeyondItsByteLimitDatagramsAreDroppedCountedAndReported) {
    Consumer c;
    std::uint64_t reported = 0;
    ReceiveQueue q(
        c.fn(), [&](std::uint64_t n) { reported += n; }, 10);
    // Not started: nothing is taken out while the pushes fill it.
    EXPECT_TRUE(q.push(asBytes(std::string("12345")), kFrom));
    EXPECT_TRUE(q.push(asBytes(std::string("67890")), kFrom));
    EXPECT_FALSE(q.push(asBytes(std::string("x")), kFrom));
    EXPECT_FALSE(q.push(asBytes(std::string("y")), kFrom));
    q.start();
    q.stop();
    EXPECT_EQ(c.handled.size(), 2u);
    EXPECT_EQ(reported, 2u);
}

TEST(ReceiveQueue, ALoneDatagramOnAnIdleQueueIsHandledByTheCallerAndNothingOvertakes) {
    Consumer c;
    ReceiveQueue q(c.fn(), {}, 1 << 20);
    EXPECT_FALSE(q.handleIfIdle(asBytes(std::string("early")), kFrom)); // not started
    q.start();
    ASSERT_TRUE(q.handleIfIdle(asBytes(std::string("one")), kFrom));
    ASSERT_EQ(c.handled.size(), 1u);
    EXPECT_EQ(c.threads[0], std::this_thread::get_id());
    ASSERT_TRUE(q.push(asBytes(std::string("block")), kFrom));
    c.waitUntil([&] { return c.blocking; });
    // The handling thread is in the middle of "block": nothing may overtake what follows it.
    EXPECT_FALSE(q.handleIfIdle(asBytes(std::string("a")), kFrom));
    ASSERT_TRUE(q.push(asBytes(std::string("a")), kFrom));
    c.release();
    c.waitUntil([&] { return c.handled.size() >= 3; });
    // Idle again: the next lone datagram is the caller's.
    for (int tries = 0; !q.handleIfIdle(asBytes(std::string("c")), kFrom); ++tries) {
        ASSERT_LT(tries, 1000);
        std::this_thread::yield();
    }
    q.stop();
    EXPECT_FALSE(q.handleIfIdle(asBytes(std::string("late")), kFrom));
    const std::string at = "@127.0.0.9:65534";
    EXPECT_EQ(c.handled, (std::vector<std::string>{"one" + at, "block" + at, "a" + at, "c" + at}));
    EXPECT_NE(c.threads[2], std::this_thread::get_id());
    EXPECT_EQ(c.threads[3], std::this_thread::get_id());
}

} // namespace
} // namespace quorvane
