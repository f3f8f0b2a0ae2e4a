#include "infra/options_schema.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace quorvane {
namespace {

constexpr std::size_t kSchemaTextBuffer = 1024;

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

// A decimal number as the C reader takes it: blanks, a sign, digits; nothing without digits.
std::optional<long long> decimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return std::nullopt;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > (LLONG_MAX - 9) / 10)
            return negative ? LLONG_MIN : LLONG_MAX;
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

std::string sectionName(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string s(a);
    s += '$';
    s += b;
    if (!c.empty()) {
        s += '$';
        s += c;
    }
    return s;
}

} // namespace

OptionType parseOptionType(std::string_view option) {
    OptionType type;
    if (option.size() >= 2 && option.front() == '{' && option.back() == '}') {
        type.kind = OptionKind::Enumeration;
        std::string_view inner = option.substr(1, option.size() - 2);
        if (inner.empty())
            return type;
        for (std::string_view item : split(inner, ',')) {
            std::size_t colon = item.find(':');
            if (colon == std::string_view::npos)
                type.choices.push_back({std::string(item), std::string(item)});
            else
                type.choices.push_back(
                    {std::string(item.substr(0, colon)), std::string(item.substr(colon + 1))});
        }
    } else if (startsWith(option, "integer:")) {
        type.kind = OptionKind::Integer;
        auto bounds = split(option.substr(8), ',');
        if (auto low = decimal(bounds[0]))
            type.minimum = *low;
        if (bounds.size() > 1)
            if (auto high = decimal(bounds[1]))
                type.maximum = *high;
    } else if (startsWith(option, "file:")) {
        type.kind = OptionKind::File;
    } else if (startsWith(option, "dir:")) {
        type.kind = OptionKind::Directory;
    } else if (startsWith(option, "limit:")) {
        type.kind = OptionKind::Limit;
        if (auto length = decimal(option.substr(6)); length && *length > 0)
            type.maxLength = static_cast<std::size_t>(*length);
    } else if (startsWith(option, "color")) {
        type.kind = OptionKind::Color;
    } else if (option == "font") {
        type.kind = OptionKind::Font;
    }
    return type;
}

std::string choiceLabel(const OptionType& type, std::string_view value) {
    auto it = std::find_if(type.choices.begin(), type.choices.end(),
                           [&](const OptionChoice& c) { return c.value == value; });
    return it != type.choices.end() ? it->label : std::string();
}

std::string choiceValue(const OptionType& type, std::string_view label) {
    auto it = std::find_if(type.choices.begin(), type.choices.end(),
                           [&](const OptionChoice& c) { return c.label == label; });
    return it != type.choices.end() ? it->value : std::string(kInvalidOptionValue);
}

bool integerTextAllowed(std::string_view text) {
    return text.find_first_not_of(kIntegerCharacters) == std::string_view::npos;
}

std::vector<OptionGroup> readOptionsSchema(const Settings& settings, std::string_view schemaFile) {
    std::vector<OptionGroup> groups;
    for (const auto& file : settings.readList("common", "files", schemaFile)) {
        for (const auto& section : settings.readList(file, "sections", schemaFile)) {
            OptionGroup group{file, section, {}};
            for (const auto& key :
                 settings.readList(sectionName(file, section), "keys", schemaFile)) {
                const std::string rowSection = sectionName(file, section, key);
                OptionRow row;
                row.file = file;
                row.section = section;
                row.key = key;
                row.name =
                    settings.readString(rowSection, "name", "", kSchemaTextBuffer, schemaFile);
                row.desc =
                    settings.readString(rowSection, "desc", "", kSchemaTextBuffer, schemaFile);
                row.option =
                    settings.readString(rowSection, "option", "", kSchemaTextBuffer, schemaFile);
                row.type = parseOptionType(row.option);
                row.value = settings.readString(section, key, "", kSchemaTextBuffer, file);
                row.edited = row.value;
                group.rows.push_back(std::move(row));
            }
            groups.push_back(std::move(group));
        }
    }
    return groups;
}

OptionWriteResult writeChangedOptions(const Settings& settings, std::vector<OptionGroup>& groups) {
    OptionWriteResult result;
    for (auto& group : groups) {
        for (auto& row : group.rows) {
            if (!row.changed())
                continue;
            if (settings.writeString(row.section, row.key, row.edited, row.file)) {
                row.value = row.edited;
                ++result.written;
            } else {
                result.ok = false;
            }
        }
    }
    return result;
}

} // namespace quorvane
