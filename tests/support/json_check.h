#pragma once
// A strict reader of one JSON document (RFC 8259), for tests of machine output: it refuses
// trailing text, raw control characters in strings and every other syntax error.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    std::string text; // a string's value (UTF-8) or a number's spelling
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;
};

// The document, or nothing with the reason in error.
std::optional<JsonValue> parseJson(const std::string& document, std::string* error = nullptr);

} // namespace quorvane::test
