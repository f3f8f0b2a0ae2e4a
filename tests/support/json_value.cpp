#include "json_value.h"

#include <algorithm>
#include <cstdlib>

namespace quorvane::test {

namespace {
const JsonValue& nullValue() {
    static const JsonValue kNull;
    return kNull;
}
} // namespace

bool JsonValue::has(const std::string& key) const {
    for (const auto& k : keys_)
        if (k == key)
            return true;
    return false;
}

const JsonValue& JsonValue::operator[](const std::string& key) const {
    if (kind_ != Kind::Object)
        return nullValue();
    for (std::size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key)
            return items_[i];
    return nullValue();
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
    if (kind_ != Kind::Array || index >= items_.size())
        return nullValue();
    return items_[index];
}

std::size_t JsonValue::size() const {
    return kind_ == Kind::Array || kind_ == Kind::Object ? items_.size() : 0;
}

std::vector<std::string> JsonValue::keys() const {
    return keys_;
}

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : s_(text) {}

    std::optional<JsonValue> document() {
        JsonValue v;
        if (!value(v, 0))
            return std::nullopt;
        space();
        if (pos_ != s_.size()) {
            fail("text after the document");
            return std::nullopt;
        }
        return v;
    }
    std::string error;

  private:
    static constexpr int kDeepest = 64;

    // Records the first reason only: the callers above it fail in turn.
    bool fail(const char* why) {
        if (error.empty())
            error = std::string(why) + " at byte " + std::to_string(pos_);
        return false;
    }

    void space() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\n' || s_[pos_] == '\r' || s_[pos_] == '\t'))
            ++pos_;
    }
    bool eat(char c) {
        space();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool word(std::string_view w) {
        if (s_.substr(pos_, w.size()) != w)
            return false;
        pos_ += w.size();
        return true;
    }

    bool value(JsonValue& v, int depth) {
        if (depth > kDeepest)
            return fail("nested too deep");
        space();
        if (pos_ >= s_.size())
            return fail("end of text where a value belongs");
        char c = s_[pos_];
        if (c == '{')
            return object(v, depth);
        if (c == '[')
            return array(v, depth);
        if (c == '"') {
            v.kind_ = JsonValue::Kind::String;
            return string(v.text_);
        }
        if (word("true") || word("false")) {
            v.kind_ = JsonValue::Kind::Boolean;
            v.boolean_ = c == 't';
            return true;
        }
        if (word("null"))
            return true;
        return number(v);
    }

    bool object(JsonValue& v, int depth) {
        ++pos_;
        v.kind_ = JsonValue::Kind::Object;
        if (eat('}'))
            return true;
        do {
            std::string key;
            space();
            if (!string(key))
                return fail("expected a member name");
            if (!eat(':'))
                return fail("expected :");
            JsonValue item;
            if (!value(item, depth + 1))
                return false;
            v.keys_.push_back(std::move(key));
            v.items_.push_back(std::move(item));
        } while (eat(','));
        return eat('}') || fail("expected , or }");
    }

    bool array(JsonValue& v, int depth) {
        ++pos_;
        v.kind_ = JsonValue::Kind::Array;
        if (eat(']'))
            return true;
        do {
            JsonValue item;
            if (!value(item, depth + 1))
                return false;
            v.items_.push_back(std::move(item));
        } while (eat(','));
        return eat(']') || fail("expected , or ]");
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?, nothing looser.
    bool number(JsonValue& v) {
        const std::size_t start = pos_;
        auto digits = [this] {
            const std::size_t from = pos_;
            while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9')
                ++pos_;
            return pos_ - from;
        };
        auto next = [this](std::string_view set) {
            return pos_ < s_.size() && set.find(s_[pos_]) != std::string_view::npos;
        };
        if (next("-"))
            ++pos_;
        if (next("0"))
            ++pos_;
        else if (digits() == 0)
            return fail("not a value");
        if (next(".") && (++pos_, digits() == 0))
            return fail("no digits after the point");
        if (next("eE")) {
            ++pos_;
            if (next("+-"))
                ++pos_;
            if (digits() == 0)
                return fail("no digits in the exponent");
        }
        v.number_ = std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
        v.kind_ = JsonValue::Kind::Number;
        return true;
    }

    static void putUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    bool hex4(unsigned& out) {
        if (pos_ + 4 > s_.size())
            return false;
        out = 0;
        for (int i = 0; i < 4; ++i) {
            char c = s_[pos_++];
            out <<= 4;
            if (c >= '0' && c <= '9')
                out |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                out |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                out |= unsigned(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    bool string(std::string& out) {
        if (pos_ >= s_.size() || s_[pos_] != '"')
            return false;
        ++pos_;
        while (pos_ < s_.size()) {
            char c = s_[pos_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return fail("raw control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size())
                return false;
            char e = s_[pos_++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned cp = 0;
                if (!hex4(cp))
                    return fail("bad \\u escape");
                if (cp >= 0xD800 && cp < 0xDC00) { // a surrogate pair
                    unsigned low = 0;
                    if (!word("\\u") || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                        return fail("bad surrogate pair");
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                putUtf8(out, cp);
                break;
            }
            default:
                return fail("bad escape");
            }
        }
        return fail("unterminated string");
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

std::optional<JsonValue> parseJson(std::string_view text, std::string* error) {
    JsonParser parser(text);
    auto v = parser.document();
    if (!v && error)
        *error = parser.error;
    return v;
}

} // namespace quorvane::test
