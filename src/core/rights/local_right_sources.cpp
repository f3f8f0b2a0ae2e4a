#include "rights/local_right_sources.h"

namespace quorvane {

namespace {

constexpr std::size_t kTemplateNumberField = 15; // the 16th field, from 0

// Pieces of text between any of the separators, empty ones dropped.
std::vector<std::string_view> pieces(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(separators, pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > pos)
            out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::string_view trimmed(std::string_view s, std::string_view chars) {
    std::size_t first = s.find_first_not_of(chars);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(chars) - first + 1);
}

} // namespace

std::vector<std::string> localRightSourceNames(const std::string& templatePath) {
    return {"从带格式文件" + templatePath + "提取卡号",
            "从软件目录中的带格式文件 白名单.txt 提取卡号",
            "从软件目录ids.txt提取卡号（每行一个卡号）", "用户指定卡号文件（每行一个卡号）"};
}

std::vector<std::string> templateNumbers(std::string_view text) {
    std::vector<std::string> numbers;
    for (std::string_view line : pieces(text, "\r\n")) {
        auto fields = pieces(line, "\r\n\t|");
        if (fields.size() > kTemplateNumberField)
            numbers.emplace_back(fields[kTemplateNumberField]);
    }
    return numbers;
}

std::vector<std::string> whitelistNumbers(std::string_view text) {
    std::vector<std::string> numbers;
    for (std::string_view line : pieces(text, "\r\n")) {
        auto fields = pieces(line, "=;");
        if (fields.empty())
            continue;
        std::string_view number = trimmed(fields.front(), "=\t\r\n ;:|");
        if (!number.empty())
            numbers.emplace_back(number);
    }
    return numbers;
}

std::vector<std::string> numberFileNumbers(std::string_view text) {
    std::vector<std::string> numbers;
    for (std::string_view line : pieces(text, "\r\n")) {
        // Blanks around a number are an editor's leftovers, not part of the card.
        std::string_view n = trimmed(line, " \t");
        if (!n.empty())
            numbers.emplace_back(n);
    }
    return numbers;
}

} // namespace quorvane
