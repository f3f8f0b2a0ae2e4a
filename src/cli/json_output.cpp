#include "json_output.h"

#include <cstdio>

namespace quorvane::cli {

namespace {
std::string escapeRawControls(const std::string& document) {
    std::string out;
    out.reserve(document.size());
    for (std::size_t i = 0; i < document.size(); ++i) {
        auto c = static_cast<unsigned char>(document[i]);
        const bool c1 = c == 0xC2 && i + 1 < document.size() &&
                        (static_cast<unsigned char>(document[i + 1]) & 0xE0) == 0x80;
        if (c != 0x7F && !c1) {
            out += document[i];
            continue;
        }
        const unsigned code = c1 ? static_cast<unsigned char>(document[++i]) : c;
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
        out += escaped;
    }
    return out;
}
} // namespace

std::string jsonDocumentText(const nlohmann::ordered_json& document) {
    return escapeRawControls(
        document.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

} // namespace quorvane::cli
