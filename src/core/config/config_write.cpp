#include "config/config_write.h"

#include "protocol/reply_dispatch.h"
#include "session/operation_result.h"
#include "session/tool_session.h"

namespace quorvane {

ExchangeOutcome sendConfigWrite(ToolSession& session, const DeviceTarget& target,
                                std::uint8_t command, std::vector<std::uint8_t> payload,
                                const std::string& watchText, int route) {
    PendingReplyWatch& watch = session.dispatcher().pendingReply;
    // Armed before the frame leaves: a reply that comes at once must find it armed, or it
    // would speak later about a write that was answered.
    watch.arm(kPendingReplyTime, watchText);
    ExchangeRequest request;
    request.target = target;
    request.command = command;
    request.payload = std::move(payload);
    request.route = route;
    ExchangeOutcome outcome = session.exchange().run(request, session.oneShotLimits());
    if (outcome.kind == ExchangeOutcome::Kind::SendFailed ||
        outcome.kind == ExchangeOutcome::Kind::Cancelled)
        watch.disarm(); // nothing is on its way: nothing to wait for
    return outcome;
}

int configWriteResult(ToolSession& session, const ExchangeOutcome& outcome) {
    switch (outcome.kind) {
    case ExchangeOutcome::Kind::Sent:
        return kOperationDone;
    case ExchangeOutcome::Kind::Reply:
        return outcome.ok() ? kOperationDone : kOperationFailed;
    case ExchangeOutcome::Kind::Timeout:
        if (auto text = session.dispatcher().pendingReply.poll())
            session.port().showMessage(*text);
        return kOperationFailed;
    case ExchangeOutcome::Kind::Cancelled:
    case ExchangeOutcome::Kind::SendFailed:
        return kOperationFailed;
    }
    return kOperationFailed;
}

} // namespace quorvane
