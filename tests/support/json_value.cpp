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
        if (pos_ != s_.size())
            return std::nullopt;
        return v;
    }

  private:
    static constexpr int kDeepest = 64;

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
            return false;
        space();
        if (pos_ >= s_.size())
            return false;
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
            if (!string(key) || !eat(':'))
                return false;
            JsonValue item;
            if (!value(item, depth + 1))
                return false;
            v.keys_.push_back(std::move(key));
            v.items_.push_back(std::move(item));
        } while (eat(','));
        return eat('}');
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
        return eat(']');
    }

    bool number(JsonValue& v) {
        std::size_t start = pos_;
        while (pos_ < s_.size() &&
               std::string_view("+-0123456789.eE").find(s_[pos_]) != std::string_view::npos)
            ++pos_;
        std::string lexeme(s_.substr(start, pos_ - start));
        if (lexeme.empty())
            return false;
        char* end = nullptr;
        v.number_ = std::strtod(lexeme.c_str(), &end);
        v.kind_ = JsonValue::Kind::Number;
        return *end == '\0';
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
                return false;
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
                    return false;
                if (cp >= 0xD800 && cp < 0xDC00) { // a surrogate pair
                    unsigned low = 0;
                    if (!word("\\u") || !hex4(low) || low < 0xDC00 || low >= 0xE000)
                        return false;
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                putUtf8(out, cp);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

std::optional<JsonValue> parseJson(std::string_view text) {
    return JsonParser(text).document();
}

} // namespace quorvane::test
