#pragma once
// A small JSON writer for the state dump: objects and arrays nest, commas and indentation are
// placed by the writer, strings are escaped (they must be UTF-8).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/bytes.h"

namespace quorvane::sim {

class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The key of the next value inside an object.
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& boolean(bool flag);
    JsonWriter& null();
    // Bytes as one string of lower-case hexadecimal digits, two per byte.
    JsonWriter& hex(Bytes bytes);

    // Shorthands for a key and its value.
    template <class T> JsonWriter& field(std::string_view name, const T& v) {
        return key(name).value(v);
    }

    const std::string& text() const { return out_; }

  private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);
    std::string out_;
    std::vector<bool> first_; // per open bracket: nothing written inside it yet
    bool afterKey_ = false;
};

} // namespace quorvane::sim
