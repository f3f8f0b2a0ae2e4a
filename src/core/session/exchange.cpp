#include "session/exchange.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "protocol/admin_channel.h"
#include "protocol/frame.h"
#include "protocol/frame_sender.h"
#include "protocol/reply_dispatch.h"
#include "session/user_port.h"

namespace quorvane {

namespace {
// The sequence numbers this exchange has sent; read by the receive thread.
struct SentSequences {
    std::mutex m;
    std::vector<std::uint16_t> sent;
    void add(std::uint16_t s) {
        std::lock_guard l(m);
        sent.push_back(s);
    }
    bool has(std::uint16_t s) {
        std::lock_guard l(m);
        return std::find(sent.begin(), sent.end(), s) != sent.end();
    }
};
} // namespace

bool ExchangeOutcome::ok() const {
    return kind == Kind::Reply && reply && reply->code != kErrorReply && reply->status == 1;
}

Exchange::Exchange(FrameSender& channel, ReplyDispatcher& dispatcher, ProtocolState& protocol,
                   Clock& clock, UserPort* port, bool matchSequence)
    : channel_(channel), dispatcher_(dispatcher), protocol_(protocol), clock_(clock), port_(port),
      matchSequence_(matchSequence) {}

ExchangeOutcome Exchange::run(const ExchangeRequest& request, const ExchangeLimits& limits) const {
    return run(request, limits, {});
}

ExchangeOutcome Exchange::run(const ExchangeRequest& request, const ExchangeLimits& limits,
                              const std::function<void()>& onResend) const {
    ExchangeOutcome out;
    const bool waits = limits.wait > Clock::Duration::zero();
    auto sequences = std::make_shared<SentSequences>();

    std::optional<ReplySubscription> subscription;
    if (waits) {
        ReplyInterest interest;
        interest.codes = {request.expectedReply(), kErrorReply};
        interest.consume = request.consume;
        interest.accept = [target = request.target, accept = request.accept, sequences,
                           match = matchSequence_](const Reply& r) {
            if (!target.acceptsSender(r.source, r.viaUdp))
                return false;
            if (match && !sequences->has(r.sequence))
                return false;
            return r.code == kErrorReply || !accept || accept(r);
        };
        // Subscribed before the first send: a quick reply must not arrive unheard.
        subscription.emplace(dispatcher_, std::move(interest));
    }

    std::function<void()> pump;
    std::function<bool()> cancel;
    if (port_) {
        pump = [p = port_] { p->pumpEvents(); };
        cancel = [p = port_] { return p->cancelRequested(); };
    }
    const int pipeTimeoutMs = request.pipeTimeoutMs.value_or(static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(limits.wait).count()));

    for (int attempt = 0;
         limits.attempts == ExchangeLimits::kWithoutEnd || attempt < limits.attempts; ++attempt) {
        if (cancel && cancel()) {
            out.kind = ExchangeOutcome::Kind::Cancelled;
            return out;
        }
        if (attempt > 0 && onResend)
            onResend();
        // Every send is a frame of its own, with a sequence number of its own.
        std::string frame =
            buildRequest(request.target.targetId, request.command, request.payload, protocol_);
        std::uint16_t sequence = static_cast<std::uint16_t>(
            static_cast<std::uint8_t>(frame[offsets::kSequence]) |
            (static_cast<std::uint8_t>(frame[offsets::kSequence + 1]) << 8));
        sequences->add(sequence);
        int sent = channel_.sendto_log(asBytes(frame), 0, request.target, request.route,
                                       pipeTimeoutMs, request.pipeReplies);
        ++out.sends;
        if (sent < 0) {
            out.kind = ExchangeOutcome::Kind::SendFailed;
            return out;
        }
        if (!waits) {
            out.kind = ExchangeOutcome::Kind::Sent;
            return out;
        }
        const Clock::TimePoint sentAt = clock_.now();
        std::optional<ReceivedReply> reply =
            subscription->slot().take(clock_, limits.wait, pump, cancel);
        const bool cancelled = !reply && cancel && cancel();
        if (cancelled && request.finishInFlight) {
            const Clock::Duration left = sentAt + limits.wait - clock_.now();
            if (left > Clock::Duration::zero())
                reply = subscription->slot().take(clock_, left, pump, {});
        }
        if (reply) {
            out.kind = ExchangeOutcome::Kind::Reply;
            out.reply = std::move(reply);
            return out;
        }
        if (cancelled) {
            out.kind = ExchangeOutcome::Kind::Cancelled;
            return out;
        }
    }
    out.kind = ExchangeOutcome::Kind::Timeout;
    return out;
}

} // namespace quorvane
