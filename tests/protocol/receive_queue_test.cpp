#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "protocol/receive_queue.h"

namespace quorvane {
namespace {

// Records what the consumer was handed and on which thread; a datagram "block" holds the
// handling thread until release().
struct Consumer {
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::string> handled;
    std::vector<std::thread::id> threads;
    bool blocking = false, released = false;

    void operator()(Bytes d, const std::string&) {
        std::string text(reinterpret_cast<const char*>(d.data()), d.size());
        std::unique_lock l(m);
        if (text == "block") {
            blocking = true;
            cv.notify_all();
            cv.wait(l, [this] { return released; });
        }
        handled.push_back(text);
        threads.push_back(std::this_thread::get_id());
        cv.notify_all();
    }
    void waitBlocking() {
        std::unique_lock l(m);
        cv.wait(l, [this] { return blocking; });
    }
    void release() {
        std::lock_guard l(m);
        released = true;
        cv.notify_all();
    }
    void waitCount(std::size_t n) {
        std::unique_lock l(m);
        cv.wait(l, [&] { return handled.size() >= n; });
    }
};

const platform::Ipv4Endpoint kFrom{0x7F000001, 65534};

TEST(ReceiveQueue, LoneDatagramOnAnIdleQueueIsHandledByTheCaller) {
    Consumer c;
    ReceiveQueue q([&c](Bytes d, const std::string& s) { c(d, s); }, {}, 1 << 20);
    q.start();
    ASSERT_TRUE(q.handleIfIdle(asBytes(std::string("one")), kFrom));
    // Handled before the call returned, on this thread.
    ASSERT_EQ(c.handled, std::vector<std::string>{"one"});
    EXPECT_EQ(c.threads[0], std::this_thread::get_id());
    q.stop();
}

TEST(ReceiveQueue, WhileTheHandlingThreadIsBusyDatagramsQueueAndKeepTheirOrder) {
    Consumer c;
    ReceiveQueue q([&c](Bytes d, const std::string& s) { c(d, s); }, {}, 1 << 20);
    q.start();
    ASSERT_TRUE(q.push(asBytes(std::string("block")), kFrom));
    c.waitBlocking();
    // The handling thread is in the middle of "block": nothing may overtake what follows it.
    EXPECT_FALSE(q.handleIfIdle(asBytes(std::string("a")), kFrom));
    ASSERT_TRUE(q.push(asBytes(std::string("a")), kFrom));
    EXPECT_FALSE(q.handleIfIdle(asBytes(std::string("b")), kFrom));
    ASSERT_TRUE(q.push(asBytes(std::string("b")), kFrom));
    c.release();
    c.waitCount(3);
    // Idle again: the next lone datagram is the caller's.
    for (int tries = 0; !q.handleIfIdle(asBytes(std::string("c")), kFrom); ++tries) {
        ASSERT_LT(tries, 1000);
        std::this_thread::yield();
    }
    q.stop();
    EXPECT_EQ(c.handled, (std::vector<std::string>{"block", "a", "b", "c"}));
    EXPECT_NE(c.threads[1], std::this_thread::get_id());
    EXPECT_EQ(c.threads[3], std::this_thread::get_id());
}

TEST(ReceiveQueue, NotStartedOrStoppedLeavesTheDatagramToTheQueue) {
    Consumer c;
    ReceiveQueue q([&c](Bytes d, const std::string& s) { c(d, s); }, {}, 1 << 20);
    EXPECT_FALSE(q.handleIfIdle(asBytes(std::string("early")), kFrom));
    q.start();
    q.stop();
    EXPECT_FALSE(q.handleIfIdle(asBytes(std::string("late")), kFrom));
    EXPECT_TRUE(c.handled.empty());
}

} // namespace
} // namespace quorvane
