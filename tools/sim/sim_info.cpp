// Device information (2) and the write of the basic configuration (4).
#include "protocol/frame.h"
#include "sim_commands.h"

namespace quorvane::sim {

std::string deviceInfoPayload(const SimController& c) {
    auto block = encodeBasicBlock(c.record);
    std::size_t basic = c.extended ? kExtendedBlockSize : kBasicBlockSize;
    std::string payload(reinterpret_cast<const char*>(block.data()), basic);
    payload.append(reinterpret_cast<const char*>(c.record.doorConfig.data()),
                   c.record.doorConfig.size());
    return payload;
}

namespace {
std::optional<SimReply> deviceInformation(SimController& c, const SimRequest&) {
    return SimReply{1, deviceInfoPayload(c)};
}

// The payload is an extended basic block and 424 zero bytes. The controller takes the block's
// fields; it keeps its door-access block and the address it answers from.
std::optional<SimReply> writeBasic(SimController& c, const SimRequest& r) {
    constexpr std::size_t kWritePayload = kExtendedBlockSize + kDoorBlockSize;
    if (r.payload.size() != kWritePayload) return SimReply{0, {}};
    Bytes block = r.payload.first(kExtendedBlockSize);
    if (sum8(block.first(115)) != block[115]) return SimReply{0, {}};
    // Decode through the tool's own reader by dressing the payload as a reply frame.
    std::string frame(kHeaderSize, '\0');
    frame[offsets::kLength] = static_cast<char>(kWritePayload >> 8);
    frame[offsets::kLength + 1] = static_cast<char>(kWritePayload & 0xFF);
    frame.append(reinterpret_cast<const char*>(r.payload.data()), r.payload.size());
    frame.push_back('\0');
    MutableBytes fb(reinterpret_cast<std::uint8_t*>(frame.data()), frame.size());
    fb[fb.size() - 1] = frameChecksum(fb, kWritePayload);
    DeviceUIInfo updated = c.record;
    bool extended = false;
    if (getUIInfoFromMsg(fb, extended, updated) != 0) return SimReply{0, {}};
    updated.doorConfig = c.record.doorConfig;
    c.record = updated;
    return SimReply{1, {}};
}
} // namespace

void addInfoCommands(CommandTable& table) {
    table.add(2, deviceInformation);
    table.add(4, writeBasic);
}

} // namespace quorvane::sim
