#pragma once
// A strict JSON reader (RFC 8259) for tests: parses a whole document into a tree of values and
// refuses trailing text, raw control characters in strings, loose number spellings and every
// other syntax error, so a test of machine output can trust "it parsed". Looking up a missing
// member or index gives a null value, so a test can write dump["a"]["b"][0].str() and check the
// result instead of guarding every step.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::test {

class JsonValue {
  public:
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }
    bool has(const std::string& key) const;
    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](std::size_t index) const;
    // Elements of an array or members of an object; 0 otherwise.
    std::size_t size() const;
    // The text of a string, the empty text otherwise.
    const std::string& str() const { return text_; }
    // A number (0 otherwise), as an integer when it is one.
    double number() const { return number_; }
    std::int64_t integer() const { return static_cast<std::int64_t>(number_); }
    bool boolean() const { return boolean_; }
    // Member names of an object in text order.
    std::vector<std::string> keys() const;

  private:
    friend class JsonParser;
    Kind kind_ = Kind::Null;
    bool boolean_ = false;
    double number_ = 0;
    std::string text_;
    std::vector<JsonValue> items_;
    std::vector<std::string> keys_; // object members: keys_[i] names items_[i]
};

// The document, or nothing when the text is not one JSON value (with nothing but white space
// after it); then error, when given, holds the reason and the byte where it was found.
std::optional<JsonValue> parseJson(std::string_view text, std::string* error = nullptr);

} // namespace quorvane::test
