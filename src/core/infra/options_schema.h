#pragma once
// The options editor's schema, ".\options.ini": which INI files, sections and keys the editor
// shows, with a display name, a description and a value type for each key. The editor itself
// only displays the rows; reading the schema and writing edited rows back live here.
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "infra/settings.h"

namespace quorvane {

enum class OptionKind { Enumeration, Integer, File, Directory, Limit, Color, Font, Text };

struct OptionChoice {
    std::string value; // what the file stores
    std::string label; // what the editor shows
};

struct OptionType {
    OptionKind kind = OptionKind::Text;
    std::vector<OptionChoice> choices; // Enumeration
    long long minimum = LLONG_MIN;     // Integer; a bound the text leaves out stays open
    long long maximum = LLONG_MAX;
    std::size_t maxLength = 0; // Limit; 0 when the text names no length
};

// The value an enumeration stores for a label that is not among its choices.
inline constexpr std::string_view kInvalidOptionValue = "999999-INVALID_OPTION_KEY";
// The face a font row shows when the file holds none.
inline constexpr std::string_view kDefaultFontFace = "宋体";
// The only characters an integer row accepts.
inline constexpr std::string_view kIntegerCharacters = "0123456789-.";

// Reads the `option` text of a key: "{v:label,...}", "integer:min,max", "file:...", "dir:...",
// "limit:...", "color...", "font", anything else is free text; tested in that order.
OptionType parseOptionType(std::string_view option);
// The label of a stored value; empty when the value is not among the choices.
std::string choiceLabel(const OptionType& type, std::string_view value);
// The stored value of a label; kInvalidOptionValue when the label is not among the choices.
std::string choiceValue(const OptionType& type, std::string_view label);
// True when every character of text is one an integer row accepts.
bool integerTextAllowed(std::string_view text);

struct OptionRow {
    std::string file; // the INI file as the schema names it, e.g. ".\config.ini"
    std::string section;
    std::string key;
    std::string name; // display name; empty: the key is shown
    std::string desc;
    std::string option;
    OptionType type;
    std::string value;  // as read from the file, or as last written
    std::string edited; // what the editor holds now

    const std::string& displayName() const { return name.empty() ? key : name; }
    bool changed() const { return edited != value; }
};

struct OptionGroup {
    std::string file;
    std::string section;
    std::vector<OptionRow> rows;
};

// Every file, section and key the schema in `schemaFile` lists, with each key's current value
// (edited starts equal to it).
std::vector<OptionGroup> readOptionsSchema(const Settings& settings,
                                           std::string_view schemaFile = kOptionsIni);

struct OptionWriteResult {
    int written = 0;
    bool ok = true; // false when any write failed
};
// Writes every changed row back to its file and section; a written row's value becomes its
// edited text, a failed one stays changed.
OptionWriteResult writeChangedOptions(const Settings& settings, std::vector<OptionGroup>& groups);

} // namespace quorvane
