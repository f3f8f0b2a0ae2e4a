#pragma once
// A read-only handle on a JSON document for tests, parsed by nlohmann-json (strict: trailing
// text, raw control characters in strings and loose number spellings are refused, so a test of
// machine output can trust "it parsed"). Looking up a missing member or index gives a null
// value, so a test can write dump["a"]["b"][0].str() and check the result instead of guarding
// every step; every handle keeps the whole document alive.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace quorvane::test {

class JsonValue {
  public:
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    JsonValue() = default;
    explicit JsonValue(nlohmann::json document);

    Kind kind() const;
    bool isNull() const { return kind() == Kind::Null; }
    bool has(const std::string& key) const;
    JsonValue operator[](const std::string& key) const;
    JsonValue operator[](std::size_t index) const;
    // Elements of an array or members of an object; 0 otherwise.
    std::size_t size() const;
    // The text of a string, the empty text otherwise.
    std::string str() const;
    // A number (0 otherwise), as an integer when it is one.
    double number() const;
    std::int64_t integer() const { return static_cast<std::int64_t>(number()); }
    bool boolean() const { return node_ && node_->is_boolean() && node_->get<bool>(); }

  private:
    JsonValue(std::shared_ptr<const nlohmann::json> root, const nlohmann::json* node)
        : root_(std::move(root)), node_(node) {}

    std::shared_ptr<const nlohmann::json> root_;
    const nlohmann::json* node_ = nullptr; // inside *root_; null for a missing value
};

// The document, or nothing when the text is not one JSON value (with nothing but white space
// after it); then error, when given, holds the reason.
std::optional<JsonValue> parseJson(std::string_view text, std::string* error = nullptr);

} // namespace quorvane::test
