#pragma once
// Turns typed texts into card numbers: into identity-number form (17 digits taken from the
// text, letters counted by their character code, plus the check character), or in reverse
// mode long texts into 20-digit numbers made from their MD5 digest.
#include <string>
#include <string_view>

namespace quorvane {

struct TextConversion {
    // Set when there was no input: the message "没有数据！" and nothing converted.
    bool noData = false;
    std::string output; // one result a line, each followed by CR LF
    int lines = 0;
    int converted = 0;
    int kept = 0;
    // "共处理记录%d条，转换成功%d条，未转换直接使用%d条", or "没有数据！".
    std::string message;
};

// input: UTF-8, one text a line (CR and LF both end a line; empty lines are dropped). force
// converts also a line that already is a plain 32-bit card number.
TextConversion convertTextsToNumbers(std::string_view input, bool force, bool reverse);

// One line of each mode; the line is in GBK.
std::string textToIdNumber(std::string_view gbkLine, bool force, bool* kept = nullptr);
std::string textToLongNumber(std::string_view gbkLine);

} // namespace quorvane
