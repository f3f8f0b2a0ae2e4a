#pragma once
// Reading every right of a controller into "下载权限.txt": command 52 from position 1, each
// reply naming the position of the right it carries, until the controller answers with the
// end marker (position -1). Five silent waits in a row for one position end the download;
// what was read is written all the same.
#include <optional>
#include <string>
#include <vector>

#include "model/device_info.h"
#include "rights/right_fields.h"

namespace quorvane {

class ToolSession;

struct DownloadResult {
    // 0 ended by the end marker; -1 the device cannot be addressed; -2 ended early (a silent
    // controller, a refused or unreadable reply, a cancel): the file holds what came.
    int rc = -1;
    std::vector<std::string> lines; // the rights' text forms, in arrival order
    long replies = 0;               // positions answered (the end marker not counted)
    bool cancelled = false;
    std::string file; // full path of the file written
};

// downloadRightImpl: progress "正在下载权限(%d/%d)" (answered so far, the right count of the
// device record); with openAfterwards the file opens in the default viewer.
DownloadResult downloadRights(ToolSession& session, const DeviceUIInfo& device, bool searchForward,
                              bool openAfterwards);

// "下载权限(&D)": with an empty number field every right (search forward as the box says, the
// file opened afterwards), otherwise the right of that one card (readRightOfCard). 0 or < 0.
int downloadRightsOrCard(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                         const RightFields& fields);

} // namespace quorvane
