#pragma once
#include <cstdint>

namespace quorvane {
// Each nibble through a fixed substitution table (positions kept), XOR with the key, then a
// left rotation by key mod 32. Used for the operation-password field and site-code cards.
std::uint32_t scramble(std::uint32_t word, std::uint32_t key);
} // namespace quorvane
