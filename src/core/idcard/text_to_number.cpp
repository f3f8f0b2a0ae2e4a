#include "idcard/text_to_number.h"

#include <cstdio>
#include <vector>

#include "infra/codepage.h"
#include "infra/md5.h"
#include "rights/card_number.h"

namespace quorvane {
namespace {

constexpr std::size_t kTakenBytes = 20;
constexpr std::size_t kDigits = 17;

// Digits of the text: a digit is kept, an ASCII letter gives the two digits of its code
// minus 30, anything else is skipped; at most 17.
std::string extractDigits(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (digits.size() >= kDigits) break;
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            std::string two = std::to_string(static_cast<int>(c) - 30);
            for (char d : two)
                if (digits.size() < kDigits) digits += d;
        }
    }
    return digits;
}

// Decimal digits as an unsigned 32-bit value; too large reads as 4294967295.
std::uint32_t saturatedValue(std::string_view digits) {
    std::uint64_t v = 0;
    for (char d : digits) {
        v = v * 10 + unsigned(d - '0');
        if (v > 0xFFFFFFFFull) return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(v);
}

std::uint32_t hexWord(std::string_view hex) {
    std::uint32_t v = 0;
    for (char c : hex) v = (v << 4) | unsigned(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    return v;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

std::string textToIdNumber(std::string_view gbkLine, bool force, bool* kept) {
    std::string digits = extractDigits(gbkLine.substr(0, kTakenBytes));
    std::string plain = std::to_string(saturatedValue(digits));
    if (kept) *kept = false;
    if (plain == gbkLine && !force) {
        if (kept) *kept = true;
        return std::string(gbkLine);
    }
    std::uint32_t high = saturatedValue(std::string_view(digits).substr(0, 8));
    std::uint32_t low = saturatedValue(std::string_view(digits).substr(std::min<std::size_t>(8, digits.size())));
    char buf[24];
    std::snprintf(buf, sizeof buf, "%08u%09u", high, low);
    std::string id(buf, 17);
    return id + *idCheckCharacter(id);
}

std::string textToLongNumber(std::string_view gbkLine) {
    std::string digest = md5Hex(gbkLine);
    char buf[24];
    std::snprintf(buf, sizeof buf, "%010u%010u", hexWord(std::string_view(digest).substr(0, 8)),
                  hexWord(std::string_view(digest).substr(8, 8)));
    return buf;
}

TextConversion convertTextsToNumbers(std::string_view input, bool force, bool reverse) {
    TextConversion result;
    if (input.empty()) {
        result.noData = true;
        result.message = "没有数据！";
        return result;
    }
    for (std::string_view line : splitLines(input)) {
        ++result.lines;
        std::string gbk = toGbk(line);
        if (reverse) {
            result.output += textToLongNumber(gbk);
            ++result.converted;
        } else {
            bool kept = false;
            std::string number = textToIdNumber(gbk, force, &kept);
            result.output += kept ? std::string(line) : number;
            ++(kept ? result.kept : result.converted);
        }
        result.output += "\r\n";
    }
    char buf[160];
    std::snprintf(buf, sizeof buf, "共处理记录%d条，转换成功%d条，未转换直接使用%d条", result.lines,
                  result.converted, result.kept);
    result.message = buf;
    return result;
}

} // namespace quorvane
