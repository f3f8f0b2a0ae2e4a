#pragma once
// The memory and firmware buttons of the main window as the window and the command line both
// run them: the question a long or risky transfer asks first, then the transfer with the file
// the person chose. Each returns an OperationResult; result (when given) receives the
// transfer's own, once it ran.
#include <string>

#include "model/device_info.h"
#include "transfer/memory_images.h"

namespace quorvane {

class ToolSession;
struct TransferResult;

inline constexpr const char* kFlashQuestion = "上传或者下载FLASH数据需要较长时间，确实需要继续吗？";
inline constexpr const char* kUpgradeQuestion =
    "此操作存在失败的风险，如果失败可能需要返厂维修，在升级过程中请不要断电！确实需要继续吗？";
inline constexpr const char* kUpgradeAllNotice =
    "将尝试通过发送广播消息同时升级网络中的所有控制器，请注意风险！";

// Read (Mem2, Mem4, DownloadSound) or write (Mem, Mem3, UploadSound) a whole memory through
// batchUpDown; FLASH asks kFlashQuestion first. An empty file name reads into (or writes from)
// the default file below ".\data".
int readMemoryToFile(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                     MemoryType type, const std::string& fileName,
                     TransferResult* result = nullptr);
int writeMemoryFromFile(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                        MemoryType type, const std::string& fileName,
                        TransferResult* result = nullptr);

// OnBnClickedUpdateFirmware after its question; OnBnClickedDownloadFirmware only while
// `enable-read-firmware` ([net]) is not 0 (an empty name reads into "data\download.bin").
int upgradeFirmware(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                    const std::string& fileName, bool broadcast, TransferResult* result = nullptr);
int readFirmware(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                 const std::string& fileName, TransferResult* result = nullptr);

// The proposed name of a saved image: prefix, the time as "%y%m%d%H%M%S", the device's
// unique name ("eeprom%s-%s").
std::string proposedImageName(ToolSession& session, const char* prefix, const DeviceUIInfo& device);

} // namespace quorvane
