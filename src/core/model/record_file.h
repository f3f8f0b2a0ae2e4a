#pragma once
// The per-device record file ".\config\<unique name>.cfg" (1024 bytes of record image, 1024
// bytes of "|"-separated texts) and the 392-byte door-access backup file.
#include <array>
#include <string>

#include "model/device_info.h"

namespace quorvane {

inline constexpr std::size_t kRecordFileSize = 2048;
inline constexpr std::size_t kDoorBackupOffset = 32;
inline constexpr std::size_t kDoorBackupSize = 392;

// The file name a record is stored under, below the program directory. Path separators and
// other characters a file name cannot hold are replaced by '_'.
std::string recordFilePath(const DeviceUIInfo& record, const std::string& programDir);
std::string encodeRecordFile(const DeviceUIInfo& record);
// Missing bytes read as zero.
DeviceUIInfo decodeRecordFile(std::string_view bytes);
bool saveRecordFile(const DeviceUIInfo& record, const std::string& programDir);
// -1 when the file cannot be read.
int loadRecordFile(const std::string& path, DeviceUIInfo& record);

// Writes D32..D423 of the block; the message the person sees.
std::string saveDoorBackup(const std::string& path, const std::array<std::uint8_t, kDoorBlockSize>& block);
// Copies a 392-byte file over D32..D423; anything else leaves the block unchanged. The message
// the person sees; ok tells which.
std::string loadDoorBackup(const std::string& path, std::array<std::uint8_t, kDoorBlockSize>& block,
                           bool& ok);

} // namespace quorvane
