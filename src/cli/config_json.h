#pragma once
// The configuration as data: one member per field of the field table, named by its key, with
// the text the detail text shows for it. A field of a group is an array of its elements; a
// reader setting's field an array over the eight readers. Secrets (the passwords) and raw
// bytes are left out; the option bits come as "options", the numbers of the options set.
#include <nlohmann/json.hpp>

#include "model/device_info.h"

namespace quorvane::cli {

// The door-access block's fields alone.
nlohmann::ordered_json doorBlockJson(Bytes doorBlock);

// The record's basic and extended fields, then its door-access block's.
nlohmann::ordered_json deviceJson(const DeviceUIInfo& record);

} // namespace quorvane::cli
