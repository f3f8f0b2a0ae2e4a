#include "session/batch_runner.h"

#include "session/quiet_notices.h"
#include "session/user_port.h"

namespace quorvane {

BatchRunner::BatchRunner(const Exchange& exchange, UserPort& port, ReplyDispatcher& dispatcher)
    : exchange_(exchange), port_(port), dispatcher_(dispatcher) {}

BatchResult BatchRunner::run(const BatchPlan& plan) const {
    BatchResult result;
    QuietNotices quiet(dispatcher_, plan.quietNotices);
    const auto countResend = [&result] { ++result.resends; };
    for (long i = 0;; ++i) {
        if (port_.cancelRequested()) {
            result.cancelled = true;
            break;
        }
        std::optional<ExchangeRequest> request = plan.next ? plan.next(i) : std::nullopt;
        if (!request)
            break;
        request->finishInFlight = plan.finishInFlight;
        if (plan.progressText)
            port_.progress(plan.progressText(i, plan.total), i, plan.total);
        ++result.items;
        ExchangeOutcome outcome = exchange_.run(*request, plan.limits, countResend);
        if (outcome.kind == ExchangeOutcome::Kind::Cancelled) {
            result.cancelled = true;
            break;
        }
        if (outcome.kind == ExchangeOutcome::Kind::Sent) {
            // Sent without a wait (the window's one-shot commands): nothing more to count.
            ++result.succeeded;
            continue;
        }
        if (outcome.kind != ExchangeOutcome::Kind::Reply) {
            result.givenUp.push_back(i);
            if (plan.onGiveUp == GiveUp::StopBatch) {
                result.stopped = true;
                break;
            }
            continue;
        }
        ++result.answered;
        if (outcome.ok())
            ++result.succeeded;
        else
            result.refused.push_back(i);
        if (plan.answered && !plan.answered(i, *outcome.reply)) {
            result.stopped = true;
            break;
        }
    }
    if (plan.progressText)
        port_.progress(plan.progressText(result.items, plan.total), result.items, plan.total);
    return result;
}

BatchResult BatchRunner::runSteps(long count, const std::function<bool(long index)>& step) const {
    BatchResult result;
    for (long i = 0; i < count; ++i) {
        if (port_.cancelRequested()) {
            result.cancelled = true;
            break;
        }
        ++result.items;
        ++result.answered;
        if (step(i))
            ++result.succeeded;
        else
            result.refused.push_back(i);
    }
    return result;
}

} // namespace quorvane
