// Right lines come from files people edit: any bytes must parse or be refused, and a parsed
// right must print back and parse again to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>

#include "infra/codepage.h"
#include "rights/right_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    using namespace quorvane;
    RightTextOptions options;
    options.rightMode = data[0] % 3;
    options.threeByte = (data[0] & 0x80) != 0;
    std::string line = fromGbk(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    auto parsed = parseRightText(line, options, data[0] & 0x40 ? 0x1234 : 0);
    if (auto* right = std::get_if<xRight>(&parsed)) {
        std::string text = formatRightText(*right, 0, options);
        auto again = parseRightText(text, options);
        if (!std::holds_alternative<xRight>(again)) std::abort();
    }
    return 0;
}
