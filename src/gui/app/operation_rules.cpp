#include "app/operation_rules.h"

namespace quorvane::gui {

OperationRules operationRules(bool enabled, const DeviceUIInfo* record, const Settings& settings,
                              bool fixedIpChosen) {
    OperationRules r;
    if (!enabled)
        return r;
    const std::string hardware = record ? record->getHardwareInfo() : std::string();
    const bool quenmar = hardware.find("quenmar") != std::string::npos;
    const bool brisca = hardware.find("brisca") != std::string::npos;
    r.plain = true;
    r.addressFields = fixedIpChosen;
    r.ipChoices = brisca || quenmar;
    r.sound = quenmar;
    r.directOpen = settings.readInt("common", "direct-open-enabled", 1) != 0;
    r.deviceName = settings.readInt("common", "change-sn", 1) != 0;
    r.mac = settings.readInt("common", "change-mac", 1) != 0;
    return r;
}

} // namespace quorvane::gui
