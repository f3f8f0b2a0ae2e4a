#pragma once
// A batch's summary ends with the time it took ("用时3秒"): on the system clock of a program run
// by a test that line is not fixed, so tests of whole outputs compare without it.
#include <regex>
#include <string>

namespace quorvane::test {

inline std::string withoutElapsed(const std::string& text) {
    static const std::regex elapsed("用时[0-9]+秒\n");
    return std::regex_replace(text, elapsed, "");
}

} // namespace quorvane::test
