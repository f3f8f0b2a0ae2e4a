#include "json_check.h"

namespace quorvane::test {
namespace {

class Reader {
  public:
    explicit Reader(const std::string& s) : s_(s) {}

    std::optional<StrictJson> document() {
        auto v = value();
        skipSpace();
        if (v && pos_ != s_.size())
            return fail("text after the document");
        return v;
    }
    std::string error;

  private:
    std::optional<StrictJson> fail(const std::string& why) {
        if (error.empty())
            error = why + " at byte " + std::to_string(pos_);
        return std::nullopt;
    }
    void skipSpace() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool literal(const char* word) {
        std::string w(word);
        if (s_.compare(pos_, w.size(), w) != 0)
            return false;
        pos_ += w.size();
        return true;
    }

    std::optional<StrictJson> value() {
        skipSpace();
        if (pos_ >= s_.size())
            return fail("end of text where a value belongs");
        StrictJson v;
        char c = s_[pos_];
        if (c == '{')
            return object();
        if (c == '[')
            return array();
        if (c == '"') {
            auto t = string();
            if (!t)
                return std::nullopt;
            v.kind = StrictJson::Kind::String;
            v.text = *t;
            return v;
        }
        if (literal("true") || literal("false")) {
            v.kind = StrictJson::Kind::Bool;
            v.boolean = s_[pos_ - 2] == 'u'; // "true" ends in "ue", "false" in "se"
            return v;
        }
        if (literal("null"))
            return v;
        return number();
    }

    std::optional<StrictJson> number() {
        std::size_t start = pos_;
        auto digits = [this] {
            std::size_t from = pos_;
            while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9')
                ++pos_;
            return pos_ - from;
        };
        if (pos_ < s_.size() && s_[pos_] == '-')
            ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '0') {
            ++pos_;
        } else if (digits() == 0) {
            return fail("not a value");
        }
        if (pos_ < s_.size() && s_[pos_] == '.') {
            ++pos_;
            if (digits() == 0)
                return fail("no digits after the point");
        }
        if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-'))
                ++pos_;
            if (digits() == 0)
                return fail("no digits in the exponent");
        }
        StrictJson v;
        v.kind = StrictJson::Kind::Number;
        v.text = s_.substr(start, pos_ - start);
        return v;
    }

    static void putUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }

    std::optional<unsigned> hex4() {
        if (pos_ + 4 > s_.size())
            return std::nullopt;
        unsigned v = 0;
        for (int i = 0; i < 4; ++i) {
            char c = s_[pos_++];
            int d = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
            if (d < 0)
                return std::nullopt;
            v = v * 16 + unsigned(d);
        }
        return v;
    }

    std::optional<std::string> string() {
        ++pos_; // the opening quote
        std::string out;
        while (pos_ < s_.size()) {
            auto c = static_cast<unsigned char>(s_[pos_++]);
            if (c == '"')
                return out;
            if (c < 0x20) {
                fail("raw control character in a string");
                return std::nullopt;
            }
            if (c != '\\') {
                out.push_back(static_cast<char>(c));
                continue;
            }
            if (pos_ >= s_.size())
                break;
            char e = s_[pos_++];
            switch (e) {
            case '"':
                out.push_back('"');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case '/':
                out.push_back('/');
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u': {
                auto cp = hex4();
                if (!cp) {
                    fail("bad \\u escape");
                    return std::nullopt;
                }
                if (*cp >= 0xD800 && *cp <= 0xDBFF && literal("\\u")) {
                    auto low = hex4();
                    if (!low || *low < 0xDC00 || *low > 0xDFFF) {
                        fail("bad surrogate pair");
                        return std::nullopt;
                    }
                    *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
                }
                putUtf8(out, *cp);
                break;
            }
            default:
                fail("bad escape");
                return std::nullopt;
            }
        }
        fail("unterminated string");
        return std::nullopt;
    }

    std::optional<StrictJson> array() {
        ++pos_;
        StrictJson v;
        v.kind = StrictJson::Kind::Array;
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == ']') {
            ++pos_;
            return v;
        }
        for (;;) {
            auto item = value();
            if (!item)
                return std::nullopt;
            v.items.push_back(std::move(*item));
            skipSpace();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == ']') {
                ++pos_;
                return v;
            }
            return fail("expected , or ]");
        }
    }

    std::optional<StrictJson> object() {
        ++pos_;
        StrictJson v;
        v.kind = StrictJson::Kind::Object;
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == '}') {
            ++pos_;
            return v;
        }
        for (;;) {
            skipSpace();
            if (pos_ >= s_.size() || s_[pos_] != '"')
                return fail("expected a member name");
            auto name = string();
            if (!name)
                return std::nullopt;
            skipSpace();
            if (pos_ >= s_.size() || s_[pos_] != ':')
                return fail("expected :");
            ++pos_;
            auto member = value();
            if (!member)
                return std::nullopt;
            v.members[*name] = std::move(*member);
            skipSpace();
            if (pos_ < s_.size() && s_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == '}') {
                ++pos_;
                return v;
            }
            return fail("expected , or }");
        }
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

} // namespace

std::optional<StrictJson> parseStrictJson(const std::string& document, std::string* error) {
    Reader r(document);
    auto v = r.document();
    if (!v && error)
        *error = r.error;
    return v;
}

} // namespace quorvane::test
