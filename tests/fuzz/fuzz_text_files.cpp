// Any bytes as a command history or reference file, and as a fingerprint template file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "textcmd/command_files.h"
#include "textcmd/text_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)quorvane::commandLines(bytes);
    (void)quorvane::parseFingerTemplate(bytes);
    return 0;
}
