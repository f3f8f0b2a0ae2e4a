#include "textcmd/text_variables.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "infra/clock.h"

namespace quorvane {

namespace {
constexpr std::string_view kSeqOpen = "{SEQ";

// atoi's reading: blanks, a sign, digits; stops at the first other character. A value
// beyond int saturates, which atoi leaves undefined.
long long leadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i])))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long v = 0;
    constexpr long long kLimit = std::numeric_limits<int>::max();
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i)
        v = std::min(kLimit + 1, v * 10 + (s[i] - '0'));
    return negative ? -v : std::min(v, kLimit);
}

std::string fiveDigits(std::uint16_t id) {
    std::string digits = std::to_string(id);
    return std::string(5 - digits.size(), '0') + digits;
}

// A variable's one value for this target, drawn only when the text holds it.
std::string withValue(const std::string& text, std::string_view token,
                      const std::function<std::string()>& value) {
    if (text.find(token) == std::string::npos)
        return text;
    return replaceAll(text, token, value());
}
} // namespace

std::string replaceAll(std::string_view text, std::string_view token,
                       std::string_view replacement) {
    if (token.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.substr(i, token.size()) == token) {
            out += replacement;
            i += token.size();
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

std::optional<TextSequence> TextSequence::find(std::string_view command) {
    const std::size_t open = command.find(kSeqOpen);
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::size_t close = command.find('}', open + kSeqOpen.size());
    if (close == std::string_view::npos)
        return std::nullopt;
    TextSequence s;
    s.token = std::string(command.substr(open, close - open + 1));
    s.next = leadingNumber(command.substr(open + kSeqOpen.size()));
    return s;
}

std::string expandVariables(std::string_view command, std::uint16_t targetId,
                            std::optional<TextSequence>& sequence, const Clock& clock,
                            const TextRandom& random) {
    std::string text(command);
    text = withValue(text, "{DEVID_LAST2}", [&] { return fiveDigits(targetId).substr(3); });
    // %w: the day of the week, 0 for Sunday.
    text = withValue(text, "{SYSTIME}", [&] { return clock.format("%Y-%m-%d %H:%M:%S %w"); });
    text = withValue(text, "{RAND1}", [&] { return std::to_string(random() % 256u); });
    text = withValue(text, "{RAND2}", [&] { return std::to_string(random() % 65536u); });
    text = withValue(text, "{RAND4}", [&] { return std::to_string(random()); });
    text = withValue(text, "{DEVID}", [&] { return fiveDigits(targetId); });
    if (sequence && sequence->next >= 0) {
        text = replaceAll(text, sequence->token, std::to_string(sequence->next));
        ++sequence->next;
    }
    return text;
}

} // namespace quorvane
