// The configuration module: device information (2), the basic and door-access writes (4, 14),
// the door-access read (12), clearing all data (50), and the controller's own backups and
// restores (96, 98, 100, 102).
#include "sim_config.h"

#include <algorithm>
#include <cstdio>

#include "infra/codepage.h"
#include "sim_command_table.h"
#include "sim_config_blocks.h"
#include "sim_json.h"
#include "sim_module.h"
#include "sim_right_storage.h"

namespace quorvane::sim {

namespace {
constexpr std::size_t kReportIndexAt = 12;
constexpr std::size_t kInsideLimitAt = 26;
constexpr std::size_t kRightModeAt = 404;

std::array<std::uint8_t, 4> addressBytes(std::uint32_t a) {
    return {std::uint8_t(a >> 24), std::uint8_t(a >> 16), std::uint8_t(a >> 8), std::uint8_t(a)};
}
} // namespace

ConfigState initialConfig(const ControllerSeed& seed) {
    const int n = seed.number;
    const std::uint32_t a = seed.address;
    ConfigState c;
    c.extended = seed.extended;
    BasicSettings& s = c.basic;
    s.name = gbkCutBytes(toGbk(seed.namePrefix + std::to_string(n)), 15);
    s.mac = {0x00, 0x1a, 0x2b, std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)};
    s.ip = addressBytes(a);
    s.mask = addressBytes((a >> 24) == 127 ? 0xFF000000u : 0xFFFFFF00u);
    s.gateway = addressBytes((a & 0xFFFFFF00u) | 0xFE);
    s.hostAddress = addressBytes((a & 0xFFFFFF00u) | 0x64);
    s.devicePort = seed.port;
    s.hostPort = 50000;
    s.reportMode = 1;
    s.groupNo = static_cast<std::uint8_t>(seed.group);
    s.deviceNo = static_cast<std::uint8_t>(n % 255 + 1);
    s.hwVariant = static_cast<std::uint8_t>(n % 3);
    static const std::uint8_t kModels[] = {0, 5, 10, 15};
    s.hwModel = kModels[n % 4];
    char serial[17];
    std::snprintf(serial, sizeof serial, "2024%012d", n);
    std::copy(serial, serial + 16, s.productSerial.begin());
    s.blockVersion = seed.extended ? 1 : 0;
    s.netTimeout = 50;
    s.passTimeout = 5;
    s.firmware = "2.1." + std::to_string(n % 10);
    if (seed.extended) {
        s.serverAddress = s.hostAddress;
        s.serverPort = 8080;
    }
    c.counters.reportIndex = static_cast<std::uint32_t>(n);
    ByteWriter(c.doorSettings, kRightModeAt - kDoorSettingsAt).putU32le(1);
    return c;
}

std::string doorBlock(const SimController& c) {
    return encodeDoorBlock(c.config.counters, static_cast<std::uint32_t>(c.logs.records.size()),
                           storedRightCount(c), c.config.doorSettings);
}

std::string deviceInformation(const SimController& c) {
    return encodeBasicBlock(c.config.basic, c.config.extended) + doorBlock(c);
}

namespace {

// cppcheck-suppress constParameterCallback ; every handler has the same signature
std::optional<SimReply> readDeviceInformation(SimController& c, const SimRequest&) {
    return SimReply{kDone, deviceInformation(c)};
}

// The payload is an extended basic block and 424 zero bytes, both sums set. The controller
// takes what may be configured; its serial, hardware, firmware and block form are its own.
// It keeps answering from the address it has.
std::optional<SimReply> writeBasic(SimController& c, const SimRequest& r) {
    if (r.payload.size() != kExtendedFormSize + kDoorBlockSize)
        return SimReply{kFailed, {}};
    auto w = decodeBasicBlock(r.payload.first(kExtendedFormSize));
    if (!w)
        return SimReply{kFailed, {}};
    BasicSettings& s = c.config.basic;
    s.name = w->name;
    s.mac = w->mac;
    s.ip = w->ip;
    s.mask = w->mask;
    s.gateway = w->gateway;
    s.hostAddress = w->hostAddress;
    s.devicePort = w->devicePort;
    s.hostPort = w->hostPort;
    s.reportMode = w->reportMode;
    s.groupNo = w->groupNo;
    s.deviceNo = w->deviceNo;
    s.operatorPassword = w->operatorPassword;
    s.reserved1 = w->reserved1;
    s.reserved2 = w->reserved2;
    s.ipAlloc = w->ipAlloc;
    s.reservedBits = w->reservedBits;
    s.reserved3 = w->reserved3;
    s.netTimeout = w->netTimeout;
    s.passTimeout = w->passTimeout;
    if (c.config.extended) {
        s.pppoeAccount = w->pppoeAccount;
        s.pppoePassword = w->pppoePassword;
        s.serverAddress = w->serverAddress;
        s.serverPort = w->serverPort;
    }
    ++c.config.basicWrites;
    return SimReply{kDone, {}};
}

// cppcheck-suppress constParameterCallback ; every handler has the same signature
std::optional<SimReply> readDoorBlock(SimController& c, const SimRequest&) {
    return SimReply{kDone, doorBlock(c)};
}

// The counts at the front of the block are the controller's own; a write sets the report
// index, the limit of persons inside and every setting from D32 on.
std::optional<SimReply> writeDoorBlock(SimController& c, const SimRequest& r) {
    if (r.payload.size() != kDoorBlockSize)
        return SimReply{kFailed, {}};
    ByteReader in(r.payload, kReportIndexAt);
    c.config.counters.reportIndex = in.u32le();
    in.seek(kInsideLimitAt);
    c.config.counters.insideLimit = in.u16le();
    Bytes settings = r.payload.subspan(kDoorSettingsAt);
    std::copy(settings.begin(), settings.end(), c.config.doorSettings.begin());
    ++c.config.doorWrites;
    return SimReply{kDone, {}};
}

ConfigCopy currentConfig(const ConfigState& k) {
    return ConfigCopy{k.basic, k.counters.reportIndex, k.counters.insideLimit, k.doorSettings};
}

// A restore puts back what a write could set; the controller's identity (serial, hardware,
// firmware, block form) is its own and the same in every copy.
void restoreConfig(ConfigState& k, const ConfigCopy& copy) {
    k.basic = copy.basic;
    k.counters.reportIndex = copy.reportIndex;
    k.counters.insideLimit = copy.insideLimit;
    k.doorSettings = copy.doorSettings;
}

std::optional<SimReply> backupConfig(SimController& c, const SimRequest&) {
    c.config.backup = currentConfig(c.config);
    return SimReply{kDone, {}};
}

std::optional<SimReply> backupToFactory(SimController& c, const SimRequest&) {
    c.config.factory = currentConfig(c.config);
    return SimReply{kDone, {}};
}

// Without a copy made before there is nothing to restore from: the controller says it failed.
std::optional<SimReply> restoreBackup(SimController& c, const SimRequest&) {
    if (!c.config.backup)
        return SimReply{kFailed, {}};
    restoreConfig(c.config, *c.config.backup);
    return SimReply{kDone, {}};
}

std::optional<SimReply> restoreFactory(SimController& c, const SimRequest&) {
    if (!c.config.factory)
        return SimReply{kFailed, {}};
    restoreConfig(c.config, *c.config.factory);
    return SimReply{kDone, {}};
}

// Clears the backups, the factory settings, the rights and the logs; the running
// configuration stays.
std::optional<SimReply> clearAll(SimController& c, const SimRequest&) {
    c.config.backup.reset();
    c.config.factory.reset();
    clearRights(c);
    clearLogRing(c);
    c.logs.identityDocuments.clear();
    ++c.config.clearAlls;
    return SimReply{kDone, {}};
}

void addCommands(CommandTable& table) {
    table.add(2, readDeviceInformation);
    table.add(4, writeBasic);
    table.add(12, readDoorBlock);
    table.add(14, writeDoorBlock);
    table.add(50, clearAll);
    table.add(96, backupConfig);
    table.add(98, backupToFactory);
    table.add(100, restoreBackup);
    table.add(102, restoreFactory);
}

std::string dotted(const std::array<std::uint8_t, 4>& a) {
    return std::to_string(a[0]) + "." + std::to_string(a[1]) + "." + std::to_string(a[2]) + "." +
           std::to_string(a[3]);
}

std::string macText(const std::array<std::uint8_t, 6>& m) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x.%02x.%02x.%02x.%02x.%02x", m[0], m[1], m[2], m[3], m[4],
                  m[5]);
    return text;
}

// The copy as the blocks it would give back, or null when none was made.
Json dumpCopy(const std::optional<ConfigCopy>& copy, bool extended) {
    if (!copy)
        return nullptr;
    return {{"basicBlock", hexText(asBytes(encodeBasicBlock(copy->basic, extended)))},
            {"reportIndex", copy->reportIndex},
            {"insideLimit", copy->insideLimit},
            {"doorSettings", hexText(copy->doorSettings)}};
}

Json dump(const SimController& c) {
    const ConfigState& k = c.config;
    const BasicSettings& s = k.basic;
    Json out = Json::object();
    out["form"] = k.extended ? "extended" : "basic";
    out["name"] = fromGbk(s.name);
    out["mac"] = macText(s.mac);
    out["ip"] = dotted(s.ip);
    out["mask"] = dotted(s.mask);
    out["gateway"] = dotted(s.gateway);
    out["hostAddress"] = dotted(s.hostAddress);
    out["devicePort"] = s.devicePort;
    out["hostPort"] = s.hostPort;
    out["reportMode"] = s.reportMode;
    out["groupNo"] = s.groupNo;
    out["deviceNo"] = s.deviceNo;
    out["ipAlloc"] = s.ipAlloc;
    out["netTimeout"] = s.netTimeout;
    out["passTimeout"] = s.passTimeout;
    out["firmware"] = fromGbk(s.firmware);
    out["serverAddress"] = dotted(s.serverAddress);
    out["serverPort"] = s.serverPort;
    out["systemStatus"] = k.counters.systemStatus;
    out["reportIndex"] = k.counters.reportIndex;
    out["insideLimit"] = k.counters.insideLimit;
    out["basicWrites"] = k.basicWrites;
    out["doorWrites"] = k.doorWrites;
    out["basicBlock"] = hexText(asBytes(encodeBasicBlock(s, k.extended)));
    out["doorBlock"] = hexText(asBytes(doorBlock(c)));
    out["clearAlls"] = k.clearAlls;
    out["backup"] = dumpCopy(k.backup, k.extended);
    out["factory"] = dumpCopy(k.factory, k.extended);
    return out;
}

} // namespace

const SimModule kConfigModule{"configuration", addCommands, dump};

} // namespace quorvane::sim
