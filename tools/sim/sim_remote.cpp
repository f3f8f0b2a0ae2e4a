// The remote-command module: open a door or switch a relay (16), set (38) and read (40) the
// clock, restart (66). Later commands of this group (clear log 64, self test 243) belong here.
#include <cstdio>
#include <ctime>

#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

// Payload: door number (1-based), then the time value big-endian (ms / 10, or a state).
std::optional<SimReply> openDoor(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 3)
        return SimReply{kBadFormat, {}};
    ByteReader in(r.payload);
    int door = in.u8();
    if (door < 1 || door > kOnBoardRelays)
        return SimReply{kBadParameter, {}};
    RelayState& relay = c.remote.relays[static_cast<std::size_t>(door - 1)];
    relay.lastValue = in.u16be();
    ++relay.commands;
    c.remote.lastDoor = door;
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
std::optional<SimReply> readTime(SimController& c, const SimRequest&) {
    std::time_t now = deviceNow(c);
    std::tm t{};
    localtime_r(&now, &t);
    std::string p;
    for (int v :
         {t.tm_year - 100, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_wday})
        p.push_back(static_cast<char>(toBcd(v)));
    return SimReply{kDone, p};
}

std::optional<SimReply> restart(SimController& c, const SimRequest&) {
    ++c.remote.restarts;
    return SimReply{kDone, {}};
}

void addCommands(CommandTable& table) {
    table.add(16, openDoor);
    table.add(38, setTime);
    table.add(40, readTime);
    table.add(66, restart);
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

void dump(const SimController& c, JsonWriter& out) {
    const RemoteState& s = c.remote;
    std::time_t now = deviceNow(c);
    std::tm t{};
    localtime_r(&now, &t);
    char clock[32];
    std::strftime(clock, sizeof clock, "%Y-%m-%d %H:%M:%S", &t);
    out.beginObject();
    out.field("clock", clock);
    out.field("clockOffsetSeconds", static_cast<std::int64_t>(s.clockOffset.count()));
    out.field("restarts", s.restarts);
    out.field("lastDoor", s.lastDoor);
    out.key("relays").beginArray();
    for (const RelayState& relay : s.relays) {
        out.beginObject();
        out.field("mode", relayMode(relay.lastValue));
        if (relay.lastValue < kRelayAuto)
            out.field("openMs", relay.lastValue * 10);
        out.field("commands", relay.commands);
        out.endObject();
    }
    out.endArray();
    out.endObject();
}

} // namespace

const SimModule kRemoteModule{"remote", addCommands, dump};

} // namespace quorvane::sim
