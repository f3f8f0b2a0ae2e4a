#pragma once
// Whole memories between a controller, the program's images and files: EEPROM and FLASH read
// and written page by page (optionally through a page filter), the sound store, and the
// images' own files below ".\data". Each runs on the calling thread with the window busy;
// the person can cancel between pages and during a wait.
#include <string>

#include "model/device_info.h"
#include "transfer/page_run.h"

namespace quorvane {

class ToolSession;

// The main window's transfer settings.
enum class Direction { Read = 0, Write = 1 };
inline constexpr int kMaskEeprom = 1;
inline constexpr int kMaskFlash = 2;
inline constexpr int kMaskSound = 4;
inline constexpr int kMaskFirmware = 0;

struct TransferSettings {
    Direction direction = Direction::Read;
    int mask = kMaskEeprom;
    long firstPage = 0;
    long lastPage = 0;    // 0: the whole memory
    std::string fileName; // empty: the default file below ".\data"
    PageFilter filter;
    bool broadcast = false; // "广播升级所有设备": a firmware upgrade goes to every controller
};

struct TransferResult {
    int rc = -1; // 0 done; -1 not done (no address, cancelled, unreadable file); -2 refused
    long pages = 0;
    std::string file; // the file written, full path
};

// Reads pages first..end-1 ("正在下载EEPROM(%d/%d)..."), clears the device-specific bytes
// 6..63 and 936..1535 of the image, and saves the 262,144-byte image to fileName or
// ".\data\download_eeprom.bin"; ".\data\eeprom_random.bin" (16 MiB of random bytes) is made
// when missing.
TransferResult download_EEPROM(ToolSession& session, const DeviceUIInfo& device,
                               MemoryImages& images, long first, long end,
                               const std::string& fileName);
// The same for FLASH ("正在下载FLASH(%d/%d)...", ".\data\download_flash.bin",
// ".\data\flash_random.bin"), the whole 16 MiB image saved.
TransferResult download_FLASH(ToolSession& session, const DeviceUIInfo& device,
                              MemoryImages& images, long first, long end,
                              const std::string& fileName);
// ceil(`sound-file-max-size` / 512) pages of sound ([sound], default 1,048,576); the 16 MiB
// sound image is saved when a file is named.
TransferResult download_SOUND(ToolSession& session, const DeviceUIInfo& device,
                              MemoryImages& images, const std::string& fileName);

// Loads the image from fileName (a file that cannot be read sends nothing: "打开文件失败！"),
// or without a name saves the image as it is to ".\data\upload_eeprom.bin", then writes pages
// first..end-1 that the filter keeps ("正在上传EEPROM(第%d页/共%d页)...").
TransferResult upload_EEPROM(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                             long first, long end, const std::string& fileName,
                             const PageFilter& filter);
TransferResult upload_FLASH(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                            long first, long end, const std::string& fileName,
                            const PageFilter& filter);
// The file as ceil(size / 512) pages of type 3, the last one padded with 0xFF
// ("正在上传语音文件(第%d页/共%d页)..."). Without a name nothing is sent.
TransferResult upload_SOUND(ToolSession& session, const DeviceUIInfo& device,
                            const std::string& fileName);

// thread_updown: the transfer the settings name (mask 0: the firmware upgrade or read), with
// the window busy and its progress field emptied first.
TransferResult batchUpDown(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                           const TransferSettings& settings);

// The image buttons: clear the EEPROM image with every storage flag set, clear the FLASH
// image, load an image from a file ("文件名不能为空！" for an empty name), save it as
// ".\data\backup_eeprom.bin" or ".\data\backup_flash.bin". 0 or -1.
void clearEepromImage(MemoryImages& images);
void clearFlashImage(MemoryImages& images);
int loadImage(ToolSession& session, MemoryImages& images, MemoryType type,
              const std::string& fileName);
int backupImage(ToolSession& session, MemoryImages& images, MemoryType type);

// The full path of a name below the program directory (".\data\x.bin" style names included).
std::string dataPath(ToolSession& session, const std::string& name);
// Writes bytes whole to path (the directory made when missing); false after "保存文件失败！".
bool saveBytes(ToolSession& session, const std::string& path, Bytes bytes);

} // namespace quorvane
