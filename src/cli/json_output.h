#pragma once
// A JSON document as quorvane-cli prints it: indented by one space, invalid UTF-8 replaced,
// and DEL and the C1 controls escaped (the terminal filter would turn them into "?"), so the
// document keeps them and holds no byte a terminal acts on.
#include <string>

#include <nlohmann/json.hpp>

namespace quorvane::cli {

std::string jsonDocumentText(const nlohmann::ordered_json& document);

} // namespace quorvane::cli
