// The controller clock: set (38) and read (40), both as seven BCD bytes: year - 2000, month,
// day, hour, minute, second, weekday (0 = Sunday).
#include <ctime>

#include "sim_commands.h"

namespace quorvane::sim {

namespace {
int fromBcd(std::uint8_t b) {
    if ((b >> 4) > 9 || (b & 0x0F) > 9) return -1;
    return (b >> 4) * 10 + (b & 0x0F);
}
std::uint8_t toBcd(int v) { return static_cast<std::uint8_t>(((v / 10) << 4) | (v % 10)); }

std::optional<SimReply> setTime(SimController& c, const SimRequest& r) {
    if (r.payload.size() != 7) return SimReply{0, {}};
    int v[7];
    for (int i = 0; i < 7; ++i)
        if ((v[i] = fromBcd(r.payload[i])) < 0) return SimReply{0, {}};
    std::tm t{};
    t.tm_year = v[0] + 100;
    t.tm_mon = v[1] - 1;
    t.tm_mday = v[2];
    t.tm_hour = v[3];
    t.tm_min = v[4];
    t.tm_sec = v[5];
    t.tm_isdst = -1;
    if (v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > 31 || v[3] > 23 || v[4] > 59 || v[5] > 59)
        return SimReply{0, {}};
    std::time_t wanted = std::mktime(&t);
    c.clockOffset = std::chrono::seconds(wanted - std::time(nullptr));
    return SimReply{1, {}};
}

std::optional<SimReply> readTime(SimController& c, const SimRequest&) {
    std::time_t now = std::time(nullptr) + c.clockOffset.count();
    std::tm t{};
    localtime_r(&now, &t);
    std::string p;
    for (int v : {t.tm_year - 100, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  t.tm_wday})
        p.push_back(static_cast<char>(toBcd(v)));
    return SimReply{1, p};
}
} // namespace

void addTimeCommands(CommandTable& table) {
    table.add(38, setTime);
    table.add(40, readTime);
}

} // namespace quorvane::sim
