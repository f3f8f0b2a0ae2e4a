// Arbitrary bytes written to the command line's output filter, in two writes cut anywhere:
// what comes out is valid UTF-8 without a byte a terminal acts on, and text that needed no
// change passes unchanged.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "terminal_text.h"

namespace {

// True when s is valid UTF-8; controls (other than tab and line feed), DEL and C1 controls
// are counted in `active`.
bool scan(std::string_view s, bool& active) {
    active = false;
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3
                                   : b >= 0xF0 && b <= 0xF4   ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        auto c = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
        if (n >= 2) {
            unsigned char lo = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
            unsigned char hi = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
            if (c(1) < lo || c(1) > hi) return false;
            for (std::size_t k = 2; k < n; ++k)
                if (c(k) < 0x80 || c(k) > 0xBF) return false;
        }
        if ((n == 1 && ((b < 0x20 && b != '\t' && b != '\n') || b == 0x7F)) ||
            (n == 2 && b == 0xC2 && c(1) <= 0x9F))
            active = true;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    std::size_t cut = size ? data[0] % (size + 1) : 0;
    std::ostringstream target;
    {
        quorvane::cli::TerminalTextFilter filter(target.rdbuf());
        std::ostream out(&filter);
        out << in.substr(0, cut) << std::flush << in.substr(cut);
    }
    const std::string out = target.str();
    bool active = false;
    if (!scan(out, active) || active) std::abort();
    bool inputActive = false;
    if (scan(in, inputActive) && !inputActive && out != in) std::abort();
    return 0;
}
