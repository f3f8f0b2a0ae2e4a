#include "session/device_command.h"

#include "protocol/reply_dispatch.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
ExchangeOutcome send(ToolSession& session, const DeviceUIInfo& record, std::uint8_t command,
                     std::vector<std::uint8_t> payload, const ExchangeLimits& limits,
                     std::function<bool(const Reply&)> accept = {}) {
    auto target = session.prepareDevAddress(record.ip, &record);
    if (!target) {
        ExchangeOutcome none;
        none.kind = ExchangeOutcome::Kind::SendFailed;
        return none;
    }
    ExchangeRequest request;
    request.target = *target;
    request.command = command;
    request.payload = std::move(payload);
    request.accept = std::move(accept);
    return session.exchange().run(request, limits);
}

// The window sends without waiting and shows the reply as a notice when it comes; the watch
// says so when none comes within a command's wait. Armed before the frame leaves: a reply that
// comes at once must find it armed.
ExchangeOutcome sendWatched(ToolSession& session, const DeviceUIInfo& record, std::uint8_t command,
                            std::vector<std::uint8_t> payload, const ExchangeLimits& limits,
                            std::function<bool(const Reply&)> accept) {
    const bool waits = limits.wait > Clock::Duration::zero();
    PendingReplyWatch& watch = session.dispatcher().pendingReply;
    if (!waits)
        watch.arm(limits::kCommand.wait, kSilentDeviceText, static_cast<std::uint8_t>(command + 1));
    ExchangeOutcome outcome =
        send(session, record, command, std::move(payload), limits, std::move(accept));
    if (!waits && outcome.kind != ExchangeOutcome::Kind::Sent)
        watch.disarm();
    return outcome;
}
} // namespace

ExchangeOutcome sendDeviceCommand(ToolSession& session, const DeviceUIInfo& record,
                                  std::uint8_t command, std::vector<std::uint8_t> payload,
                                  std::function<bool(const Reply&)> accept) {
    return sendWatched(session, record, command, std::move(payload), session.oneShotLimits(),
                       std::move(accept));
}

int sendRestartingCommand(ToolSession& session, const DeviceUIInfo& record, std::uint8_t command,
                          const std::string& sentText) {
    if (send(session, record, command, {}, limits::kSendOnly).kind != ExchangeOutcome::Kind::Sent)
        return -1;
    session.port().showMessage(sentText);
    return 0;
}

int commandResult(ToolSession& session, const ExchangeOutcome& outcome) {
    switch (outcome.kind) {
    case ExchangeOutcome::Kind::Sent:
        return 0;
    case ExchangeOutcome::Kind::Reply:
        return outcome.ok() ? 0 : -1;
    case ExchangeOutcome::Kind::Timeout:
        session.port().showMessage(kSilentDeviceText);
        return -1;
    case ExchangeOutcome::Kind::Cancelled:
    case ExchangeOutcome::Kind::SendFailed:
        return -1;
    }
    return -1;
}

} // namespace quorvane
