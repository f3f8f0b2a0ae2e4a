#pragma once
// The datagrams between the receive thread, which only takes them off the socket, and one
// handling thread, which dumps, decodes and lists them in the order they came. A burst is
// held here instead of in the socket buffer, where the system drops what does not fit.
// A lone datagram that finds the handling thread idle is handled by the caller at once: a
// stop-and-wait exchange then costs one thread handoff per reply instead of two.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/bytes.h"
#include "platform/udp_socket.h"

namespace quorvane {

class ReceiveQueue {
  public:
    using Consumer = std::function<void(Bytes datagram, const std::string& source)>;
    // Told on the handling thread how many datagrams were dropped since it was last told.
    using DropReport = std::function<void(std::uint64_t dropped)>;
    // A queue that holds at most maxBytes of datagrams; more are dropped and counted.
    ReceiveQueue(Consumer consumer, DropReport dropReport, std::size_t maxBytes);
    ~ReceiveQueue();
    ReceiveQueue(const ReceiveQueue&) = delete;
    ReceiveQueue& operator=(const ReceiveQueue&) = delete;

    void start();
    // Copies one datagram in; false when the queue was full and it was dropped.
    bool push(Bytes datagram, const platform::Ipv4Endpoint& from);
    // Hands the datagram to the consumer on the calling thread when nothing is queued or being
    // handled (so the order of arrival holds) and returns true; false leaves it to push.
    bool handleIfIdle(Bytes datagram, const platform::Ipv4Endpoint& from);
    // Hands every datagram queued so far to the consumer, then ends the handling thread.
    void stop();

  private:
    struct Item {
        std::vector<std::uint8_t> bytes;
        platform::Ipv4Endpoint from;
    };
    void run();

    Consumer consumer_;
    DropReport dropReport_;
    const std::size_t maxBytes_;

    std::mutex m_;
    std::condition_variable ready_;
    std::deque<Item> items_;
    std::size_t bytes_ = 0;
    bool handling_ = false; // a consumer call runs, on the handling thread or a caller
    bool stopping_ = false;
    std::atomic<std::uint64_t> dropped_{0};
    std::thread thread_;
};

} // namespace quorvane
