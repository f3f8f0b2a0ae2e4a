#pragma once
// A right file: one right per line in the text form (GBK), as the download writes it. Each
// card is sent once, with the last line that names it, and the cards go out in ascending
// order of their text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rights/right_batch.h"
#include "rights/right_settings.h"

namespace quorvane {

// Lines longer than this are not right lines (the reader's line buffer holds 1,023 bytes).
inline constexpr std::size_t kRightLineLimit = 1023;

struct RightFileContent {
    std::vector<RightItem> items; // ascending by the card text's GBK bytes; payloads of command 18
    long lines = 0;               // lines that were not empty
    long refused = 0;             // of those, lines that are not rights
    std::string firstRefusal;     // the message for the first of them
};

// Reads the file's bytes. Empty lines are skipped; a line that is not a right (or has no
// card) is counted as refused. A non-zero site code scrambles the card words.
RightFileContent readRightFile(std::string_view gbkBytes, const RightSettings& settings);

} // namespace quorvane
