#include "protocol/reply_subscription.h"

#include <algorithm>

#include "protocol/reply_dispatch.h"

namespace quorvane {

bool ReplySlot::awaits(std::uint8_t code) const {
    return std::find(interest_.codes.begin(), interest_.codes.end(), code) != interest_.codes.end();
}

bool ReplySlot::wants(const Reply& reply) const {
    return awaits(reply.code) && (!interest_.accept || interest_.accept(reply));
}

void ReplySlot::deliver(const Reply& reply) {
    ReceivedReply r;
    r.code = reply.code;
    r.status = reply.status;
    r.sequence = reply.sequence;
    r.payload.assign(reply.payload.begin(), reply.payload.end());
    r.frame.assign(reply.frame.begin(), reply.frame.end());
    r.source = reply.source;
    r.viaUdp = reply.viaUdp;
    {
        std::lock_guard l(m_);
        queue_.push_back(std::move(r));
    }
    cv_.notify_all();
}

std::optional<ReceivedReply> ReplySlot::take(Clock& clock, Clock::Duration total,
                                             const std::function<void()>& pump,
                                             const std::function<bool()>& cancel) {
    std::unique_lock l(m_);
    if (!waitWithPump(
            clock, l, cv_, total, [this] { return !queue_.empty(); }, pump, cancel))
        return std::nullopt;
    ReceivedReply r = std::move(queue_.front());
    queue_.pop_front();
    return r;
}

std::optional<ReceivedReply> ReplySlot::tryTake() {
    std::lock_guard l(m_);
    if (queue_.empty())
        return std::nullopt;
    ReceivedReply r = std::move(queue_.front());
    queue_.pop_front();
    return r;
}

ReplySubscription::ReplySubscription(ReplyDispatcher& dispatcher, ReplyInterest interest)
    : dispatcher_(dispatcher), slot_(std::make_shared<ReplySlot>(std::move(interest))) {
    dispatcher_.addSlot(slot_);
}

ReplySubscription::~ReplySubscription() {
    dispatcher_.removeSlot(slot_.get());
}

} // namespace quorvane
