#include "transfer/memory_buttons.h"

#include "session/operation_result.h"
#include "session/tool_session.h"
#include "transfer/memory_transfer.h"

namespace quorvane {

namespace {
int maskOf(MemoryType type) {
    switch (type) {
    case MemoryType::Eeprom:
        return kMaskEeprom;
    case MemoryType::Flash:
        return kMaskFlash;
    case MemoryType::Sound:
        return kMaskSound;
    case MemoryType::Firmware:
        break;
    }
    return kMaskFirmware;
}

// The transfer's result, handed on when asked for, as an OperationResult.
int finished(const TransferResult& done, TransferResult* result) {
    if (result)
        *result = done;
    return done.rc == 0 ? kOperationDone : kOperationFailed;
}

int transfer(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
             MemoryType type, Direction direction, const std::string& fileName,
             TransferResult* result) {
    if (type == MemoryType::Flash && !session.port().askYesNo(kFlashQuestion))
        return kOperationDeclined;
    TransferSettings settings;
    settings.direction = direction;
    settings.mask = maskOf(type);
    settings.fileName = fileName;
    return finished(batchUpDown(session, device, images, settings), result);
}
} // namespace

int readMemoryToFile(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                     MemoryType type, const std::string& fileName, TransferResult* result) {
    if (type == MemoryType::Firmware)
        return readFirmware(session, device, images, fileName, result);
    return transfer(session, device, images, type, Direction::Read, fileName, result);
}

int writeMemoryFromFile(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                        MemoryType type, const std::string& fileName, TransferResult* result) {
    if (type == MemoryType::Firmware)
        return upgradeFirmware(session, device, images, fileName, false, result);
    return transfer(session, device, images, type, Direction::Write, fileName, result);
}

int upgradeFirmware(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                    const std::string& fileName, bool broadcast, TransferResult* result) {
    if (!session.port().askYesNoDefaultNo(kUpgradeQuestion))
        return kOperationDeclined;
    TransferSettings settings;
    settings.direction = Direction::Write;
    settings.mask = kMaskFirmware;
    settings.fileName = fileName;
    settings.broadcast = broadcast;
    return finished(batchUpDown(session, device, images, settings), result);
}

int readFirmware(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                 const std::string& fileName, TransferResult* result) {
    if (session.settings().readInt("net", "enable-read-firmware", 0) == 0) {
        session.port().showMessage("读取固件功能未开启（enable-read-firmware=0）！");
        return kOperationFailed;
    }
    TransferSettings settings;
    settings.direction = Direction::Read;
    settings.mask = kMaskFirmware;
    settings.fileName = fileName;
    return finished(batchUpDown(session, device, images, settings), result);
}

std::string proposedImageName(ToolSession& session, const char* prefix,
                              const DeviceUIInfo& device) {
    return std::string(prefix) + session.clock().format("%y%m%d%H%M%S") + "-" +
           device.getUniqueName();
}

} // namespace quorvane
