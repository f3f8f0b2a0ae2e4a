#include "transfer/memory_buttons.h"

#include "session/operation_result.h"
#include "session/tool_session.h"
#include "transfer/firmware.h"
#include "transfer/memory_transfer.h"

namespace quorvane {

namespace {
int outcome(const TransferResult& r) {
    return r.rc == 0 ? kOperationDone : kOperationFailed;
}
} // namespace

int readMemoryToFile(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                     MemoryType type, const std::string& fileName) {
    switch (type) {
    case MemoryType::Eeprom:
        return outcome(download_EEPROM(session, device, images, 0, 0, fileName));
    case MemoryType::Flash:
        if (!session.port().askYesNo(kFlashQuestion))
            return kOperationDeclined;
        return outcome(download_FLASH(session, device, images, 0, 0, fileName));
    case MemoryType::Sound:
        return outcome(download_SOUND(session, device, images, fileName));
    case MemoryType::Firmware:
        break;
    }
    return readFirmware(session, device, images, fileName);
}

int writeMemoryFromFile(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                        MemoryType type, const std::string& fileName) {
    switch (type) {
    case MemoryType::Eeprom:
        return outcome(upload_EEPROM(session, device, images, 0, 0, fileName, {}));
    case MemoryType::Flash:
        if (!session.port().askYesNo(kFlashQuestion))
            return kOperationDeclined;
        return outcome(upload_FLASH(session, device, images, 0, 0, fileName, {}));
    case MemoryType::Sound:
        return outcome(upload_SOUND(session, device, fileName));
    case MemoryType::Firmware:
        break;
    }
    return upgradeFirmware(session, device, fileName, false);
}

int upgradeFirmware(ToolSession& session, const DeviceUIInfo& device, const std::string& fileName,
                    bool broadcast) {
    if (!session.port().askYesNoDefaultNo(kUpgradeQuestion))
        return kOperationDeclined;
    return outcome(upload_FIRMWARE(session, device, kFirmwareBase, fileName, broadcast));
}

int readFirmware(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                 const std::string& fileName) {
    if (session.settings().readInt("net", "enable-read-firmware", 0) == 0) {
        session.port().showMessage("读取固件功能未开启（enable-read-firmware=0）！");
        return kOperationFailed;
    }
    return outcome(
        download_FIRMWARE(session, device, images, kFirmwareBase, kFirmwareReadBytes, fileName));
}

std::string proposedImageName(ToolSession& session, const char* prefix,
                              const DeviceUIInfo& device) {
    return std::string(prefix) + session.clock().format("%y%m%d%H%M%S") + "-" +
           device.getUniqueName();
}

} // namespace quorvane
