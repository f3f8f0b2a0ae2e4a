#include "json_value.h"

namespace quorvane::test {

JsonValue::JsonValue(nlohmann::json document)
    : root_(std::make_shared<const nlohmann::json>(std::move(document))), node_(root_.get()) {}

JsonValue::Kind JsonValue::kind() const {
    if (!node_ || node_->is_null())
        return Kind::Null;
    if (node_->is_boolean())
        return Kind::Boolean;
    if (node_->is_number())
        return Kind::Number;
    if (node_->is_string())
        return Kind::String;
    return node_->is_array() ? Kind::Array : Kind::Object;
}

bool JsonValue::has(const std::string& key) const {
    return node_ && node_->is_object() && node_->contains(key);
}

JsonValue JsonValue::operator[](const std::string& key) const {
    if (!has(key))
        return {};
    return {root_, &node_->at(key)};
}

JsonValue JsonValue::operator[](std::size_t index) const {
    if (!node_ || !node_->is_array() || index >= node_->size())
        return {};
    return {root_, &node_->at(index)};
}

std::size_t JsonValue::size() const {
    return node_ && (node_->is_array() || node_->is_object()) ? node_->size() : 0;
}

std::string JsonValue::str() const {
    return node_ && node_->is_string() ? node_->get<std::string>() : std::string();
}

double JsonValue::number() const {
    return node_ && node_->is_number() ? node_->get<double>() : 0;
}

std::optional<JsonValue> parseJson(std::string_view text, std::string* error) {
    try {
        return JsonValue(nlohmann::json::parse(text));
    } catch (const nlohmann::json::parse_error& e) {
        if (error)
            *error = e.what();
        return std::nullopt;
    }
}

} // namespace quorvane::test
