// The log viewer's rows come from records read out of a controller's memory or a cache file:
// any 16 bytes, any index and report index, with the card-only filter on or off, make a full
// row whose sequence is the index + 1, and a detail text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/bytes.h"
#include "records/log_view_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane;
    ByteReader in(Bytes(data, size));
    auto record = LogRecord::decode(in.take(kLogRecordSize));
    const std::uint32_t index = in.u32le();
    ViewerRowContext context;
    context.reportIndex = in.u32le();
    const std::uint8_t flags = in.u8();
    if (!record || !in.ok())
        return 0;
    context.cardOnly = flags & 1;
    context.decode.threeByte = flags & 2;
    context.identities = [](const std::string& card) -> std::optional<ViewerIdentity> {
        return ViewerIdentity{card, "", "", "", "", "", "", ""};
    };
    const auto row = viewerRow(*record, index, context);
    if (row[0] != std::to_string(std::uint64_t(index) + 1) || row[1].empty())
        std::abort();
    if (row[2] == "非刷卡日志" && row[19] != "-")
        std::abort();
    if (viewerDetailText(*record, context).empty())
        std::abort();
    return 0;
}
