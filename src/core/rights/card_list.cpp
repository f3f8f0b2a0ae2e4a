#include "rights/card_list.h"

#include <cstdio>

namespace quorvane {

namespace {
constexpr std::string_view kSeparators = "; \r\n\t";
} // namespace

std::vector<std::string> splitCardList(std::string_view text) {
    std::vector<std::string> cards;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(kSeparators, pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > pos)
            cards.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return cards;
}

std::string wholeCard(std::string_view text) {
    std::size_t first = text.find_first_not_of(kSeparators);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(kSeparators);
    return std::string(text.substr(first, last - first + 1));
}

std::optional<std::string> generateCardNumbers(std::string_view start, long count) {
    if (count <= 0 || count > kMaxGeneratedCards)
        return std::nullopt;
    std::size_t i = 0;
    while (i < start.size() && (start[i] == ' ' || start[i] == '\t'))
        ++i;
    if (i == start.size() || start[i] < '0' || start[i] > '9')
        return std::nullopt;
    // Read as the unsigned 32-bit number the "%010u" lines count up from.
    std::uint32_t value = 0;
    for (; i < start.size() && start[i] >= '0' && start[i] <= '9'; ++i)
        value = value * 10 + static_cast<std::uint32_t>(start[i] - '0');
    std::string out;
    out.reserve(static_cast<std::size_t>(count) * 12);
    for (long n = 0; n < count; ++n) {
        char line[16];
        std::snprintf(line, sizeof line, "%010u\r\n", static_cast<unsigned>(value + n));
        out += line;
    }
    return out;
}

std::string cardSetText(const std::set<std::string>& cards) {
    std::string out;
    for (const auto& c : cards)
        out += c + ";\r\n";
    return out;
}

} // namespace quorvane
