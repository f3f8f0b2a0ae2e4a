#pragma once
// A batch summary's last line is its time ("用时3秒"), which a program on the system clock makes
// what it is: whole outputs are compared without it.
#include <regex>
#include <string>

namespace quorvane::test {
inline std::string withoutElapsed(const std::string& text) {
    return std::regex_replace(text, std::regex("用时[0-9]+秒\n"), "");
}
} // namespace quorvane::test
