#include "rights/right_reads.h"

#include "rights/card_list.h"
#include "rights/right_builder.h"
#include "rights/right_frames.h"
#include "rights/right_replies.h"
#include "rights/right_text.h"
#include "session/device_command.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {

RightReadResult send(ToolSession& session, const DeviceUIInfo& device, std::uint8_t command,
                     std::vector<std::uint8_t> payload, bool withPosition,
                     std::function<bool(const Reply&)> accept = {}) {
    installRightReplies(session);
    RightReadResult result;
    ExchangeOutcome outcome =
        sendDeviceCommand(session, device, command, std::move(payload), std::move(accept));
    result.rc = commandResult(session, outcome);
    if (outcome.ok()) {
        const auto options = readRightSettings(session.settings()).textOptions();
        if (!holdsWholeRight(outcome.reply->payload, withPosition, options.rightMode))
            result.rc = -1;
        else
            result.line = formatRightReply(outcome.reply->payload, withPosition, options, true);
    }
    return result;
}

} // namespace

RightReadResult readRightAt(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                            long position, bool searchForward) {
    if (!selected) {
        session.port().showMessage("请选择要操作的设备！");
        return {};
    }
    return send(session, *selected, right_command::kReadAt,
                positionPayload(static_cast<std::uint32_t>(position), searchForward), true);
}

RightReadResult readRightOfCard(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                                const std::string& card) {
    if (!selected) {
        session.port().showMessage("请选择要操作的设备！");
        return {};
    }
    auto words = cardOfText(wholeCard(card), readRightSettings(session.settings()));
    if (auto* error = std::get_if<std::string>(&words)) {
        session.port().showMessage(*error);
        return {};
    }
    const auto& c = std::get<CardClassification>(words);
    auto asked = cardPayload(c.cardHigh, c.cardLow);
    // A late reply to an earlier read names another card: it is not this read's answer.
    auto namesThisCard = [asked](const Reply& r) { return answersReadOfCard(r, asked); };
    return send(session, *selected, right_command::kReadOfCard, asked, false, namesThisCard);
}

} // namespace quorvane
