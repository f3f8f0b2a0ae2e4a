#pragma once
// A controller's program: replaced by a firmware file sent as pages of memory type 0 and
// closed by a commit that carries the file's size and byte sum (the controller checks both
// before it restarts), read back into a file, or erased.
#include <cstdint>
#include <string>

#include "model/device_info.h"
#include "transfer/memory_transfer.h"

namespace quorvane {

class ToolSession;

// The erase command's confirmation code is the controller's own: the setting
// `clear-program-code` of section `net` holds it as 16 hexadecimal digits (8 bytes in
// order); without the setting this code is sent.
inline constexpr const char* kDefaultClearProgramCode = "434C5250524F4721"; // "CLRPROG!"

// upload_FIRMWARE: ceil(size / 512) pages to base + page x 512
// ("正在上传新的固件(第%d页/共%d页)..."), the last padded with zeros, then the commit (128) once.
// An unreadable or empty file: "打开文件失败！没有指定要新的固件文件！"; a file of exactly 512
// pages: "固件文件已经损坏！" (nothing is sent). With broadcast every frame goes to the channel's
// broadcast address, the pages 100 ms apart and the commit 500 ms after the last page.
TransferResult upload_FIRMWARE(ToolSession& session, const DeviceUIInfo& device, std::uint32_t base,
                               const std::string& fileName, bool broadcast);

// download_FIRMWARE: the read image filled with 0xCC, size / 512 pages read into it
// ("正在下载固件(%d/%d)..."), then the whole 131,072-byte image written to fileName
// (default "data\download.bin").
TransferResult download_FIRMWARE(ToolSession& session, const DeviceUIInfo& device,
                                 MemoryImages& images, std::uint32_t base, std::size_t size,
                                 const std::string& fileName);

// OnBnClickedClearCode: "确定要清除设备程序？" (No is the default), then command 72 with the
// confirmation code, sent once. 0 once sent (and, where the session waits, answered with
// status 1); 1 when the person said No; -1 otherwise.
int clearProgram(ToolSession& session, const DeviceUIInfo& device);

// OnBnClickedPlaySound: command 82 with the play count, the sound number and the flag of the
// accompanying box, sent once.
int playSound(ToolSession& session, const DeviceUIInfo& device, int playCount, int soundNumber,
              bool flag);

} // namespace quorvane
