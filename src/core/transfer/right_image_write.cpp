#include "transfer/right_image_write.h"

#include "model/config_table.h"
#include "rights/local_rights.h"
#include "rights/right_image.h"
#include "session/tool_session.h"

namespace quorvane {

TransferResult uploadRightImage(ToolSession& session, const DeviceUIInfo& device,
                                MemoryImages& images, const PageFilter& filter) {
    WinDisabler busy(session.port());
    TransferResult eeprom =
        upload_EEPROM(session, device, images, kRightEepromFirstPage, kEepromPages, {}, filter);
    if (eeprom.rc != 0)
        return eeprom;
    TransferResult flash = upload_FLASH(session, device, images, 0, kRightFlashPages, {}, filter);
    flash.pages += eeprom.pages;
    return flash;
}

int uploadRightFileAsImage(ToolSession& session, const DeviceUIInfo& device, MemoryImages& images,
                           LocalRightSource source, const RightFields& fields,
                           TransferResult* result) {
    clearEepromImage(images);
    clearFlashImage(images);
    const int rightMode = static_cast<int>(readNumber(configField("rightMode"), device.doorConfig));
    UserPort& port = session.port();
    RightImage image(
        images.eeprom, images.flash, rightMode,
        [&port](const std::string& t) { port.showMessage(t); },
        [&session](const std::string& t) { session.dispatcher().logLine(t); });
    LocalRightsOptions options;
    options.ask = true;
    options.image = &image;
    const int loaded = loadLocalRights(session, source, fields, options);
    if (loaded < 0)
        return loaded == -2 ? -2 : -1;
    auto filter = [&image](bool isEeprom, std::uint32_t address, std::uint32_t length) {
        return image.testRightMask(isEeprom, address, length);
    };
    const TransferResult written = uploadRightImage(session, device, images, filter);
    if (result)
        *result = written;
    return written.rc == 0 ? 0 : -1;
}

} // namespace quorvane
