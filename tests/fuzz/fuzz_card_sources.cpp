// The local card-number files (template, whitelist, number file): any bytes give numbers, none
// of them empty, none holding a line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "rights/local_right_sources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& numbers :
         {templateNumbers(text), whitelistNumbers(text), numberFileNumbers(text)})
        for (const auto& n : numbers)
            if (n.empty() || n.find_first_of("\r\n") != std::string::npos)
                std::abort();
    return 0;
}
