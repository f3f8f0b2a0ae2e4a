#pragma once
// The door-access configuration of the selected controller: refreshed, edited on a working
// copy in the door-access dialog, and written back (command 14); and copied from one
// controller to others, each keeping its own counters.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/device_info.h"

namespace quorvane {

class ToolSession;
struct BatchResult;

using DoorBlock = std::array<std::uint8_t, kDoorBlockSize>;

// The area server's entry in the list: a device the service makes up, with nothing to
// configure.
inline constexpr std::uint16_t kAreaServerId = 0xFFFE;

struct DoorConfigSteps {
    // The door-access dialog on the working copy; true when the person pressed OK (the copy
    // then holds the edits).
    std::function<bool(DoorBlock& working)> dialog;
    // A new search of the window (when `refresh-list-after-config` is set); may be empty.
    std::function<void()> searchAgain;
};

struct DoorConfigOutcome {
    int result = 0; // a kOperation… result: kOperationDeclined when the dialog was cancelled
    // The selected record as it stands now: refreshed, and holding the edited block after OK.
    std::optional<DeviceUIInfo> record;
};

// OnBnClickedConfigEx without its widgets. fieldsTaken: false when the window's values could
// not be taken.
DoorConfigOutcome editDoorConfig(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                                 bool fieldsTaken, const DoorConfigSteps& steps);

// Writes the record's door-access block to it (command 14, to its id) and arms the
// pending-reply watch. A kOperation… result.
int writeDoorConfig(ToolSession& session, const DeviceUIInfo& record);

// For each target in order: D32..D423 of the source's block over the target's (its counters
// D0..D31 stay), then the target's whole block to its own id, waiting for each answer. A target
// whose address cannot be prepared is skipped. Ends with one summary naming each target and how
// it went. targets receive the blocks that were sent; batch (when given) how each target fared,
// item i being target i. kOperationDone when every target took its block.
int copyDoorConfig(ToolSession& session, const DeviceUIInfo& source,
                   std::vector<DeviceUIInfo>& targets, BatchResult* batch = nullptr);

} // namespace quorvane
