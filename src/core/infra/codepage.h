#pragma once
// Text is UTF-8 inside the program and code page 936 (GBK) at every edge: frames, files,
// settings, the pipe. Byte limits of the controller (15-byte names, 8-byte right names,
// 16-byte padded subtype names) count the GBK form.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// UTF-8 to GBK bytes. Characters GBK cannot hold become '?'.
std::string toGbk(std::string_view utf8);
// UTF-8 to GBK, or nothing when some character has no GBK form.
std::optional<std::string> toGbkStrict(std::string_view utf8);
// The offset of the first byte that is not part of a GBK character; nothing for GBK text.
std::optional<std::size_t> firstNonGbkByte(std::string_view gbk);
// GBK bytes to UTF-8. Invalid or cut sequences become U+FFFD so that any bytes decode.
std::string fromGbk(std::string_view gbk);
// UTF-16 (host order) to GBK, or nothing when a character has no GBK form.
std::optional<std::string> utf16ToGbk(std::u16string_view text);
// UTF-16 (host order) to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// Number of bytes of the GBK form.
std::size_t gbkLength(std::string_view utf8);
// The longest prefix of the GBK bytes that is at most maxBytes long and does not split a
// double-byte character.
std::string gbkCutBytes(std::string_view gbk, std::size_t maxBytes);
// The GBK form of utf8 cut to maxBytes (never splitting a character).
std::string gbkCut(std::string_view utf8, std::size_t maxBytes);
// The GBK form cut to width bytes and padded with zero bytes to exactly width bytes.
std::string gbkPadded(std::string_view utf8, std::size_t width);

} // namespace quorvane
