#include "idcard/unicode_local.h"

#include <cerrno>
#include <cstdio>

#include "infra/codepage.h"

namespace quorvane {

std::string UNICODE2LOCAL(Bytes ucs2le, const LogSink& log) {
    std::u16string text;
    ByteReader in(ucs2le);
    while (in.remaining() >= 2) {
        char16_t c = in.u16le();
        if (c == 0) break;
        text.push_back(c);
    }
    if (auto gbk = utf16ToGbk(text)) return *gbk;

    if (log) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "UNICODE2LOCAL error2, lastError=%d, wcslen=%d, bufferLen=%d\n", EILSEQ,
                      static_cast<int>(text.size()), static_cast<int>(text.size() * 2 + 2));
        log(line);
    }
    std::string out;
    for (char16_t c : text) {
        auto one = utf16ToGbk(std::u16string_view(&c, 1));
        out += one ? *one : std::string("?");
    }
    return out;
}

} // namespace quorvane
