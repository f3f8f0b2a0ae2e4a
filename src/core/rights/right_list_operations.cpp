#include "rights/right_list_operations.h"

#include "rights/card_list.h"
#include "rights/right_builder.h"
#include "rights/right_frames.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {

constexpr unsigned kAnyReader = 255;
constexpr std::uint32_t kDefaultReader = 5;

// The cards of the number field with their payloads; the first text that is not a card is
// named in a message (every such text lands on the failure list).
template <class MakePayload>
std::vector<RightItem> itemsOf(ToolSession& session, const RightFields& fields,
                               MakePayload&& makePayload) {
    const RightSettings settings = readRightSettings(session.settings());
    std::vector<RightItem> items;
    std::string firstError;
    for (auto& card : splitCardList(fields.numbers)) {
        auto words = cardOfText(card, settings);
        RightItem item;
        if (auto* c = std::get_if<CardClassification>(&words))
            item.payload = makePayload(*c, settings);
        else if (firstError.empty())
            firstError = std::get<std::string>(words);
        item.card = std::move(card);
        items.push_back(std::move(item));
    }
    if (!firstError.empty())
        session.port().showMessage(firstError);
    return items;
}

template <class MakePayload>
RightBatchResult runList(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                         const RightFields& fields, RightBatchKind kind, const char* emptyText,
                         MakePayload&& makePayload) {
    if (!selected) {
        session.port().showMessage("请选择要操作的记录！");
        return {};
    }
    auto items = itemsOf(session, fields, makePayload);
    if (items.empty()) {
        session.port().showMessage(emptyText);
        return {};
    }
    return runRightBatch(session, *selected, kind, items);
}

} // namespace

std::uint32_t checkReader(unsigned readersField) {
    return readersField == kAnyReader ? kDefaultReader : readersField;
}

RightBatchResult addRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                           const RightFields& fields) {
    return runList(session, selected, fields, RightBatchKind::Add, "请填写要操作的号码！",
                   [&fields](const CardClassification& c, const RightSettings& s) {
                       return addPayload(buildRight(c, fields, s), s.rightMode);
                   });
}

RightBatchResult removeRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                              const RightFields& fields) {
    return runList(session, selected, fields, RightBatchKind::Remove, "请填写要操作的号码！",
                   [](const CardClassification& c, const RightSettings&) {
                       return cardPayload(c.cardHigh, c.cardLow);
                   });
}

RightBatchResult checkRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                             const RightFields& fields) {
    const std::uint32_t reader = checkReader(fields.readers);
    return runList(session, selected, fields, RightBatchKind::Check, "请填写要验证的证件号码！",
                   [reader](const CardClassification& c, const RightSettings&) {
                       return cardReaderPayload(c.cardHigh, c.cardLow, reader);
                   });
}

} // namespace quorvane
