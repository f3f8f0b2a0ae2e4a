#pragma once
// Many items one at a time (the protocol is stop-and-wait): each item is one exchange within
// the plan's limits, progress says how far the batch is, items that never get an answer are
// listed, and the person can stop it between items or during a wait.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/exchange.h"

namespace quorvane {

class ReplyDispatcher;
class UserPort;

enum class GiveUp {
    NextItem,  // an unanswered item goes on the list and the batch goes on (rights)
    StopBatch, // an unanswered item ends the batch (a download's silent controller)
};

struct BatchPlan {
    // Items in all, for the progress (0 when not known in advance).
    long total = 0;
    ExchangeLimits limits;
    GiveUp onGiveUp = GiveUp::NextItem;
    // Reply notices stay off for the batch and come back after it.
    bool quietNotices = true;
    // A cancel waits out the item in flight (within its wait), so that an item the controller
    // took is counted as taken; a page transfer, whose waits are long, stops at once.
    bool finishInFlight = false;
    // The request for item i (from 0); nothing ends the batch.
    std::function<std::optional<ExchangeRequest>(long index)> next;
    // Told of each answered item; false ends the batch (an end marker).
    std::function<bool(long index, const ReceivedReply& reply)> answered;
    // The progress text shown before item i is sent (done items, total); empty: none shown.
    std::function<std::string(long done, long total)> progressText;
};

struct BatchResult {
    long items = 0;     // items sent
    long answered = 0;  // items that got a reply
    long succeeded = 0; // replies with status 1, or items sent without a wait
    long resends = 0;
    std::vector<long> givenUp; // items that got no reply
    std::vector<long> refused; // items answered with a failure (or a step that failed)
    bool cancelled = false;
    bool stopped = false; // ended by an unanswered item (GiveUp::StopBatch) or by answered()

    bool allSucceeded() const { return !cancelled && succeeded == items; }
    // A stop during a wait leaves the last item sent neither answered nor given up.
    bool lastItemUnsettled() const {
        return cancelled && succeeded + static_cast<long>(givenUp.size() + refused.size()) < items;
    }
};

class BatchRunner {
  public:
    BatchRunner(const Exchange& exchange, UserPort& port, ReplyDispatcher& dispatcher);
    BatchResult run(const BatchPlan& plan) const;
    // Items that are more than one exchange each (one target of a copy, itself a batch): the
    // person can stop between them, and each counts as sent, answered and, when step returns
    // true, succeeded.
    BatchResult runSteps(long count, const std::function<bool(long index)>& step) const;

  private:
    const Exchange& exchange_;
    UserPort& port_;
    ReplyDispatcher& dispatcher_;
};

} // namespace quorvane
