#pragma once
// Which operation controls a selected device allows. Every operation control follows the
// selection; a few need their own condition as well: the model for the IP allocation choices
// and the sound controls, the settings for direct opening and for changing name and MAC, and
// the fixed-IP choice for the address fields.
#include "infra/settings.h"
#include "model/device_info.h"

namespace quorvane::gui {

struct OperationRules {
    bool plain = false;         // every other operation control
    bool addressFields = false; // IP address, subnet mask, gateway
    bool ipChoices = false;     // fixed IP / DHCP / PPPoE
    bool sound = false;
    bool directOpen = false; // "命令开门(&Z)", "发送广播开所有门"
    bool deviceName = false;
    bool mac = false; // the MAC field and "分配"
};

// record: the selected device (nullptr when enabled is false). The three settings keys are
// read at every call.
OperationRules operationRules(bool enabled, const DeviceUIInfo* record, const Settings& settings,
                              bool fixedIpChosen);

} // namespace quorvane::gui
