// The receive side split in two: a batch receive that takes every waiting datagram off the
// socket at once, and the queue that hands them, in order, to one handling thread.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "platform/datagram_batch.h"
#include "platform/udp_socket.h"
#include "protocol/receive_queue.h"

using namespace quorvane;
using platform::Ipv4Endpoint;

namespace {

struct Sockets {
    Sockets() {
        receiver.open();
        receiver.bind(*platform::parseIpv4("127.0.0.1"), 0);
        to = *receiver.localEndpoint();
        for (auto* s : {&senderA, &senderB})
            s->open();
        senderA.bind(*platform::parseIpv4("127.0.0.5"), 0);
        senderB.bind(*platform::parseIpv4("127.0.0.6"), 0);
    }
    platform::UdpSocket receiver, senderA, senderB;
    Ipv4Endpoint to;
};

std::string text(Bytes b) {
    return std::string(b.begin(), b.end());
}

TEST(DatagramBatch, TakesEveryWaitingDatagramWithItsSenderAndCutsOverlongOnes) {
    Sockets s;
    s.senderA.sendTo(asBytes(std::string("first")), s.to);
    s.senderB.sendTo(asBytes(std::string("second, longer than a slot")), s.to);
    s.senderA.sendTo(asBytes(std::string("")), s.to);
    ASSERT_EQ(s.receiver.waitReadable(nullptr, 5000), platform::UdpSocket::Wait::Readable);
    platform::DatagramBatch batch(8, 10);
    ASSERT_EQ(batch.receive(s.receiver), 3);
    EXPECT_EQ(text(batch.datagram(0)), "first");
    EXPECT_EQ(batch.source(0), *s.senderA.localEndpoint());
    EXPECT_EQ(text(batch.datagram(1)), "second, lo");
    EXPECT_EQ(batch.source(1), *s.senderB.localEndpoint());
    EXPECT_EQ(batch.datagram(2).size(), 0u);
    // Nothing more waits: no block, no datagram.
    EXPECT_EQ(batch.receive(s.receiver), 0);
    EXPECT_EQ(batch.size(), 0u);
}

TEST(DatagramBatch, ABurstLargerThanTheBatchComesInSeveralTakes) {
    Sockets s;
    for (int i = 0; i < 20; ++i)
        s.senderA.sendTo(asBytes(std::to_string(i)), s.to);
    platform::DatagramBatch batch(8, 64);
    std::vector<std::string> got;
    while (got.size() < 20 &&
           s.receiver.waitReadable(nullptr, 5000) == platform::UdpSocket::Wait::Readable) {
        ASSERT_GT(batch.receive(s.receiver), 0);
        EXPECT_LE(batch.size(), 8u);
        for (std::size_t i = 0; i < batch.size(); ++i)
            got.push_back(text(batch.datagram(i)));
    }
    ASSERT_EQ(got.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(got[static_cast<std::size_t>(i)], std::to_string(i));
}

class Recorder {
  public:
    ReceiveQueue::Consumer consumer(std::chrono::microseconds perItem = {}) {
        return [this, perItem](Bytes d, const std::string& source) {
            if (perItem.count())
                std::this_thread::sleep_for(perItem);
            std::lock_guard l(m_);
            seen_.push_back(text(d) + "@" + source);
        };
    }
    std::vector<std::string> seen() {
        std::lock_guard l(m_);
        return seen_;
    }

  private:
    std::mutex m_;
    std::vector<std::string> seen_;
};

TEST(ReceiveQueue, HandsEveryDatagramOnInArrivalOrderAndStopHandlesTheRest) {
    Recorder r;
    ReceiveQueue q(r.consumer(std::chrono::microseconds(200)), {}, 1 << 20);
    q.start();
    const Ipv4Endpoint from{*platform::parseIpv4("127.0.0.9"), 65534};
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(q.push(asBytes(std::to_string(i)), from));
    // The handler is slower than the pushes: stop still hands on everything received.
    q.stop();
    auto seen = r.seen();
    ASSERT_EQ(seen.size(), 300u);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], std::to_string(i) + "@127.0.0.9:65534");
}

TEST(ReceiveQueue, BeyondItsByteLimitDatagramsAreDroppedCountedAndReported) {
    Recorder r;
    std::uint64_t reported = 0;
    ReceiveQueue q(
        r.consumer(), [&](std::uint64_t n) { reported += n; }, 10);
    const Ipv4Endpoint from{*platform::parseIpv4("127.0.0.9"), 1};
    // Not started: nothing is taken out while the pushes fill it.
    EXPECT_TRUE(q.push(asBytes(std::string("12345")), from));
    EXPECT_TRUE(q.push(asBytes(std::string("67890")), from));
    EXPECT_FALSE(q.push(asBytes(std::string("x")), from));
    EXPECT_FALSE(q.push(asBytes(std::string("y")), from));
    q.start();
    q.stop();
    EXPECT_EQ(r.seen().size(), 2u);
    EXPECT_EQ(reported, 2u);
}

} // namespace
