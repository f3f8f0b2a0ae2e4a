#pragma once
// Texts meant for a person (messages, result files, logs) that carry bytes from outside: a
// card text typed or read from a file, a name from a controller, a request from a pipe client.
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane {

// Card texts and names in messages and logs; result-file lines get the larger room.
inline constexpr std::size_t kShownTextLimit = 256;
inline constexpr std::size_t kShownLineLimit = 1024;

// Control characters (tab aside) become '?', so no text can move a terminal's cursor or hide
// in a file; past limit bytes the text is cut at a character boundary and "…" follows.
std::string shownText(std::string_view utf8, std::size_t limit = kShownTextLimit);

} // namespace quorvane
