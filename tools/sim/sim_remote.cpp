// The remote-command module: open a door or switch a relay (16), set (38) and read (40) the
// clock, clear the log (64), restart (66) and the self test (243).
#include <bit>
#include <cstdio>
#include <ctime>

#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// The bits of the self-test word a controller knows: clear configuration, rights, identity
// cache and log (0..3), and the test actions 16..27.
constexpr std::uint32_t kKnownTestBits = 0x0000000Fu | 0x0FFF0000u;
constexpr std::uint32_t kTestClearConfig = 1u << 0;
constexpr std::uint32_t kTestClearLog = 1u << 3;

void keepPayload(SimController& c, const SimRequest& r) {
    c.remote.payloads[r.command] = std::string(r.payload.begin(), r.payload.end());
}

RelayState& relayOf(RemoteState& s, int door) {
    if (door <= kOnBoardRelays)
        return s.relays[static_cast<std::size_t>(door - 1)];
    return s.extensionRelays[door];
}

// Payload: door number (1-based), then the time value big-endian (ms / 10, or a state). A door
// with a door fault answers with its status and stays as it is.
std::optional<SimReply> openDoor(SimController& c, const SimRequest& r) {
    keepPayload(c, r);
    if (r.payload.size() != 3)
        return SimReply{kBadFormat, {}};
    ByteReader in(r.payload);
    const int door = in.u8();
    const std::uint16_t value = in.u16be();
    if (door < 1 || door > kLastDoor)
        return SimReply{kBadParameter, {}};
    c.remote.lastDoor = door;
    if (auto fault = c.remote.doorStatus.find(door); fault != c.remote.doorStatus.end())
        return SimReply{fault->second, {}};
    RelayState& relay = relayOf(c.remote, door);
    relay.lastValue = value;
    ++relay.commands;
    return SimReply{kDone, {}};
}

int fromBcd(std::uint8_t b) {
    if ((b >> 4) > 9 || (b & 0x0F) > 9)
        return -1;
    return (b >> 4) * 10 + (b & 0x0F);
}
std::uint8_t toBcd(int v) {
    return static_cast<std::uint8_t>(((v / 10) << 4) | (v % 10));
}

std::time_t deviceNow(const SimController& c) {
    return std::time(nullptr) + static_cast<std::time_t>(c.remote.clockOffset.count());
}

// Seven BCD bytes: year - 2000, month, day, hour, minute, second, weekday (0 = Sunday). The
// weekday follows from the date, so the controller does not keep it.
std::optional<SimReply> setTime(SimController& c, const SimRequest& r) {
    keepPayload(c, r);
    if (r.payload.size() != 7)
        return SimReply{kFailed, {}};
    int v[7];
    for (int i = 0; i < 7; ++i)
        if ((v[i] = fromBcd(r.payload[static_cast<std::size_t>(i)])) < 0)
            return SimReply{kFailed, {}};
    if (v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > 31 || v[3] > 23 || v[4] > 59 || v[5] > 59)
        return SimReply{kFailed, {}};
    std::tm t{};
    t.tm_year = v[0] + 100;
    t.tm_mon = v[1] - 1;
    t.tm_mday = v[2];
    t.tm_hour = v[3];
    t.tm_min = v[4];
    t.tm_sec = v[5];
    t.tm_isdst = -1;
    std::time_t wanted = std::mktime(&t);
    c.remote.clockOffset = std::chrono::seconds(wanted - std::time(nullptr));
    return SimReply{kDone, {}};
}

// The same seven BCD bytes as the set command.
std::optional<SimReply> readTime(SimController& c, const SimRequest& r) {
    keepPayload(c, r);
    std::time_t now = deviceNow(c);
    std::tm t{};
    localtime_r(&now, &t);
    std::string p;
    for (int v :
         {t.tm_year - 100, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_wday})
        p.push_back(static_cast<char>(toBcd(v)));
    return SimReply{kDone, p};
}

// The log is emptied, and the controller restarts afterwards.
std::optional<SimReply> clearLog(SimController& c, const SimRequest& r) {
    keepPayload(c, r);
    clearLogRing(c);
    ++c.remote.logClears;
    ++c.remote.restarts;
    return SimReply{kDone, {}};
}

std::optional<SimReply> restart(SimController& c, const SimRequest& r) {
    keepPayload(c, r);
    ++c.remote.restarts;
    return SimReply{kDone, {}};
}

// A little-endian flag word. The return code (payload byte 0) is the number of test actions
// run; a word without any, or with a bit the controller does not know, fails with code 0 or
// the number of the first unknown bit. Of the actions, clearing the log and clearing the
// configuration (which restarts) leave a trace here.
std::optional<SimReply> selfTest(SimController& c, const SimRequest& r) {
    keepPayload(c, r);
    ByteReader in(r.payload);
    const std::uint32_t flags = in.u32le();
    if (!in.ok() || in.remaining() != 0)
        return SimReply{kBadFormat, {}};
    ++c.remote.selfTests;
    c.remote.testFlags = flags;
    if (const std::uint32_t unknown = flags & ~kKnownTestBits)
        return SimReply{kFailed, std::string(1, static_cast<char>(std::countr_zero(unknown)))};
    if (flags == 0)
        return SimReply{kFailed, std::string(1, '\0')};
    if (flags & kTestClearLog) {
        clearLogRing(c);
        ++c.remote.logClears;
    }
    if (flags & kTestClearConfig)
        ++c.remote.restarts;
    return SimReply{kDone, std::string(1, static_cast<char>(std::popcount(flags)))};
}

void addCommands(CommandTable& table) {
    table.add(16, openDoor);
    table.add(38, setTime);
    table.add(40, readTime);
    table.add(64, clearLog);
    table.add(66, restart);
    table.add(243, selfTest);
}

const char* relayMode(std::uint16_t value) {
    switch (value) {
    case kRelayAuto:
        return "auto";
    case kRelayHeldReleased:
        return "held-released";
    case kRelayHeldEnergised:
        return "held-energised";
    case kRelayEnergised:
        return "energised";
    case kRelayReleased:
        return "released";
    default:
        return "pulse";
    }
}

Json dumpRelay(const RemoteState& s, int door, const RelayState& relay) {
    Json out = {{"door", door}, {"mode", relayMode(relay.lastValue)}};
    if (relay.lastValue < kRelayAuto)
        out["openMs"] = relay.lastValue * 10;
    out["commands"] = relay.commands;
    if (auto fault = s.doorStatus.find(door); fault != s.doorStatus.end())
        out["failStatus"] = fault->second;
    return out;
}

Json dump(const SimController& c) {
    const RemoteState& s = c.remote;
    std::time_t now = deviceNow(c);
    std::tm t{};
    localtime_r(&now, &t);
    char clock[32];
    std::strftime(clock, sizeof clock, "%Y-%m-%d %H:%M:%S", &t);
    Json bits = Json::array();
    for (int bit = 0; bit < 32; ++bit)
        if (s.testFlags & (1u << bit))
            bits.push_back(bit);
    Json relays = Json::array();
    for (int door = 1; door <= kOnBoardRelays; ++door)
        relays.push_back(dumpRelay(s, door, s.relays[static_cast<std::size_t>(door - 1)]));
    // Extension relays once commanded or given a door fault, by door number.
    std::map<int, RelayState> extension = s.extensionRelays;
    for (const auto& entry : s.doorStatus)
        if (entry.first > kOnBoardRelays)
            extension.try_emplace(entry.first);
    Json extensionRelays = Json::array();
    for (const auto& [door, relay] : extension)
        extensionRelays.push_back(dumpRelay(s, door, relay));
    Json payloads = Json::object();
    for (const auto& [code, payload] : s.payloads)
        payloads[std::to_string(code)] = hexText(asBytes(payload));
    return {{"clock", std::string(clock)},
            {"clockOffsetSeconds", static_cast<std::int64_t>(s.clockOffset.count())},
            {"restarts", s.restarts},
            {"logClears", s.logClears},
            {"selfTests", s.selfTests},
            {"testFlags", static_cast<std::int64_t>(s.testFlags)},
            {"testFlagBits", std::move(bits)},
            {"lastDoor", s.lastDoor},
            {"relays", std::move(relays)},
            {"extensionRelays", std::move(extensionRelays)},
            {"payloads", std::move(payloads)}};
}

} // namespace

const SimModule kRemoteModule{"remote", addCommands, dump};

} // namespace quorvane::sim
