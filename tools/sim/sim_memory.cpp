// The memory module: read page 32 and write page 34 of firmware, EEPROM, FLASH and sound,
// the firmware commit 128, clear program 72 and play sound 82. The rights module's storage
// lies in the same EEPROM and FLASH, so pages read show the rights and pages written change
// them.
#include <algorithm>
#include <string_view>

#include "sim_command_table.h"
#include "sim_controller.h"
#include "sim_json.h"
#include "sim_logs_state.h"
#include "sim_memory_access.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

constexpr std::uint32_t kFirmwareBase = 0x08040000;
constexpr std::uint32_t kFirmwareArea = 1u << 20;
// The erase command's confirmation code these controllers take.
constexpr std::string_view kClearProgramCode = "CLRPROG!";

// Whether a whole page at address lies in the memory of type.
bool pageFits(std::uint32_t type, std::uint32_t address) {
    if (address % kPageSize != 0)
        return false;
    switch (type) {
    case kFirmware:
        return address >= kFirmwareBase && address - kFirmwareBase < kFirmwareArea;
    case kEeprom:
        return address < 262144;
    case kFlash:
    case kSound:
        return address < 16777216;
    default:
        return false;
    }
}

std::optional<SimReply> readPage(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 8)
        return SimReply{kBadFormat, {}};
    ByteReader in(r.payload);
    const std::uint32_t address = in.u32le();
    const std::uint32_t type = in.u32le();
    if (!pageFits(type, address))
        return SimReply{kBadParameter, {}};
    std::string out(8 + kPageSize, '\0');
    auto* bytes = reinterpret_cast<std::uint8_t*>(out.data());
    ByteWriter(MutableBytes(bytes, 8)).putU32le(address).putU32le(type);
    // The log areas show the controller's records as they lie in its log.
    const MutableBytes page(bytes + 8, kPageSize);
    if (!readLogMemory(c.logs, MemoryType(type), address, page))
        readMemory(c.memory, MemoryType(type), address, page);
    return SimReply{kDone, std::move(out)};
}

std::optional<SimReply> writePage(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 8 + kPageSize)
        return SimReply{kBadFormat, {}};
    ByteReader in(r.payload);
    const std::uint32_t address = in.u32le();
    const std::uint32_t type = in.u32le();
    if (!pageFits(type, address))
        return SimReply{kBadParameter, {}};
    writeMemory(c.memory, MemoryType(type), address, r.payload.subspan(8));
    c.memory.written[type].insert(address);
    return SimReply{kDone, {}};
}

// Accepted when the pages written from the base hold size bytes whose sum is the one given;
// the controller would then restart into the new program.
std::optional<SimReply> commitFirmware(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 12)
        return SimReply{kBadFormat, {}};
    ByteReader in(r.payload);
    const std::uint32_t base = in.u32le();
    const std::uint32_t size = in.u32le();
    const std::uint32_t sum = in.u32le();
    const auto& written = c.memory.written[kFirmware];
    bool whole = base == kFirmwareBase && size > 0 && size <= kFirmwareArea;
    for (std::uint32_t at = 0; whole && at < size; at += kPageSize)
        whole = written.count(base + at) > 0;
    std::uint32_t have = 0;
    if (whole) {
        std::string bytes(size, '\0');
        readMemory(c.memory, kFirmware, base,
                   MutableBytes(reinterpret_cast<std::uint8_t*>(bytes.data()), size));
        for (unsigned char b : bytes)
            have += b;
    }
    if (!whole || have != sum) {
        ++c.memory.refusedCommits;
        return SimReply{kFailed, {}};
    }
    c.memory.committed = FirmwareCommit{size, sum};
    return SimReply{kDone, {}};
}

std::optional<SimReply> clearProgram(SimController& c, const SimRequest& r) {
    if (r.payload.size() != kClearProgramCode.size())
        return SimReply{kBadFormat, {}};
    if (!std::equal(r.payload.begin(), r.payload.end(), kClearProgramCode.begin()))
        return SimReply{kFailed, {}};
    c.memory.pages[kFirmware].clear();
    c.memory.written[kFirmware].clear();
    c.memory.committed.reset();
    ++c.memory.programErases;
    return SimReply{kDone, {}};
}

std::optional<SimReply> playSound(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 3)
        return SimReply{kBadFormat, {}};
    std::copy_n(r.payload.begin(), 3, c.memory.lastSound.begin());
    ++c.memory.soundsPlayed;
    return SimReply{kDone, {}};
}

void addCommands(CommandTable& table) {
    table.add(32, readPage);
    table.add(34, writePage);
    table.add(72, clearProgram);
    table.add(82, playSound);
    table.add(128, commitFirmware);
}

Json dump(const SimController& c) {
    static const char* const kNames[kMemoryTypes] = {"firmware", "eeprom", "flash", "sound"};
    Json out = Json::object();
    for (std::size_t type = 0; type < kMemoryTypes; ++type) {
        const std::uint32_t origin = type == kFirmware ? kFirmwareBase : 0;
        Json written = Json::array();
        for (std::uint32_t address : c.memory.written[type])
            written.push_back((address - origin) / kPageSize);
        out[kNames[type]] = {{"pages", c.memory.pages[type].size()},
                             {"written", std::move(written)}};
    }
    out["committed"] = c.memory.committed ? Json{{"size", c.memory.committed->size},
                                                 {"sum", c.memory.committed->sum}}
                                          : Json(nullptr);
    out["refusedCommits"] = c.memory.refusedCommits;
    out["programErases"] = c.memory.programErases;
    out["soundsPlayed"] = c.memory.soundsPlayed;
    if (c.memory.soundsPlayed > 0)
        out["lastSound"] = hexText(c.memory.lastSound);
    return out;
}

} // namespace

const SimModule kMemoryModule{"memory", addCommands, dump};

} // namespace quorvane::sim
