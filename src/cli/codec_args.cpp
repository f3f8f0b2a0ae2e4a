#include "codec_args.h"

#include "hex_arg.h"

namespace quorvane::cli {

std::optional<std::vector<std::uint8_t>> hexArgument(const Args& words) {
    std::string joined;
    for (const auto& w : words)
        joined += w;
    auto bytes = parseHexArg(joined);
    if (!bytes || bytes->empty())
        return std::nullopt;
    return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

std::optional<std::uint32_t> wordArgument(const std::string& text) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string_view digits = std::string_view(text).substr(hex ? 2 : 0);
    if (digits.empty())
        return std::nullopt;
    std::uint64_t v = 0;
    for (char c : digits) {
        int d = c >= '0' && c <= '9'          ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
        if (d < 0)
            return std::nullopt;
        v = v * (hex ? 16 : 10) + unsigned(d);
        if (v > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(v);
}

} // namespace quorvane::cli
