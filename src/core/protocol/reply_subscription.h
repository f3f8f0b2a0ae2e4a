#pragma once
// One operation's interest in replies: which replies it takes (reply codes, and a check of the
// sender, sequence or payload), and the queue they wait in. A subscription lives exactly as long
// as its scope; when the scope ends the dispatcher forgets it, so no handler is left pointing
// at a finished operation. A reply that the receive thread is delivering at that moment lands
// in a slot nobody reads any more, which is harmless: the slot is shared.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "infra/clock.h"
#include "platform/bytes.h"

namespace quorvane {

struct Reply;
class ReplyDispatcher;

// A reply as received, owning its bytes (a Reply's views end with the receive call).
struct ReceivedReply {
    std::uint8_t code = 0;
    std::uint8_t status = 0;
    std::uint16_t sequence = 0;
    std::vector<std::uint8_t> payload;
    std::vector<std::uint8_t> frame;
    std::string source;
    bool viaUdp = true;
};

struct ReplyInterest {
    std::vector<std::uint8_t> codes;
    // Further checks on a reply of one of the codes (sender, sequence, payload); empty: any.
    std::function<bool(const Reply&)> accept;
    // Taken replies skip the reply's standard handling (a refresh's device-information reply
    // must not land in the device list).
    bool consume = false;
};

class ReplySlot {
  public:
    explicit ReplySlot(ReplyInterest interest) : interest_(std::move(interest)) {}
    bool wants(const Reply& reply) const;
    // Whether replies of code are what this slot waits for (before the further checks).
    bool awaits(std::uint8_t code) const;
    bool consumes() const { return interest_.consume; }
    void deliver(const Reply& reply);
    // Waits (total on clock, pumping and checking cancel between slices) for a reply; the
    // oldest one not yet taken, or nothing.
    std::optional<ReceivedReply> take(Clock& clock, Clock::Duration total,
                                      const std::function<void()>& pump = {},
                                      const std::function<bool()>& cancel = {});
    std::optional<ReceivedReply> tryTake();

  private:
    ReplyInterest interest_;
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<ReceivedReply> queue_;
};

// The scope of one interest: registered with the dispatcher on construction, removed on
// destruction.
class ReplySubscription {
  public:
    ReplySubscription(ReplyDispatcher& dispatcher, ReplyInterest interest);
    ~ReplySubscription();
    ReplySubscription(const ReplySubscription&) = delete;
    ReplySubscription& operator=(const ReplySubscription&) = delete;

    ReplySlot& slot() { return *slot_; }

  private:
    ReplyDispatcher& dispatcher_;
    std::shared_ptr<ReplySlot> slot_;
};

} // namespace quorvane
