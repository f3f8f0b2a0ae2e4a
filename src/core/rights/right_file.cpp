#include "rights/right_file.h"

#include <map>

#include "infra/codepage.h"
#include "rights/right_frames.h"
#include "rights/right_text.h"

namespace quorvane {

RightFileContent readRightFile(std::string_view bytes, const RightSettings& settings) {
    RightFileContent content;
    std::map<std::string, RightItem> byCard; // GBK card text: byte-wise order
    const RightTextOptions options = settings.textOptions();
    auto refuse = [&content](std::string message) {
        if (content.refused++ == 0)
            content.firstRefusal = std::move(message);
    };
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view raw = bytes.substr(pos, end - pos);
        pos = end + 1;
        while (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.empty())
            continue;
        ++content.lines;
        std::string line = fromGbk(raw);
        if (raw.size() > kRightLineLimit) {
            refuse(invalidRightLineMessage(line.substr(0, 64)));
            continue;
        }
        auto card = rightLineCardText(line);
        auto right = parseRightText(line, options, settings.siteCode);
        if (auto* error = std::get_if<std::string>(&right)) {
            refuse(*error);
            continue;
        }
        if (!card || card->empty()) {
            refuse(invalidRightLineMessage(line));
            continue;
        }
        RightItem& item = byCard[toGbk(*card)];
        item.card = *card;
        item.payload = addPayload(std::get<xRight>(right), settings.rightMode);
    }
    content.items.reserve(byCard.size());
    for (auto& [key, item] : byCard)
        content.items.push_back(std::move(item));
    return content;
}

} // namespace quorvane
