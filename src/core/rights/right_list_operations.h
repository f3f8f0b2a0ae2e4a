#pragma once
// Add, remove and check the cards of the rights dialog's number field on the selected
// controller (one request per card, see right_batch.h).
#include <optional>

#include "model/device_info.h"
#include "rights/right_batch.h"
#include "rights/right_fields.h"

namespace quorvane {

class ToolSession;

// Command 18 with the right made of each card and the fields (right_builder.h).
RightBatchResult addRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                           const RightFields& fields);
// Command 20 with each card's words.
RightBatchResult removeRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                              const RightFields& fields);
// Command 22 with each card's words and the reader number of the readers field (255 stands
// for reader 5). An empty number field: "请填写要验证的证件号码！".
RightBatchResult checkRights(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                             const RightFields& fields);

// The reader number a check sends for the readers field.
std::uint32_t checkReader(unsigned readersField);

} // namespace quorvane
