#pragma once
// Reading the byte and number arguments of the offline decoders.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli_context.h"

namespace quorvane::cli {

// The words as one hexadecimal string (spaces ignored); nothing when a character is not a
// hexadecimal digit or the count of digits is odd.
std::optional<std::vector<std::uint8_t>> hexArgument(const Args& words);
// Decimal, or hexadecimal with a 0x prefix; nothing beyond 32 bits.
std::optional<std::uint32_t> wordArgument(const std::string& text);

} // namespace quorvane::cli
