#include "infra/shown_text.h"

namespace quorvane {

std::string shownText(std::string_view utf8, std::size_t limit) {
    bool cut = utf8.size() > limit;
    if (cut) {
        std::size_t end = limit;
        while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end;
        utf8 = utf8.substr(0, end);
    }
    std::string out;
    out.reserve(utf8.size() + 3);
    for (char c : utf8) {
        auto b = static_cast<unsigned char>(c);
        out.push_back((b < 0x20 && c != '\t') || b == 0x7F ? '?' : c);
    }
    if (cut)
        out += "…";
    return out;
}

} // namespace quorvane
