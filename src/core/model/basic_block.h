#pragma once
// The record and its basic/extended block: getUIInfoFromMsg and encodeBasicBlock (declared with
// the record) walk the field table, each basic or extended field filling or taken from the
// DeviceUIInfo member it names.
#include <string>

#include "model/config_field.h"
#include "model/device_info.h"

namespace quorvane {

// The text the record holds for a basic or extended field, as readText shows it in a block:
// enumeration texts, numbers, addresses and texts as the record keeps them. Empty for a field
// that no record member holds (sums, door-access fields).
std::string recordFieldText(const DeviceUIInfo& record, const ConfigField& field);

} // namespace quorvane
