#include "codec_args.h"

namespace quorvane::cli {

std::optional<std::vector<std::uint8_t>> hexArgument(const Args& words) {
    std::string digits;
    for (const auto& w : words)
        for (char c : w)
            if (c != ' ' && c != '\t') digits += c;
    if (digits.empty() || digits.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        unsigned v = 0;
        for (char c : {digits[i], digits[i + 1]}) {
            int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
            if (d < 0) return std::nullopt;
            v = v * 16 + unsigned(d);
        }
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

std::optional<std::uint32_t> wordArgument(const std::string& text) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string_view digits = std::string_view(text).substr(hex ? 2 : 0);
    if (digits.empty()) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : digits) {
        int d = c >= '0' && c <= '9'           ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
        if (d < 0) return std::nullopt;
        v = v * (hex ? 16 : 10) + unsigned(d);
        if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<std::uint32_t>(v);
}

} // namespace quorvane::cli
