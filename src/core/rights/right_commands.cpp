#include "rights/right_commands.h"

#include "rights/card_list.h"
#include "rights/right_builder.h"
#include "rights/right_frames.h"
#include "session/device_command.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr unsigned kFirstReader = 1;
constexpr unsigned kLastReader = 8;
constexpr std::uint32_t kDefaultSwipeReader = 5;
} // namespace

int clearRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected) {
    if (!selected) {
        session.port().showMessage("请选择要操作的记录！");
        return -1;
    }
    if (!session.port().askYesNo("确定要清除控制器上所有权限吗？"))
        return -1;
    return commandResult(session, sendDeviceCommand(session, *selected, right_command::kClear));
}

int simulateSwipe(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                  const RightFields& fields) {
    if (!selected) {
        session.port().showMessage("请选择要操作的记录！");
        return -1;
    }
    std::string card = wholeCard(fields.numbers);
    if (card.empty()) {
        session.port().showMessage("需要指定刷卡的卡号以及可用读头！");
        return -1;
    }
    auto words = cardOfText(card, readRightSettings(session.settings()));
    if (auto* error = std::get_if<std::string>(&words)) {
        session.port().showMessage(*error);
        return -1;
    }
    std::uint32_t reader = fields.readers;
    if (reader < kFirstReader || reader > kLastReader) {
        if (!session.port().askYesNo("使用可用读头参数表示要模拟刷卡的读头，正常取值应该是1-8，"
                                     "不在此范围时默认使用读头5，确定要继续吗？"))
            return -1;
        reader = kDefaultSwipeReader;
    }
    auto target = session.prepareDevAddress(selected->ip, &*selected);
    if (!target)
        return -1;
    const auto& c = std::get<CardClassification>(words);
    ExchangeRequest request;
    request.target = *target;
    request.command = right_command::kSwipe;
    request.payload = cardReaderPayload(c.cardHigh, c.cardLow, reader);
    // The controller acts on the swipe as on a card at its reader; nothing waits for an answer.
    auto outcome = session.exchange().run(request, limits::kSendOnly);
    return outcome.kind == ExchangeOutcome::Kind::Sent ? 0 : -1;
}

} // namespace quorvane
