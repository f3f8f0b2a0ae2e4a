#pragma once
// What the main window prepares for the next configuration save without sending anything: a
// new MAC address for the MAC field, and the PPPoE account kept in the selected record.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "infra/settings.h"
#include "model/device_info.h"
#include "session/user_port.h"

namespace quorvane {

// "08.00.09.%02x.%02x.%02x" with three bytes from randomByte. Needs a selected record
// ("请选择要操作的记录！"); with `sn-is-mac` set (section `common`, default 1) the person is
// told that the name and flag change with it and may say No (nothing then).
std::optional<std::string> newMacAddress(const Settings& settings, UserPort& port,
                                         bool recordSelected,
                                         const std::function<std::uint8_t()>& randomByte);

struct PppoeAccount {
    std::string account;  // UTF-8
    std::string password; // UTF-8
};

// The record's account and password as the dialog shows them.
PppoeAccount pppoeAccountOf(const DeviceUIInfo& record);
// The dialog's "保存": both fields cleared, then the account (at most 32 bytes in the system
// code page) and the password (at most 10), cut between characters.
void storePppoeAccount(DeviceUIInfo& record, const PppoeAccount& typed);

} // namespace quorvane
