#pragma once
// One controller as the tool knows it: what it reported in its device-information reply, how
// it was found, and the few values only the main window keeps for it. Its fixed fields form
// the 634-byte record image stored in the per-device ".cfg" file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace quorvane {

inline constexpr std::size_t kRecordImageSize = 634;
inline constexpr std::size_t kDoorBlockSize = 424;
inline constexpr std::size_t kBasicBlockSize = 116;
inline constexpr std::size_t kExtendedBlockSize = 192;
inline constexpr std::uint8_t kExtendedMarker = 0xEE;

enum SearchMode : std::uint32_t { kFoundByBroadcast = 1, kFoundByMulticast = 2, kFoundByPipe = 4 };
enum IP_TYPE { IP_ADDR = 0, IP_MASK = 1, IP_GATEWAY = 2, IP_HOST = 3, IP_SERVER = 4 };

struct DeviceUIInfo {
    // Fixed fields, in record-image order.
    std::uint32_t reportMode = 0;
    std::uint32_t baudIndex = 0;
    std::uint8_t groupNo = 1;
    std::uint8_t hwVariant = 0;
    std::uint8_t deviceNo = 1;
    std::array<std::uint8_t, 6> operatorPassword{};
    std::array<std::uint8_t, 16> productSerial{};
    std::array<std::uint8_t, 16> reserved1{};
    std::array<std::uint8_t, 16> reserved2{};
    std::uint8_t ipAlloc = 0;
    std::uint8_t blockVersion = 0;
    std::uint8_t reservedBits = 0;
    std::uint8_t hwModel = 0;
    std::uint16_t reserved3 = 0; // the two bytes as they arrived, little-endian
    std::uint32_t doorOpenMs = 3000;
    std::uint32_t doorMode = 0;
    std::uint32_t reportFlag = 0;
    std::uint32_t devicePort = 0;
    std::uint32_t hostPort = 0;
    std::array<std::uint32_t, 10> statistics{};
    std::uint16_t passTimeout = 5;
    std::uint16_t netTimeout = 0;
    std::uint32_t searchModes = 0;
    std::array<std::uint8_t, kDoorBlockSize> doorConfig{};
    std::array<std::uint8_t, 32> pppoeAccount{};
    std::array<std::uint8_t, 10> pppoePassword{};
    std::uint16_t serverPort = 0;
    std::array<std::uint8_t, 26> reserved4{};
    std::uint8_t extMarker = 0;

    // Text fields (UTF-8), not part of the image.
    std::string serverAddress;
    std::string name;
    std::string mac;
    std::string ip;
    std::string mask;
    std::string gateway;
    std::string hostAddress;
    std::string sourceAddress;
    std::string firmwareVersion;

    std::uint16_t getRawDeviceId() const;
    std::uint16_t getTargetId() const;
    bool getMac(std::array<std::uint8_t, 6>& out) const;
    bool getIp(std::array<std::uint8_t, 4>& out, int type) const;
    std::string getUniqueName() const;
    std::string getSearchMode() const;
    std::string getDoorMode() const;
    std::string getRptMode() const;
    std::string getHardwareInfo() const;
    std::string getGlobalId() const;

    // The record file ".\config\<getUniqueName>.cfg" below programDir, replaced whole.
    bool save(const std::string& programDir) const;
    // Reads a record file; -1 when it cannot be read.
    int load(const std::string& path);

    std::array<std::uint8_t, kRecordImageSize> toImage() const;
    void fromImage(Bytes image); // missing bytes read as zero

    bool operator==(const DeviceUIInfo&) const = default;
};

// Dotted address text read as a.b.c.d, parts that do not parse as 0.
std::array<std::uint8_t, 4> parseDotted(const std::string& text);
std::string dottedText(Bytes four);
// MAC text read as "%x.%x.%x.%x.%x.%x", parts that do not parse as 0.
std::array<std::uint8_t, 6> parseMac(const std::string& text);
// "%02x.%02x.%02x.%02x.%02x.%02x".
std::string macText(Bytes six);
// The dotted address as a number, first part most significant.
std::uint32_t addressNumber(const std::string& text);

// List order: by `sort-dev-list` 2 target id, 3 name (byte-wise), else IP address as a number.
bool deviceLess(const DeviceUIInfo& a, const DeviceUIInfo& b, int sortKey);

// The record's basic/extended block, both ways, walking the field table (basic_block.cpp).
// Decodes a device-information reply frame (header included). 0 on success, -1 when the basic
// checksum fails, -2 when an extended block fails its checks, -3 when the frame is too short to
// hold the block it announces. The record is changed only on success.
int getUIInfoFromMsg(Bytes frame, bool& extended, DeviceUIInfo& record);

// Encodes the record into the 192-byte basic/extended block with both checksums.
std::array<std::uint8_t, kExtendedBlockSize> encodeBasicBlock(const DeviceUIInfo& record);

} // namespace quorvane
