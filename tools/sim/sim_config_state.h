#pragma once
// What a controller keeps of its configuration: the fields of its basic block (the 116-byte
// basic form or the 192-byte extended form) and its door-access block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::sim {

// The fields of the basic block and of the extended form's tail, as the controller holds them.
struct BasicSettings {
    std::string name; // GBK bytes, at most 15
    std::array<std::uint8_t, 6> mac{};
    std::array<std::uint8_t, 4> ip{}; // most significant byte first, as in the block
    std::array<std::uint8_t, 4> mask{};
    std::array<std::uint8_t, 4> gateway{};
    std::array<std::uint8_t, 4> hostAddress{}; // the PC that receives reports
    std::uint16_t devicePort = 0;
    std::uint16_t hostPort = 0;
    std::uint8_t reportMode = 0; // 0 TCP server, 1 TCP client, 2 UDP
    std::uint8_t groupNo = 0;
    std::uint8_t hwVariant = 0;
    std::uint8_t deviceNo = 0;
    std::array<std::uint8_t, 6> operatorPassword{};
    std::array<std::uint8_t, 16> productSerial{};
    std::array<std::uint8_t, 16> reserved1{};
    std::array<std::uint8_t, 16> reserved2{};
    std::uint8_t ipAlloc = 0;      // 4 bits: 0 fixed, 1 DHCP, 2 PPPoE
    std::uint8_t blockVersion = 0; // 2 bits: 1 for a controller that reports the extended form
    std::uint8_t reservedBits = 0; // 2 bits
    std::uint8_t hwModel = 0;
    std::array<std::uint8_t, 2> reserved3{};
    std::uint16_t netTimeout = 0;
    std::uint16_t passTimeout = 0; // seconds
    std::string firmware;          // at most 7 bytes
    // Extended form only.
    std::array<std::uint8_t, 32> pppoeAccount{};
    std::array<std::uint8_t, 10> pppoePassword{};
    std::array<std::uint8_t, 4> serverAddress{};
    std::uint16_t serverPort = 0;

    bool operator==(const BasicSettings&) const = default;
};

// The front of the door-access block (D0..D31) other than the log and right counts, which the
// logs and rights modules keep.
struct DoorCounters {
    std::uint32_t systemStatus = 0;
    std::uint32_t reportIndex = 0;
    std::array<std::uint8_t, 4> reserved{};
    std::uint16_t inCount = 0;
    std::uint16_t outCount = 0;
    std::uint16_t insideCount = 0;
    std::uint16_t insideLimit = 0;
    std::uint32_t runState = 0;
};

// D32..D423: serial ports, Wiegand readers, relays, signals, time zones, options, right mode
// and the single-byte settings, kept as written.
inline constexpr std::size_t kDoorSettingsAt = 32;
inline constexpr std::size_t kDoorSettingsSize = 392;
using DoorSettings = std::array<std::uint8_t, kDoorSettingsSize>;

// What the controller's own backup keeps: everything a configuration write can set.
struct ConfigCopy {
    BasicSettings basic;
    std::uint32_t reportIndex = 0;
    std::uint16_t insideLimit = 0;
    DoorSettings doorSettings{};
};

struct ConfigState {
    BasicSettings basic;
    bool extended = false; // reports the extended form
    DoorCounters counters;
    DoorSettings doorSettings{};
    int basicWrites = 0; // accepted writes of the basic configuration
    int doorWrites = 0;  // accepted writes of the door-access configuration
    // The device-side backup (96/100) and the factory settings (98/102); nothing until made.
    std::optional<ConfigCopy> backup;
    std::optional<ConfigCopy> factory;
    int clearAlls = 0; // accepted "clear all data" commands (50)
};

} // namespace quorvane::sim
