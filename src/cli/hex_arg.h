#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::cli {
// The bytes of a hexadecimal argument; spaces are ignored. Nothing for an odd digit count or a
// character that is not a hexadecimal digit.
std::optional<std::string> parseHexArg(std::string_view text);
} // namespace quorvane::cli
