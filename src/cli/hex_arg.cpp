#include "hex_arg.h"

namespace quorvane::cli {

std::optional<std::string> parseHexArg(std::string_view text) {
    std::string out;
    int pending = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            return std::nullopt;
        if (pending < 0) {
            pending = v;
        } else {
            out.push_back(static_cast<char>(pending * 16 + v));
            pending = -1;
        }
    }
    if (pending >= 0)
        return std::nullopt;
    return out;
}

} // namespace quorvane::cli
