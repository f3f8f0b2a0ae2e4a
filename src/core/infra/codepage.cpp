#include "infra/codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace quorvane {
namespace {

// The length of the well-formed UTF-8 character at p (1 to 4), or 0 when the bytes there do
// not form one.
std::size_t utf8CharacterLength(const char* p, std::size_t left) {
    auto b = [p](std::size_t i) { return static_cast<unsigned char>(p[i]); };
    if (left == 0)
        return 0;
    unsigned char lead = b(0);
    std::size_t n = lead < 0x80                    ? 1
                    : lead >= 0xC2 && lead <= 0xDF ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (n == 0 || n > left)
        return 0;
    if (n >= 2) {
        unsigned char lo = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        unsigned char hi = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (b(1) < lo || b(1) > hi)
            return 0;
    }
    for (std::size_t i = 2; i < n; ++i)
        if (b(i) < 0x80 || b(i) > 0xBF)
            return 0;
    return n;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in; on an unconvertible or invalid input sequence calls onBad(out) and skips
    // it. Returns false when onBad asks to stop.
    template <class OnBad>
    bool run(std::string_view in, std::string& out, bool utf8Input, OnBad onBad) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (r != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (!onBad(out)) return false;
            // A whole UTF-8 character that the target cannot hold is skipped as one; any other
            // bad byte (not UTF-8, a cut character, one byte of a broken GBK pair) alone, so
            // that the characters after it are kept.
            std::size_t n = 1;
            if (utf8Input)
                n = std::max<std::size_t>(1, utf8CharacterLength(src, srcLeft));
            src += n;
            srcLeft -= n;
        }
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        return true;
    }

private:
    iconv_t cd_;
};

// One converter per direction and thread: opening one costs far more than a conversion.
Converter& utf8ToGbkConverter() {
    thread_local Converter c("GBK", "UTF-8");
    return c;
}
Converter& gbkToUtf8Converter() {
    thread_local Converter c("UTF-8", "GBK");
    return c;
}

} // namespace

std::string toGbk(std::string_view utf8) {
    Converter& c = utf8ToGbkConverter();
    std::string out;
    c.run(utf8, out, true, [](std::string& o) {
        o.push_back('?');
        return true;
    });
    return out;
}

std::optional<std::string> toGbkStrict(std::string_view utf8) {
    Converter& c = utf8ToGbkConverter();
    std::string out;
    if (!c.run(utf8, out, true, [](std::string&) { return false; }))
        return std::nullopt;
    return out;
}

std::optional<std::size_t> firstNonGbkByte(std::string_view gbk) {
    Converter& c = gbkToUtf8Converter();
    std::string out;
    std::optional<std::size_t> bad;
    // The converter stops at the first bad sequence; the bytes converted so far are whole
    // characters, so the bad one starts where their GBK form ends.
    if (!c.run(gbk, out, false, [](std::string&) { return false; }))
        bad = toGbk(out).size();
    return bad;
}

std::string fromGbk(std::string_view gbk) {
    Converter& c = gbkToUtf8Converter();
    std::string out;
    c.run(gbk, out, false, [](std::string& o) {
        o.append("\xEF\xBF\xBD");
        return true;
    });
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    auto put = [&out](char32_t cp) {
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
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            put(0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            put(0xFFFD);
        } else {
            put(u);
        }
    }
    return out;
}

std::optional<std::string> utf16ToGbk(std::u16string_view text) {
    return toGbkStrict(utf16ToUtf8(text));
}

std::size_t gbkLength(std::string_view utf8) { return toGbk(utf8).size(); }

std::string gbkCutBytes(std::string_view gbk, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < gbk.size()) {
        std::size_t n = static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
        if (i + n > maxBytes || i + n > gbk.size()) break;
        i += n;
    }
    return std::string(gbk.substr(0, i));
}

std::string gbkCut(std::string_view utf8, std::size_t maxBytes) {
    return gbkCutBytes(toGbk(utf8), maxBytes);
}

std::string gbkPadded(std::string_view utf8, std::size_t width) {
    std::string s = gbkCut(utf8, width);
    s.resize(width, '\0');
    return s;
}

} // namespace quorvane
