// The text module: text commands (148) and fingerprint templates (42). A text command is a
// list of "key" or "key=value" items separated by semicolons; the controller applies the keys
// it knows and answers with their names.
#include <cstdio>
#include <ctime>

#include "infra/codepage.h"
#include "platform/udp_socket.h"
#include "sim_command_table.h"
#include "sim_json.h"
#include "sim_module.h"

namespace quorvane::sim {

namespace {

constexpr std::size_t kLargePayload = 520;
constexpr std::size_t kTextAt = 8;
constexpr std::size_t kTemplateBytes = 498;

// A new address stays in the network the controller is in (its first byte), so a test never
// sends the tool's frames off the machine by moving a controller.
bool setAddress(SimController& c, const std::string& value) {
    auto address = platform::parseIpv4(value);
    if (!address || (*address >> 24) != (c.address >> 24) || (*address & 0xFF) == 0 ||
        (*address & 0xFF) == 0xFF)
        return false;
    c.address = *address;
    for (int i = 0; i < 4; ++i)
        c.config.basic.ip[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(*address >> (24 - 8 * i));
    return true;
}

bool setAllocation(SimController& c, const std::string& value) {
    if (value != "0" && value != "1" && value != "2")
        return false;
    c.config.basic.ipAlloc = static_cast<std::uint8_t>(value[0] - '0');
    return true;
}

// "YYYY-MM-DD hh:mm:ss w", the weekday following from the date.
bool setClock(SimController& c, const std::string& value) {
    std::tm t{};
    int weekday = 0;
    char tail = 0;
    if (std::sscanf(value.c_str(), "%d-%d-%d %d:%d:%d %d%c", &t.tm_year, &t.tm_mon, &t.tm_mday,
                    &t.tm_hour, &t.tm_min, &t.tm_sec, &weekday, &tail) != 7)
        return false;
    if (t.tm_year < 2000 || t.tm_year > 2099 || t.tm_mon < 1 || t.tm_mon > 12 || t.tm_mday < 1 ||
        t.tm_mday > 31 || t.tm_hour > 23 || t.tm_min > 59 || t.tm_sec > 59)
        return false;
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    t.tm_isdst = -1;
    c.remote.clockOffset = std::chrono::seconds(std::mktime(&t) - std::time(nullptr));
    return true;
}

// "open1".."open4": the door's relay as its own delay sets it.
bool openDoor(SimController& c, const std::string& key) {
    if (key.size() != 5 || key[4] < '1' || key[4] > '4')
        return false;
    const int door = key[4] - '0';
    ++c.remote.relays[static_cast<std::size_t>(door - 1)].commands;
    c.remote.lastDoor = door;
    return true;
}

// dir1..8 (1 in, 2 out), door1..8 (the door a reader opens), delay1..4 (milliseconds).
bool keepSetting(SimController& c, const std::string& key, const std::string& value) {
    auto numbered = [&](const char* name, char last) {
        const std::string n(name);
        return key.size() == n.size() + 1 && key.starts_with(n) && key.back() >= '1' &&
               key.back() <= last;
    };
    if (!numbered("dir", '8') && !numbered("door", '8') && !numbered("delay", '4'))
        return false;
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
        return false;
    c.text.settings[key] = value;
    return true;
}

bool apply(SimController& c, const std::string& key, const std::string& value, bool hasValue) {
    if (key == "setIp")
        return hasValue && setAddress(c, value);
    if (key == "setIpAlloc")
        return hasValue && setAllocation(c, value);
    if (key == "settime")
        return hasValue && setClock(c, value);
    if (key.starts_with("open"))
        return !hasValue && openDoor(c, key);
    return hasValue && keepSetting(c, key, value);
}

// Status 1 when every item was understood; the reply text names the keys applied.
std::optional<SimReply> textCommand(SimController& c, const SimRequest& r) {
    if (r.payload.size() != kLargePayload)
        return SimReply{kBadFormat, {}};
    std::string text;
    for (std::size_t i = kTextAt; i < r.payload.size() && r.payload[i] != 0; ++i)
        text.push_back(static_cast<char>(r.payload[i]));
    c.text.received.push_back(text);
    std::string understood;
    bool all = true;
    std::size_t items = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string item = text.substr(start, end - start);
        start = end + 1;
        if (item.empty())
            continue;
        ++items;
        const std::size_t eq = item.find('=');
        const std::string key = item.substr(0, eq);
        const bool hasValue = eq != std::string::npos;
        if (!apply(c, key, hasValue ? item.substr(eq + 1) : std::string(), hasValue)) {
            all = false;
            continue;
        }
        understood += (understood.empty() ? "" : ";") + key;
    }
    return SimReply{all && items > 0 ? kDone : kFailed, understood};
}

// Two words 0 and 5 (u32 little-endian), the 498 template bytes, zero padding.
std::optional<SimReply> fingerTemplate(SimController& c, const SimRequest& r) {
    if (r.payload.size() != kLargePayload)
        return SimReply{kBadFormat, {}};
    ByteReader in(r.payload);
    if (in.u32le() != 0 || in.u32le() != 5)
        return SimReply{kFailed, {}};
    c.text.templates.push_back(hexText(r.payload.subspan(8, kTemplateBytes)));
    return SimReply{kDone, {}};
}

void addCommands(CommandTable& table) {
    table.add(148, textCommand);
    table.add(42, fingerTemplate);
}

Json dump(const SimController& c) {
    Json received = Json::array();
    for (const auto& text : c.text.received)
        received.push_back(fromGbk(text));
    Json settings = Json::object();
    for (const auto& [key, value] : c.text.settings)
        settings[key] = value;
    return {{"received", std::move(received)},
            {"settings", std::move(settings)},
            {"templates", c.text.templates}};
}

} // namespace

const SimModule kTextModule{"text", addCommands, dump};

} // namespace quorvane::sim
