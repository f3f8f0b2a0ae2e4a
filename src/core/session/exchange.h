#pragma once
// One request and its reply: send a frame to a target and wait for the answer, resending when
// the wait runs out, within limits that have names. Every operation that talks to a
// controller is built on this; none has a send-wait loop of its own.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "infra/clock.h"
#include "protocol/device_target.h"
#include "protocol/frame_sender.h"
#include "protocol/reply_subscription.h"

namespace quorvane {

class ProtocolState;
class ReplyDispatcher;
class UserPort;
struct Reply;

struct ExchangeLimits {
    static constexpr int kWithoutEnd = 0;
    // The wait for a reply after each send; zero sends without waiting.
    Clock::Duration wait = std::chrono::seconds(5);
    // Sends in all, the first included; kWithoutEnd asks again until a reply or a cancel.
    int attempts = 1;

    int resends() const { return attempts - 1; }
};

namespace limits {
using namespace std::chrono_literals;
// Refresh before a record is shown: ten polls of 100 ms, ended at once by the reply.
inline constexpr ExchangeLimits kRefresh{1s, 1};
// A one-shot command whose reply a caller waits for (the command line).
inline constexpr ExchangeLimits kCommand{5s, 1};
// A command whose reply shows later as a notice (the window does not wait).
inline constexpr ExchangeLimits kSendOnly{Clock::Duration::zero(), 1};
// One right: 100 polls of 50 ms, then the same card again, three times.
inline constexpr ExchangeLimits kRight{5s, 4};
// One step of a right download: five silent waits in a row end the download.
inline constexpr ExchangeLimits kDownloadStep{5s, 5};
// One memory or firmware page: asked again every 10 s until it comes or the person cancels.
inline constexpr ExchangeLimits kPage{10s, ExchangeLimits::kWithoutEnd};
} // namespace limits

struct ExchangeRequest {
    DeviceTarget target; // destination, route and the frame's target id
    std::uint8_t command = 0;
    std::vector<std::uint8_t> payload;
    // The code that answers; by default the command + 1. The general error reply (255) from
    // the same sender answers too.
    std::optional<std::uint8_t> replyCode;
    // Further checks of a reply (its payload names the page asked for, …).
    std::function<bool(const Reply&)> accept;
    // The reply skips its standard handling (a refresh's record must not enter the list).
    bool consume = false;
    // A cancel during a wait still lets the reply to the frame in flight come within that wait
    // (no resend follows): an item of a batch that the controller took is counted as taken.
    bool finishInFlight = false;
    int route = kRouteByDevice;
    // What the pipe worker is told to wait for when the host service relays the request: the
    // replies it collects (a fetch of many records answers many times) and for how long; by
    // default one reply within the exchange's wait.
    int pipeReplies = 1;
    std::optional<int> pipeTimeoutMs;

    std::uint8_t expectedReply() const {
        return replyCode.value_or(static_cast<std::uint8_t>(command + 1));
    }
};

struct ExchangeOutcome {
    enum class Kind {
        Reply,      // an answer came (its status says how it went)
        Sent,       // sent without waiting (kSendOnly)
        Timeout,    // every send went unanswered
        Cancelled,  // the person stopped it
        SendFailed, // nothing could be sent
    };
    Kind kind = Kind::Timeout;
    std::optional<ReceivedReply> reply;
    int sends = 0;

    // An answer with status 1 to the command itself (not the general error reply).
    bool ok() const;
    bool answered() const { return kind == Kind::Reply; }
};

class Exchange {
  public:
    // port (may be null): pumped while the window's own thread waits; its cancel ends a wait.
    // A reply answers when it comes from the controller asked with the awaited code and passes
    // the request's own checks (a reply that names its item names the one asked): nothing
    // promises that a controller echoes the request's sequence number. matchSequence (the
    // option `net/match-reply-sequence`): a reply answers only when it also echoes the
    // sequence number of one of this exchange's sends, so a late reply to an earlier request
    // that names no item is not taken for this one either.
    Exchange(FrameSender& channel, ReplyDispatcher& dispatcher, ProtocolState& protocol,
             Clock& clock, UserPort* port = nullptr, bool matchSequence = false);

    ExchangeOutcome run(const ExchangeRequest& request, const ExchangeLimits& limits) const;
    // As run; onResend is told before each send after the first (the batch runner counts
    // them).
    ExchangeOutcome run(const ExchangeRequest& request, const ExchangeLimits& limits,
                        const std::function<void()>& onResend) const;

    Clock& clock() const { return clock_; }
    UserPort* port() const { return port_; }

  private:
    FrameSender& channel_;
    ReplyDispatcher& dispatcher_;
    ProtocolState& protocol_;
    Clock& clock_;
    UserPort* port_;
    bool matchSequence_;
};

} // namespace quorvane
