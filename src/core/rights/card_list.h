#pragma once
// The number field of the rights dialog as a list of cards, and the texts the dialog puts into
// it (the sequential generator, numbers taken from a data file).
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The cards of the number field: split at ';', blanks, CR, LF and TAB, empty pieces dropped,
// order kept.
std::vector<std::string> splitCardList(std::string_view text);

// The number field taken whole as one card (a simulated swipe, a read by card): only the
// separators around it are dropped.
std::string wholeCard(std::string_view text);

// The most numbers one generation makes (a typing slip must not fill the memory).
inline constexpr long kMaxGeneratedCards = 1000000;

// "按顺序批量生成": count lines "%010u" from start upward, each ending in CR LF. Nothing when
// start holds no decimal number or count is not within 1..kMaxGeneratedCards.
std::optional<std::string> generateCardNumbers(std::string_view start, long count);

// Numbers taken from a data file, for the number field: each followed by ";" CR LF.
std::string cardSetText(const std::set<std::string>& cards);

} // namespace quorvane
