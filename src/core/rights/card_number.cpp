#include "rights/card_number.h"

#include <cstdio>

#include "infra/codepage.h"
#include "infra/shown_text.h"
#include "protocol/scramble.h"

namespace quorvane {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool allDigits(std::string_view s) {
    for (char c : s)
        if (!isDigit(c))
            return false;
    return true;
}

std::size_t skipBlanks(std::string_view s, std::size_t i = 0) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n'))
        ++i;
    return i;
}

// Leading blanks and an optional '+', then at least one digit; reading stops at the first
// other character, as the C library does. Nothing on no digits or a value beyond 32 bits.
std::optional<std::uint32_t> readUnsigned(std::string_view s) {
    std::size_t i = skipBlanks(s);
    if (i < s.size() && s[i] == '+')
        ++i;
    if (i >= s.size() || !isDigit(s[i]))
        return std::nullopt;
    std::uint64_t v = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        v = v * 10 + unsigned(s[i] - '0');
        if (v > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(v);
}

// Leading blanks, an optional sign, digits; the value wraps into 32 bits as "%d" does.
std::optional<std::int64_t> readSigned(std::string_view s, std::size_t& i) {
    i = skipBlanks(s, i);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    if (i >= s.size() || !isDigit(s[i]))
        return std::nullopt;
    std::int64_t v = 0;
    for (; i < s.size() && isDigit(s[i]); ++i)
        v = (v * 10 + (s[i] - '0')) & 0xFFFFFFFFll;
    return negative ? -v : v;
}

bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The "%08x" conversion: blanks skipped, then at most 8 characters holding an optional sign,
// an optional "0x" and hexadecimal digits; a minus negates the value in 32 bits.
std::optional<std::uint32_t> readHex(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && isScanSpace(s[i]))
        ++i;
    std::size_t width = 8;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i++] == '-';
        --width;
    }
    bool digitSeen = false;
    if (width >= 2 && i + 1 < s.size() && s[i] == '0' && (s[i + 1] | 0x20) == 'x') {
        // The "0" of the prefix is a digit of its own: "0x" alone reads as 0.
        digitSeen = true;
        i += 2;
        width -= 2;
    }
    std::uint32_t v = 0;
    for (; width > 0 && i < s.size() && isHexDigit(s[i]); ++i, --width) {
        char c = s[i];
        unsigned d = isDigit(c) ? unsigned(c - '0') : unsigned((c | 0x20) - 'a' + 10);
        v = (v << 4) | d;
        digitSeen = true;
    }
    if (!digitSeen)
        return std::nullopt;
    return negative ? 0u - v : v;
}

std::uint32_t byteSwap(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

} // namespace

std::string formatCardWords(std::uint32_t high, std::uint32_t low, bool longNumber,
                            bool threeByteDisplay) {
    char buf[32];
    if (high != 0) {
        if (!longNumber) {
            int n = std::snprintf(buf, sizeof buf, "%08u%09u", high, low);
            if (n == 17) {
                std::string id(buf, 17);
                return id + *idCheckCharacter(id);
            }
        }
        std::snprintf(buf, sizeof buf, "%010u%010u", high, low);
    } else if (threeByteDisplay) {
        std::snprintf(buf, sizeof buf, "%03d,%05d", int((low >> 16) & 0xFF), int(low & 0xFFFF));
    } else {
        std::snprintf(buf, sizeof buf, "%010u", low);
    }
    return buf;
}

std::string formatCardNumber(const xRight& r, bool threeByteDisplay) {
    return formatCardWords(r.cardHigh, r.cardLow, r.flag(kFlagLongNumber), threeByteDisplay);
}

std::optional<std::uint32_t> parseCardNumber(std::string_view text, const CardOptions& options) {
    if (text.find(',') != std::string_view::npos) {
        if (text.size() < 4 || text[3] != ',')
            return std::nullopt;
        std::size_t i = 0;
        auto a = readSigned(text, i);
        if (!a || i >= text.size() || text[i] != ',')
            return std::nullopt;
        ++i;
        auto b = readSigned(text, i);
        if (!b)
            return std::nullopt;
        return static_cast<std::uint32_t>((std::uint64_t(*a) << 16) + std::uint64_t(*b));
    }
    if (options.threeByte) {
        auto v = readUnsigned(text);
        if (!v)
            return std::nullopt;
        return *v & 0xFFFFFF;
    }
    if (text.size() == 8 && options.eightDigitHex) {
        auto v = readHex(text);
        if (!v)
            return std::nullopt;
        return options.hexReverse ? byteSwap(*v) : *v;
    }
    return readUnsigned(text);
}

std::optional<CardWords> parseIdNumber(std::string_view text) {
    std::string_view high, low;
    if (text.size() == 20) {
        high = text.substr(0, 10);
        low = text.substr(10, 10);
    } else {
        if (text.size() < 17)
            return std::nullopt;
        high = text.substr(0, 8);
        low = text.substr(8, 9);
    }
    if (!allDigits(high) || !allDigits(low))
        return std::nullopt;
    auto h = readUnsigned(high);
    auto l = readUnsigned(low);
    if (!h || !l)
        return std::nullopt;
    return CardWords{*h, *l};
}

std::optional<char> idCheckCharacter(std::string_view first17) {
    static constexpr int kWeights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static constexpr char kCheck[] = "10X98765432";
    if (first17.size() < 17 || !allDigits(first17.substr(0, 17)))
        return std::nullopt;
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += (first17[i] - '0') * kWeights[i];
    return kCheck[sum % 11];
}

bool isValidIdNumber(std::string_view number) {
    if (number.size() < 18)
        return false;
    auto check = idCheckCharacter(number);
    if (!check)
        return false;
    char last = number[17] == 'x' ? 'X' : number[17];
    return last == *check;
}

std::variant<CardClassification, std::string>
classifyCard(std::string_view gbkText, CardSource source, const CardOptions& options) {
    if (gbkText.find('\0') != std::string_view::npos || firstNonGbkByte(gbkText))
        return invalidCardMessage(fromGbk(gbkText));
    bool hasTextByte = false;
    for (char c : gbkText)
        if (isAsciiLetter(c) || static_cast<unsigned char>(c) > 127)
            hasTextByte = true;

    // An identity number may end in X; anything else of these lengths with letters in it is a
    // text identifier rather than a number read as zeros.
    bool idLength = gbkText.size() == 18 || gbkText.size() == 20;
    bool idDigits = gbkText.size() == 20
                        ? allDigits(gbkText)
                        : gbkText.size() == 18 && allDigits(gbkText.substr(0, 17)) &&
                              (isDigit(gbkText[17]) || gbkText[17] == 'X' || gbkText[17] == 'x');
    if (idLength && (idDigits || !hasTextByte)) {
        auto words = parseIdNumber(gbkText);
        if (!words)
            return invalidCardMessage(fromGbk(gbkText));
        return CardClassification{words->high, words->low,
                                  gbkText.size() == 20 && source == CardSource::NumberField};
    }
    if (!hasTextByte) {
        CardOptions used = options;
        if (source == CardSource::RightLine)
            used.eightDigitHex = used.hexReverse = false;
        auto low = parseCardNumber(gbkText, used);
        if (!low)
            return invalidCardMessage(fromGbk(gbkText));
        return CardClassification{0, *low, false};
    }
    std::array<std::uint8_t, 8> field{};
    for (std::size_t i = 0; i < field.size() && i < gbkText.size(); ++i)
        field[i] = static_cast<std::uint8_t>(gbkText[i]);
    ByteReader in(field);
    CardClassification c;
    c.cardHigh = in.u32le();
    c.cardLow = in.u32le();
    c.longNumber = true;
    return c;
}

std::variant<CardClassification, std::string>
classifyCardText(std::string_view utf8Text, CardSource source, const CardOptions& options) {
    auto gbk = toGbkStrict(utf8Text);
    if (!gbk)
        return invalidCardMessage(utf8Text);
    return classifyCard(*gbk, source, options);
}

void applyCard(xRight& r, const CardClassification& c) {
    r.cardHigh = c.cardHigh;
    r.cardLow = c.cardLow;
    if (c.longNumber)
        r.setFlag(kFlagLongNumber, true);
}

std::string invalidCardMessage(std::string_view utf8Text) {
    return "卡号格式错误：" + shownText(utf8Text);
}

void applySiteCode(xRight& r, std::uint32_t code) {
    if (code == 0)
        return;
    r.cardHigh = scramble(r.cardHigh, code);
    r.cardLow = scramble(r.cardLow, code);
}

} // namespace quorvane
