#pragma once
// The state dump's JSON: members stay in the order they were added (readers of the dump see
// each module's state as it is written), and bytes travel as one string of lower-case
// hexadecimal digits, two per byte.
#include <string>

#include <nlohmann/json.hpp>

#include "platform/bytes.h"

namespace quorvane::sim {

using Json = nlohmann::ordered_json;

std::string hexText(Bytes bytes);

} // namespace quorvane::sim
