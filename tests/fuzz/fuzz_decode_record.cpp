// Records come from the controller's journal: any 16 bytes decode into a line and a map.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "records/record_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    auto entry = LogEntry::decode(quorvane::Bytes(data, size));
    if (!entry) return 0;
    RecordDecodeOptions options;
    options.threeByte = size > 20 && (data[20] & 1);
    options.commandName = [](unsigned code) -> std::string_view {
        return code == 112 ? "连接变化" : "";
    };
    RecordFieldMap map;
    std::string line = decodeRecord(&map, entry->record, entry->sequence, options);
    if (line.empty() || !map.contains("type") || !map.contains("data")) std::abort();
    return 0;
}
