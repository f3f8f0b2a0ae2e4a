#pragma once
// Copying rights between controllers: every right of each source is read (and written to
// "下载权限.txt" for the person, as a download writes it), and the rights read are uploaded to
// each target.
#include <vector>

#include "model/device_info.h"

namespace quorvane {

class ToolSession;

// A source whose download does not end by the controller's end marker is named in the summary
// ("从源控制器%s下载权限失败！" with its address) and copied nowhere, so that no target gets a
// part of its rights as if it were all. The copy ends with one summary with a line per source
// and target; each target that did not take every right keeps its own failure list
// ("添加权限失败清单-<address>.txt"). 0 when every source was read whole and every target took
// every right, else -1.
int copyRights(ToolSession& session, const std::vector<DeviceUIInfo>& sources,
               const std::vector<DeviceUIInfo>& targets);

} // namespace quorvane
