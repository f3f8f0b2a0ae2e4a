#pragma once
// Saving the basic configuration (command 4): the main window's fields copied into the selected
// record, the record encoded as an extended basic block and sent to the controller, or by
// broadcast to it or to every controller.
#include <cstdint>
#include <optional>
#include <string>

#include "model/device_info.h"
#include "protocol/admin_channel.h"

namespace quorvane {

class ToolSession;
class UserPort;

// The main window's basic configuration fields as the person left them (texts UTF-8).
struct BasicConfigFields {
    std::string name;
    std::string mac;
    std::string ip;
    std::string mask;
    std::string gateway;
    std::string hostAddress;
    std::string serverAddress;
    std::uint16_t hostPort = 0;
    std::uint16_t serverPort = 0;
    std::uint8_t groupNo = 1;
    std::uint8_t deviceNo = 1;
    std::uint32_t baudIndex = 0;
    std::uint32_t doorOpenMs = 3000;
    std::uint32_t doorMode = 0;
    std::uint32_t reportFlag = 0;
    std::uint32_t reportMode = 0; // enumeration `rpt`
    std::uint32_t ipAlloc = 0;    // enumeration `ipalloc`
    // The operation-password box: empty keeps the controller's operation password.
    std::string opPassword;
};

// The fields as the window shows a record (the operation password box left empty).
BasicConfigFields basicFieldsOf(const DeviceUIInfo& record);

// A MAC text the record can hold: six hexadecimal parts of one or two digits joined by ".".
bool isMacText(const std::string& text);

enum class SaveMode {
    ToDevice = 0,          // to the controller's own address
    BroadcastToDevice = 1, // by broadcast (or multicast), to the controller's id
    BroadcastToAll = 2,    // by broadcast (or multicast), to every controller (id 0xFFFF)
};

// SaveConfigImpl. fields: nothing when the window's values could not be taken. broadcastTo:
// where modes 1 and 2 go (the channel's search destination in its current mode). saved (when
// given) receives the record as it was encoded. A kOperation… result.
int SaveConfigImpl(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                   const std::optional<BasicConfigFields>& fields, SaveMode mode,
                   const SearchTarget& broadcastTo, DeviceUIInfo* saved = nullptr);

// The warning before a save by broadcast: true when the person confirms it.
bool confirmBroadcastSave(UserPort& port);

// OnBnClickedSaveBroadcast's choice: with multicast on, mode 1 at once; otherwise the question
// to the selected device (Yes) or to all (No), then the warning. Nothing when the person
// cancels or does not confirm.
std::optional<SaveMode> chooseBroadcastSave(UserPort& port, bool multicast);

} // namespace quorvane
