#include "protocol/receive_queue.h"

namespace quorvane {

ReceiveQueue::ReceiveQueue(Consumer consumer, DropReport dropReport, std::size_t maxBytes)
    : consumer_(std::move(consumer)), dropReport_(std::move(dropReport)), maxBytes_(maxBytes) {}

ReceiveQueue::~ReceiveQueue() {
    stop();
}

void ReceiveQueue::start() {
    std::lock_guard l(m_);
    if (thread_.joinable())
        return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

bool ReceiveQueue::push(Bytes datagram, const platform::Ipv4Endpoint& from) {
    bool wasEmpty;
    {
        std::lock_guard l(m_);
        if (bytes_ + datagram.size() > maxBytes_) {
            dropped_.fetch_add(1);
            return false;
        }
        wasEmpty = items_.empty();
        items_.push_back(Item{std::vector<std::uint8_t>(datagram.begin(), datagram.end()), from});
        bytes_ += datagram.size();
    }
    // The handling thread waits only on an empty queue.
    if (wasEmpty)
        ready_.notify_one();
    return true;
}

bool ReceiveQueue::handleIfIdle(Bytes datagram, const platform::Ipv4Endpoint& from) {
    {
        std::lock_guard l(m_);
        if (handling_ || !items_.empty() || stopping_ || !thread_.joinable())
            return false;
        handling_ = true;
    }
    consumer_(datagram, from.text());
    bool wake;
    {
        std::lock_guard l(m_);
        handling_ = false;
        wake = !items_.empty() || stopping_;
    }
    // Datagrams pushed (or a stop asked for) meanwhile waited for this one.
    if (wake)
        ready_.notify_one();
    return true;
}

void ReceiveQueue::stop() {
    {
        std::lock_guard l(m_);
        stopping_ = true;
    }
    ready_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void ReceiveQueue::run() {
    std::uint64_t reported = 0;
    for (;;) {
        std::deque<Item> work;
        bool last;
        {
            std::unique_lock l(m_);
            ready_.wait(l, [this] { return (!items_.empty() || stopping_) && !handling_; });
            work.swap(items_);
            bytes_ = 0;
            last = stopping_;
            handling_ = !work.empty();
        }
        // Whole runs of datagrams are handled without the lock: the receive thread never
        // waits for a decode.
        for (const Item& item : work)
            consumer_(Bytes(item.bytes), item.from.text());
        if (!work.empty()) {
            std::lock_guard l(m_);
            handling_ = false;
        }
        std::uint64_t dropped = dropped_.load();
        if (dropped != reported && dropReport_)
            dropReport_(dropped - reported);
        reported = dropped;
        if (last) {
            std::lock_guard l(m_);
            if (items_.empty())
                return;
        }
    }
}

} // namespace quorvane
