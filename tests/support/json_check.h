#pragma once
// A strict reader of one JSON document (RFC 8259), for tests of machine output: it refuses
// trailing text, raw control characters in strings and every other syntax error.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::test {

struct StrictJson {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    std::string text; // a string's value (UTF-8) or a number's spelling
    std::vector<StrictJson> items;
    std::map<std::string, StrictJson> members;
};

// The document, or nothing with the reason in error.
std::optional<StrictJson> parseStrictJson(const std::string& document, std::string* error = nullptr);

} // namespace quorvane::test
