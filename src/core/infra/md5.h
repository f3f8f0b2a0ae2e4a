#pragma once
#include <string>
#include <string_view>

namespace quorvane {
// RFC 1321 digest of the bytes, as 32 lower-case hexadecimal characters.
std::string md5Hex(std::string_view bytes);
} // namespace quorvane
